// Input nobody should write, and what the user gets for it: a clear
// message or the program's own, and nothing lost or corrupted. The list of
// these cases, with what the user sees, is docs/bad-input.md; the files
// among them are in macro_io_test.cpp.
#include <gtest/gtest.h>

#include "shell/life_support.h"

namespace zepx {
namespace {

class BadInput : public LifeFixture, public ::testing::Test {};

// Lines a run cannot read end it with the text that is no number, having
// sent nothing and let the stop key go; a lone lead byte is posted as it is.
TEST_F(BadInput, LinesARunCannotReadEndItWithTheTextThatIsNoNumber) {
  form.PostRadioGroup.SetItemIndex(kSendWinMessage);
  form.settings.PostMouseChecked = true;
  form.LoopSpinEdit.SetValue(1);
  form.KeyAfterDelay.SetValue(0);
  const std::pair<const char*, const char*> cases[] = {
      {"[Fx]", "'x' は整数ではありません"},
      {"[A]|>Game <", "'' は整数ではありません"},
      {"[A]|>Game <4294967296>", "'4294967296' は整数ではありません"},  // beyond 32 bits
  };
  for (const auto& [line, message] : cases) {
    fake.boxes.clear();
    form.batch.SetLines({line});
    form.BitBtn1Click();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{message}) << line;
    EXPECT_FALSE(form.Running());
    EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
    EXPECT_TRUE(fake.posted.empty() && fake.hotkeys.empty()) << line;
  }
  form.batch.SetLines({"[Text]~~あ\x82|>"});
  form.BitBtn1Click();
  std::vector<std::uintptr_t> chars;
  for (const auto& p : fake.posted) chars.push_back(p.wparam);
  EXPECT_EQ(chars, (std::vector<std::uintptr_t>{0x82, 0xA0, 0x82})) << "nothing read past the line's end";
}

// Registry strings of any length come back unchanged.
TEST_F(BadInput, RegistryStringsOfAHundredThousandBytesComeBackUnchanged) {
  const std::string huge(100000, 'z');
  WriteSettingsKey(fake, [&](TMainForm& f) {
    f.settings.Say = f.settings.Loop[0] = f.settings.Exec1 = f.settings.DefMCRPath = huge;
  });
  Start();
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(form.settings.DefMCRPath, "") << "no such folder";
  fake.registry.clear();
  form.SaveSettings();
  auto& key = fake.registry[kZepxKey];
  for (const char* name : {"Say", "Exec1", "Loop1"}) EXPECT_EQ(key[name].data, huge) << name;
}

}  // namespace
}  // namespace zepx
