// The sample macros shipped in examples/ load without a message, and
// together they show every family of command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "model/command_line.h"
#include "model/macro_file.h"

namespace zepx {
namespace {

TEST(Examples, EverySampleLoadsAndTogetherTheyShowEveryFamily) {
  std::set<std::string> families;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ZEPX_SOURCE_DIR "/examples")) {
    if (entry.path().extension() != ".mcr") continue;
    ++files;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const MacroReadResult r = ReadMacroFile(bytes);
    EXPECT_TRUE(r.ok()) << entry.path() << ": " << r.FailureMessage();
    EXPECT_FALSE(r.lines.empty()) << entry.path();
    for (const std::string& line : r.lines) {
      const CommandLine c = ReadCommandLine(line);
      EXPECT_TRUE(c.exact) << entry.path() << ": " << line;
      switch (c.dispatch) {
        case Dispatch::Key:
          families.insert(c.key_kind == KeyLineKind::Text       ? "text"
                          : c.key_kind == KeyLineKind::FrontApp ? "front-app"
                                                                : "key");
          if (c.modifiers.Any()) families.insert("modifier");
          if (c.target) families.insert("target");
          break;
        case Dispatch::Mouse:
          families.insert(c.mouse == MouseAction::LeftDrag || c.mouse == MouseAction::RightDrag ? "drag"
                          : c.mouse == MouseAction::Move                                       ? "drop"
                          : c.mouse == MouseAction::LeftDouble                                 ? "double"
                                                                                               : "click");
          break;
        case Dispatch::Event1:
        case Dispatch::Event2:
          families.insert("event");
          break;
        case Dispatch::Wait:
          families.insert("wait");
          break;
      }
    }
  }
  EXPECT_GE(files, 6);
  EXPECT_EQ(families, (std::set<std::string>{"click", "double", "drag", "drop", "event", "front-app", "key",
                                              "modifier", "target", "text", "wait"}));
}

}  // namespace
}  // namespace zepx
