// The waits for a condition are read by their own form only: a title may
// hold what the older rules look for anywhere ("[" is the second byte of
// ゼ), and a line that opens with the word but does not parse is refused by
// the loader and run as what it always was, a wait with a bad number. The
// composer's lines are proven with the input area (WaitFields).
#include <gtest/gtest.h>

#include "model/command_line.h"
#include "model/macro_file.h"

namespace zepx {

// Read exactly, a line composes back to itself; the title and the class,
// which a wrong split would give back the same, are checked as read.
TEST(WaitLine, ReadOnlyByItsOwnFormAndBackByteForByte) {
  const std::pair<const char*, const char*> cases[] = {
      {"WaitWindow:Open,5000,Stop|無題 - メモ帳@@Notepad", "無題 - メモ帳@Notepad"}, {"WaitWindow:Gone,300,Next|Save", "Save@"},
      {"WaitWindow:Front,0,Stop|ゼ[Drop] L_Drag:1x2+S|>Wait=5,a", "ゼ[Drop] L_Drag:1x2+S|>Wait=5,a@"},
      {"WaitWindow:Open,2147483647,Next|a@@b|@@Cls", "a@@b|@Cls"}, {"WaitColor:FF8800,16,5000,Next|120x45", "@"},
      {"WaitColor:0A0B0C,255,0,Stop|-3x-2147483648", "@"}, {"WaitColor:00FF00,0,2000,Stop|10x20|[a]|b@@P@@C <99>", "@"},
      {"WaitColor:00FF00,0,2000,Stop|10x20|T@@", ""}, {"WaitColor:00FF00,0,2000,Stop|+10x20|T@@C", ""},
      {"WaitWindow:Open,5000,Stop|", ""}, {"WaitWindow:Open,5000,Stop|T@@", ""}, {"WaitWindow:Open,05000,Stop|T", ""},
      {"WaitWindow:open,1,Stop|T", ""}, {"WaitWindow:Open,1,Halt|Drag[Drop]", ""}, {"WaitWindow:Open,1,Stop,1|T", ""},
      {"WaitWindow:Open,2147483648,Stop|T", ""}, {"WaitWindow:Open,1,Stop[Enter]", ""}, {"WaitColor:ff8800,1,1,Stop|1x2", ""},
      {"WaitColor:FF8800,256,1,Stop|1x2", ""}, {"WaitColor:FF88001,1,1,Stop|1x2", ""}, {"WaitColor:FF8800,1,1,Next|L_Click:1x2", ""},
  };
  for (const auto& [line, want] : cases) {
    const CommandLine c = ReadCommandLine(line);
    const bool ok = *want != '\0';
    EXPECT_EQ(c.wait_for ? c.wait_for->title + "@" + c.wait_for->class_name.value_or("") : "", want) << line;
    EXPECT_TRUE(c.exact == ok && c.bad_number.has_value() == !ok && IsCommandLine(line) == ok &&
                c.dispatch == (ok ? Dispatch::WaitFor : Dispatch::Wait)) << line;
    EXPECT_EQ(ReadMacroFile(std::string("//ZEP Version 4.51\r\n") + line + "\r\n").ok(), ok) << line;
    EXPECT_FALSE(HoldsDrag(line) || HoldsDrop(line) || IsMouseLine(line) || c.target || c.modifiers.Any() ||
                 c.key_kind != KeyLineKind::NoKey)
        << line << ": an older rule looked inside";
  }
  NewCommand n;  // a colour in a window, as a click in one is composed
  n.kind = kKindWaitColor, n.x = 3, n.y = 4, n.window = BoundPoint{9, 9, "T", "C", 5};
  EXPECT_EQ(ComposeNewCommand(n, false), std::vector<std::string>{"WaitColor:000000,0,1000,Stop|3x4|T@@C <5>"});
}

}  // namespace zepx
