#include "model/command_line.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <iterator>
#include <utility>

#include "base/text.h"
#include "model/convert.h"

namespace zepx {

const std::array<const char*, kCommandKindCount> kCommandKinds = {
    "時間(ミリ秒)",
    "L_Click", "R_Click", "L_DClick", "R_DClick",
    "L_Drag&Drop", "R_Drag&Drop",
    "[Text]",
    "[F1]", "[F2]", "[F3]", "[F4]", "[F5]", "[F6]", "[F7]", "[F8]", "[F9]", "[F10]", "[F11]",
    "[F12]",
    "[A]", "[B]", "[C]", "[D]", "[E]", "[F]", "[G]", "[H]", "[I]", "[J]", "[K]", "[L]", "[M]",
    "[N]", "[O]", "[P]", "[Q]", "[R]", "[S]", "[T]", "[U]", "[V]", "[W]", "[X]", "[Y]", "[Z]",
    "[@]",
    "[1]", "[2]", "[3]", "[4]", "[5]", "[6]", "[7]", "[8]", "[9]", "[0]",
    "[+]", "[-]", "[*]", "[/]",
    "[Enter]",
    "[↑]", "[↓]", "[←]", "[→]",
    "[End]", "[Home]", "[PageUp]", "[PageDown]", "[Esc]", "[Space]", "[Insert]", "[Delete]",
    "[BackSpace]", "[PrtSc]", "[Tab]",
    "[Windows]",
    "[KANJI]", "[Shift]", "[Alt]", "[Ctrl]",
    "【ZEP Event 1】", "【ZEP Event 2】",
    "[ｱﾌﾟﾘを前面に]",
    "ウインドウ出現待ち", "ウインドウ前面待ち", "ウインドウ消滅待ち", "色待ち",
};

namespace {

// Named keys, tested in this order against the line from its second byte
// on: the first name the line continues with wins, whatever follows it
// ("[Enter]" is found by "Enter", never by "End").
struct NamedKey {
  const char* name;
  std::uint8_t vk;
  bool posted;  // WinMessage posts WM_KEYDOWN; the others go in as input
};
const NamedKey kNamedKeys[] = {
    {"↑", 0x26, true},      {"↓", 0x28, true},        {"←", 0x25, true},
    {"→", 0x27, true},      {"Enter", 0x0D, true},    {"End", 0x23, true},
    {"Home", 0x24, true},   {"PageUp", 0x21, true},   {"PageDown", 0x22, true},
    {"Insert", 0x2D, true}, {"Delete", 0x2E, true},   {"Esc", 0x1B, true},
    {"Space", 0x20, true},  {"BackSpace", 0x08, true}, {"PrtSc", 0x2C, false},
    {"Tab", 0x09, true},    {"Windows", 0x5B, false}, {"KANJI", 0x19, false},
    {"Shift", 0x10, false}, {"Alt", 0x12, false},     {"Ctrl", 0x11, false},
};

// What the loader recognises anywhere in a line. One-character key words
// and function keys are recognised by their shape instead.
const char* const kRecognisedAnywhere[] = {
    "[↑]", "[↓]", "[←]", "[→]", "[Enter]", "[End]", "[Home]", "[PageUp]", "[PageDown]",
    "[Esc]", "[Space]", "[Insert]", "[Delete]", "[BackSpace]", "[PrtSc]", "[Tab]",
    "[Windows]", "[KANJI]", "[Shift]", "[Alt]", "[Ctrl]",
    "L_Click", "L_DClick", "R_Click", "R_DClick", "L_Drag", "L_Drop", "R_Drag", "R_Drop",
    "[Text]", "【ZEP Event 1】", "【ZEP Event 2】", "[ｱﾌﾟﾘを前面に]",
};

// Mouse words a line may open with, followed by ":".
const char* const kMouseWords[] = {"L_Click", "R_Click", "L_DClick", "R_DClick",
                                   "L_Drag",  "L_Drop",  "R_Drag",   "R_Drop"};

// The actions of window-bound lines, beside the words of the screen form.
struct BoundAction {
  const char* word;
  const char* screen_word;
  MouseAction action;
};
const BoundAction kBoundActions[] = {
    {"LClick", "L_Click", MouseAction::LeftClick},   {"RClick", "R_Click", MouseAction::RightClick},
    {"LDClick", "L_DClick", MouseAction::LeftDouble}, {"RDClick", "R_DClick", MouseAction::RightDouble},
    {"LDrag", "L_Drag", MouseAction::LeftDrag},       {"LDrop", "L_Drop", MouseAction::Move},
    {"RDrag", "R_Drag", MouseAction::RightDrag},      {"RDrop", "R_Drop", MouseAction::Move},
};

const BoundAction* BoundActionOf(const std::string& word, bool screen_form) {
  for (const BoundAction& a : kBoundActions)
    if (word == (screen_form ? a.screen_word : a.word)) return &a;
  return nullptr;
}

// A decimal number exactly as std::to_string writes it (no sign but a
// leading "-", no leading zeros, no blanks), within [lo, hi].
template <typename T>
std::optional<T> ReadPlainNumber(const std::string& s, T lo, T hi) {
  T value{};
  const char* end = s.data() + s.size();
  const std::from_chars_result r = std::from_chars(s.data(), end, value);
  if (r.ec != std::errc() || r.ptr != end || value < lo || value > hi || std::to_string(value) != s)
    return std::nullopt;
  return value;
}

std::optional<Coordinates> ReadPlainPoint(const std::string& s) {
  const std::size_t x = s.find('x');
  if (x == std::string::npos) return std::nullopt;
  const auto cx = ReadPlainNumber<std::int32_t>(s.substr(0, x), INT32_MIN, INT32_MAX);
  const auto cy = ReadPlainNumber<std::int32_t>(s.substr(x + 1), INT32_MIN, INT32_MAX);
  if (!cx || !cy) return std::nullopt;
  return Coordinates{*cx, *cy};
}

std::string WindowMouseLine(const char* word, const BoundPoint& p) {
  return kWindowMousePrefix + std::string(word) + ":" + ComposeBoundPoint(p);
}

// The window-bound reading of a line that opens with "Win:"; nothing when
// the rest is not an action word, ":" and a bound point.
std::optional<std::pair<const BoundAction*, BoundPoint>> ReadWindowMouse(const std::string& line) {
  const std::size_t begin = std::char_traits<char>::length(kWindowMousePrefix);
  const std::size_t colon = line.find(':', begin);
  if (!StartsWith(line, kWindowMousePrefix) || colon == std::string::npos) return std::nullopt;
  const BoundAction* a = BoundActionOf(line.substr(begin, colon - begin), false);
  if (!a) return std::nullopt;
  auto p = ReadBoundPoint(line.substr(colon + 1));
  if (!p) return std::nullopt;
  return std::make_pair(a, std::move(*p));
}

// The screen-form mouse word a line opens with, when it is a mouse line.
const BoundAction* ScreenMouseAction(const std::string& line) {
  if (StartsWith(line, kWindowMousePrefix) || !IsMouseLine(line)) return nullptr;
  return BoundActionOf(line.substr(0, line.find(':')), true);
}

MouseAction ReadMouseAction(const std::string& line) {
  struct Entry {
    const char* text;
    MouseAction action;
  };
  static const Entry kOrder[] = {
      {"L_Click", MouseAction::LeftClick},   {"R_Click", MouseAction::RightClick},
      {"L_DClick", MouseAction::LeftDouble}, {"R_DClick", MouseAction::RightDouble},
      {"L_Drag", MouseAction::LeftDrag},     {"R_Drag", MouseAction::RightDrag},
  };
  for (const Entry& e : kOrder)
    if (Contains(line, e.text)) return e.action;
  return MouseAction::Move;
}

void ReadKeyPart(const std::string& line, CommandLine& c) {
  if (At(line, 1, "Text")) {
    c.key_kind = KeyLineKind::Text;
    const std::size_t open = line.find("~~");
    if (open != std::string::npos) {
      const std::size_t begin = open + 2;
      const std::size_t end = line.find(kTargetMark);
      if (end == std::string::npos) c.text = line.substr(begin);
      else if (end > begin) c.text = line.substr(begin, end - begin);
    }
    return;
  }
  if (At(line, 1, "ｱﾌﾟﾘ")) {
    c.key_kind = KeyLineKind::FrontApp;
    const std::size_t at = line.find(kAppMark);
    if (at != std::string::npos) c.app_title = line.substr(at + 2);
    return;
  }
  for (const NamedKey& k : kNamedKeys) {
    if (At(line, 1, k.name)) {
      c.key_kind = KeyLineKind::Key;
      c.vk = k.vk;
      c.posted = k.posted;
      return;
    }
  }
  const bool f = line.size() >= 2 && line[1] == 'F';
  const bool f1_9 = f && line.size() >= 4 && line[3] == ']';
  const bool f10_12 = !f1_9 && f && line.size() >= 5 && line[4] == ']';
  if (f1_9 || f10_12) {
    c.key_kind = KeyLineKind::Key;
    const std::string digits = line.substr(2, f1_9 ? 1 : 2);
    if (const auto n = TryStrToInt(digits)) {
      c.vk = static_cast<std::uint8_t>(111 + *n);
      c.waits_before = f1_9 && *n == 5;
    } else {
      c.bad_number = digits;
    }
    return;
  }
  if (line.size() >= 3 && line[2] == ']') {
    c.key_kind = KeyLineKind::Key;
    c.key_char = line[1];
    c.vk = 0;  // the keyboard layout decides
  }
}

LineForm ReadForm(const std::string& line, std::string& word) {
  if (StartsWith(line, kWaitPrefix)) {
    word = kWaitPrefix;
    return LineForm::Wait;
  }
  for (const char* w : kMouseWords) {
    if (StartsWith(line, w) && At(line, std::char_traits<char>::length(w), ":")) {
      word = w;
      return LineForm::Mouse;
    }
  }
  if (line == kEvent1Line || line == kEvent2Line) {
    word = line;
    return LineForm::Event;
  }
  if (StartsWith(line, kTextKind)) {
    word = kTextKind;
    return LineForm::Text;
  }
  if (StartsWith(line, kFrontAppKind)) {
    word = kFrontAppKind;
    return LineForm::FrontApp;
  }
  // A key word that holds "|>" runs into the target, which is read from
  // that mark to the end: no composed line has both parts, so such a line
  // has no form to compose.
  const std::size_t close = line.find(']');
  if (StartsWith(line, "[") && close != std::string::npos && line.find(kTargetMark) > close) {
    word = line.substr(0, close + 1);
    return LineForm::Key;
  }
  return LineForm::Other;
}

std::string ModifierSuffixes(const Modifiers& m) {
  std::string s;
  if (m.shift) s += "+Shift";
  if (m.alt) s += "+Alt";
  if (m.ctrl) s += "+Ctrl";
  return s;
}

std::string TargetSuffix(const std::optional<std::string>& target) {
  return target ? kTargetMark + *target : std::string();
}

}  // namespace

CommandLine ReadCommandLine(const std::string& line) {
  CommandLine c;
  if (OpensWaitFor(line)) {
    // Read by its own form or not at all: a line that does not parse is
    // what such a line always was, a wait whose number is no number.
    c.wait_for = ReadWaitCondition(line);
    if (!c.wait_for) {
      c.bad_number = line.substr(5);
      return c;
    }
    c.dispatch = Dispatch::WaitFor;
    c.form = LineForm::WaitFor;
    c.word = line.substr(0, line.find(':') + 1);
    c.exact = ComposeCommandLine(c) == line;
    return c;
  }
  if (StartsWith(line, kWindowMousePrefix)) {
    // None of the substring rules below may look inside: the title may hold
    // "[" (the second byte of a double-byte character), "+S", "|>", "Drag".
    const auto read = ReadWindowMouse(line);
    if (!read) {
      c.bad_number = line;
      return c;
    }
    c.dispatch = Dispatch::Mouse;
    c.form = LineForm::BoundMouse;
    c.word = read->first->word;
    c.mouse = read->first->action;
    c.x = read->second.x;
    c.y = read->second.y;
    c.bound = read->second;
    c.exact = ComposeCommandLine(c) == line;
    return c;
  }
  if (Contains(line, "[")) c.dispatch = Dispatch::Key;
  else if (Contains(line, "L_") || Contains(line, "R_")) c.dispatch = Dispatch::Mouse;
  else if (line == kEvent1Line) c.dispatch = Dispatch::Event1;
  else if (line == kEvent2Line) c.dispatch = Dispatch::Event2;
  else c.dispatch = Dispatch::Wait;

  c.modifiers = {Contains(line, "+S"), Contains(line, "+A"), Contains(line, "+C")};
  const std::size_t mark = line.find(kTargetMark);
  if (mark != std::string::npos) c.target = line.substr(mark + 2);

  switch (c.dispatch) {
    case Dispatch::Key:
      ReadKeyPart(line, c);
      break;
    case Dispatch::Mouse:
      c.mouse = ReadMouseAction(line);
      break;
    case Dispatch::Wait: {
      // Every wait line the composer writes begins with the five bytes of
      // "Wait="; they are skipped, not checked.
      const std::string value = line.size() > 5 ? line.substr(5) : std::string();
      if (const auto ms = TryStrToInt(value)) c.wait_ms = *ms;
      else c.bad_number = value;
      break;
    }
    default:
      break;
  }
  c.no_set = Contains(line, ":NoSet");
  if (const auto xy = ReadCoordinates(line)) {
    c.x = xy->x;
    c.y = xy->y;
  }

  c.form = ReadForm(line, c.word);
  c.exact = c.form != LineForm::Other && ComposeCommandLine(c) == line;
  return c;
}

std::string ComposeCommandLine(const CommandLine& c) {
  switch (c.form) {
    case LineForm::Wait:
      return kWaitPrefix + std::to_string(c.wait_ms);
    case LineForm::Mouse:
      return c.word + ":" + (c.no_set ? std::string("NoSet") : std::to_string(c.x) + "x" + std::to_string(c.y));
    case LineForm::Text:
      return c.word + ModifierSuffixes(c.modifiers) + "~~" + c.text + TargetSuffix(c.target);
    case LineForm::FrontApp:
      // The title runs to the end of the line, so a "|>" the reader took as
      // a target is already in it; the composer never gives this form one.
      return c.word + ModifierSuffixes(c.modifiers) + kAppMark + c.app_title;
    case LineForm::Key:
      return c.word + ModifierSuffixes(c.modifiers) + TargetSuffix(c.target);
    case LineForm::Event:
      return c.word;
    case LineForm::WaitFor:
      return c.wait_for ? ComposeWaitCondition(*c.wait_for) : std::string();
    case LineForm::BoundMouse:
      return c.bound ? kWindowMousePrefix + c.word + ":" + ComposeBoundPoint(*c.bound) : std::string();
    case LineForm::Other:
      break;
  }
  return {};
}

KindForm KindFormOf(int kind) {
  if (kind >= kKindWaitWindowOpen && kind < kKindWaitWindowOpen + kWaitForKindCount) return KindForm::WaitFor;
  const std::string caption = kCommandKinds.at(static_cast<std::size_t>(kind));
  if (Contains(caption, "時間(ミリ秒)")) return KindForm::Wait;
  if (Contains(caption, "Click")) return KindForm::Click;
  if (Contains(caption, "L_Drag") || Contains(caption, "R_Drag")) return KindForm::DragPair;
  if (caption == kTextKind) return KindForm::Text;
  if (caption == kFrontAppKind) return KindForm::FrontApp;
  if (caption == kWindowsKind) return KindForm::Windows;
  if (Contains(caption, "Event")) return KindForm::Event;
  return KindForm::Key;
}

bool IsKeypadOnlyKind(int kind) {
  const std::string caption = kCommandKinds.at(static_cast<std::size_t>(kind));
  return caption == "[+]" || caption == "[*]";
}

bool HoldsDrag(const std::string& line) {
  if (OpensWaitFor(line)) return false;
  if (StartsWith(line, kWindowMousePrefix)) return At(line, 4, "LDrag:") || At(line, 4, "RDrag:");
  return Contains(line, "Drag");
}
bool HoldsDrop(const std::string& line) {
  if (OpensWaitFor(line)) return false;
  if (StartsWith(line, kWindowMousePrefix)) return At(line, 4, "LDrop:") || At(line, 4, "RDrop:");
  return Contains(line, "Drop");
}

std::vector<std::string> ComposeNewCommand(const NewCommand& n, bool mid_list) {
  const std::string caption = kCommandKinds.at(static_cast<std::size_t>(n.kind));
  const KindForm form = KindFormOf(n.kind);
  switch (form) {
    case KindForm::Wait:
      return {kWaitPrefix + std::to_string(n.wait_ms)};
    case KindForm::Click:
      if (n.window) {
        BoundPoint p = *n.window;
        p.x = static_cast<std::int32_t>(n.x);
        p.y = static_cast<std::int32_t>(n.y);
        return {WindowMouseLine(BoundActionOf(caption, true)->word, p)};
      }
      return {caption + ":" + std::to_string(n.x) + "x" + std::to_string(n.y)};
    case KindForm::DragPair:
      if (Contains(caption, "L_Drag")) return {"L_Drag:NoSet", "L_Drop:NoSet"};
      return {"R_Drag:NoSet", "R_Drop:NoSet"};
    case KindForm::WaitFor: {
      WaitCondition w;
      w.kind = static_cast<WaitCondition::Kind>(n.kind - kKindWaitWindowOpen);
      w.deadline_ms = static_cast<std::int32_t>(n.wait_ms);
      w.stop_at_deadline = n.stop_at_deadline;
      w.title = n.text;  // "@@" class included, as typed
      w.rgb = n.rgb;
      w.tolerance = n.tolerance;
      w.x = static_cast<std::int32_t>(n.x);
      w.y = static_cast<std::int32_t>(n.y);
      // As a click: the boxes hold the point in that window.
      if (n.window && n.kind == kKindWaitColor) {
        w.bound = n.window;
        w.bound->x = w.x;
        w.bound->y = w.y;
      }
      return {ComposeWaitCondition(w)};
    }
    default:
      break;
  }

  CommandLine c;
  c.word = caption;
  const std::optional<std::string> target =
      n.win_message ? std::optional<std::string>(n.target) : std::nullopt;
  if (form == KindForm::Text) {
    c.form = LineForm::Text;
    c.text = n.text;
    c.target = target;
    if (mid_list) c.modifiers = n.modifiers;
  } else if (form == KindForm::FrontApp) {
    // Never a target: the title names the window itself.
    c.form = LineForm::FrontApp;
    c.app_title = n.text;
    if (mid_list) c.modifiers = n.modifiers;
  } else if (form == KindForm::Event) {
    c.form = LineForm::Event;
  } else {
    c.form = LineForm::Key;
    // Appended, "[Windows]" is the bare key word; inserted, it is composed
    // like any other key.
    if (mid_list || form != KindForm::Windows) {
      c.target = target;
      c.modifiers = n.modifiers;
    }
  }
  return {ComposeCommandLine(c)};
}

bool IsCommandLine(const std::string& line) {
  if (OpensWaitFor(line)) return ReadWaitCondition(line).has_value();
  if (StartsWith(line, kWindowMousePrefix)) return ReadWindowMouse(line).has_value();
  const std::size_t n = line.size();
  if (StartsWith(line, "[F") && ((n > 3 && line[3] == ']') || (n > 4 && line[4] == ']')))
    return true;  // "[F1]" .. "[F9]", "[F10]" .. "[F12]"
  if (n > 2 && line[0] == '[' && line[2] == ']') return true;  // "[A]", "[1]", "[@]" ...
  for (const char* word : kRecognisedAnywhere)
    if (Contains(line, word)) return true;
  return false;
}

int FindUnsetDragLine(const std::vector<std::string>& lines) {
  static const char* const kUnset[] = {"L_Drag:NoSet", "L_Drop:NoSet", "R_Drag:NoSet", "R_Drop:NoSet"};
  for (const char* unset : kUnset)
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (EqualsIgnoreAsciiCase(lines[i], unset)) return static_cast<int>(i);
  return -1;
}

std::optional<Coordinates> ReadCoordinates(const std::string& line) {
  if (StartsWith(line, kWindowMousePrefix)) {
    const auto read = ReadWindowMouse(line);
    if (!read) return std::nullopt;
    return Coordinates{read->second.x, read->second.y};
  }
  if (Contains(line, ":NoSet")) return Coordinates{0, 0};
  const std::size_t colon = line.find(':');
  const std::size_t x = line.find('x');
  if (colon == std::string::npos || x == std::string::npos || x < colon) return std::nullopt;
  const auto cx = TryStrToInt(line.substr(colon + 1, x - colon - 1));
  const auto cy = TryStrToInt(line.substr(x + 1));
  if (!cx || !cy) return std::nullopt;
  return Coordinates{*cx, *cy};
}

std::string WithCoordinates(const std::string& line, std::int32_t x, std::int32_t y) {
  if (StartsWith(line, kWindowMousePrefix)) {
    auto read = ReadWindowMouse(line);
    if (!read) return line;
    read->second.x = x;
    read->second.y = y;
    return WindowMouseLine(read->first->word, read->second);
  }
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos) return line;
  return line.substr(0, colon + 1) + std::to_string(x) + "x" + std::to_string(y);
}

