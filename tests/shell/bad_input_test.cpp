// Input nobody should write, and what the user gets for it: a clear
// message or the program's own, and nothing lost or corrupted. The list of
// these cases, with what the user sees, is docs/bad-input.md.
#include <gtest/gtest.h>

#include <random>

#include "model/macro_file.h"
#include "platform/fake/fake_platform.h"
#include "run/run_support.h"
#include "shell/life_support.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

using Lines = std::vector<std::string>;

class BadInput : public ::testing::Test {
 protected:
  BadInput() {
    form.PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
    form.PostRadioGroup.SetItemIndex(kSendInput);
  }
  // Loads bytes as a macro file; returns the message shown, if any.
  std::string Load(const std::string& bytes, const std::string& path = "C:\\m\\bad.mcr") {
    fake.boxes.clear();
    fake.files[path] = bytes;
    form.LoadMacro(path);
    return fake.boxes.empty() ? std::string() : fake.boxes.back().text;
  }
  // Saves the list to a path through the File menu; the bytes written.
  std::string SaveAs(const std::string& path) {
    fake.save_dialog_results.push_back(path);
    form.mSaveClick();
    return fake.files.count(path) ? fake.files[path] : std::string("(none)");
  }
  // The message of a run of the list.
  std::string Run() {
    fake.boxes.clear();
    form.BitBtn1Click();
    EXPECT_FALSE(form.Running());
    EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
    return fake.boxes.empty() ? std::string() : fake.boxes.back().text;
  }

  TApplication app;
  FakePlatform fake;
  TMainForm form{fake.platform(), app};
};

TEST_F(BadInput, HugeFilesAndLinesLoadWholeAndSaveBackByteForByte) {
  Lines many(100000, "[F1]");
  EXPECT_EQ(Load(Mcr(many)), "");
  EXPECT_EQ(form.batch.Count(), 100000);
  EXPECT_EQ(form.SendList.Count(), 100000);

  const std::string line = "[Text]~~" + std::string(1 << 20, 'a');
  const std::string file = WriteMacroFile({line}, MacroSettings{});
  EXPECT_EQ(Load(file), "");
  ASSERT_EQ(form.batch.Count(), 1);
  EXPECT_EQ(form.batch.Text(0).size(), line.size());
  EXPECT_EQ(SaveAs("C:\\m\\copy.mcr"), file);
}

TEST_F(BadInput, GarbageIsRefusedWithTheLineItStoppedAt) {
  std::mt19937 rng(7);
  std::string garbage(4096, '\0');
  for (char& c : garbage) c = static_cast<char>(rng());
  const std::string msg = Load(garbage);
  EXPECT_NE(msg.find("マクロファイルが正しい形式ではありません"), std::string::npos);
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_EQ(form.Caption(), "ZEPX");
}

TEST_F(BadInput, NulBytesAndALoneLeadByteStayInTheirLinesUntouched) {
  const std::string nul = std::string("[F1]\0tail", 9);
  const std::string lone = "[Text]~~あ\x82";  // a lead byte without its second byte
  const std::string file = WriteMacroFile({nul, lone}, MacroSettings{});
  EXPECT_EQ(Load(file), "");
  EXPECT_EQ(form.batch.Texts(), (Lines{nul, lone}));
  EXPECT_EQ(SaveAs("C:\\m\\copy.mcr"), file);

  // Posted as they are; nothing is read past the end of the line.
  form.PostRadioGroup.SetItemIndex(kSendWinMessage);
  form.settings.PostMouseChecked = true;
  form.KeyAfterDelay.SetValue(0);
  form.LoopSpinEdit.SetValue(1);
  form.batch.SetLines({lone + "|>"});
  Run();
  std::vector<std::uintptr_t> chars;
  for (const auto& p : fake.posted) chars.push_back(p.wparam);
  EXPECT_EQ(chars, (std::vector<std::uintptr_t>{0x82, 0xA0, 0x82}));
}

TEST_F(BadInput, NumbersOutOfRangeInSettingsLines) {
  EXPECT_NE(Load(Mcr({"Wait=99999999999"})).find("ErrorLine = Wait=99999999999"), std::string::npos);
  EXPECT_EQ(Load(Mcr({"[F1]", "Loop:-5"})), "");
  EXPECT_EQ(form.LoopSpinEdit.Value(), 0) << "as the field takes a negative count: endless";
  EXPECT_EQ(Load(Mcr({"[F1]", "SendAPI:7"})), "");
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendWinMessage);
  EXPECT_EQ(Load(Mcr({"[F1]", "SendAPI:-1"})), "");
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendEvent);
}

TEST_F(BadInput, LinesARunCannotReadEndItWithTheTextThatIsNoNumber) {
  form.LoopSpinEdit.SetValue(1);
  form.KeyAfterDelay.SetValue(0);
  form.batch.SetLines({"[Fx]"});
  EXPECT_EQ(Run(), "'x' は整数ではありません");
  form.PostRadioGroup.SetItemIndex(kSendWinMessage);
  form.settings.PostMouseChecked = true;
  form.batch.SetLines({"[A]|>Game <"});
  EXPECT_EQ(Run(), "'' は整数ではありません");
  form.batch.SetLines({"[A]|>Game <4294967296>"});
  EXPECT_EQ(Run(), "'4294967296' は整数ではありません") << "a handle beyond 32 bits";
  EXPECT_TRUE(fake.posted.empty());
  EXPECT_TRUE(fake.hotkeys.empty()) << "the stop key is let go";
}

TEST_F(BadInput, PathsThatAreNoFiles) {
  const std::string long_path = "C:\\" + std::string(300, 'p') + ".mcr";
  EXPECT_EQ(Load(Mcr({"[F2]"}), long_path), "");
  EXPECT_EQ(form.Caption(), "ZEPX - " + std::string(300, 'p') + ".mcr");

  fake.directories.insert("C:\\folder.mcr");
  fake.boxes.clear();
  form.LoadMacro("C:\\folder.mcr");
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text, "ファイルが見つかりません.\r\nC:\\folder.mcr");
  EXPECT_EQ(form.batch.Texts(), Lines{"[F2]"}) << "nothing changed";
  fake.boxes.clear();
  SaveAs("C:\\folder.mcr");
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_NE(fake.boxes[0].text.find("ファイルを保存できませんでした"), std::string::npos);
}

// Registry values nobody should have written: a wrong type stops the load
// with the first-run notice; strings of any length are kept as they are.
TEST_F(BadInput, RegistryStringsOfAHundredThousandBytesComeBackUnchanged) {
  const std::string huge(100000, 'z');
  WriteSettingsKey(fake, [&](TMainForm& f) {
    f.settings.Say = huge;
    f.settings.Loop[0] = huge;
    f.settings.Exec1 = huge;
    f.settings.DefMCRPath = huge;
  });
  LifeFixture life;
  life.fake.registry = fake.registry;
  life.Start();
  EXPECT_TRUE(life.fake.boxes.empty());
  EXPECT_EQ(life.form.settings.Loop[0], huge);
  EXPECT_EQ(life.form.settings.DefMCRPath, "") << "no such folder";
  life.fake.registry.clear();
  life.form.SaveSettings();
  auto& key = life.fake.registry[kZepxKey];
  ASSERT_TRUE(key.count("Say"));
  EXPECT_EQ(key["Say"].data, huge);
  EXPECT_EQ(key["Exec1"].data, huge);
  EXPECT_EQ(key["Loop1"].data, huge);
}

}  // namespace
}  // namespace zepx
