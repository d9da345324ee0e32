// One libFuzzer driver for every reader of outside input. ZEPX_FUZZ_CASE
// names the reader the inputs go to (scripts/fuzz.sh runs each in turn):
//
//   macro_file          read; what was read, written and read again, is the same
//   command_line        the input as one line, read, composed and read again
//   line_readers        numbers, cp932 cuts, file names, target descriptors, on
//                       the text; numbers and coordinates on its LF-split lines
//   settings            the settings load and save over a registry key made of the bytes
//
// The starting inputs, tests/fuzz/corpus/CASE, are lines, lists, macro files
// and settings keys the program itself composed, wrote and saved, kept to
// those that add coverage. A failed check prints the condition and the text
// (bytes outside printable ASCII as \xHH, the text being cp932) and aborts,
// so that libFuzzer keeps the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <map>

#include "model/command_line.h"
#include "model/convert.h"
#include "model/macro_file.h"
#include "base/text.h"
#include "platform/fake/fake_platform.h"
#include "settings/settings_store.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

std::string Shown(const std::string& s) {
  std::string out = "\"";
  char hex[5];
  for (unsigned char c : s)
    out += c >= 0x20 && c < 0x7F && c != '\\' && c != '"' ? std::string(1, static_cast<char>(c))
                                                          : (std::snprintf(hex, sizeof hex, "\\x%02X", c), hex);
  return out + "\"";
}
[[noreturn]] void Fail(int line, const char* condition, const std::string& detail) {
  std::fprintf(stderr, "\nfuzz_zepx.cpp:%d: check failed: %s\n  %s\n", line, condition, detail.c_str());
  std::abort();
}
// `detail` is only built when the check fails.
#define CHECK(condition, detail) \
  while (!(condition)) ::zepx::Fail(__LINE__, #condition, detail)

bool Has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

std::vector<std::string> SplitAtLf(const std::string& s) {  // "a\n" gives "a" and ""
  std::vector<std::string> parts(1);
  for (char c : s) c == '\n' ? parts.emplace_back() : parts.back() += c;
  return parts;
}

// The main window, built as the program builds it, for the settings.
struct Desk {
  FakePlatform fake;
  TApplication app;
  TMainForm form{fake.platform(), app};
};

// ---- macro files: a list loaded from a file can always be saved and loaded back --------

constexpr std::int64_t MacroSettings::*kMacroFields[] = {&MacroSettings::key,  &MacroSettings::click,
                                                         &MacroSettings::drag, &MacroSettings::shift_alt_ctrl,
                                                         &MacroSettings::loop, &MacroSettings::send_api};
MacroSettings SettingsOf(const MacroReadResult& r) {
  MacroSettings s;
  for (const MacroAssignment& a : r.assignments) s.*kMacroFields[static_cast<int>(a.field)] = a.value;
  return s;
}

void MacroFile(const std::string& bytes) {
  const MacroReadResult r = ReadMacroFile(bytes);
  const std::vector<std::string> split = SplitMacroLines(bytes);
  CHECK(r.ok() || (r.failure_line >= 1 && static_cast<std::size_t>(r.failure_line) <= split.size() &&
                   r.failure_text == split[static_cast<std::size_t>(r.failure_line) - 1]),
        Shown(bytes));
  for (const std::string& line : r.lines) CHECK(IsCommandLine(line) || StartsWith(line, kWaitPrefix), Shown(line));
  const MacroSettings s = SettingsOf(r);
  const std::string written = WriteMacroFile(r.lines, s);
  const MacroReadResult again = ReadMacroFile(written);
  CHECK(again.ok() && again.lines == r.lines && again.assignments.size() == std::size(kMacroFields), Shown(written));
  for (const auto field : kMacroFields) CHECK(SettingsOf(again).*field == s.*field, Shown(written));
}

// ---- command lines ------------------------------------------------------------------

bool Same(const Modifiers& a, const Modifiers& b) { return a.shift == b.shift && a.alt == b.alt && a.ctrl == b.ctrl; }

// The input as one line: an exact reading composes back to the line, and any
// composition reads back exactly with the parts ComposeCommandLine writes for
// its form (the input area's Add composes its lines the same way).
void CommandLines(const std::string& line) {
  const CommandLine c = ReadCommandLine(line);
  const std::string composed = ComposeCommandLine(c);
  CHECK(!c.exact || composed == line, Shown(line) + " composes as " + Shown(composed));
  const CommandLine b = ReadCommandLine(composed);
  const bool mods = Same(c.modifiers, b.modifiers);
  bool same = b.exact && b.form == c.form && b.word == c.word;
  switch (c.form) {
    case LineForm::Wait: same = same && c.wait_ms == b.wait_ms; break;
    case LineForm::Mouse: same = same && c.no_set == b.no_set && (c.no_set || (c.x == b.x && c.y == b.y)); break;
    case LineForm::Text: same = same && mods && c.text == b.text && c.target == b.target; break;
    case LineForm::FrontApp: same = same && mods && c.app_title == b.app_title; break;
    case LineForm::Key: same = same && mods && c.target == b.target; break;
    case LineForm::Event: break;
    case LineForm::BoundMouse: same = same && ComposeBoundPoint(*c.bound) == ComposeBoundPoint(*b.bound); break;
    case LineForm::WaitFor: same = same && c.wait_for == b.wait_for; break;
    case LineForm::Other: same = !c.exact && composed.empty();
  }
  CHECK(same, Shown(line) + " composes as " + Shown(composed));
  // A line that opens with a wait's word is that wait or refused, and no
  // older rule reads anything in it.
  CHECK(!OpensWaitFor(line) || (c.exact == IsCommandLine(line) && c.exact == (c.dispatch == Dispatch::WaitFor) &&
                                !c.target && !c.modifiers.Any() && !HoldsDrag(line) && !HoldsDrop(line)),
        Shown(line));
}

// ---- the smaller readers ------------------------------------------------------------

// Both conversions agree, the error names the text, and a number as the
// program writes it reads back as that number.
void Convert(const std::string& s) {
  const std::optional<std::int32_t> v = TryStrToInt(s);
  CHECK(!v || (TryStrToInt(std::to_string(*v)) == v && TryStrToInt(" +" + std::to_string(*v)).has_value() == (*v >= 0)),
        Shown(s));
  try {
    const std::int32_t w = StrToInt(s);
    CHECK(v && w == *v, Shown(s));
  } catch (const ConvertError& e) {
    // what() ends at a zero byte the text may hold, as the message box would.
    CHECK(!v && std::string(e.what()) == ("'" + s + "' は整数ではありません").c_str(), Shown(e.what()));
  }
}

// Cutting keeps the longest prefix that splits no double-byte character; a
// file name follows the last "\", "/" or ":" that is a character of its own
// (not the second byte of a double-byte one), its extension from its last such ".".
void Cp932Parts(const std::string& s, std::size_t max) {
  std::vector<bool> start(s.size() + 1, true);  // where each character starts
  for (std::size_t i = 0; i + 1 < s.size(); ++i)
    if (IsLeadByte(static_cast<unsigned char>(s[i]))) start[++i] = false;
  std::size_t longest = std::min(max, s.size());
  while (!start[longest]) --longest;
  CHECK(TruncateCp932(s, max) == s.substr(0, longest), Shown(s) + " at " + std::to_string(max));
  auto is = [&](std::size_t i, const char* set) { return start[i] && s[i] != '\0' && std::strchr(set, s[i]); };
  std::size_t from = s.size(), dot = std::string::npos;
  while (from > 0 && !is(from - 1, "\\/:")) --from;
  for (std::size_t i = from; i < s.size(); ++i) dot = is(i, ".") ? i : dot;
  const std::string ext = dot == std::string::npos ? "" : s.substr(dot);
  CHECK(ExtractFileName(s) == s.substr(from) && ExtractFileExt(s) == ext &&
            IsShortcutPath(s) == (ext == ".lnk" || ext == ".LNK"),
        Shown(s));
}

// A point only where X (between the first ":" and the first "x" after it)
// and Y (after that "x") are integers, 0,0 for ":NoSet"; a point set is the
// point then read, unless an "x" comes before the ":".
void CheckCoordinates(const std::string& line, std::int32_t x, std::int32_t y) {
  // A bound point reads back as written; a window-bound line is rewritten
  // only into one that reads whole, and one that does not read is left alone.
  if (const auto bound = ReadBoundPoint(line)) CHECK(ComposeBoundPoint(*bound) == line, Shown(line));
  if (line.rfind(kWindowMousePrefix, 0) == 0) {
    const bool whole = ReadCommandLine(line).exact;
    const auto picked = WithPickedBoundPoint(line, {x, y, line, "C", 1});
    const auto pasted = WithCoordinateText(line, line.substr(line.size() / 2));
    CHECK(whole == picked.has_value() && (!picked || ReadCommandLine(*picked).exact) &&
              (!pasted || (whole && ReadCommandLine(*pasted).exact)), Shown(line));
    return;
  }
  const std::optional<Coordinates> c = ReadCoordinates(line);
  const std::size_t colon = line.find(':'), xpos = line.find('x');
  const bool after = colon != std::string::npos && xpos != std::string::npos && xpos > colon;
  const auto px = after ? TryStrToInt(line.substr(colon + 1, xpos - colon - 1)) : std::nullopt;
  const auto py = after ? TryStrToInt(line.substr(xpos + 1)) : std::nullopt;
  CHECK(Has(line, ":NoSet") ? c && c->x == 0 && c->y == 0
        : c                 ? px && py && c->x == *px && c->y == *py
                            : !(px && py),
        Shown(line));
  const std::string moved = WithCoordinates(line, x, y);
  CHECK(colon == std::string::npos ? moved == line : moved.compare(0, colon + 1, line, 0, colon + 1) == 0, Shown(line));
  const std::optional<Coordinates> back = ReadCoordinates(moved);
  CHECK(colon == std::string::npos || xpos < colon || (back && back->x == x && back->y == y), Shown(moved));
}

// A descriptor reads with the handle its text converts to; one the
// application list writes (the text as title, or split at its first LF as
// title "@@" class) reads back as what went in.
void CheckTarget(const std::string& s, std::uintptr_t handle) {
  const TargetDescriptor d = ReadTargetDescriptor(s);
  const auto h = TryStrToInt(d.handle_text);
  CHECK(d.form == TargetDescriptor::Title ? d.title == s && !d.handle
                                          : d.handle == (h ? std::optional<std::uint32_t>(*h) : std::nullopt),
        Shown(s));
  const std::size_t lf = s.find('\n');
  const std::string title = s.substr(0, lf), cls = lf == std::string::npos ? "" : s.substr(lf + 1);
  if (lf == std::string::npos ? Has(s, "<") || Has(s, kAppMark)
                              : Has(title, kAppMark) || (!title.empty() && title.back() == '@') || Has(cls, " <"))
    return;
  const std::string written =
      lf == std::string::npos ? ComposeTargetDescriptor(s, handle) : ComposeChildTargetDescriptor(title, cls, handle);
  const TargetDescriptor back = ReadTargetDescriptor(written);
  CHECK(back.title == title && back.class_name == cls && back.handle == handle &&
            back.form == (lf == std::string::npos ? TargetDescriptor::TitleHandle : TargetDescriptor::Child),
        Shown(written));
}

void LineReaders(const std::string& text) {
  FuzzedDataProvider in(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  const std::int32_t x = in.ConsumeIntegral<std::int32_t>(), y = in.ConsumeIntegral<std::int32_t>();
  Convert(text);
  Cp932Parts(text, in.ConsumeIntegralInRange<std::size_t>(0, text.size() + 2));
  CheckTarget(text, static_cast<std::uint32_t>(x) & 0x7FFFFFFF);
  const std::vector<std::string> lines = SplitAtLf(text);
  for (const std::string& line : lines) {
    (void)IsCommandLine(line);
    CheckCoordinates(line, x, y);
    Convert(line);
  }
}

// ---- settings ---------------------------------------------------------------------------

// The key as bytes: a flags byte (1 the key exists, 2 it cannot be opened, 4
// it cannot be created, 8 a macro file came on the command line, 16 the
// folder DefMCRPath names exists), then values to the end, each a name byte
// (an index into kSettingsValues, then LogoutDateTime, then an unknown
// name), a type byte (an index into kTypes; with 0x80 set the data is
// repeated 256 times), a length byte and that many bytes of data.
const char kKey[] = "Software\\VELMOR\\ZEPX";
const RegType kTypes[] = {RegType::Dword, RegType::Sz, RegType::ExpandSz, RegType::Binary, RegType::MultiSz,
                          RegType::Qword, RegType::None, static_cast<RegType>(5), static_cast<RegType>(0xFFFF)};
using Key = std::map<std::string, FakePlatform::RegValue>;

std::string NameAt(std::size_t i) {
  i %= kSettingsValueCount + 2;
  return i < kSettingsValueCount ? kSettingsValues[i].name : i == kSettingsValueCount ? "LogoutDateTime" : "Unknown";
}

// Every key handle opened is closed; a failed save is told; and the saved
// key, loaded by a new window and saved again, loads without a notice and
// comes out the same, but for what the load puts right by design (Say and
// StartAddress saved empty read as their stand-ins; a DefMCRPath naming no
// folder is cleared with Radio1Index).
void Settings(const std::string& bytes) {
  const std::uint8_t flags = bytes.empty() ? 1 : static_cast<std::uint8_t>(bytes[0]);
  Desk first;
  Key& key = first.fake.registry[kKey];
  for (std::size_t i = 1; i + 3 <= bytes.size(); i += 3 + static_cast<std::uint8_t>(bytes[i + 2])) {
    std::string data = bytes.substr(i + 3, static_cast<std::uint8_t>(bytes[i + 2]));
    for (int n = 0; n < 8 && (bytes[i + 1] & 0x80); ++n) data += data;
    key[NameAt(static_cast<std::uint8_t>(bytes[i]))] = {kTypes[(bytes[i + 1] & 0x7F) % std::size(kTypes)], data};
  }
  // The folder the store checks is the text as it reads it.
  if ((flags & 16) && key.count("DefMCRPath"))
    first.fake.directories.insert(key["DefMCRPath"].data.substr(0, key["DefMCRPath"].data.find('\0')));
  if (!(flags & 1)) first.fake.registry.erase(kKey);
  if (flags & 2) first.fake.registry_readonly.insert(kKey);
  first.fake.registry_create_fails = flags & 4;
  first.form.LoadedFromCommandLine = flags & 8;
  first.form.LoadSettings();
  first.form.SaveSettings();
  const std::size_t opened = ((flags & 3) == 1) + ((flags & 6) == 0);
  CHECK(first.fake.Texts({"RegCloseKey"}).size() == opened, "a key handle left open");
  CHECK(!(flags & 6) || !first.fake.boxes.empty(), "no message for a failed save");
  if (flags & 6) return;

  const Key saved = first.fake.registry.at(kKey);
  Key want = saved;
  for (const SettingsEntry& e : kSettingsValues)
    if (e.rule == ReadRule::EmptyReadsAs && want[e.name].data.empty()) want[e.name].data = e.stand_in;
  Desk next;
  next.fake.directories = first.fake.directories;
  next.fake.registry[kKey] = saved;
  next.form.LoadedFromCommandLine = first.form.LoadedFromCommandLine;
  next.form.LoadSettings();
  CHECK(next.fake.boxes.empty(), "a saved key loads with a message: " + Shown(next.fake.boxes[0].text));
  next.form.SaveSettings();
  if (!next.fake.directories.count(want["DefMCRPath"].data))
    want["DefMCRPath"].data.clear(), want["Radio1Index"].data = std::string(4, '\0');
  Key& again = next.fake.registry.at(kKey);
  CHECK(again.size() == want.size(), std::to_string(again.size()) + " values");
  for (const auto& [name, v] : want)
    CHECK(again[name].type == v.type && again[name].data == v.data,
          name + ": " + Shown(v.data) + " saved again as " + Shown(again[name].data));
}

const std::map<std::string, void (*)(const std::string&)> kCases = {
    {"macro_file", MacroFile}, {"command_line", CommandLines}, {"line_readers", LineReaders},
    {"settings", Settings}};

}  // namespace
}  // namespace zepx

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto run = [] {
    const char* name = std::getenv("ZEPX_FUZZ_CASE");
    const auto c = zepx::kCases.find(name ? name : "");
    CHECK(c != zepx::kCases.end(),
          "ZEPX_FUZZ_CASE names none of macro_file, command_line, line_readers, settings");
    return c->second;
  }();
  run(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