bool IsMouseLine(const std::string& line) {
  if (StartsWith(line, kWindowMousePrefix)) return ReadWindowMouse(line).has_value();
  if (Contains(line, "[")) return false;
  for (const char* w : kMouseWords)
    if (StartsWith(line, w) && At(line, std::char_traits<char>::length(w), ":")) return true;
  return false;
}

std::optional<Coordinates> MouseLinePoint(const std::string& line) {
  if (!IsMouseLine(line)) return std::nullopt;
  return ReadCoordinates(line);
}

std::optional<std::string> WithPickedPoint(const std::string& line, std::int32_t x,
                                           std::int32_t y) {
  if (const auto read = ReadWindowMouse(line))
    return read->first->screen_word + (":" + std::to_string(x)) + "x" + std::to_string(y);
  if (!IsMouseLine(line)) return std::nullopt;
  return WithCoordinates(line, x, y);
}

std::optional<std::string> WithPickedBoundPoint(const std::string& line, const BoundPoint& p) {
  if (const auto read = ReadWindowMouse(line)) return WindowMouseLine(read->first->word, p);
  if (const BoundAction* a = ScreenMouseAction(line)) return WindowMouseLine(a->word, p);
  return std::nullopt;
}

std::optional<std::string> CoordinateText(const std::string& line) {
  if (const auto read = ReadWindowMouse(line)) return ComposeBoundPoint(read->second);
  if (!IsMouseLine(line)) return std::nullopt;
  return line.substr(line.find(':') + 1);
}

