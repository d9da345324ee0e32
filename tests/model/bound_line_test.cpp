// Mouse lines bound to a window: read before every substring rule, composed
// back byte for byte, and handled by the list's point readers.
#include <gtest/gtest.h>

#include "model/command_line.h"
#include "model/macro_file.h"

namespace zepx {

TEST(BoundLine, TitlesWithOtherRulesWordsReadWholeAndComposeBack) {
  struct Case {
    const char* line;
    MouseAction action;
    const char* title;
    const char* class_name;
    std::optional<std::uintptr_t> handle;
  };
  const Case good[] = {
      {"Win:LClick:120x45|メモ帳@@Notepad <1234>", MouseAction::LeftClick, "メモ帳", "Notepad", 1234},
      {"Win:RDrop:-3x7|a[b@@Cls", MouseAction::Move, "a[b", "Cls", std::nullopt},
      {"Win:LDClick:0x0|ゼ@@C <0>", MouseAction::LeftDouble, "ゼ", "C", 0},
      {"Win:RDrag:5x6|Drop+S|>x:1 <9>@@@@K <18446744073709551615>", MouseAction::RightDrag,
       "Drop+S|>x:1 <9>@@", "K", 18446744073709551615u},
      {"Win:LDrop:1x2|@@Drag <x>", MouseAction::Move, "", "Drag <x>", std::nullopt},
      {"Win:RClick:-2147483648x2147483647|L_Click:[Enter]@@Wait= <3>", MouseAction::RightClick,
       "L_Click:[Enter]", "Wait=", 3},
  };
  for (const Case& k : good) {
    const CommandLine c = ReadCommandLine(k.line);
    ASSERT_TRUE(c.bound) << k.line;
    EXPECT_TRUE(c.exact && IsCommandLine(k.line) && IsMouseLine(k.line)) << k.line;
    EXPECT_EQ(ComposeCommandLine(c), k.line);
    EXPECT_EQ(c.dispatch, Dispatch::Mouse) << k.line;
    EXPECT_EQ(c.mouse, k.action) << k.line;
    EXPECT_EQ(c.bound->title, k.title) << k.line;
    EXPECT_EQ(c.bound->class_name, k.class_name) << k.line;
    EXPECT_EQ(c.bound->handle, k.handle) << k.line;
    EXPECT_FALSE(c.target || c.modifiers.Any() || c.no_set) << k.line;
    const std::string after = std::string(k.line).substr(std::string(k.line).find(':', 4) + 1);
    EXPECT_EQ(CoordinateText(k.line), after);
    EXPECT_EQ(ComposeBoundPoint(*ReadBoundPoint(after)), after);
  }
  const MacroReadResult file =
      ReadMacroFile("Win:LDrop:1x2|a@@b\r\nWin:LClick:1x2|Wait=5 Click:5 L_Click@@\r\n");
  EXPECT_EQ(file.lines, std::vector<std::string>{"Win:LDrop:1x2|a@@b"});
  EXPECT_EQ(file.failure, MacroFailure::UnrecognisedLine);
  // Drag and drop by the action alone, whatever the title holds.
  EXPECT_TRUE(HoldsDrop("Win:LDrop:1x2|Drag@@C") && !HoldsDrag("Win:LDrop:1x2|Drag@@C"));
  EXPECT_TRUE(HoldsDrag("Win:RDrag:1x2|a@@C") && !HoldsDrop("Win:LClick:1x2|Drop@@C"));
  // Not whole: refused by the loader and by the run, never a point.
  for (const char* bad : {"Win:LClick:1x2|Notepad", "Win:LClick:1x2|a@@", "Win:Click:1x2|a@@C",
                          "Win:LClick:01x2|a@@C", "Win:LClick:+1x2|a@@C", "Win:LClick:-0x2|a@@C",
                          "Win:LClick:1x 2|a@@C", "Win:LClick:2147483648x2|a@@C", "Win:LClick:1x2",
                          "Win:L_Click:1x2|a@@C", "Win:LClick:NoSet", "Win:[Enter]L_Click:1x2"}) {
    const CommandLine c = ReadCommandLine(bad);
    EXPECT_FALSE(IsCommandLine(bad) || IsMouseLine(bad) || c.exact || ReadCoordinates(bad)) << bad;
    EXPECT_EQ(c.bad_number, bad);
    EXPECT_EQ(c.dispatch, Dispatch::Wait) << bad;
    EXPECT_FALSE(WithPickedPoint(bad, 1, 2) || WithCoordinateText(bad, "1x2")) << bad;
  }
}

TEST(BoundLine, PointsShownPickedCopiedPastedAndAdded) {
  const std::string line = "Win:LDrag:10x20|ゼ[x@@Cls <5>";
  EXPECT_EQ(MouseLinePoint(line)->x, 10);
  EXPECT_EQ(MouseLinePoint(line)->y, 20);
  BoundPoint p{-4, 9, "t@@x", "K", 77};
  const std::pair<std::optional<std::string>, std::string> rewrites[] = {
      {WithPickedBoundPoint(line, p), "Win:LDrag:-4x9|t@@x@@K <77>"},
      {WithPickedBoundPoint("R_DClick:1x1", p), "Win:RDClick:-4x9|t@@x@@K <77>"},
      {WithPickedBoundPoint("L_Drop:NoSet", p), "Win:LDrop:-4x9|t@@x@@K <77>"},
      {WithPickedPoint(line, 300, 40), "L_Drag:300x40"},  // a screen pick: the screen form
      {WithCoordinates(line, 1, 2), "Win:LDrag:1x2|ゼ[x@@Cls <5>"},
      {WithCoordinateText(line, "7x-8"), "Win:LDrag:7x-8|ゼ[x@@Cls <5>"},
      {WithCoordinateText(line, "1x2|b@@C"), "Win:LDrag:1x2|b@@C"},
      {WithCoordinateText("R_Click:5x5", "1x2|b@@C"), "Win:RClick:1x2|b@@C"},
      {WithCoordinateText("R_Click:5x5", "Pointer"), "R_Click:Pointer"},
  };
  for (const auto& [got, want] : rewrites) EXPECT_EQ(got, want);
  EXPECT_FALSE(WithCoordinateText(line, "Pointer"));
  EXPECT_FALSE(WithPickedBoundPoint("[Text]~~L_Click:1x2", p));
  // Add: a click kind with a window is written bound, from the boxes.
  NewCommand n;
  n.kind = 3;  // L_DClick
  n.x = 15;
  n.y = -1;
  n.window = p;
  EXPECT_EQ(ComposeNewCommand(n, false), std::vector<std::string>{"Win:LDClick:15x-1|t@@x@@K <77>"});
  n.kind = 5;  // a drag pair is still composed unset
  EXPECT_EQ(ComposeNewCommand(n, true), (std::vector<std::string>{"L_Drag:NoSet", "L_Drop:NoSet"}));
}

}  // namespace zepx
