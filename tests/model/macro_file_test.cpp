// Macro files: bytes in, lines and settings out, and back; what the user is
// told when a file cannot be read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "run/run_support.h"
#include "model/command_line.h"
#include "model/macro_file.h"

namespace zepx {

namespace {
const char kBadNumber[] =
    "マクロファイルが正しい形式ではありません.(ウエイトの数値が整数ではない)\r\n"
    "読み込みを中止します.\r\n\r\nErrorLine = ";
}  // namespace

TEST(MacroFile, LineEndsAndTheEndOfFileMark) {
  const std::pair<const char*, Texts> cases[] = {
      {"a\nb\r\n\r\nc", {"a", "b", "", "c"}}, {"a\r\n", {"a"}},
      {"a\rb\n", {"ab"}},  // a lone CR is dropped, not a break
      {"a\n\x1A" "b\n", {"a"}}, {"[F1]\x1A", {"[F1]"}}, {"", {}}};
  for (const auto& [bytes, lines] : cases) EXPECT_EQ(SplitMacroLines(bytes), lines) << bytes;
  const MacroReadResult r = ReadMacroFile("//ZEP Version 4.51\n[F1]\nWait=5\n\x1AJunk\n");
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.lines, (Texts{"[F1]", "Wait=5"}));
}

// Without the header a wait is in seconds; the line keeps milliseconds, so a
// wait too large for that is refused rather than loaded unreadable.
TEST(MacroFile, WaitsBeforeAHeaderAreSeconds) {
  const std::pair<const char*, Texts> cases[] = {
      {"Wait=5\r\n", {"Wait=5000"}},
      {"//ZEP Version 1\r\nWait=5\r\n", {"Wait=5"}},
      {"Wait=5\r\n//ZEP Version 4.51\r\nWait=5\r\n", {"Wait=5000", "Wait=5"}},
      {"; ZEP Version\r\n//ZEP\r\nWait=$10\r\n", {"Wait=$10000"}},  // only "//ZEP Version" counts
      {"Wait=2147483\r\n", {"Wait=2147483000"}},
      {"//ZEP Version 4.51\r\nWait=2147484\r\n", {"Wait=2147484"}}};
  for (const auto& [bytes, lines] : cases) {
    const MacroReadResult r = ReadMacroFile(bytes);
    EXPECT_TRUE(r.ok()) << bytes;
    EXPECT_EQ(r.lines, lines) << bytes;
    EXPECT_EQ(ReadMacroFile(WriteMacroFile(r.lines, MacroSettings{})).lines, lines) << "saved and loaded again";
  }
  const MacroReadResult r = ReadMacroFile("[F1]\r\nWait=2147484\r\n[F2]\r\n");
  EXPECT_EQ(r.failure, MacroFailure::BadNumber);
  EXPECT_EQ(r.failure_line, 2);
  EXPECT_EQ(r.lines, (Texts{"[F1]"}));
  EXPECT_EQ(r.FailureMessage(), std::string(kBadNumber) + "Wait=2147484");
  EXPECT_EQ(ReadMacroFile("Wait=-$8000000\r\n").failure, MacroFailure::BadNumber);
}

TEST(MacroFile, CommentsEmptyLinesAndSettingsAnywhere) {
  const MacroReadResult r = ReadMacroFile(
      "; note\r\nLoop:2\r\n\r\n[F1]+Ctrl|>Ultima Online <1234>\r\nL_Drop:NoSet\r\n"
      "[Text]~~Key:1\r\nLoop:4\r\nSendAPI:0x2\r\nKey: -7\r\n// [F2]\r\n");
  ASSERT_TRUE(r.ok()) << r.FailureMessage();
  EXPECT_EQ(r.lines, (Texts{"[F1]+Ctrl|>Ultima Online <1234>", "L_Drop:NoSet", "[Text]~~Key:1"}));
  std::vector<std::pair<MacroField, int>> got;
  for (const auto& a : r.assignments) got.emplace_back(a.field, a.value);
  EXPECT_EQ(got, (std::vector<std::pair<MacroField, int>>{
                     {MacroField::Loop, 2}, {MacroField::Loop, 4}, {MacroField::SendAPI, 2}, {MacroField::Key, -7}}));
}

