// The macro-file reader on any bytes, and the writer on what it read.
//
// Reading never fails outright: it gives lines and settings, or a failure
// naming the line where it stopped. Whatever it read, written as a file and
// read again, gives the same lines and the same settings, without failure:
// a list loaded from a file can always be saved and loaded back.
#include <cstdint>
#include <string>

#include "base/text.h"
#include "fuzz_check.h"
#include "model/command_line.h"
#include "model/macro_file.h"

namespace zepx {
namespace {

using fuzz::Shown;

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += Shown(l) + " ";
  return s;
}

void CheckFailure(const std::string& bytes, const MacroReadResult& r) {
  const std::vector<std::string> split = SplitMacroLines(bytes);
  if (r.ok()) {
    FUZZ_CHECK(r.failure_line == 0 && r.FailureMessage().empty(), Shown(bytes));
    return;
  }
  FUZZ_CHECK(r.failure_line >= 1 && static_cast<std::size_t>(r.failure_line) <= split.size(), Shown(bytes));
  FUZZ_CHECK(r.failure_text == split[static_cast<std::size_t>(r.failure_line) - 1], Shown(bytes));
  const std::string message = r.FailureMessage();
  FUZZ_CHECK(message.size() >= r.failure_text.size() &&
                 message.compare(message.size() - r.failure_text.size(), std::string::npos, r.failure_text) == 0,
             Shown(message));
}

void CheckLines(const std::string& bytes, const MacroReadResult& r) {
  for (const std::string& line : r.lines) {
    FUZZ_CHECK(!line.empty() && !StartsWith(line, ";") && !StartsWith(line, "//"), Shown(bytes));
    FUZZ_CHECK(line.find_first_of("\r\n\x1A") == std::string::npos, Shown(bytes));
    FUZZ_CHECK(IsCommandLine(line) || StartsWith(line, kWaitPrefix), Shown(line));
  }
}

MacroSettings SettingsAfter(const MacroReadResult& r) {
  MacroSettings s;
  for (const MacroAssignment& a : r.assignments) {
    switch (a.field) {
      case MacroField::Key: s.key = a.value; break;
      case MacroField::Click: s.click = a.value; break;
      case MacroField::Drag: s.drag = a.value; break;
      case MacroField::SftAltCtl: s.shift_alt_ctrl = a.value; break;
      case MacroField::Loop: s.loop = a.value; break;
      case MacroField::SendAPI: s.send_api = a.value; break;
    }
  }
  return s;
}

void CheckRoundTrip(const MacroReadResult& r) {
  const MacroSettings s = SettingsAfter(r);
  const std::string written = WriteMacroFile(r.lines, s);
  const MacroReadResult again = ReadMacroFile(written);
  FUZZ_CHECK(again.ok(), Shown(again.failure_text) + " in " + Shown(written));
  FUZZ_CHECK(again.lines == r.lines, Joined(r.lines) + "came back as " + Joined(again.lines));
  const std::int64_t want[kMacroFieldCount] = {s.key, s.click, s.drag, s.shift_alt_ctrl, s.loop, s.send_api};
  FUZZ_CHECK(again.assignments.size() == static_cast<std::size_t>(kMacroFieldCount), Shown(written));
  for (int i = 0; i < kMacroFieldCount; ++i) {
    const MacroAssignment& a = again.assignments[static_cast<std::size_t>(i)];
    FUZZ_CHECK(a.field == static_cast<MacroField>(i) && a.value == want[i], Shown(written));
  }
  FUZZ_CHECK(WriteMacroFile(again.lines, SettingsAfter(again)) == written, Shown(written));
}

}  // namespace
}  // namespace zepx

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const zepx::MacroReadResult r = zepx::ReadMacroFile(bytes);
  zepx::CheckFailure(bytes, r);
  zepx::CheckLines(bytes, r);
  zepx::CheckRoundTrip(r);
  return 0;
}
