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
  // Not whole: refused by the loader and by the run, never a point.
  for (const char* bad : {"Win:LClick:1x2|Notepad", "Win:LClick:1x2|a@@", "Win:Click:1x2|a@@C", "Win:LClick:01x2|a@@C",
                          "Win:LClick:+1x2|a@@C", "Win:LClick:-0x2|a@@C", "Win:LClick:1x 2|a@@C",
                          "Win:LClick:2147483648x2|a@@C", "Win:LClick:1x2", "Win:L_Click:1x2|a@@C"}) {
    const CommandLine c = ReadCommandLine(bad);
    EXPECT_FALSE(IsCommandLine(bad) || IsMouseLine(bad) || c.exact || ReadCoordinates(bad) ||
                 WithPickedPoint(bad, 1, 2) || WithCoordinateText(bad, "1x2")) << bad;
    EXPECT_TRUE(c.bad_number == bad && c.dispatch == Dispatch::Wait) << bad;
  }
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

}  // namespace zepx