std::optional<std::string> WithCoordinateText(const std::string& line, const std::string& text) {
  const std::optional<BoundPoint> pasted = ReadBoundPoint(text);
  if (auto read = ReadWindowMouse(line)) {
    // Anything but a point would leave a line that no longer reads.
    if (pasted) return WindowMouseLine(read->first->word, *pasted);
    const std::optional<Coordinates> xy = ReadPlainPoint(text);
    if (!xy) return std::nullopt;
    read->second.x = xy->x;
    read->second.y = xy->y;
    return WindowMouseLine(read->first->word, read->second);
  }
  if (!IsMouseLine(line)) return std::nullopt;
  if (const BoundAction* a = ScreenMouseAction(line); a && pasted) return WindowMouseLine(a->word, *pasted);
  return line.substr(0, line.find(':') + 1) + text;
}

// ---- waits for a condition ----------------------------------------------------

namespace {

const char* const kWaitConds[] = {"Open", "Front", "Gone"};

// The comma-separated fields of the head, which holds no "|".
std::vector<std::string> Fields(const std::string& head) {
  std::vector<std::string> out(1);
  for (char ch : head) ch == ',' ? (void)out.emplace_back() : out.back().push_back(ch);
  return out;
}

}  // namespace

bool WaitCondition::operator==(const WaitCondition& o) const {
  return kind == o.kind && deadline_ms == o.deadline_ms && stop_at_deadline == o.stop_at_deadline &&
         title == o.title && class_name == o.class_name && rgb == o.rgb && tolerance == o.tolerance &&
         x == o.x && y == o.y && bound.has_value() == o.bound.has_value() &&
         (!bound || ComposeBoundPoint(*bound) == ComposeBoundPoint(*o.bound));
}

