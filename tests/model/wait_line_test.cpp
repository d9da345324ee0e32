// The waits for a condition are read by their own form only: a title may
// hold what the older rules look for anywhere ("[" is the second byte of
// ゼ), and a line that opens with the word but does not parse is refused by
// the loader and run as what it always was, a wait with a bad number. The
// composer's lines are proven with the input area (WaitFields).
#include <gtest/gtest.h>

#include "model/command_line.h"
#include "model/macro_file.h"

namespace zepx {

TEST(WaitLine, ReadOnlyByItsOwnFormAndBackByteForByte) {
  auto summary = [](const WaitCondition& w) {
    return std::to_string(w.kind) + "," + std::to_string(w.deadline_ms) + (w.stop_at_deadline ? ",S," : ",N,") + w.title +
           (w.class_name ? "@" + *w.class_name : "") + "," + RgbText(w.rgb) + "," + std::to_string(w.tolerance) + "," +
           std::to_string(w.x) + "x" + std::to_string(w.y);
  };
  const std::pair<const char*, const char*> cases[] = {
      {"WaitWindow:Open,5000,Stop|無題 - メモ帳@@Notepad", "0,5000,S,無題 - メモ帳@Notepad,000000,0,0x0"},
      {"WaitWindow:Gone,300,Next|Save", "2,300,N,Save,000000,0,0x0"},
      {"WaitWindow:Front,0,Stop|ゼ[Drop] L_Drag:1x2+S|>Wait=5,a", "1,0,S,ゼ[Drop] L_Drag:1x2+S|>Wait=5,a,000000,0,0x0"},
      {"WaitWindow:Open,2147483647,Next|a@@b|@@Cls", "0,2147483647,N,a@@b|@Cls,000000,0,0x0"},
      {"WaitColor:FF8800,16,5000,Next|120x45", "3,5000,N,,FF8800,16,120x45"},
      {"WaitColor:0A0B0C,255,0,Stop|-3x-2147483648", "3,0,S,,0A0B0C,255,-3x-2147483648"},
      {"WaitWindow:Open,5000,Stop|", ""}, {"WaitWindow:Open,5000,Stop|T@@", ""}, {"WaitWindow:Open,05000,Stop|T", ""},
      {"WaitWindow:Open,-1,Stop|T", ""}, {"WaitWindow:open,1,Stop|T", ""}, {"WaitWindow:Open,1,Halt|Drag[Drop]", ""},
      {"WaitWindow:Open,1,Stop,1|T", ""}, {"WaitWindow:Open,2147483648,Stop|T", ""}, {"WaitWindow:Open,1,Stop[Enter]", ""},
      {"WaitColor:ff8800,1,1,Stop|1x2", ""}, {"WaitColor:FF8800,256,1,Stop|1x2", ""}, {"WaitColor:FF88001,1,1,Stop|1x2", ""},
      {"WaitColor:FF8800,1,1,Stop|1x2x", ""}, {"WaitColor:FF8800,1,1,Next|L_Click:1x2", ""},
  };
  for (const auto& [line, want] : cases) {
    const CommandLine c = ReadCommandLine(line);
    const bool ok = *want != '\0';
    EXPECT_EQ(c.wait_for ? summary(*c.wait_for) : "", want) << line;
    EXPECT_TRUE(c.exact == ok && c.bad_number.has_value() == !ok && IsCommandLine(line) == ok) << line;
    EXPECT_EQ(c.dispatch, ok ? Dispatch::WaitFor : Dispatch::Wait) << line;
    if (ok) EXPECT_EQ(ComposeCommandLine(c), line);
    EXPECT_EQ(ReadMacroFile(std::string("//ZEP Version 4.51\r\n") + line + "\r\n").ok(), ok) << line;
    EXPECT_FALSE(HoldsDrag(line) || HoldsDrop(line) || IsMouseLine(line) || c.target || c.modifiers.Any() ||
                 c.key_kind != KeyLineKind::NoKey)
        << line << ": an older rule looked inside";
  }
}

}  // namespace zepx
