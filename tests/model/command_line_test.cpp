#include <gtest/gtest.h>

#include "model/command_line.h"
#include "model/convert.h"
#include "model/send_method.h"

namespace zepx {

TEST(Convert, ReadsDecimalHexAndSignsWithinThirtyTwoBits) {
  EXPECT_EQ(TryStrToInt("1200"), 1200);
  EXPECT_EQ(TryStrToInt("  -5"), -5);
  EXPECT_EQ(TryStrToInt("+7"), 7);
  EXPECT_EQ(TryStrToInt("$1F"), 31);
  EXPECT_EQ(TryStrToInt("0x10"), 16);
  EXPECT_EQ(TryStrToInt("-$10"), -16);
  EXPECT_EQ(TryStrToInt("007"), 7);
  EXPECT_EQ(TryStrToInt("2147483647"), 2147483647);
  EXPECT_EQ(TryStrToInt("-2147483648"), INT32_MIN);
  for (const char* bad : {"", " ", "+", "-", "$", "0x", "12 ", "1a", "abc", "1.5", "- 5",
                          "2147483648", "-2147483649", "$80000000", "$FFFFFFFF", "\t5", "１"})
    EXPECT_FALSE(TryStrToInt(bad).has_value()) << bad;
}

TEST(Convert, ErrorNamesTheText) {
  try {
    StrToInt("abc");
    FAIL() << "no error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'abc' は整数ではありません");
  }
}

TEST(CommandLine, RecognisesKeyShapesAndMarkers) {
  for (const char* yes : {"[F]", "[F1]", "[F10]+Alt", "[A]+Ctrl", "[@]", "[/]", "[↑]", "[→]+Shift",
                          "[Enter]+Shift+Alt+Ctrl", "[Text]~~hello|>Ultima Online <1234>",
                          "[Text]~~Key:1", "L_Drop:NoSet", "R_DClick:1x2",
                          "【ZEP Event 2】", "[ｱﾌﾟﾘを前面に]@@メモ帳", "x[Windows]"})
    EXPECT_TRUE(IsCommandLine(yes)) << yes;
  for (const char* no : {"Wait=1000", "Key:1200", "Loops:5", "[F", "[]", "[AB]", "F1]", "l_click:1x2",
                          "[enter]", ""})
    EXPECT_FALSE(IsCommandLine(no)) << no;
}

TEST(CommandLine, KindsTableMatchesTheRecogniser) {
  EXPECT_STREQ(kCommandKinds[kKindWait], "時間(ミリ秒)");
  EXPECT_STREQ(kCommandKinds[19], "[F12]");
  EXPECT_STREQ(kCommandKinds[45], "[Z]");
  EXPECT_STREQ(kCommandKinds[56], "[0]");
  EXPECT_STREQ(kCommandKinds[65], "[→]");
  EXPECT_STREQ(kCommandKinds[76], "[Tab]");
  EXPECT_STREQ(kCommandKinds[77], "[Windows]");
  EXPECT_STREQ(kCommandKinds[81], "[Ctrl]");
  EXPECT_STREQ(kCommandKinds[kKindFrontApp], "[ｱﾌﾟﾘを前面に]");
  // Every kind but the wait writes a line the loader takes back.
  for (std::size_t i = 1; i < kCommandKindCount; ++i)
    EXPECT_TRUE(IsCommandLine(kCommandKinds[i])) << i;
}

// Every line the composer can write reads back exactly, and composing what
// was read gives the same line: all kinds, both placements, both flag
// states, with and without modifiers and target.
TEST(CommandLine, EverythingTheComposerWritesReadsBackExactly) {
  const Modifiers kMods[] = {{}, {true, true, true}, {false, false, true}, {true, false, false}};
  const char* const kTargets[] = {"Ultima Online <1234>", "メモ帳@@Edit <77>", ""};
  int lines = 0;
  for (int kind = 0; kind < static_cast<int>(kCommandKindCount); ++kind)
    for (bool mid : {false, true})
      for (bool wm : {false, true})
        for (const Modifiers& m : kMods)
          for (const char* target : kTargets) {
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
              // A run sends each as the kind it was composed as.
              const Dispatch want = kind == kKindWait ? Dispatch::Wait
                                    : kind <= 6       ? Dispatch::Mouse
                                    : kind == 82      ? Dispatch::Event1
                                    : kind == 83      ? Dispatch::Event2
                                                      : Dispatch::Key;
              EXPECT_EQ(c.dispatch, want) << line;
              if (want == Dispatch::Key) EXPECT_NE(c.key_kind, KeyLineKind::NoKey) << line;
              EXPECT_EQ(c.target.has_value(), line.find("|>") != std::string::npos) << line;
            }
          }
  EXPECT_EQ(lines, 85 * 2 * 2 * 4 * 3 + 2 * 2 * 2 * 4 * 3);  // the two drag kinds write pairs
}

