// Macro files (.mcr): a batch list with its six run settings, cp932 text.
// The writer and the reader here are pure: bytes in, bytes out. Applying a
// read file to the main window is the main window's business.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zepx {

inline constexpr const char* kMacroHeader = "//ZEP Version 4.51";
inline constexpr const char* kMacroHeaderMark = "//ZEP Version";  // what the reader checks

// The settings lines, in the order the writer puts them.
enum class MacroField { Key, Click, Drag, SftAltCtl, Loop, SendAPI };
inline constexpr int kMacroFieldCount = 6;
const char* MacroFieldPrefix(MacroField f);  // "Key:", "Click:", ...

struct MacroSettings {
  std::int64_t key = 1200;        // KeyAfterDelay
  std::int64_t click = 1000;      // ClickAfterDelay
  std::int64_t drag = 1200;       // DragDelay
  std::int64_t shift_alt_ctrl = 250;  // ShiftAltCtrlDelay
  std::int64_t loop = 0;          // LoopSpinEdit
  std::int64_t send_api = 1;      // PostRadioGroup index
};

// The whole file: header, the lines unchanged, the six settings lines,
// every line ended by CR LF.
std::string WriteMacroFile(const std::vector<std::string>& lines, const MacroSettings& s);

struct MacroAssignment {
  MacroField field;
  std::int32_t value;
};

enum class MacroFailure { None, UnrecognisedLine, BadNumber };

// What reading a file does, in order: the lines it appends and the settings
// it assigns (file order, the last one wins). On failure both hold what was
// read before the failing line, because a load applies them as it goes.
struct MacroReadResult {
  std::vector<std::string> lines;
  std::vector<MacroAssignment> assignments;
  MacroFailure failure = MacroFailure::None;
  int failure_line = 0;        // 1-based, counting comments and empty lines
  std::string failure_text;    // the failing line as read (without CR)
  bool ok() const { return failure == MacroFailure::None; }
  // The message box text for the failure; empty when there is none.
  std::string FailureMessage() const;
};

MacroReadResult ReadMacroFile(const std::string& bytes);

// Splits a file into lines as the reader sees them: the file ends at the
// first 0x1A, a line ends at LF, every CR is dropped, and a final LF does
// not start another line.
std::vector<std::string> SplitMacroLines(const std::string& bytes);

// Path helpers that respect cp932 double-byte characters, whose second
// byte may be "\" (0x5C).
std::string ExtractFileName(const std::string& path);  // after the last "\", "/" or ":"
std::string ExtractFileExt(const std::string& path);   // from the last "." of the name, or ""

// Messages of the loader.
std::string FileNotFoundMessage(const std::string& path);
inline constexpr const char* kShortcutRefusedMessage = "ショートカット(*.lnk)は読み込めません.";
bool IsShortcutPath(const std::string& path);  // ".LNK" or ".lnk" exactly

}  // namespace zepx
