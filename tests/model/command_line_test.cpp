#include <gtest/gtest.h>

#include "model/command_line.h"
#include "model/convert.h"

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
  EXPECT_STREQ(kCommandKinds[kKindF1 + 11], "[F12]");
  EXPECT_STREQ(kCommandKinds[45], "[Z]");
  EXPECT_STREQ(kCommandKinds[56], "[0]");
  EXPECT_STREQ(kCommandKinds[65], "[→]");
  EXPECT_STREQ(kCommandKinds[76], "[Tab]");
  EXPECT_STREQ(kCommandKinds[kKindWindows], "[Windows]");
  EXPECT_STREQ(kCommandKinds[81], "[Ctrl]");
  EXPECT_STREQ(kCommandKinds[kKindFrontApp], "[ｱﾌﾟﾘを前面に]");
  // Every kind but the wait writes a line the loader takes back.
  for (std::size_t i = 1; i < kCommandKindCount; ++i)
    EXPECT_TRUE(IsCommandLine(kCommandKinds[i])) << i;
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
  EXPECT_FALSE(ReadCoordinates("[F1]+Ctrl").has_value());
  // A text that merely holds ":" shows zeros instead of failing (the
  // first "x" here is the one in "[Text]").
  c = ReadCoordinates("[Text]~~time:5x6");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->x, 0);
  EXPECT_EQ(c->y, 0);
  c = ReadCoordinates("L_Click:$10x-3");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->x, 16);
  EXPECT_EQ(c->y, -3);
  EXPECT_EQ(CoordinateXText("a x:b"), "");  // "x" before ":"
  EXPECT_EQ(CoordinateYText("L_Click:1x2x3"), "2x3");
}

TEST(CommandLine, SendMethodQuestionsOnlyAcrossTheWinMessageBoundary) {
  EXPECT_EQ(SendMethodSwitchQuestion(0, 1), nullptr);
  EXPECT_EQ(SendMethodSwitchQuestion(1, 0), nullptr);
  EXPECT_EQ(SendMethodSwitchQuestion(2, 2), nullptr);
  ASSERT_NE(SendMethodSwitchQuestion(2, 0), nullptr);
  EXPECT_STREQ(SendMethodSwitchQuestion(2, 0), SendMethodSwitchQuestion(2, 1));
  EXPECT_STREQ(SendMethodSwitchQuestion(0, 2), SendMethodSwitchQuestion(1, 2));
  EXPECT_EQ(ClampSendMethod(7), 2);
  EXPECT_EQ(ClampSendMethod(-1), 0);
}

TEST(CommandLine, LineCountTexts) {
  EXPECT_EQ(SendListCaptionAfterChange(12), "ZEPX Batch処理送信リスト <12行>");
  EXPECT_EQ(SendListCaptionOnShow(0), "ZEPX Batch処理送信リスト (0行)");
}

}  // namespace zepx