TEST(CommandLine, ComposedFormsByPlacementAndFlag) {
  NewCommand n;
  n.modifiers = {true, true, true};
  n.target = "Ultima Online <1234>";
  n.text = "hello";
  auto one = [&](int kind, bool wm, bool mid) {
    n.kind = kind;
    n.win_message = wm;
    return ComposeNewCommand(n, mid).at(0);
  };
  EXPECT_EQ(one(12, false, false), "[F5]+Shift+Alt+Ctrl");
  EXPECT_EQ(one(12, true, false), "[F5]+Shift+Alt+Ctrl|>Ultima Online <1234>");
  EXPECT_EQ(one(77, true, false), "[Windows]");  // appended: bare
  EXPECT_EQ(one(77, true, true), "[Windows]+Shift+Alt+Ctrl|>Ultima Online <1234>");
  EXPECT_EQ(one(kKindText, true, false), "[Text]~~hello|>Ultima Online <1234>");
  EXPECT_EQ(one(kKindText, false, true), "[Text]+Shift+Alt+Ctrl~~hello");
  EXPECT_EQ(one(kKindFrontApp, true, false), "[ｱﾌﾟﾘを前面に]@@hello");
  EXPECT_EQ(one(kKindFrontApp, true, true), "[ｱﾌﾟﾘを前面に]+Shift+Alt+Ctrl@@hello");
  EXPECT_EQ(one(82, true, true), "【ZEP Event 1】");
  EXPECT_EQ(one(2, true, true), "R_Click:0x0");
  n.kind = 6;
  EXPECT_EQ(ComposeNewCommand(n, true), (std::vector<std::string>{"R_Drag:NoSet", "R_Drop:NoSet"}));
  n.text.clear();
  EXPECT_EQ(one(kKindFrontApp, false, false), "[ｱﾌﾟﾘを前面に]@@");
}

// Lines the composer never writes are read by the same substring rules a
// run uses, and are marked as lines not to be rewritten.
TEST(CommandLine, OddLinesAreReadByTheRunsRulesAndNotExact) {
  CommandLine c = ReadCommandLine("[Text]~~a+Sb");
  EXPECT_TRUE(c.modifiers.shift) << "\"+S\" anywhere holds Shift";
  EXPECT_EQ(c.text, "a+Sb");
  EXPECT_FALSE(c.exact);

  // A text meant to hold "|>" ends there; what follows is the target.
  c = ReadCommandLine("[Text]~~a|>b|>c");
  EXPECT_EQ(c.text, "a");
  EXPECT_EQ(c.target, "b|>c");

  c = ReadCommandLine("[Text]~~L_Click:5x5");
  EXPECT_EQ(c.dispatch, Dispatch::Key) << "\"[\" is tested first";
  EXPECT_TRUE(c.exact);

  c = ReadCommandLine("【ZEP Event 1】 ");
  EXPECT_EQ(c.dispatch, Dispatch::Wait);
  EXPECT_EQ(c.bad_number, " Event 1】 ") << "the first five bytes are skipped unread";

  c = ReadCommandLine("Xait=7");
  EXPECT_EQ(c.dispatch, Dispatch::Wait);
  EXPECT_EQ(c.wait_ms, 7);
  EXPECT_FALSE(c.exact);

  c = ReadCommandLine("[A]+Alt+Shift");  // hand-edited order
  EXPECT_TRUE(c.modifiers.alt && c.modifiers.shift);
  EXPECT_FALSE(c.exact);

  c = ReadCommandLine("[ｱﾌﾟﾘを前面に]メモ帳");  // no "@@": no title
  EXPECT_EQ(c.key_kind, KeyLineKind::FrontApp);
  EXPECT_EQ(c.app_title, "");
}

