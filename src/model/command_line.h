// Command lines: the text form of every batch-list entry. Lines are never
// parsed into structures; every reader finds a line's parts by the first
// occurrence of the fixed substrings below (case-sensitive, on the cp932
// bytes), and the composer writes them by concatenation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zepx {

// ---- fixed substrings ------------------------------------------------------
inline constexpr const char* kWaitPrefix = "Wait=";
inline constexpr const char* kCoordSeparator = ":";  // kind ":" X "x" Y
inline constexpr const char* kXYSeparator = "x";
inline constexpr const char* kNoSet = "NoSet";
inline constexpr const char* kNoSetCoords = ":NoSet";
inline constexpr const char* kTextMarker = "~~";
inline constexpr const char* kAppMarker = "@@";
inline constexpr const char* kTargetMarker = "|>";
inline constexpr const char* kShiftSuffix = "+Shift";
inline constexpr const char* kAltSuffix = "+Alt";
inline constexpr const char* kCtrlSuffix = "+Ctrl";
inline constexpr const char* kKeyWordEnd = "]";

inline constexpr const char* kTextKind = "[Text]";
inline constexpr const char* kWindowsKey = "[Windows]";
inline constexpr const char* kEvent1 = "【ZEP Event 1】";
inline constexpr const char* kEvent2 = "【ZEP Event 2】";
inline constexpr const char* kFrontApp = "[ｱﾌﾟﾘを前面に]";
inline constexpr const char* kLClick = "L_Click";
inline constexpr const char* kRClick = "R_Click";
inline constexpr const char* kLDClick = "L_DClick";
inline constexpr const char* kRDClick = "R_DClick";
inline constexpr const char* kLDrag = "L_Drag";
inline constexpr const char* kLDrop = "L_Drop";
inline constexpr const char* kRDrag = "R_Drag";
inline constexpr const char* kRDrop = "R_Drop";

// Most lines the batch list may hold when the composer adds one.
inline constexpr int kMaxCommandLines = 999;
inline constexpr const char* kTooManyCommandsMessage = "登録できるコマンドは最大999個までです";

// ---- command kinds of CommandBox, in order ---------------------------------
inline constexpr std::size_t kCommandKindCount = 85;
extern const std::array<const char*, kCommandKindCount> kCommandKinds;
// Indices the other parts of the program refer to.
inline constexpr int kKindWait = 0;
inline constexpr int kKindLClick = 1;
inline constexpr int kKindLDragDrop = 5;
inline constexpr int kKindRDragDrop = 6;
inline constexpr int kKindText = 7;
inline constexpr int kKindF1 = 8;    // "[F1]" .. "[F12]" are 8 .. 19
inline constexpr int kKindWindows = 77;
inline constexpr int kKindEvent1 = 82;
inline constexpr int kKindEvent2 = 83;
inline constexpr int kKindFrontApp = 84;

// ---- the line recogniser ---------------------------------------------------
// True when the loader takes the line as a command as it stands: key, text,
// mouse, event and front-app lines. Wait lines are not covered here; the
// loader has its own rule for them. Nothing beyond the key word or the
// marker is checked.
bool IsCommandLine(const std::string& line);

// ---- coordinates -----------------------------------------------------------
// The two texts of a line's coordinate part: X between the first ":" and
// the first "x", Y after the first "x". Empty when the part is missing or
// the "x" comes before the ":".
std::string CoordinateXText(const std::string& line);
std::string CoordinateYText(const std::string& line);

struct Coordinates {
  std::int32_t x = 0;
  std::int32_t y = 0;
};
// The coordinates a line shows: nothing when it has no ":"; 0,0 for
// ":NoSet"; otherwise each part converted, a part that is no integer
// reading as 0 (a text or title that merely contains ":").
std::optional<Coordinates> ReadCoordinates(const std::string& line);

// ---- send method -------------------------------------------------------------
// The item index of PostRadioGroup: 0 _event, 1 SendInput, 2 WinMessage.
inline constexpr int kSendMethodCount = 3;
inline constexpr int kDefaultSendMethod = 1;
inline constexpr int kWinMessageMethod = 2;
extern const std::array<const char*, kSendMethodCount> kSendMethodCaptions;
bool IsValidSendMethod(int method);
bool IsWinMessage(int method);
// Limits a stored number to an existing method, as the radio group does
// with an index past its last button.
int ClampSendMethod(std::int64_t method);

// The question asked before a change of send method would leave lines of
// the other form in the list; nullptr when the change needs no question.
const char* SendMethodSwitchQuestion(int previous, int next);

// ---- line-count display ----------------------------------------------------
std::string LineCountText(std::size_t count);              // "12行"
std::string SendListCaptionAfterChange(std::size_t count);  // "ZEPX Batch処理送信リスト <12行>"
std::string SendListCaptionOnShow(std::size_t count);       // "ZEPX Batch処理送信リスト (12行)"
inline constexpr const char* kSendListCaptionCleared = "Batch処理送信リスト (0行)";

}  // namespace zepx
