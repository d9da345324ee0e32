// Input aimed at a program running above our integrity level is dropped by
// the system: a run says so before it starts, asking the user who clicked
// Run, and only telling (a tray balloon) when nobody may be watching.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "run/run_support.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

constexpr std::uint32_t kMedium = 0x2000, kHigh = 0x3000;

class Unreachable : public ::testing::Test {
 protected:
  Unreachable() {
    form.PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
    form.AutoHandleCheckBox.SetChecked(true);
    form.LoopSpinEdit.SetValue(1);
    form.KeyAfterDelay.SetValue(100);
    fake.own_integrity = kMedium;
    admin = fake.AddWindow("管理者 - Game", "GameClass");
    fake.FindWindowByHandle(admin)->integrity = kHigh;
    plain = fake.AddWindow("Notepad", "NotepadClass");
    fake.FindWindowByHandle(plain)->integrity = kMedium;
  }
  void WinMessageList() {
    form.PostRadioGroup.SetItemIndex(kSendWinMessage);
    form.settings.PostMouseChecked = true;
    form.batch.SetLines({"[A]|>管理者 - Game <" + std::to_string(admin) + ">",
                         "[B]|>Notepad <" + std::to_string(plain) + ">"});
  }
  std::size_t Posts() const { return fake.posted.size(); }

  TApplication app;
  FakePlatform fake;
  TMainForm form{fake.platform(), app};
  Hwnd admin = 0, plain = 0;
};

TEST_F(Unreachable, AUserStartingTheRunIsAskedAndMayStartAnAdministratorInstance) {
  WinMessageList();
  fake.answers.push_back(MsgResult::No);
  form.BitBtn1Click();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::YesNo);
  EXPECT_NE(fake.boxes[0].text.find("管理者 - Game <"), std::string::npos);
  EXPECT_EQ(fake.boxes[0].text.find("Notepad"), std::string::npos) << "only the unreachable one";
  EXPECT_EQ(Posts(), 2u) << "No runs anyway";
  EXPECT_TRUE(fake.Texts({"ShellExecuteExA(runas"}).empty());

  fake.boxes.clear();
  fake.posted.clear();
  fake.answers.push_back(MsgResult::Yes);
  form.BitBtn1Click();
  EXPECT_EQ(Posts(), 0u) << "Yes starts no run here";
  EXPECT_EQ(fake.Texts({"ShellExecuteExA(runas"}).size(), 1u);
  EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
  EXPECT_FALSE(form.Running());
}

TEST_F(Unreachable, RunsNobodyMayBeWatchingWarnByABalloonAndGoOn) {
  WinMessageList();
  bool balloon_during_run = false;
  fake.At(1050, [&] {
    for (const auto& icon : fake.tray)
      if (icon.flags & 0x10) balloon_during_run = icon.info.find("管理者 - Game") != std::string::npos;
  });
  form.HookHotKey2HotKey();  // the start hot key
  EXPECT_TRUE(fake.boxes.empty()) << "no question holds the run up";
  EXPECT_TRUE(balloon_during_run);
  EXPECT_EQ(Posts(), 2u);
  EXPECT_TRUE(fake.tray.empty()) << "the warning's icon goes with the run";
}

TEST_F(Unreachable, InjectedInputChecksTheWindowAFrontAppLineBringsForward) {
  form.PostRadioGroup.SetItemIndex(kSendInput);
  form.batch.SetLines({"[ｱﾌﾟﾘを前面に]@@Notepad", "[A]", "[ｱﾌﾟﾘを前面に]@@管理者 - Game", "[B]"});
  fake.answers.push_back(MsgResult::No);
  form.BitBtn1Click();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_NE(fake.boxes[0].text.find("管理者 - Game"), std::string::npos);

  // The same level, or a system that cannot tell: nothing is said.
  fake.boxes.clear();
  fake.FindWindowByHandle(admin)->integrity = kMedium;
  form.BitBtn1Click();
  fake.FindWindowByHandle(admin)->integrity.reset();
  form.BitBtn1Click();
  fake.own_integrity.reset();
  fake.FindWindowByHandle(admin)->integrity = kHigh;
  form.BitBtn1Click();
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Unreachable, TheCheckIsMadeOncePerWindowAtTheStartNotPerLine) {
  form.PostRadioGroup.SetItemIndex(kSendWinMessage);
  form.settings.PostMouseChecked = true;
  form.KeyAfterDelay.SetValue(0);
  form.LoopSpinEdit.SetValue(3);
  std::vector<std::string> lines(50, "[A]|>Notepad <" + std::to_string(plain) + ">");
  form.batch.SetLines(lines);
  fake.ClearCalls();
  form.BitBtn1Click();
  EXPECT_EQ(Posts(), 150u);
  EXPECT_EQ(fake.Texts({"IntegrityLevel("}).size(), 2u) << "ours and the one target";
}

}  // namespace
}  // namespace zepx
