#include <gtest/gtest.h>

#include "model/macro_file.h"

namespace zepx {

namespace {
using Lines = std::vector<std::string>;
}

TEST(MacroFileWriter, HeaderLinesAndSettingsWithCrLf) {
  MacroSettings s;
  s.loop = 3;
  s.send_api = 2;
  EXPECT_EQ(WriteMacroFile({"[F1]", "Wait=500"}, s),
            "//ZEP Version 4.51\r\n[F1]\r\nWait=500\r\nKey:1200\r\nClick:1000\r\nDrag:1200\r\n"
            "SftAltCtl:250\r\nLoop:3\r\nSendAPI:2\r\n");
  const MacroReadResult back = ReadMacroFile(WriteMacroFile({}, s));
  EXPECT_TRUE(back.ok());
  EXPECT_TRUE(back.lines.empty());
  ASSERT_EQ(back.assignments.size(), 6u);
  EXPECT_EQ(back.assignments[4].field, MacroField::Loop);
  EXPECT_EQ(back.assignments[4].value, 3);
}

TEST(MacroFileReader, LineEndsCrAndEndOfFileMark) {
  EXPECT_EQ(SplitMacroLines("a\nb\r\n\r\nc"), (Lines{"a", "b", "", "c"}));
  EXPECT_EQ(SplitMacroLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(SplitMacroLines("a\rb\n"), (Lines{"ab"}));  // a lone CR is dropped, not a break
  EXPECT_EQ(SplitMacroLines("a\n\x1A" "b\n"), (Lines{"a"}));
  EXPECT_EQ(SplitMacroLines("[F1]\x1A"), (Lines{"[F1]"}));
  EXPECT_TRUE(SplitMacroLines("").empty());

  const MacroReadResult r = ReadMacroFile("//ZEP Version 4.51\n[F1]\nWait=5\n\x1AJunk\n");
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.lines, (Lines{"[F1]", "Wait=5"}));
}

TEST(MacroFileReader, WaitsWithoutHeaderAreSeconds) {
  EXPECT_EQ(ReadMacroFile("Wait=5\r\n").lines, (Lines{"Wait=5000"}));
  EXPECT_EQ(ReadMacroFile("//ZEP Version 1\r\nWait=5\r\n").lines, (Lines{"Wait=5"}));
  // A header after the wait is too late for it, not for the next one.
  EXPECT_EQ(ReadMacroFile("Wait=5\r\n//ZEP Version 4.51\r\nWait=5\r\n").lines,
            (Lines{"Wait=5000", "Wait=5"}));
  // Only "//ZEP Version" counts; other comments do not.
  EXPECT_EQ(ReadMacroFile("; ZEP Version\r\n//ZEP\r\nWait=$10\r\n").lines, (Lines{"Wait=$10000"}));
}

// The wait a line keeps is in milliseconds: a seconds value too large for
// that is refused as a wait that is no integer, instead of loading a line
// that no run can read and that a save followed by a load would refuse.
TEST(MacroFileReader, WaitInSecondsMustStillBeAnIntegerInMilliseconds) {
  MacroReadResult r = ReadMacroFile("Wait=2147483\r\n");
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.lines, (Lines{"Wait=2147483000"}));
  const MacroReadResult again = ReadMacroFile(WriteMacroFile(r.lines, MacroSettings{}));
  EXPECT_TRUE(again.ok());
  EXPECT_EQ(again.lines, r.lines);

  r = ReadMacroFile("[F1]\r\nWait=2147484\r\n[F2]\r\n");
  EXPECT_EQ(r.failure, MacroFailure::BadNumber);
  EXPECT_EQ(r.failure_line, 2);
  EXPECT_EQ(r.lines, (Lines{"[F1]"}));
  EXPECT_EQ(r.FailureMessage(),
            "マクロファイルが正しい形式ではありません.(ウエイトの数値が整数ではない)\r\n"
            "読み込みを中止します.\r\n\r\nErrorLine = Wait=2147484");
  EXPECT_EQ(ReadMacroFile("Wait=-$8000000\r\n").failure, MacroFailure::BadNumber);
  // After the header the same number is milliseconds already.
  EXPECT_EQ(ReadMacroFile("//ZEP Version 4.51\r\nWait=2147484\r\n").lines, (Lines{"Wait=2147484"}));
}

