// The settings load over a registry key made from the fuzzer's bytes (see
// registry_image.h): every value the store reads, present or missing, of its
// type or another, short, empty or long; then the save.
//
// The load and the save go through a main window as the program does them.
// Then: every key handle opened is closed; the save writes every value with
// its type; and the key the program saved, loaded by a new window and saved
// again, loads without a notice and comes out the same.
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "fuzz_check.h"
#include "platform/fake/fake_platform.h"
#include "registry_image.h"
#include "settings/settings_store.h"
#include "shell/life_support.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

using fuzz::RegistryImage;
using fuzz::Shown;
using Key = std::map<std::string, FakePlatform::RegValue>;

struct Desk {
  FakePlatform fake;
  TApplication app;
  TMainForm form{fake.platform(), app};
};

void Prepare(Desk& d, const RegistryImage& image) {
  if (image.flags & RegistryImage::kKeyExists) {
    Key& key = d.fake.registry[kZepxKey];
    for (const RegistryImage::Value& v : image.values) key[v.name] = {v.type, v.data};
    // The folder the store checks is the text as it reads it.
    if ((image.flags & RegistryImage::kFolderExists) && key.count("DefMCRPath")) {
      const std::string& data = key["DefMCRPath"].data;
      d.fake.directories.insert(data.substr(0, data.find('\0')));
    }
  }
  if (image.flags & RegistryImage::kKeyUnopenable) d.fake.registry_readonly.insert(kZepxKey);
  if (image.flags & RegistryImage::kCreateFails) d.fake.registry_create_fails = true;
  d.form.LoadedFromCommandLine = (image.flags & RegistryImage::kFromCommandLine) != 0;
}

std::string Describe(const Key& key) {
  std::string s;
  for (const auto& [name, v] : key)
    s += name + "(" + std::to_string(static_cast<int>(v.type)) + ")=" + Shown(v.data.substr(0, 80)) + " ";
  return s;
}

void CheckHandlesClosed(const FakePlatform& fake, bool opened, bool created) {
  const std::size_t closes = fake.Texts({"RegCloseKey"}).size();
  FUZZ_CHECK(closes == static_cast<std::size_t>(opened) + static_cast<std::size_t>(created),
             std::to_string(closes) + " closes");
}

void CheckSavedKey(const Key& key) {
  for (const SettingsEntry& e : kSettingsValues) {
    const auto v = key.find(e.name);
    FUZZ_CHECK(v != key.end(), std::string(e.name) + " not saved");
    switch (e.kind) {
      case RegKind::Integer:
        FUZZ_CHECK(v->second.type == RegType::Dword && v->second.data.size() == 4, e.name);
        break;
      case RegKind::Boolean:
        FUZZ_CHECK(v->second.type == RegType::Dword &&
                       (v->second.data == std::string("\0\0\0\0", 4) || v->second.data == std::string("\1\0\0\0", 4)),
                   e.name);
        break;
      case RegKind::String:
        FUZZ_CHECK(v->second.type == RegType::Sz && v->second.data.find('\0') == std::string::npos, e.name);
        break;
    }
  }
}

// What a complete key saved by the program becomes when loaded and saved
// again: Say and StartAddress saved empty read as their stand-ins, and a
// DefMCRPath that names no folder is cleared with Radio1Index.
Key AfterReload(Key key, const std::set<std::string>& folders) {
  for (const SettingsEntry& e : kSettingsValues)
    if (e.rule == ReadRule::EmptyReadsAs && key[e.name].data.empty()) key[e.name].data = e.stand_in;
  if (!folders.count(key["DefMCRPath"].data)) {
    key["DefMCRPath"].data.clear();
    key["Radio1Index"].data = std::string(4, '\0');
  }
  return key;
}

}  // namespace
}  // namespace zepx

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zepx;
  const RegistryImage image = fuzz::DecodeRegistryImage(data, size);
  const bool exists = image.flags & RegistryImage::kKeyExists;
  const bool unopenable = image.flags & RegistryImage::kKeyUnopenable;
  const bool create_fails = image.flags & RegistryImage::kCreateFails;

  Desk first;
  Prepare(first, image);
  first.form.LoadSettings();
  first.form.SaveSettings();
  CheckHandlesClosed(first.fake, exists && !unopenable, !unopenable && !create_fails);
  if (unopenable || create_fails) {
    // The user is told the settings were not kept.
    FUZZ_CHECK(!first.fake.boxes.empty(), "no message for a failed save");
    return 0;
  }
  // The key the program saved, loaded by a new window and saved again: it
  // loads without a notice, and what comes back is what went in, but for
  // what the load puts right by design.
  const Key saved = first.fake.registry.at(kZepxKey);
  CheckSavedKey(saved);
  Desk next;
  next.fake.directories = first.fake.directories;
  next.fake.registry[kZepxKey] = saved;
  next.form.LoadedFromCommandLine = first.form.LoadedFromCommandLine;
  next.form.LoadSettings();
  FUZZ_CHECK(next.fake.boxes.empty(), "a saved key loads with a message: " + Shown(next.fake.boxes[0].text));
  next.form.SaveSettings();
  const Key again = next.fake.registry.at(kZepxKey);
  const Key want = AfterReload(saved, next.fake.directories);
  FUZZ_CHECK(again.size() == want.size(), Describe(saved) + "\n  saved again as\n  " + Describe(again));
  for (const auto& [name, v] : want) {
    const auto w = again.find(name);
    FUZZ_CHECK(w != again.end() && w->second.type == v.type && w->second.data == v.data,
               name + ": " + Describe(saved) + "\n  saved again as\n  " + Describe(again));
  }
  return 0;
}
