// Mouse lines bound to a window: read before every substring rule, composed
// back byte for byte, and handled by the list's point readers.
#include <gtest/gtest.h>

#include "model/command_line.h"
#include "model/macro_file.h"

namespace zepx {

TEST(BoundLine, TitlesWithOtherRulesWordsReadWholeAndComposeBack) {
  using H = std::optional<std::uintptr_t>;
  const std::tuple<const char*, MouseAction, const char*, const char*, H> good[] = {
      {"Win:LClick:120x45|メモ帳@@Notepad <1234>", MouseAction::LeftClick, "メモ帳", "Notepad", 1234},
      {"Win:RDrop:-3x7|a[b@@Cls", MouseAction::Move, "a[b", "Cls", {}},
      {"Win:LDClick:0x0|ゼ@@C <0>", MouseAction::LeftDouble, "ゼ", "C", 0},
      {"Win:RDrag:5x6|Drop+S|>x:1 <9>@@@@K <18446744073709551615>", MouseAction::RightDrag, "Drop+S|>x:1 <9>@@", "K",
       18446744073709551615u},
      {"Win:RClick:-2147483648x2147483647|L_Click:[Enter]@@Drag <x>", MouseAction::RightClick, "L_Click:[Enter]",
       "Drag <x>", {}}};
  for (const auto& [line, action, title, cls, handle] : good) {
    const CommandLine c = ReadCommandLine(line);
    ASSERT_TRUE(c.bound) << line;
    EXPECT_TRUE(c.exact && IsCommandLine(line) && IsMouseLine(line) && c.dispatch == Dispatch::Mouse &&
                !c.target && !c.modifiers.Any() && !c.no_set) << line;
    EXPECT_EQ(ComposeCommandLine(c), line);
    EXPECT_EQ(std::tie(c.mouse, c.bound->title, c.bound->class_name, c.bound->handle),
              std::tie(action, title, cls, handle)) << line;
  }
  EXPECT_TRUE(HoldsDrop("Win:LDrop:1x2|Drag@@C") && !HoldsDrag("Win:LDrop:1x2|Drag@@C") &&
              HoldsDrag("Win:RDrag:1x2|a@@C") && !HoldsDrop("Win:LClick:1x2|Drop@@C"));
  const MacroReadResult file = ReadMacroFile("Win:LDrop:1x2|a@@b\r\nWin:LClick:1x2|Wait=5 Click:5 L_Click@@\r\n");
  EXPECT_TRUE(file.lines == std::vector<std::string>{"Win:LDrop:1x2|a@@b"} && file.failure == MacroFailure::UnrecognisedLine);
  // What the picker and the coordinate paste through the window do not
  // show: the point alone pasted, a bound point onto a screen line, refusals.
  const std::string line = "Win:LDrag:10x20|ゼ[x@@Cls <5>";
  EXPECT_EQ(WithCoordinates(line, 1, 2), "Win:LDrag:1x2|ゼ[x@@Cls <5>");
  EXPECT_EQ(WithCoordinateText(line, "7x-8"), "Win:LDrag:7x-8|ゼ[x@@Cls <5>");
  EXPECT_EQ(WithCoordinateText("R_Click:5x5", "1x2|b@@C"), "Win:RClick:1x2|b@@C");
  EXPECT_EQ(WithCoordinateText("R_Click:5x5", "Pointer"), "R_Click:Pointer");
  EXPECT_FALSE(WithCoordinateText(line, "Pointer") || WithPickedBoundPoint("[Text]~~L_Click:1x2", {}));
}


// The waits for a condition are read by their own form only: a title may
// hold what the older rules look for anywhere ("[" is the second byte of
// ゼ), and a line that opens with the word but does not parse is refused by
// the loader and run as what it always was, a wait with a bad number. The
// composer's lines are proven with the input area (WaitFields).
// Read exactly, a line composes back to itself; the title and the class,
// which a wrong split would give back the same, are checked as read.
TEST(WaitLine, ReadOnlyByItsOwnFormAndBackByteForByteOrRefusedWhole) {
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
      // Window-bound mouse lines that are not whole: never a point either.
      {"Win:LClick:1x2|Notepad", ""}, {"Win:LClick:1x2|a@@", ""}, {"Win:Click:1x2|a@@C", ""}, {"Win:LClick:01x2|a@@C", ""},
      {"Win:LClick:+1x2|a@@C", ""}, {"Win:LClick:-0x2|a@@C", ""}, {"Win:LClick:1x 2|a@@C", ""},
      {"Win:LClick:2147483648x2|a@@C", ""}, {"Win:LClick:1x2", ""}, {"Win:L_Click:1x2|a@@C", ""},
  };
  for (const auto& [line, want] : cases) {
    const CommandLine c = ReadCommandLine(line);
    const bool ok = *want != '\0';
    EXPECT_EQ(c.wait_for ? c.wait_for->title + "@" + c.wait_for->class_name.value_or("") : "", want) << line;
    EXPECT_TRUE(c.exact == ok && c.bad_number == (ok ? std::nullopt : std::optional<std::string>(line + (*line == 'W' && line[1] == 'a' ? 5 : 0))) && IsCommandLine(line) == ok &&
                c.dispatch == (ok ? Dispatch::WaitFor : Dispatch::Wait)) << line;
    EXPECT_EQ(ReadMacroFile(std::string("//ZEP Version 4.51\r\n") + line + "\r\n").ok(), ok) << line;
    EXPECT_FALSE(HoldsDrag(line) || HoldsDrop(line) || IsMouseLine(line) || c.target || c.modifiers.Any() ||
                 c.key_kind != KeyLineKind::NoKey || ReadCoordinates(line) || WithPickedPoint(line, 1, 2) ||
                 WithCoordinateText(line, "1x2"))
        << line << ": an older rule looked inside";
  }
  NewCommand n;  // a colour in a window, as a click in one is composed
  n.kind = kKindWaitColor, n.x = 3, n.y = 4, n.window = BoundPoint{9, 9, "T", "C", 5};
  EXPECT_EQ(ComposeNewCommand(n, false), std::vector<std::string>{"WaitColor:000000,0,1000,Stop|3x4|T@@C <5>"});
}

}  // namespace zepx
