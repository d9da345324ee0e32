// What the main window does around a run: its display, the stop hot key,
// chain files through its loader, and its tray warning. (A close put off
// until the run has unwound: CloseDuringRun, every way out.)
#include "run/run_fixture.h"

namespace zepx {
namespace {

// Stopped by its hot key while the start key, pressed meanwhile, is ignored.
TEST_F(FormRun, TheWindowShowsTheRunAndHoldsTheStopKeyOnlyMeanwhile) {
  form.settings.EndComboIndex = 23;  // X
  form.DelButton.SetEnabled(true);
  form.LoopSpinEdit.SetValue(0);
  form.batch.SetLines({"[Tab]", "Wait=700"});
  form.HookHotKey2.RegisterKey(1, form.HotKey2);  // held for the window's life
  fake.At(1050, [&] {
    EXPECT_EQ(form.StatusLabel.Caption(), "実行中 (SendInput) - Ctrl+Alt+Xで中断できます");
    EXPECT_EQ(app.Title() + "/" + form.TrayIcon.tip, "ZEPX - 実行中/ZEPX - 実行中");
    EXPECT_FALSE(form.AddButton.Enabled() || form.DelButton.Enabled() || form.mSet.Enabled());
    EXPECT_TRUE(fake.PressHotKey(win::MOD_CONTROL | win::MOD_ALT, 'S'));
  });
  fake.At(4400, [&] { EXPECT_TRUE(fake.PressHotKey(win::MOD_CONTROL | win::MOD_ALT, 'X')); });
  form.BitBtn1Click();
  EXPECT_EQ(fake.now, 4400);
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{1200, 700, 1200, 700}));
  ExpectIdle();
  EXPECT_EQ(form.LoopCountLabel.Caption() + form.TimerCountLabel.Caption(), "10") << "passes 1, seconds 0";
  ASSERT_EQ(fake.hotkeys.size(), 1u) << "only the start key stays";
  EXPECT_EQ(fake.hotkeys[0].vk, 'S');
  EXPECT_TRUE(form.DelButton.Enabled()) << "the line stopped in is still selected";
}

// Each wait after a command is read from its own box, shown blue while it runs.
TEST_F(FormRun, EachDelayHasItsOwnBox) {
  const std::pair<Delay, TWinSpinEdit*> boxes[] = {{Delay::Key, &form.KeyAfterDelay}, {Delay::Click, &form.ClickAfterDelay},
                                                   {Delay::Drag, &form.DragDelay}, {Delay::ShiftAltCtrl, &form.ShiftAltCtrlDelay}};
  for (auto [d, box] : boxes) {
    box->SetValue(4321);
    form.ShowDelayActive(d, true);
    EXPECT_TRUE(form.DelayMs(d) == 4321 && box->FontColor() == kColorBlue) << int(d);
    box->SetValue(1);
    form.ShowDelayActive(d, false);
    EXPECT_EQ(box->FontColor(), kColorWindowText);
  }
}

// Through the window's loader: each file waits a length of its own and
// sets its own passes.
TEST_F(FormRun, AChainOfFiveFilesRepeatedTwiceStartsAgainFromTheFirst) {
  for (int i = 1; i <= 5; ++i) {
    form.settings.Loop[i - 1] = "C:\\m\\chain" + N(i) + ".mcr";
    fake.files[form.settings.Loop[i - 1]] = Mcr({"Wait=" + N(200 + i), i == 5 ? "Loop:2" : "Loop:1"});
  }
  form.NextLoopCheck.SetChecked(true);
  form.settings.LoopOfLoopChecked = true;
  form.LoopSpinEditAll.SetValue(2);
  form.batch.SetLines({"Wait=100"});
  form.BitBtn1Click();
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{100, 201, 202, 203, 204, 205, 205, 201, 202, 203, 204, 205, 205}));
  EXPECT_EQ(form.SendList.Items(), std::vector<std::string>{"Wait=205"});
  EXPECT_EQ(form.Caption(), "ZEPX - chain5.mcr");
  EXPECT_EQ(form.LoopCountAllLabel.Caption(), "2");
  ExpectIdle();
}

TEST_F(FormRun, UnreachableTargetsOfARunNobodyMayWatchAreNamedInATrayBalloon) {
  form.PostRadioGroup.SetItemIndex(kSendWinMessage);
  fake.own_integrity = 0x2000;
  const Hwnd admin = fake.AddWindow("管理者 - Game", "GameClass");
  fake.FindWindowByHandle(admin)->integrity = 0x3000;
  form.batch.SetLines({"[A]|>管理者 - Game <" + N(admin) + ">"});
  std::string balloon;  // the text of the balloon shown during the run
  fake.At(1050, [&] { for (const auto& icon : fake.tray) if (icon.flags & 0x10) balloon = icon.info; });
  form.HookHotKey2HotKey();  // the start hot key
  EXPECT_NE(balloon.find("管理者 - Game <" + N(admin) + ">"), std::string::npos) << balloon;
  EXPECT_TRUE(fake.tray.empty()) << "the warning's icon goes with the run";
}

}  // namespace
}  // namespace zepx