bool OpensWaitFor(const std::string& line) {
  return StartsWith(line, kWaitWindowWord) || StartsWith(line, kWaitColorWord);
}

std::string RgbText(std::uint32_t rgb) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s(6, '0');
  for (int i = 5; i >= 0; --i, rgb >>= 4) s[static_cast<std::size_t>(i)] = kHex[rgb & 0xF];
  return s;
}

std::optional<std::uint32_t> ReadRgb(const std::string& text, bool any_case) {
  if (text.size() != 6) return std::nullopt;
  std::uint32_t v = 0;
  for (char ch : text) {
    const bool digit = ch >= '0' && ch <= '9';
    const bool upper = ch >= 'A' && ch <= 'F', lower = any_case && ch >= 'a' && ch <= 'f';
    if (!digit && !upper && !lower) return std::nullopt;
    v = v << 4 | static_cast<std::uint32_t>(digit ? ch - '0' : upper ? ch - 'A' + 10 : ch - 'a' + 10);
  }
  return v;
}

std::optional<WaitCondition> ReadWaitCondition(const std::string& line) {
  const bool window = StartsWith(line, kWaitWindowWord);
  if (!window && !StartsWith(line, kWaitColorWord)) return std::nullopt;
  const std::size_t bar = line.find('|');
  if (bar == std::string::npos) return std::nullopt;
  const std::size_t word = std::char_traits<char>::length(window ? kWaitWindowWord : kWaitColorWord);
  const std::vector<std::string> f = Fields(line.substr(word, bar - word));
  const std::string rest = line.substr(bar + 1);
  if (f.size() != (window ? 3u : 4u)) return std::nullopt;
  WaitCondition c;
  const auto deadline = ReadPlainNumber<std::int32_t>(f[f.size() - 2], 0, INT32_MAX);
  const std::string& at = f.back();
  if (!deadline || (at != "Stop" && at != "Next")) return std::nullopt;
  c.deadline_ms = *deadline;
  c.stop_at_deadline = at == "Stop";
  if (window) {
    const auto cond = std::find(std::begin(kWaitConds), std::end(kWaitConds), f[0]);
    if (cond == std::end(kWaitConds)) return std::nullopt;
    c.kind = static_cast<WaitCondition::Kind>(cond - std::begin(kWaitConds));
    const std::size_t at_mark = rest.rfind(kAppMark);
    c.title = rest.substr(0, at_mark);
    if (at_mark != std::string::npos) c.class_name = rest.substr(at_mark + 2);
    if (c.title.empty() || (c.class_name && c.class_name->empty())) return std::nullopt;
    return c;
  }
  c.kind = WaitCondition::Color;
  const auto rgb = ReadRgb(f[0]);
  const auto tolerance = ReadPlainNumber<std::int32_t>(f[1], 0, 255);
  // A point of a window holds a "|" of its own; a screen point none. The
  // bound point reads only as it is composed.
  if (Contains(rest, "|") && !(c.bound = ReadBoundPoint(rest))) return std::nullopt;
  const std::optional<Coordinates> xy =
      c.bound ? Coordinates{c.bound->x, c.bound->y} : ReadPlainPoint(rest);
  if (!rgb || !tolerance || !xy) return std::nullopt;
  c.rgb = *rgb;
  c.tolerance = *tolerance;
  c.x = xy->x;
  c.y = xy->y;
  return c;
}

