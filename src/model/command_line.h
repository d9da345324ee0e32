// Command lines: the text form of every batch-list entry. The line's text is
// the one truth (it is what the list shows and the file stores); a
// CommandLine is what the readers of the program find in it. There is one
// reader (ReadCommandLine) and one composer (ComposeCommandLine and, for
// the input area, ComposeNewCommand); nothing else takes a line apart.
//
// The reader keeps the program's historical substring rules on purpose:
// every part is found by the first occurrence of a fixed substring
// anywhere in the line ("+S" inside a text still holds Shift, "[" anywhere
// makes a key line, key names match as prefixes). Lines whose parts cannot
// be told apart that way (a text holding "|>" or "+S", hand-edited
// oddities) are still read exactly so, but are not `exact`: composing them
// again would give another line, so the program never rewrites them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zepx {

// ---- the fixed words ---------------------------------------------------------
inline constexpr const char* kWaitPrefix = "Wait=";
inline constexpr const char* kTextKind = "[Text]";
inline constexpr const char* kFrontAppKind = "[ｱﾌﾟﾘを前面に]";
inline constexpr const char* kWindowsKind = "[Windows]";
inline constexpr const char* kEvent1Line = "【ZEP Event 1】";
inline constexpr const char* kEvent2Line = "【ZEP Event 2】";
inline constexpr const char* kTargetMark = "|>";
inline constexpr const char* kAppMark = "@@";
// Opens a mouse line whose point is bound to a top-level window.
inline constexpr const char* kWindowMousePrefix = "Win:";


// ---- command kinds of CommandBox, in order ---------------------------------
inline constexpr std::size_t kCommandKindCount = 89;
extern const std::array<const char*, kCommandKindCount> kCommandKinds;
inline constexpr int kKindWait = 0;
inline constexpr int kKindText = 7;
inline constexpr int kKindFrontApp = 84;
inline constexpr int kKindF1 = 8;  // "[F1]" .. "[F12]" are kinds 8 .. 19
// The waits for a condition, after the older kinds: a window opens, comes
// to the front, goes (85 .. 87); a colour appears at a point (88).
inline constexpr int kKindWaitWindowOpen = 85;
inline constexpr int kKindWaitColor = 88;
inline constexpr int kWaitForKindCount = 4;

// What a kind writes, read from its caption.
enum class KindForm { Wait, Click, DragPair, Text, FrontApp, Windows, Event, Key, WaitFor };
KindForm KindFormOf(int kind);
// "[+]" and "[*]" are keypad keys: without a keypad they need Shift.
bool IsKeypadOnlyKind(int kind);

// ---- limits ------------------------------------------------------------------
// The composer adds nothing to a list this long (a loaded file may be longer).
inline constexpr int kMaxComposedLines = 999;

// ---- what the readers find in a line ---------------------------------------

// How a run executes the line: a line that opens with "WaitWindow:" or
// "WaitColor:" and reads as one waits for its condition; otherwise "["
// anywhere makes a key line, else "L_" or "R_" anywhere a mouse line, else
// the two exact event lines, else a wait.
enum class Dispatch { Key, Mouse, Event1, Event2, Wait, WaitFor };

// What a key line (Dispatch::Key) sends, by its second and later bytes.
enum class KeyLineKind { Text, FrontApp, Key, NoKey };

// What a mouse line does, by the first of "L_Click", "R_Click", "L_DClick",
// "R_DClick", "L_Drag", "R_Drag" it contains; a drop line only moves.
enum class MouseAction { LeftClick, RightClick, LeftDouble, RightDouble, LeftDrag, RightDrag, Move };

// The written shape of a line, for composing it again.
enum class LineForm { Wait, Mouse, Text, FrontApp, Key, Event, BoundMouse, WaitFor, Other };

struct Modifiers {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
  bool Any() const { return shift || alt || ctrl; }
};

// A point in a top-level window's client area, in 96-DPI units, and the
// window by title, class and (when known) the handle it had:
// X "x" Y "|" title "@@" class [" <" handle ">"]. The descriptor is read
// from its end (the title may hold "@@", "|", "[" or ":"); the numbers are
// written as the composer writes them, so a point that reads composes back
// to the same bytes.
struct BoundPoint {
  std::int32_t x = 0, y = 0;
  std::string title, class_name;
  std::optional<std::uintptr_t> handle;
};
std::optional<BoundPoint> ReadBoundPoint(const std::string& s);
std::string ComposeBoundPoint(const BoundPoint& p);

