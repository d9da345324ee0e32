// The one reader and composer of the line format, and the small readers
// beside it (integers, coordinates, targets, send-method questions).
#include <gtest/gtest.h>

#include "model/command_line.h"
#include "model/convert.h"
#include "model/send_method.h"

namespace zepx {

// The error naming the text: the run's refusals.
TEST(Convert, DecimalHexAndSignsWithinThirtyTwoBits) {
  const std::pair<const char*, int> good[] = {{"1200", 1200}, {"  -5", -5}, {"+7", 7}, {"$1F", 31},
                                              {"0x10", 16},   {"-$10", -16}, {"007", 7},
                                              {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}};
  for (const auto& [text, value] : good) EXPECT_EQ(TryStrToInt(text), value) << text;
  for (const char* bad : {"", " ", "+", "-", "$", "0x", "12 ", "1a", "abc", "1.5", "- 5",
                          "2147483648", "-2147483649", "$80000000", "$FFFFFFFF", "\t5", "１"})
    EXPECT_FALSE(TryStrToInt(bad).has_value()) << bad;
}

TEST(CommandLine, WhatTheLoaderTakesAsACommandAndTheSelectorsKinds) {
  for (const char* yes : {"[F]", "[F1]", "[F10]+Alt", "[A]+Ctrl", "[@]", "[/]", "[↑]", "[→]+Shift",
                          "[Enter]+Shift+Alt+Ctrl", "[Text]~~hello|>Ultima Online <1234>",
                          "[Text]~~Key:1", "L_Drop:NoSet", "R_DClick:1x2",
                          "【ZEP Event 2】", "[ｱﾌﾟﾘを前面に]@@メモ帳", "x[Windows]"})
    EXPECT_TRUE(IsCommandLine(yes)) << yes;
  for (const char* no : {"Wait=1000", "Key:1200", "Loops:5", "[F", "[]", "[AB]", "F1]", "l_click:1x2",
                         "[enter]", ""})
    EXPECT_FALSE(IsCommandLine(no)) << no;
  // The command selector's entries the user sees, by position.
  const std::pair<int, const char*> kinds[] = {
      {0, "時間(ミリ秒)"}, {1, "L_Click"}, {6, "R_Drag&Drop"}, {7, "[Text]"}, {8, "[F1]"}, {19, "[F12]"},
      {20, "[A]"}, {45, "[Z]"}, {56, "[0]"}, {65, "[→]"}, {76, "[Tab]"}, {77, "[Windows]"},
      {81, "[Ctrl]"}, {82, "【ZEP Event 1】"}, {83, "【ZEP Event 2】"}, {84, "[ｱﾌﾟﾘを前面に]"}};
  for (const auto& [i, text] : kinds) EXPECT_STREQ(kCommandKinds[static_cast<std::size_t>(i)], text) << i;
  for (std::size_t i = 1; i < kKindWaitWindowOpen; ++i) EXPECT_TRUE(IsCommandLine(kCommandKinds[i])) << i;
}

// Every line the composer can write reads back exactly, composes to itself
// and is run as the kind it was composed as: all kinds, both placements,
// both flag states, with and without modifiers and target.
TEST(CommandLine, EverythingTheComposerWritesReadsBackExactly) {
  const Modifiers kMods[] = {{}, {true, true, true}, {false, false, true}, {true, false, false}};
  int lines = 0;
  for (int kind = 0; kind < static_cast<int>(kCommandKindCount); ++kind)
    for (bool mid : {false, true})
      for (bool wm : {false, true})
        for (const Modifiers& m : kMods)
          for (const char* target : {"Ultima Online <1234>", "メモ帳@@Edit <77>", ""}) {
            NewCommand n;
            n.kind = kind;
            n.wait_ms = 3600000;
            n.x = 9999;
            n.y = 45;
            n.text = kind == kKindText ? "日本語 time:5x6" : "(無題) - メモ帳";
            n.target = target;
            n.modifiers = m;
            n.win_message = wm;
            for (const std::string& line : ComposeNewCommand(n, mid)) {
              ++lines;
              const CommandLine c = ReadCommandLine(line);
              ASSERT_TRUE(c.exact) << line;
              EXPECT_EQ(ComposeCommandLine(c), line);
              EXPECT_FALSE(c.bad_number) << line;
              if (kind != kKindWait) EXPECT_TRUE(IsCommandLine(line)) << line;
              const Dispatch want = kind == kKindWait ? Dispatch::Wait
                                    : kind >= kKindWaitWindowOpen ? Dispatch::WaitFor
                                    : kind <= 6       ? Dispatch::Mouse
                                    : kind == 82      ? Dispatch::Event1
                                    : kind == 83      ? Dispatch::Event2
                                                      : Dispatch::Key;
              EXPECT_EQ(c.dispatch, want) << line;
              if (want == Dispatch::Key) EXPECT_NE(c.key_kind, KeyLineKind::NoKey) << line;
              EXPECT_EQ(c.target.has_value(), line.find("|>") != std::string::npos) << line;
            }
          }
  EXPECT_EQ(lines, 89 * 2 * 2 * 4 * 3 + 2 * 2 * 2 * 4 * 3);  // the two drag kinds write pairs
}

TEST(CommandLine, ComposedFormsByPlacementAndFlag) {
  const std::tuple<int, bool, bool, std::vector<std::string>> cases[] = {
      {12, false, false, {"[F5]+Shift+Alt+Ctrl"}},
      {12, true, false, {"[F5]+Shift+Alt+Ctrl|>Ultima Online <1234>"}},
      {77, true, false, {"[Windows]"}},  // appended: bare
      {77, true, true, {"[Windows]+Shift+Alt+Ctrl|>Ultima Online <1234>"}},
      {kKindText, true, false, {"[Text]~~hello|>Ultima Online <1234>"}},
      {kKindText, false, true, {"[Text]+Shift+Alt+Ctrl~~hello"}},
      {kKindFrontApp, true, false, {"[ｱﾌﾟﾘを前面に]@@hello"}},
      {kKindFrontApp, true, true, {"[ｱﾌﾟﾘを前面に]+Shift+Alt+Ctrl@@hello"}},
      {82, true, true, {"【ZEP Event 1】"}},
      {2, true, true, {"R_Click:0x0"}},
      {6, true, true, {"R_Drag:NoSet", "R_Drop:NoSet"}},
      {kKindWait, false, false, {"Wait=1000"}},
  };
  for (const auto& [kind, wm, mid, lines] : cases) {
    NewCommand n;
    n.modifiers = {true, true, true};
    n.target = "Ultima Online <1234>";
    n.text = "hello";
    n.kind = kind;
    n.win_message = wm;
    n.wait_ms = 1000;
    EXPECT_EQ(ComposeNewCommand(n, mid), lines) << kind << " wm " << wm << " mid " << mid;
  }
}

// Lines the composer never writes are read by the run's substring rules and
// are not exact; a mark inside a title or key word is read, never grown.
// ("+S" in a text holding Shift, "[" before a click's word: the keys sent;
// the first five bytes of a wait skipped: the runs.)
TEST(CommandLine, OddLinesAreReadByTheRunsRulesAndNotExact) {
  EXPECT_FALSE(ReadCommandLine("[Text]~~a+Sb").exact || ReadCommandLine("Xait=7").exact);
  EXPECT_EQ(ReadCommandLine("【ZEP Event 1】 ").dispatch, Dispatch::Wait) << "a blank after it: no event line";
  CommandLine c = ReadCommandLine("[Text]~~a|>b|>c");
  EXPECT_EQ(c.text + "/" + *c.target, "a/b|>c") << "a text ends at the first mark";
  c = ReadCommandLine("[A]+Alt+Shift");  // hand-edited order
  EXPECT_TRUE(c.modifiers.alt && c.modifiers.shift && !c.exact);
  c = ReadCommandLine("[ｱﾌﾟﾘを前面に]メモ帳");  // no "@@": no title
  EXPECT_EQ(c.key_kind, KeyLineKind::FrontApp);
  EXPECT_EQ(c.app_title, "");

  c = ReadCommandLine("[ｱﾌﾟﾘを前面に]@@a|>b");  // a title typed with the mark
  EXPECT_EQ(c.app_title, "a|>b");
  EXPECT_EQ(c.target, "b") << "a run still resolves what follows the mark";
  EXPECT_TRUE(c.exact);
  EXPECT_EQ(ComposeCommandLine(c), "[ｱﾌﾟﾘを前面に]@@a|>b");
  c = ReadCommandLine("[ｱﾌﾟﾘを前面に]+Shift|>t@@x");
  EXPECT_EQ(ComposeCommandLine(c), "[ｱﾌﾟﾘを前面に]+Shift@@x");
  for (const char* odd : {"[a|>b]", "[B+A|>[B]+Alt", "[|>]|>x"}) {
    c = ReadCommandLine(odd);
    EXPECT_TRUE(c.form == LineForm::Other && !c.exact && c.dispatch == Dispatch::Key) << odd;
    EXPECT_EQ(ComposeCommandLine(c), "") << odd << ": no form that grows a copy of the target";
    EXPECT_TRUE(c.target.has_value()) << odd;
  }
  EXPECT_EQ(ReadCommandLine("[a|>b]").target, "b]");
  c = ReadCommandLine("[A]+Alt|>a]");
  EXPECT_TRUE(c.form == LineForm::Key && c.exact);
}

// The key words, their keys and waits are proven by sending them (Keys), the
// mouse words by the mouse tests, the search for an unset left drag by the
// run's refusal.
TEST(CommandLine, ABadFunctionKeyNumberAndTheSearchForAnUnsetDrag) {
  EXPECT_EQ(ReadCommandLine("[Fx]").bad_number, "x");
  EXPECT_EQ(FindUnsetDragLine({"R_Drop:NoSet", "R_Drag:NoSet"}), 1);
  EXPECT_EQ(FindUnsetDragLine({"L_Drop:NoSet", "R_Drag:NoSet", "L_Drag:NoSet"}), 2) << "the left drag is looked for first";
  EXPECT_EQ(FindUnsetDragLine({"L_Drag:1x2", "Wait=1"}), -1);
}

// Which lines a pick, copy and paste rewrite is proven through the picker.
TEST(CommandLine, CoordinatesReadFromFirstColonAndFirstXAndWrittenBack) {
  const std::tuple<const char*, int, int> points[] = {
      {"R_Click:640x480", 640, 480}, {"L_Drag:NoSet", 0, 0}, {"L_Click:$10x-3", 16, -3}};
  for (const auto& [line, x, y] : points) {
    const auto c = ReadCoordinates(line);
    ASSERT_TRUE(c) << line;
    EXPECT_EQ(std::make_pair(c->x, c->y), std::make_pair(x, y)) << line;
  }
  // No ":", parts that are no integers, or the first "x" before the ":".
  for (const char* line : {"[F1]+Ctrl", "[Text]~~time:5x6", "[Text]~~12:34x56", "a x:b",
                           "L_Click:10x", "L_Click:x20", "[ｱﾌﾟﾘを前面に]@@C:\\tools", "[F1]|>Foo:12x34 <5>"})
    EXPECT_FALSE(ReadCoordinates(line).has_value()) << line;
  EXPECT_EQ(WithCoordinates("L_Drop:NoSet", 300, 20), "L_Drop:300x20");
  EXPECT_EQ(WithCoordinates("R_Click:1x2x3", 4, 5), "R_Click:4x5");
  EXPECT_EQ(WithCoordinates("[F1]", 4, 5), "[F1]");
  EXPECT_EQ(WithPickedPoint("L_Drop:NoSet", -30, 7), "L_Drop:-30x7");
  EXPECT_EQ(CoordinateText("L_Drop:"), "");
  EXPECT_EQ(WithCoordinateText("R_Click:1:2", "7x8"), "R_Click:7x8");
}

TEST(CommandLine, TargetDescriptorsInTheirThreeForms) {
  // Read back as "form title/class/handle text=handle".
  const std::pair<const char*, const char*> cases[] = {
      {"メモ帳@@Edit <77>", "2 メモ帳/Edit/77=77"},
      {"Ultima Online <1234>", "1 Ultima Online//1234=1234"},
      {"Game <abc>", "1 Game//abc=0"},
      {"a<5>", "1 a<5>//a<5=0"},  // "<" needs the blank before it
      {"(無題) - メモ帳", "0 (無題) - メモ帳//=0"},
  };
  for (const auto& [text, read] : cases) {
    const TargetDescriptor d = ReadTargetDescriptor(text);
    EXPECT_EQ(std::to_string(static_cast<int>(d.form)) + " " + d.title + "/" + d.class_name + "/" + d.handle_text + "=" +
                  std::to_string(d.handle.value_or(0)),
              read)
        << text;
  }
  EXPECT_EQ(ComposeTargetDescriptor("Game", 4242), "Game <4242>");
  EXPECT_EQ(ComposeChildTargetDescriptor("メモ帳", "Edit", 77), "メモ帳@@Edit <77>");
}

}  // namespace zepx