std::string ComposeWaitCondition(const WaitCondition& c) {
  const std::string tail =
      std::to_string(c.deadline_ms) + "," + (c.stop_at_deadline ? "Stop" : "Next") + "|";
  if (c.kind == WaitCondition::Color)
    return kWaitColorWord + RgbText(c.rgb) + "," + std::to_string(c.tolerance) + "," + tail +
           (c.bound ? ComposeBoundPoint(*c.bound) : std::to_string(c.x) + "x" + std::to_string(c.y));
  return kWaitWindowWord + std::string(kWaitConds[c.kind]) + "," + tail + c.title +
         (c.class_name ? kAppMark + *c.class_name : std::string());
}

std::optional<BoundPoint> ReadBoundPoint(const std::string& s) {
  const std::size_t bar = s.find('|');
  if (bar == std::string::npos) return std::nullopt;
  const std::optional<Coordinates> xy = ReadPlainPoint(s.substr(0, bar));
  if (!xy) return std::nullopt;
  BoundPoint p;
  p.x = xy->x;
  p.y = xy->y;
  std::string d = s.substr(bar + 1);
  // The handle: the last " <digits>" at the very end.
  const std::size_t open = d.rfind(" <");
  if (open != std::string::npos && !d.empty() && d.back() == '>') {
    if (const auto h = ReadPlainNumber<std::uintptr_t>(d.substr(open + 2, d.size() - open - 3), 0,
                                                       UINTPTR_MAX)) {
      p.handle = *h;
      d.erase(open);
    }
  }
  // A title may hold "@@"; the class follows the last one.
  const std::size_t at = d.rfind(kAppMark);
  if (at == std::string::npos || at + 2 == d.size()) return std::nullopt;
  p.title = d.substr(0, at);
  p.class_name = d.substr(at + 2);
  return p;
}