// Lines in which the target mark falls inside another part. A front-app
// title runs to the end of the line, so a title holding "|>" (as typed in
// the text field) is composed back as it stands; a key word holding "|>"
// overlaps the target and has no form to compose, instead of one that grows
// a copy of the target each time it is composed.
TEST(CommandLine, TargetMarkInsideTitleOrKeyWord) {
  NewCommand n;
  n.kind = kKindFrontApp;
  n.text = "a|>b";
  const std::string line = ComposeNewCommand(n, false).at(0);
  EXPECT_EQ(line, "[ｱﾌﾟﾘを前面に]@@a|>b");
  CommandLine c = ReadCommandLine(line);
  EXPECT_EQ(c.app_title, "a|>b");
  EXPECT_EQ(c.target, "b") << "a run still resolves what follows the mark";
  EXPECT_TRUE(c.exact);
  EXPECT_EQ(ComposeCommandLine(c), line);
  c = ReadCommandLine("[ｱﾌﾟﾘを前面に]+Shift|>t@@x");
  EXPECT_EQ(ComposeCommandLine(c), "[ｱﾌﾟﾘを前面に]+Shift@@x");
  EXPECT_TRUE(ReadCommandLine(ComposeCommandLine(c)).exact);

  for (const char* odd : {"[a|>b]", "[B+A|>[B]+Alt", "[|>]|>x"}) {
    c = ReadCommandLine(odd);
    EXPECT_EQ(c.form, LineForm::Other) << odd;
    EXPECT_FALSE(c.exact) << odd;
    EXPECT_EQ(ComposeCommandLine(c), "") << odd;
    EXPECT_EQ(c.dispatch, Dispatch::Key) << odd;
    EXPECT_TRUE(c.target.has_value()) << odd;
  }
  EXPECT_EQ(ReadCommandLine("[a|>b]").target, "b]");
  // The mark after the word leaves the key form as it was.
  c = ReadCommandLine("[A]+Alt|>a]");
  EXPECT_EQ(c.form, LineForm::Key);
  EXPECT_TRUE(c.exact);
}

TEST(CommandLine, KeyNamesMatchAsPrefixesInTableOrder) {
  struct Case {
    const char* line;
    int vk;
  } const kCases[] = {{"[Enter]xyz", 0x0D}, {"[Endless]", 0x23}, {"[PageDown]", 0x22},
                      {"[↓]+Ctrl", 0x28},  {"[F1]", 0x70},      {"[F10]", 0x79},
                      {"[F12]+Alt", 0x7B}, {"[Ctrl]", 0x11}};
  for (const Case& k : kCases) {
    const CommandLine c = ReadCommandLine(k.line);
    EXPECT_EQ(c.key_kind, KeyLineKind::Key) << k.line;
    EXPECT_EQ(c.vk, k.vk) << k.line;
  }
  EXPECT_TRUE(ReadCommandLine("[F5]").waits_before);
  EXPECT_FALSE(ReadCommandLine("[F10]").waits_before);
  EXPECT_FALSE(ReadCommandLine("[PrtSc]").posted);
  EXPECT_EQ(ReadCommandLine("[F]").key_char, 'F') << "the letter, not a function key";
  EXPECT_EQ(ReadCommandLine("[Fx]").bad_number, "x");
  EXPECT_EQ(ReadCommandLine("[enter]").key_kind, KeyLineKind::NoKey);
  EXPECT_EQ(ReadCommandLine("R_DClick:1x2").mouse, MouseAction::RightDouble);
  EXPECT_EQ(ReadCommandLine("L_Drop:300x20").mouse, MouseAction::Move);
}

TEST(CommandLine, UnsetDragLinesAreFoundInTheOrderOfTheFourTexts) {
  EXPECT_EQ(FindUnsetDragLine({"r_drop:noset", "L_Drag:NoSet ", "l_drag:NOSET"}), 2);
  EXPECT_EQ(FindUnsetDragLine({"R_Drop:NoSet", "R_Drag:NoSet"}), 1);
  EXPECT_EQ(FindUnsetDragLine({"L_Drag:1x2", "Wait=1"}), -1);
}

TEST(CommandLine, CoordinatesReadFromFirstColonAndFirstX) {
  auto c = ReadCoordinates("R_Click:640x480");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->x, 640);
  EXPECT_EQ(c->y, 480);
  c = ReadCoordinates("L_Drag:NoSet");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->x, 0);
  EXPECT_EQ(c->y, 0);
  c = ReadCoordinates("L_Click:$10x-3");  // the program's integers: hex and a sign
  ASSERT_TRUE(c);
  EXPECT_EQ(c->x, 16);
  EXPECT_EQ(c->y, -3);
  // No point: no ":", parts that are no integers, or the first "x" before
  // the ":" (every text line: the "x" of "[Text]").
  for (const char* line : {"[F1]+Ctrl", "[Text]~~time:5x6", "[Text]~~12:34x56", "a x:b",
                           "L_Click:10x", "L_Click:x20", "[ｱﾌﾟﾘを前面に]@@C:\\tools", "[F1]|>Foo:12x34 <5>"})
    EXPECT_FALSE(ReadCoordinates(line).has_value()) << line;
  EXPECT_EQ(WithCoordinates("L_Drop:NoSet", 300, 20), "L_Drop:300x20");
  EXPECT_EQ(WithCoordinates("R_Click:1x2x3", 4, 5), "R_Click:4x5");
  EXPECT_EQ(WithCoordinates("[F1]", 4, 5), "[F1]");
}