// ---- waits for a condition, with a deadline ----------------------------------
//   "WaitWindow:" cond "," deadline_ms "," at "|" title [ "@@" class ]
//   "WaitColor:" RRGGBB "," tolerance "," deadline_ms "," at "|" X "x" Y
//                                               or "|" a bound point
// cond is Open, Front or Gone; at is Stop (the run stops at the deadline)
// or Next. Numbers are written as the composer writes them (no sign, no
// leading zero), the colour in upper-case hexadecimal. Everything after
// the first "|" is the title (the class after its last "@@"): a title may
// hold "[", "|>", "+S", "Drop" or "Wait=", and no old rule looks at them.
inline constexpr const char* kWaitWindowWord = "WaitWindow:";
inline constexpr const char* kWaitColorWord = "WaitColor:";

struct WaitCondition {
  enum Kind { WindowOpen, WindowFront, WindowGone, Color };
  Kind kind = WindowOpen;
  std::int32_t deadline_ms = 0;
  bool stop_at_deadline = true;   // "Stop"; "Next" goes on with the next line
  std::string title;              // window waits
  std::optional<std::string> class_name;
  std::uint32_t rgb = 0;          // colour waits: 0xRRGGBB,
  std::int32_t tolerance = 0;     // per channel, 0 .. 255,
  std::int32_t x = 0, y = 0;      // at this screen point, or
  std::optional<BoundPoint> bound;  // at this point of a window (x, y its own)
  bool operator==(const WaitCondition& o) const;
};

// True for a line that opens with one of the two words: it is read as a
// wait for a condition or not at all, never by the older rules.
bool OpensWaitFor(const std::string& line);
// The condition of a well-formed line; nothing for any other.
std::optional<WaitCondition> ReadWaitCondition(const std::string& line);
std::string ComposeWaitCondition(const WaitCondition& c);
// "FF8800" for 0xFF8800, and back: six hexadecimal digits, upper case
// only unless any_case.
std::string RgbText(std::uint32_t rgb);
std::optional<std::uint32_t> ReadRgb(const std::string& text, bool any_case = false);

struct CommandLine {
  Dispatch dispatch = Dispatch::Wait;
  LineForm form = LineForm::Other;
  // The word that opens the line: "[F1]", "[Text]", "L_Drop", "Wait=",
  // "【ZEP Event 1】" ...
  std::string word;
  Modifiers modifiers;            // "+S", "+A", "+C" anywhere in the line

  // Key lines.
  KeyLineKind key_kind = KeyLineKind::NoKey;
  std::uint8_t vk = 0;            // named and function keys
  bool posted = true;             // WinMessage posts it (else it is injected)
  bool waits_before = false;      // F5 waits three seconds before it is pressed
  char key_char = 0;              // one-character keys: the character
  std::string text;               // between the first "~~" and the first "|>"
  std::string app_title;          // after the first "@@"

  // Target: everything after the first "|>".
  std::optional<std::string> target;

  // Mouse lines.
  MouseAction mouse = MouseAction::Move;
  bool no_set = false;            // ":NoSet"
  std::int32_t x = 0, y = 0;      // the coordinate reading of ReadCoordinates

  // Window-bound mouse lines ("Win:" action ":" bound point): the action
  // word ("LClick" ... "RDrop") is `word`, the point is also in x and y.
  std::optional<BoundPoint> bound;

  // Wait lines: the number from the sixth byte on (the first five are
  // skipped unread).
  std::int32_t wait_ms = 0;

  // A number that is not an integer where the run needs one (a function
  // key's digits, a wait value): the run refuses the line with the
  // conversion error naming this text. Empty when the line reads cleanly.
  std::optional<std::string> bad_number;

  // Waits for a condition (Dispatch::WaitFor).
  std::optional<WaitCondition> wait_for;

  // True when ComposeCommandLine gives back exactly the line read.
  bool exact = false;
};

// A line that opens with "Win:" is read as a window-bound mouse line
// before every other rule; one that does not parse as such is refused by
// the run as a bad number naming the whole line (and by the loader).
CommandLine ReadCommandLine(const std::string& line);

// The line a CommandLine describes. For a line read with `exact` set this
// is the line itself.
std::string ComposeCommandLine(const CommandLine& c);

// ---- composing new commands from the input area ----------------------------

struct NewCommand {
  int kind = kKindWait;           // index into kCommandKinds
  std::int64_t wait_ms = 1000;
  std::int64_t x = 0, y = 0;
  std::string text;               // SendTextEdit: text to type or application title
  std::string target;             // AppComboBox's text
  Modifiers modifiers;            // ShiftCheck, AltCheck, CtrlCheck
  bool win_message = false;       // the WinMessage flag
  // Waits for a condition: wait_ms is the deadline, text the window's
  // title (and "@@" class), x and y the colour's point.
  std::uint32_t rgb = 0;
  std::int32_t tolerance = 0;
  bool stop_at_deadline = true;
  // The window the point of x, y belongs to: a click kind is then written
  // as a window-bound line (its own x, y are ignored).
  std::optional<BoundPoint> window;
};

