// Writes the generated starting corpora of the fuzz targets, from the program's
// own composer, macro writer and settings save:
//
//   make_corpus DIR      fills DIR/<target>/ (the folders are emptied first)
//
// command_line, line_readers: every line the composer writes (all 85 kinds,
//   appended and inserted, with and without modifiers and target), target
//   descriptors, numbers and paths;
// macro_file: those lines written as macro files;
// coordinate_display: the lines as one list, and lines with coordinates set;
// settings: keys saved by a main window (start values and values changed
//   almost everywhere), with the flag variants of registry_image.h.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "model/command_line.h"
#include "model/macro_file.h"
#include "platform/fake/fake_platform.h"
#include "registry_image.h"
#include "shell/life_support.h"
#include "shell/main_form.h"

namespace fs = std::filesystem;

namespace zepx {
namespace {

class Corpus {
 public:
  Corpus(const fs::path& dir) : dir_(dir) {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void Add(const std::string& bytes) {
    if (!seen_.insert(bytes).second) return;
    std::ofstream(dir_ / ("start-" + std::to_string(seen_.size())), std::ios::binary) << bytes;
  }
  std::size_t Size() const { return seen_.size(); }

 private:
  fs::path dir_;
  std::set<std::string> seen_;
};

// Every composed line, grouped by command kind.
std::vector<std::vector<std::string>> ComposedLines() {
  const Modifiers kMods[] = {{}, {true, true, true}, {false, true, false}};
  std::vector<std::vector<std::string>> by_kind(kCommandKindCount);
  for (int kind = 0; kind < static_cast<int>(kCommandKindCount); ++kind)
    for (bool mid : {false, true})
      for (bool wm : {false, true})
        for (const Modifiers& m : kMods)
          for (const char* text : {"hello", "こんにちは表示 12:30x"}) {
            NewCommand n;
            n.kind = kind;
            n.wait_ms = mid ? 3600000 : 1000;
            n.x = mid ? 9999 : 120;
            n.y = 45;
            n.text = text;
            n.target = mid ? "メモ帳@@Edit <77>" : "Ultima Online <1234>";
            n.modifiers = m;
            n.win_message = wm;
            for (const std::string& line : ComposeNewCommand(n, mid)) {
              std::vector<std::string>& group = by_kind[static_cast<std::size_t>(kind)];
              if (std::find(group.begin(), group.end(), line) == group.end()) group.push_back(line);
            }
          }
  return by_kind;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += (s.empty() ? "" : "\n") + l;
  return s;
}

void SettingsStarts(const fs::path& dir) {
  using fuzz::RegistryImage;
  Corpus corpus(dir);
  auto saved = [](const std::function<void(TMainForm&)>& adjust) {
    FakePlatform fake;
    WriteSettingsKey(fake, adjust);
    RegistryImage image;
    for (const auto& [name, v] : fake.registry[kZepxKey]) image.values.push_back({name, v.type, v.data});
    return image;
  };
  const RegistryImage plain = saved([](TMainForm&) {});
  const RegistryImage changed = saved([](TMainForm& f) {
    f.SetPosition(-1200, 80);
    f.settings.Radio1Index = 1;
    f.settings.DefMCRPath = "D:\\マクロ";
    f.settings.ECom2Index = {6, 7, 8, 9, 10};
    f.settings.Exec2 = "C:\\tools\\run.bat";
    f.settings.Say = "";
    f.settings.Layered = 180;
    f.settings.Loop = {"a.mcr", "b.mcr", "", "", "表.mcr"};
    f.settings.MinChecked = f.settings.TopCheck = true;
    f.settings.StartComboIndex = 0;
    f.settings.EndComboIndex = 25;
    f.PostRadioGroup.SetItemIndex(kSendEvent);
    f.CheckBox2.SetChecked(true);
    f.SpinEdit3.SetValue(23);
    f.SpinEdit5.SetValue(59);
  });
  for (std::uint8_t flags : {1, 1 | 8, 1 | 16, 0, 1 | 2, 1 | 4}) {
    for (RegistryImage image : {plain, changed}) {
      image.flags = flags;
      corpus.Add(fuzz::EncodeRegistryImage(image));
      // With a logout report waiting, and with a value of the wrong type.
      image.values.push_back({"LogoutDateTime", RegType::Sz, "2026/12/06 12:34:56"});
      corpus.Add(fuzz::EncodeRegistryImage(image));
      image.values.push_back({"DCutHour", RegType::Sz, "12"});
      image.values.push_back({"Say", RegType::Sz, std::string(4000, 'x')});
      corpus.Add(fuzz::EncodeRegistryImage(image));
    }
  }
  std::cout << "make_corpus: settings " << corpus.Size() << "\n";
}

}  // namespace
}  // namespace zepx

int main(int argc, char** argv) {
  using namespace zepx;
  if (argc != 2) {
    std::cerr << "usage: make_corpus DIR\n";
    return 2;
  }
  const fs::path out = argv[1];
  const std::vector<std::vector<std::string>> by_kind = ComposedLines();
  std::vector<std::string> all;
  for (const auto& group : by_kind) all.insert(all.end(), group.begin(), group.end());

  {
    Corpus lines(out / "command_line");
    for (const std::string& l : all) lines.Add(l);
    std::cout << "make_corpus: command_line " << lines.Size() << "\n";
  }
  {
    Corpus readers(out / "line_readers");
    for (const std::string& l : all) readers.Add(l);
    for (const char* s : {"1200", "  -5", "$1F", "0x10", "-2147483648", "2147483647", "-$80000000",
                          "Ultima Online <1234>", "メモ帳@@Edit <77>", "Game <abc>", "a<5>",
                          "(無題) - メモ帳\nNotepad", "C:\\macros\\a.mcr", "C:\\x\\ソフト.mcr",
                          "C:\\dir.lnk\\file", "D:表\\a.LNK", "L_Drag:NoSet\nl_drop:noset\nR_Drag:NoSet"})
      readers.Add(s);
    std::cout << "make_corpus: line_readers " << readers.Size() << "\n";
  }
  {
    Corpus files(out / "macro_file");
    MacroSettings s;
    files.Add(WriteMacroFile(all, s));
    s.loop = 3;
    s.send_api = 2;
    for (const auto& group : by_kind) files.Add(WriteMacroFile(group, s));
    files.Add(WriteMacroFile({}, MacroSettings{}));
    std::cout << "make_corpus: macro_file " << files.Size() << "\n";
  }
  {
    Corpus display(out / "coordinate_display");
    display.Add(Joined(all));
    std::vector<std::string> placed;
    for (const std::string& l : all) placed.push_back(WithCoordinates(l, 640, 480));
    display.Add(Joined(placed));
    for (const auto& group : by_kind) display.Add(Joined(group));
    std::cout << "make_corpus: coordinate_display " << display.Size() << "\n";
  }
  SettingsStarts(out / "settings");
  return 0;
}
