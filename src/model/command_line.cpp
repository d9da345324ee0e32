#include "model/command_line.h"

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
};

const std::array<const char*, kSendMethodCount> kSendMethodCaptions = {
    "_event", "SendInput(DirectX)", "WinMessage"};

namespace {

// Key words and markers recognised anywhere in a line. The one-character
// key words and the function keys are recognised by their shape instead.
const char* const kRecognisedAnywhere[] = {
    "[↑]", "[↓]", "[←]", "[→]", "[Enter]", "[End]", "[Home]", "[PageUp]", "[PageDown]",
    "[Esc]", "[Space]", "[Insert]", "[Delete]", "[BackSpace]", "[PrtSc]", "[Tab]",
    "[Windows]", "[KANJI]", "[Shift]", "[Alt]", "[Ctrl]",
    "L_Click", "L_DClick", "R_Click", "R_DClick", "L_Drag", "L_Drop", "R_Drag", "R_Drop",
    "[Text]", "【ZEP Event 1】", "【ZEP Event 2】", "[ｱﾌﾟﾘを前面に]",
};

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

bool IsCommandLine(const std::string& line) {
  const std::size_t n = line.size();
  if (StartsWith(line, "[F") && ((n > 3 && line[3] == ']') || (n > 4 && line[4] == ']')))
    return true;  // "[F1]" .. "[F9]", "[F10]" .. "[F12]"
  if (n > 2 && line[0] == '[' && line[2] == ']') return true;  // "[A]", "[1]", "[@]" ...
  for (const char* word : kRecognisedAnywhere)
    if (line.find(word) != std::string::npos) return true;
  return false;
}

std::string CoordinateXText(const std::string& line) {
  const std::size_t colon = line.find(':');
  const std::size_t x = line.find('x');
  if (colon == std::string::npos || x == std::string::npos || x < colon) return {};
  return line.substr(colon + 1, x - colon - 1);
}

std::string CoordinateYText(const std::string& line) {
  const std::size_t x = line.find('x');
  if (x == std::string::npos) return {};
  return line.substr(x + 1);
}

std::optional<Coordinates> ReadCoordinates(const std::string& line) {
  if (line.find(kNoSetCoords) != std::string::npos) return Coordinates{0, 0};
  if (line.find(':') == std::string::npos) return std::nullopt;
  Coordinates c;
  c.x = TryStrToInt(CoordinateXText(line)).value_or(0);
  c.y = TryStrToInt(CoordinateYText(line)).value_or(0);
  return c;
}

bool IsValidSendMethod(int method) { return method >= 0 && method < kSendMethodCount; }

bool IsWinMessage(int method) { return method == kWinMessageMethod; }

int ClampSendMethod(std::int64_t method) {
  if (method < 0) return 0;
  if (method >= kSendMethodCount) return kSendMethodCount - 1;
  return static_cast<int>(method);
}

const char* SendMethodSwitchQuestion(int previous, int next) {
  if (!IsValidSendMethod(previous) || !IsValidSendMethod(next)) return nullptr;
  if (IsWinMessage(previous) && !IsWinMessage(next))
    return "WinMessageから_event、SendInputに変更するには、Batch処理送信リストをクリアする必要があります"
           "\r\nクリアしてもよろしいですか？";
  if (!IsWinMessage(previous) && IsWinMessage(next))
    return "_event、SendInputからWinMessageに変更するには、Batch処理送信リストをクリアする必要があります"
           "\r\nクリアしてもよろしいですか？";
  return nullptr;
}

std::string LineCountText(std::size_t count) { return std::to_string(count) + "行"; }

std::string SendListCaptionAfterChange(std::size_t count) {
  return "ZEPX Batch処理送信リスト <" + LineCountText(count) + ">";
}

std::string SendListCaptionOnShow(std::size_t count) {
  return "ZEPX Batch処理送信リスト (" + LineCountText(count) + ")";
}

}  // namespace zepx