TEST(MacroFile, RefusalsNameTheLineAndKeepWhatCameBefore) {
  const MacroReadResult r = ReadMacroFile("//ZEP Version 4.51\r\n; c\r\n\r\nSendAPI:2\r\n[F1]\r\nLoops:5\r\n[F2]\r\n");
  EXPECT_EQ(r.failure, MacroFailure::UnrecognisedLine);
  EXPECT_EQ(r.failure_line, 6) << "every line counts";
  EXPECT_EQ(r.lines, (Texts{"[F1]"}));
  ASSERT_EQ(r.assignments.size(), 1u);
  EXPECT_EQ(r.FailureMessage(),
            "マクロファイルが正しい形式ではありません.(コマンドとして認識できない文字列が記述されている)\r\n"
            "最新バージョンのZEPXを使用してもこのメッセージが表示される場合は、ファイルが破損している可能性があります.\r\n"
            "読み込みを中止します.\r\n\r\nErrorLine = 6\r\nErrorString = Loops:5");
  for (const char* bad : {"Key:abc", "Wait=", "Wait=1.5", "xKey:5", "Wait=Key:5", "Loop:5 "}) {
    const MacroReadResult b = ReadMacroFile(std::string("[F1]\n") + bad + "\n[F2]\n");
    EXPECT_EQ(b.failure, MacroFailure::BadNumber) << bad;
    EXPECT_EQ(b.lines, Texts{"[F1]"}) << bad << ": the read stops there";
    EXPECT_EQ(b.FailureMessage(), kBadNumber + std::string(bad));
  }
}

// Which spellings are shortcuts: the loads refused (MacroIo).
TEST(MacroFile, NameAndExtensionRespectDoubleByteCharacters) {
  EXPECT_EQ(ExtractFileName("C:\\macros\\a.mcr"), "a.mcr");
  EXPECT_EQ(ExtractFileName("a.mcr"), "a.mcr");
  EXPECT_EQ(ExtractFileName("C:\\x\\ソフト.mcr"), "ソフト.mcr") << "the second byte of ソ is no separator";
  EXPECT_EQ(ExtractFileExt("C:\\dir.lnk\\file"), "");
}

// The sample macros shipped with the program load without a message and
// together show every family of command.
TEST(MacroFile, EverySampleLoadsAndTogetherTheyShowEveryFamily) {
  std::set<std::string> families;
  for (const auto& entry : std::filesystem::directory_iterator(ZEPX_SOURCE_DIR "/examples")) {
    if (entry.path().extension() != ".mcr") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const MacroReadResult r = ReadMacroFile({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    EXPECT_TRUE(r.ok() && !r.lines.empty()) << entry.path() << ": " << r.FailureMessage();
    for (const std::string& line : r.lines) {
      const CommandLine c = ReadCommandLine(line);
      EXPECT_TRUE(c.exact) << entry.path() << ": " << line;
      const char* const mouse[] = {"click", "click", "double", "double", "drag", "drag", "drop"};
      const char* const keys[] = {"text", "front-app", "key", "key"};
      families.insert(c.dispatch == Dispatch::Key     ? keys[static_cast<int>(c.key_kind)]
                      : c.dispatch == Dispatch::Mouse ? mouse[static_cast<int>(c.mouse)]
                      : c.dispatch == Dispatch::Wait  ? "wait"
                                                      : "event");
      if (c.dispatch == Dispatch::Key && c.modifiers.Any()) families.insert("modifier");
      if (c.dispatch == Dispatch::Key && c.target) families.insert("target");
    }
  }
  EXPECT_EQ(families, (std::set<std::string>{"click", "double", "drag", "drop", "event", "front-app", "key",
                                             "modifier", "target", "text", "wait"}));
}

}  // namespace zepx