TEST(CommandLine, PickAndPasteRewriteAfterTheFirstColonOnly) {
  EXPECT_EQ(WithPickedPoint("L_Click:0x0", 120, 45), "L_Click:120x45");
  EXPECT_EQ(WithPickedPoint("L_Drop:NoSet", -30, 7), "L_Drop:-30x7");
  EXPECT_FALSE(WithPickedPoint("[Text]~~a:b|>T <1>", 1, 2));
  EXPECT_FALSE(WithPickedPoint("my Drop", 5, 6));
  EXPECT_FALSE(WithPickedPoint("Wait=1000", 5, 6));
  EXPECT_FALSE(WithPickedPoint("[F1]+Ctrl", 5, 6));

  EXPECT_EQ(CoordinateText("R_Drag:10x20"), "10x20");
  EXPECT_EQ(CoordinateText("L_Click:1:2x3"), "1:2x3");
  EXPECT_EQ(CoordinateText("L_Drop:"), "");
  EXPECT_FALSE(CoordinateText("[Enter]"));
  EXPECT_EQ(WithCoordinateText("L_Drop:NoSet", "Pointer"), "L_Drop:Pointer");
  EXPECT_EQ(WithCoordinateText("R_Click:1:2", "7x8"), "R_Click:7x8");
  EXPECT_FALSE(WithCoordinateText("Wait=5", "7x8"));
}

TEST(CommandLine, TargetDescriptorsInTheirThreeForms) {
  TargetDescriptor d = ReadTargetDescriptor("メモ帳@@Edit <77>");
  EXPECT_EQ(d.form, TargetDescriptor::Child);
  EXPECT_EQ(d.title, "メモ帳");
  EXPECT_EQ(d.class_name, "Edit");
  EXPECT_EQ(d.handle, 77u);
  d = ReadTargetDescriptor("Ultima Online <1234>");
  EXPECT_EQ(d.form, TargetDescriptor::TitleHandle);
  EXPECT_EQ(d.title, "Ultima Online");
  EXPECT_EQ(d.handle, 1234u);
  d = ReadTargetDescriptor("Game <abc>");
  EXPECT_FALSE(d.handle);
  EXPECT_EQ(d.handle_text, "abc");
  d = ReadTargetDescriptor("a<5>");  // "<" without the blank: the whole text up to ">"
  EXPECT_EQ(d.form, TargetDescriptor::TitleHandle);
  EXPECT_EQ(d.handle_text, "a<5");
  d = ReadTargetDescriptor("(無題) - メモ帳");
  EXPECT_EQ(d.form, TargetDescriptor::Title);
  EXPECT_EQ(ComposeTargetDescriptor("Game", 4242), "Game <4242>");
  const std::string child = ComposeChildTargetDescriptor("メモ帳", "Edit", 77);
  EXPECT_EQ(child, "メモ帳@@Edit <77>");
  EXPECT_EQ(ReadTargetDescriptor(child).handle, 77u);
}

TEST(CommandLine, SendMethodQuestionsOnlyAcrossTheWinMessageBoundary) {
  EXPECT_EQ(SendMethodSwitchQuestion(0, 1), nullptr);
  EXPECT_EQ(SendMethodSwitchQuestion(1, 0), nullptr);
  EXPECT_EQ(SendMethodSwitchQuestion(2, 2), nullptr);
  ASSERT_NE(SendMethodSwitchQuestion(2, 0), nullptr);
  EXPECT_STREQ(SendMethodSwitchQuestion(2, 0), SendMethodSwitchQuestion(2, 1));
  EXPECT_STREQ(SendMethodSwitchQuestion(0, 2), SendMethodSwitchQuestion(1, 2));
  EXPECT_NE(std::string(SendMethodSwitchQuestion(0, 2)), SendMethodSwitchQuestion(2, 0));
  EXPECT_EQ(ClampSendMethod(7), 2);
  EXPECT_EQ(ClampSendMethod(-1), 0);
}

TEST(CommandLine, LineCountTexts) {
  EXPECT_EQ(SendListCaptionAfterChange(12), "ZEPX Batch処理送信リスト <12行>");
  EXPECT_EQ(SendListCaptionOnShow(0), "ZEPX Batch処理送信リスト (0行)");
}

}  // namespace zepx