// The line or the drag pair for a command appended at the end of the list
// (mid_list false) or inserted inside it. Checks (text present, target
// chosen) are the caller's.
std::vector<std::string> ComposeNewCommand(const NewCommand& n, bool mid_list);

// ---- other readers of a line ------------------------------------------------

// The list keeps a drag line with the line below it and a drop line with the
// line above it. Any line holding the word counts, a text line included;
// a window-bound line only by its action.
bool HoldsDrag(const std::string& line);
bool HoldsDrop(const std::string& line);

// True when the loader takes the line as a command as it stands: key, text,
// mouse, event and front-app lines, by their shapes and markers; nothing
// else (numbers, target) is checked. Wait lines have their own loader rule.
// A line opening with "Win:" counts only when it reads whole.
bool IsCommandLine(const std::string& line);

// Whole-line, ASCII-case-insensitive "L_Drag:NoSet", "L_Drop:NoSet",
// "R_Drag:NoSet", "R_Drop:NoSet", searched in this order: the index of the
// first of them that the list holds, or -1.
int FindUnsetDragLine(const std::vector<std::string>& lines);

struct Coordinates {
  std::int32_t x = 0;
  std::int32_t y = 0;
};
// The point a line carries: 0,0 for ":NoSet"; otherwise X between the
// first ":" and the first "x" and Y after that "x", when both are integers.
// A line without ":", or one whose ":" belongs to a text, an application
// name or a target title (the parts are no integers, or the first "x" comes
// before the ":", as in "[Text]"), carries none.
std::optional<Coordinates> ReadCoordinates(const std::string& line);

// The line with everything after its first ":" replaced by X "x" Y, as the
// picker and the coordinate paste set a point; a line without ":" is
// returned unchanged.
std::string WithCoordinates(const std::string& line, std::int32_t x, std::int32_t y);

// A line the picker and the coordinate copy and paste may rewrite: it
// opens with one of the eight mouse words followed by ":" and holds no "["
// anywhere, or it is a window-bound mouse line that reads whole. A ":"
// elsewhere belongs to a text, an application name or a target title, and
// a "Drop" inside another line is no drop.
// For a window-bound line the point read, written and shown is the one in
// the window; the coordinate text is the whole bound point, and a paste
// takes either a bound point (window and point) or X "x" Y (the point
// only, the window kept); a screen pick gives the line back its screen form.
bool IsMouseLine(const std::string& line);
// The point the coordinate display shows for a line: a mouse line's
// reading, nothing for any other line.
std::optional<Coordinates> MouseLinePoint(const std::string& line);

// The line a pick at x, y leaves selected: a mouse line gets the point
// after its first ":"; any other line is left alone (nothing).
std::optional<std::string> WithPickedPoint(const std::string& line, std::int32_t x,
                                           std::int32_t y);

// The line a pick with the window-bound check box on leaves selected: any
// mouse line becomes the window-bound line of the same action at `p`.
std::optional<std::string> WithPickedBoundPoint(const std::string& line, const BoundPoint& p);

// The coordinate part that copy takes: everything after the first ":" of a
// mouse line; nothing for any other line.
std::optional<std::string> CoordinateText(const std::string& line);
// The mouse line with everything after its first ":" replaced by `text`, as
// the coordinate paste writes it; nothing for any other line.
std::optional<std::string> WithCoordinateText(const std::string& line, const std::string& text);

// ---- target descriptors -------------------------------------------------------
// "title <handle>", "class <handle>", "title@@class <handle>", or a bare
// title. The handle is the text between the first " <" and the first ">"
// (of the part after "@@" for the child form).
struct TargetDescriptor {
  enum Form { Title, TitleHandle, Child } form = Title;
  std::string title;              // before " <" or "@@", or the whole text
  std::string class_name;         // Child: between "@@" and " <"
  std::string handle_text;        // as written, for the conversion error
  std::optional<std::uint32_t> handle;
};
TargetDescriptor ReadTargetDescriptor(const std::string& s);
std::string ComposeTargetDescriptor(const std::string& title_or_class, std::uintptr_t handle);
// "title@@class <handle>": a child window named by an ancestor's title and
// its own class and handle.
std::string ComposeChildTargetDescriptor(const std::string& ancestor_title,
                                         const std::string& class_name, std::uintptr_t handle);

// ---- line-count display ----------------------------------------------------
std::string LineCountText(std::size_t count);              // "12行"
std::string SendListCaptionAfterChange(std::size_t count);  // "ZEPX Batch処理送信リスト <12行>"
std::string SendListCaptionOnShow(std::size_t count);       // "ZEPX Batch処理送信リスト (12行)"
inline constexpr const char* kSendListCaptionCleared = "Batch処理送信リスト (0行)";

}  // namespace zepx