TEST(MacroFileReader, CommentsEmptyLinesAndSettingsAnywhere) {
  const MacroReadResult r = ReadMacroFile(
      "; note\r\nLoop:2\r\n\r\n[F1]+Ctrl|>Ultima Online <1234>\r\nL_Drop:NoSet\r\n"
      "[Text]~~Key:1\r\nLoop:4\r\nSendAPI:0x2\r\nKey: -7\r\n// [F2]\r\n");
  ASSERT_TRUE(r.ok()) << r.FailureMessage();
  EXPECT_EQ(r.lines, (Lines{"[F1]+Ctrl|>Ultima Online <1234>", "L_Drop:NoSet", "[Text]~~Key:1"}));
  ASSERT_EQ(r.assignments.size(), 4u);
  EXPECT_EQ(r.assignments[0].value, 2);
  EXPECT_EQ(r.assignments[1].field, MacroField::Loop);
  EXPECT_EQ(r.assignments[1].value, 4);
  EXPECT_EQ(r.assignments[2].field, MacroField::SendAPI);
  EXPECT_EQ(r.assignments[2].value, 2);
  EXPECT_EQ(r.assignments[3].field, MacroField::Key);
  EXPECT_EQ(r.assignments[3].value, -7);
}

TEST(MacroFileReader, UnrecognisedLineCountsEveryLine) {
  const MacroReadResult r = ReadMacroFile("//ZEP Version 4.51\r\n; c\r\n\r\nSendAPI:2\r\n[F1]\r\nLoops:5\r\n[F2]\r\n");
  EXPECT_EQ(r.failure, MacroFailure::UnrecognisedLine);
  EXPECT_EQ(r.failure_line, 6);
  EXPECT_EQ(r.lines, (Lines{"[F1]"}));
  ASSERT_EQ(r.assignments.size(), 1u);  // what came before the failure is kept
  EXPECT_EQ(r.assignments[0].value, 2);
  EXPECT_EQ(r.FailureMessage(),
            "マクロファイルが正しい形式ではありません.(コマンドとして認識できない文字列が記述されている)\r\n"
            "最新バージョンのZEPXを使用してもこのメッセージが表示される場合は、ファイルが破損している可能性があります.\r\n"
            "読み込みを中止します.\r\n\r\nErrorLine = 6\r\nErrorString = Loops:5");
}

TEST(MacroFileReader, NumbersMustFollowThePrefixAtTheStart) {
  for (const char* bad : {"Key:abc", "Wait=", "Wait=1.5", "xKey:5", "Wait=Key:5", "Loop:5 "}) {
    const MacroReadResult r = ReadMacroFile(std::string("[F1]\n") + bad + "\n[F2]\n");
    EXPECT_EQ(r.failure, MacroFailure::BadNumber) << bad;
    EXPECT_EQ(r.FailureMessage(),
              std::string("マクロファイルが正しい形式ではありません.(ウエイトの数値が整数ではない)\r\n"
                          "読み込みを中止します.\r\n\r\nErrorLine = ") + bad);
  }
}

TEST(MacroFilePaths, NameAndExtensionRespectDoubleByteCharacters) {
  EXPECT_EQ(ExtractFileName("C:\\macros\\a.mcr"), "a.mcr");
  EXPECT_EQ(ExtractFileName("a.mcr"), "a.mcr");
  // "ソ" is 0x83 0x5C: its second byte is not a folder separator.
  EXPECT_EQ(ExtractFileName("C:\\x\\ソフト.mcr"), "ソフト.mcr");
  EXPECT_EQ(ExtractFileExt("C:\\dir.lnk\\file"), "");
  EXPECT_TRUE(IsShortcutPath("C:\\a.lnk"));
  EXPECT_TRUE(IsShortcutPath("C:\\a.LNK"));
  EXPECT_FALSE(IsShortcutPath("C:\\a.Lnk"));
  EXPECT_FALSE(IsShortcutPath("C:\\a.lnk.mcr"));
}

}  // namespace zepx