std::string ComposeBoundPoint(const BoundPoint& p) {
  std::string s = std::to_string(p.x) + "x" + std::to_string(p.y) + "|" + p.title + kAppMark;
  if (!p.handle) return s + p.class_name;
  return s + ComposeTargetDescriptor(p.class_name, *p.handle);
}

TargetDescriptor ReadTargetDescriptor(const std::string& s) {
  // The handle is whatever stands between " <" and ">"; with a marker
  // missing the text taken is what is there, so that the conversion error
  // names what the user wrote.
  auto handle_text = [](const std::string& part) {
    const std::size_t open = part.find(" <");
    const std::size_t from = open == std::string::npos ? 0 : open + 2;
    const std::size_t close = part.find('>', from);
    return part.substr(from, close == std::string::npos ? std::string::npos : close - from);
  };
  TargetDescriptor d;
  const std::size_t at = s.find(kAppMark);
  if (at != std::string::npos) {
    const std::string after = s.substr(at + 2);
    d.form = TargetDescriptor::Child;
    d.title = s.substr(0, at);
    d.class_name = after.substr(0, after.find(" <"));
    d.handle_text = handle_text(after);
  } else if (Contains(s, "<")) {
    d.form = TargetDescriptor::TitleHandle;
    d.title = s.substr(0, s.find(" <"));
    d.handle_text = handle_text(s);
  } else {
    d.title = s;
    return d;
  }
  if (const auto h = TryStrToInt(d.handle_text)) d.handle = static_cast<std::uint32_t>(*h);
  return d;
}

std::string ComposeTargetDescriptor(const std::string& title_or_class, std::uintptr_t handle) {
  return title_or_class + " <" + std::to_string(handle) + ">";
}

std::string ComposeChildTargetDescriptor(const std::string& ancestor_title,
                                         const std::string& class_name, std::uintptr_t handle) {
  return ancestor_title + kAppMark + ComposeTargetDescriptor(class_name, handle);
}

std::string LineCountText(std::size_t count) { return std::to_string(count) + "行"; }

std::string SendListCaptionAfterChange(std::size_t count) {
  return "ZEPX Batch処理送信リスト <" + LineCountText(count) + ">";
}

std::string SendListCaptionOnShow(std::size_t count) {
  return "ZEPX Batch処理送信リスト (" + LineCountText(count) + ")";
}

}  // namespace zepx
