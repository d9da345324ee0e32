// Whole runs in virtual time: the run request, passes, chains, stops, the
// waits and target resolution, watched through the recording substitute.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "run/run_support.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

class RunTest : public ::testing::Test {
 protected:
  RunTest() {
    form.PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
    SetMethod(kSendInput);
    form.AutoHandleCheckBox.SetChecked(true);
    form.LoopSpinEdit.SetValue(1);
  }

  void SetMethod(int method) {
    form.PostRadioGroup.SetItemIndex(method);
    form.settings.PostMouseChecked = method == kSendWinMessage;
  }

  void SetList(const std::vector<std::string>& lines) { form.batch.SetLines(lines); }

  std::vector<int> WaitLengths() const { return zepx::WaitLengths(fake); }

  // Every text a label shows during the run, with the time it appeared.
  std::vector<std::string>& Watch(TLabel& label) {
    watched_.emplace_back();
    auto* log = &watched_.back();
    label.OnChange = [this, &label, log] {
      log->push_back(label.Caption() + "@" + std::to_string(fake.now));
    };
    return *log;
  }


  void ExpectIdle() {
    EXPECT_FALSE(form.Running());
    EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
    EXPECT_EQ(app.Title(), "ZEPX");
    EXPECT_EQ(form.TrayIcon.tip, "ZEPX");
    EXPECT_TRUE(form.AddButton.Enabled());
    EXPECT_TRUE(form.mSet.Enabled());
    EXPECT_FALSE(form.engine.Timer1.Enabled());
    EXPECT_FALSE(form.engine.WaitTimer.Enabled());
    EXPECT_EQ(fake.ActiveTimers(), 0u) << "a timer outlived the run";
  }

  TApplication app;
  FakePlatform fake;
  TMainForm form{fake.platform(), app};

 private:
  std::list<std::vector<std::string>> watched_{};
};

// ---- the request ------------------------------------------------------------

TEST_F(RunTest, RequestWaitsOneSecondThenRefusesAnEmptyList) {
  auto& status = Watch(form.StatusLabel);
  form.BitBtn1Click();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].t, 1000);
  EXPECT_EQ(fake.boxes[0].text, "送信コマンドを追加して下さい.");
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::Info);
  EXPECT_EQ(fake.ActiveTimers(), 0u);
  EXPECT_FALSE(form.Running());
  EXPECT_TRUE(status.empty()) << "refused before the running display";
}

TEST_F(RunTest, UnsetDragRefusedBySearchOrderOfTheFourTexts) {
  // "r_drop:noset" comes first in the list, but "L_Drag:NoSet" is searched
  // first; a line with more than the text does not count.
  SetList({"Wait=100", "r_drop:noset", "L_Drag:NoSet ", "l_drag:NOSET", "L_Drop:10x20"});
  form.BitBtn1Click();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text,
            "ドラッグアンドドロップを使用する場合は、必ず座標を指定してください.");
  EXPECT_EQ(form.SendList.ItemIndex(), 3);
  EXPECT_TRUE(WaitLengths().empty()) << "no line may run";
  EXPECT_EQ(fake.now, 1000);
}

TEST_F(RunTest, StopDuringThePreWaitCancelsTheStart) {
  SetList({"Wait=100"});
  fake.At(400, [&] { form.BitBtn3Click(); });
  form.BitBtn1Click();
  EXPECT_EQ(fake.now, 400);
  EXPECT_TRUE(WaitLengths().empty());
  EXPECT_TRUE(fake.boxes.empty());
  ExpectIdle();
}

TEST_F(RunTest, RequestsDuringARunOrItsPreWaitAreIgnored) {
  SetList({"Wait=2000"});
  std::vector<std::int64_t> returned_at;
  auto again = [&] {
    EXPECT_TRUE(form.Running());
    form.BitBtn1Click();
    returned_at.push_back(fake.now);
  };
  fake.At(500, again);   // inside the pre-wait
  fake.At(1500, again);  // inside the wait line
  form.BitBtn1Click();
  EXPECT_EQ(returned_at, (std::vector<std::int64_t>{500, 1500}));
  EXPECT_EQ(fake.now, 3000) << "the first run went on undisturbed";
  EXPECT_EQ(WaitLengths(), std::vector<int>{2000});
  ExpectIdle();

  // Once the run has ended a request is served again.
  fake.ClearCalls();
  form.BitBtn1Click();
  EXPECT_EQ(fake.now, 3000 + 1000 + 2000);
  EXPECT_EQ(WaitLengths(), std::vector<int>{2000});
}

TEST_F(RunTest, StopKeyEndsTheRunAndStartKeyIsIgnoredMeanwhile) {
  form.LoopSpinEdit.SetValue(0);
  SetList({"Wait=700"});
  form.HookHotKey2.RegisterKey(1, form.HotKey2);  // held for the window's life
  fake.At(1500, [&] { EXPECT_TRUE(fake.PressHotKey(win::MOD_CONTROL | win::MOD_ALT, 'S')); });
  fake.At(2900, [&] { EXPECT_TRUE(fake.PressHotKey(win::MOD_CONTROL | win::MOD_ALT, 'X')); });
  form.BitBtn1Click();
  EXPECT_EQ(fake.now, 2900);
  EXPECT_EQ(WaitLengths(), (std::vector<int>{700, 700, 700}));
  ExpectIdle();
  ASSERT_EQ(fake.hotkeys.size(), 1u) << "only the start key stays";
  EXPECT_EQ(fake.hotkeys[0].vk, 'S');
}

TEST_F(RunTest, CloseDuringARunHappensOnceTheRunHasUnwound) {
  for (const std::int64_t close_at : {300, 2500}) {  // in the pre-wait, in a wait line
    TApplication app2;
    FakePlatform fake2;
    TMainForm form2(fake2.platform(), app2);
    form2.LoopSpinEdit.SetValue(0);
    form2.batch.SetLines({"Wait=5000"});
    bool closed_under_run = true;
    fake2.At(close_at, [&] {
      form2.Close();
      closed_under_run = form2.Closed();
    });
    form2.BitBtn1Click();
    EXPECT_FALSE(closed_under_run);
    EXPECT_TRUE(form2.Closed());
    EXPECT_EQ(fake2.now, close_at);
    EXPECT_TRUE(fake2.quit_requested);
    EXPECT_EQ(fake2.ActiveTimers(), 0u);
  }
}

// ---- passes, display and stop ---------------------------------------------------

TEST_F(RunTest, ThreePassesThenIdle) {
  form.LoopSpinEdit.SetValue(3);
  form.settings.EndComboIndex = 23;
  form.DelButton.SetEnabled(true);
  SetList({"Wait=100", "Wait=200"});
  form.LoopCountLabel.SetCaption("7");  // left from an earlier run
  auto& passes = Watch(form.LoopCountLabel);
  fake.At(1050, [&] {
    EXPECT_EQ(form.StatusLabel.Caption(), "実行中 (SendInput) - Ctrl+Alt+Xで中断できます");
    EXPECT_EQ(app.Title(), "ZEPX - 実行中");
    EXPECT_EQ(form.TrayIcon.tip, "ZEPX - 実行中");
    EXPECT_FALSE(form.AddButton.Enabled());
    EXPECT_FALSE(form.DelButton.Enabled());
    EXPECT_FALSE(form.mSet.Enabled());
    ASSERT_EQ(fake.hotkeys.size(), 1u);
    EXPECT_EQ(fake.hotkeys[0].vk, 'X');
    EXPECT_EQ(fake.hotkeys[0].modifiers, win::MOD_ALT | win::MOD_CONTROL);
  });
  form.BitBtn1Click();
  EXPECT_EQ(passes, (std::vector<std::string>{"0@1000", "1@1300", "2@1600", "3@1900"}));
  EXPECT_EQ(fake.now, 1900);
  EXPECT_EQ(WaitLengths(), (std::vector<int>{100, 200, 100, 200, 100, 200}));
  ExpectIdle();
  EXPECT_TRUE(fake.hotkeys.empty()) << "the stop key is held only during a run";
  EXPECT_TRUE(form.DelButton.Enabled()) << "the last line is still selected";
}

TEST_F(RunTest, StatusNamesTheSendMethodAndStopLetter) {
  const std::pair<int, const char*> cases[] = {
      {kSendEvent, "実行中 (_event) - Ctrl+Alt+Qで中断できます"},
      {kSendInput, "実行中 (SendInput) - Ctrl+Alt+Qで中断できます"},
      {kSendWinMessage, "実行中 (WinMessage) - Ctrl+Alt+Qで中断できます"}};
  form.SetStopLetter(16);  // Q
  for (const auto& c : cases) {
    SetMethod(c.first);  // may ask to clear the list: fill it afterwards
    SetList({"Wait=100"});
    std::string seen;
    fake.At(fake.now + 1050, [&] { seen = form.StatusLabel.Caption(); });
    form.BitBtn1Click();
    EXPECT_EQ(seen, c.second);
  }
}

TEST_F(RunTest, EndlessPassesUntilStopEndsTheWaitAtOnce) {
  form.LoopSpinEdit.SetValue(0);
  SetList({"Wait=500"});
  std::string status_at_stop;
  fake.At(3200, [&] {
    form.BitBtn3Click();
    status_at_stop = form.StatusLabel.Caption();
  });
  form.BitBtn1Click();
  EXPECT_EQ(fake.now, 3200) << "the wait in progress ended with the stop";
  EXPECT_EQ(status_at_stop, "待機中");
  EXPECT_EQ(form.LoopCountLabel.Caption(), "4");
  EXPECT_EQ(WaitLengths().size(), 5u) << "no line after the stop";
  ExpectIdle();
}

TEST_F(RunTest, WaitLineCountsWholeSecondsThenShowsZero) {
  SetList({"Wait=2500"});
  form.TimerCountLabel.SetCaption("");
  auto& seconds = Watch(form.TimerCountLabel);
  form.BitBtn1Click();
  EXPECT_EQ(seconds, (std::vector<std::string>{"0@1000", "1@2000", "2@3000", "0@3500"}));
  EXPECT_EQ(fake.now, 3500);
  ExpectIdle();
}

TEST_F(RunTest, ZeroAndNegativeWaitsReturnAtOnce) {
  // "Pause" shows that the first five bytes are skipped unread.
  SetList({"Wait=0", "Wait=-5", "Pause300"});
  form.BitBtn1Click();
  EXPECT_EQ(fake.now, 1300);
  EXPECT_EQ(WaitLengths(), std::vector<int>{300}) << "no timer for a wait that is not positive";
  ExpectIdle();
}

TEST_F(RunTest, LongWaitCostsNoProcessorTime) {
  SetList({"Wait=600000"});
  const int before = fake.Dispatched();
  form.BitBtn1Click();
  EXPECT_EQ(fake.now, 601000);
  // One wait tick plus 600 second ticks of Timer1, and a handful of
  // pending-message sweeps: a polling wait would need many thousands.
  EXPECT_LT(fake.Dispatched() - before, 700);
  ExpectIdle();
}

TEST_F(RunTest, QuittingEndsAnEndlessRun) {
  form.LoopSpinEdit.SetValue(0);
  SetList({"Wait=5000"});
  fake.At(1500, [&] { fake.Quit(); });
  form.BitBtn1Click();
  EXPECT_EQ(fake.now, 1500);
  ExpectIdle();
}

// ---- the conversion error -------------------------------------------------------

TEST_F(RunTest, BadNumbersShowTheMessageAndReturnToIdle) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"Wait=100", "Wait=abc"}, "'abc' は整数ではありません"},
      // An event line with a trailing blank is no event line: it is a wait.
      {{"【ZEP Event 1】 "}, "' Event 1】 ' は整数ではありません"},
      {{"W"}, "'' は整数ではありません"},
  };
  for (const auto& c : cases) {
    fake.boxes.clear();
    SetList(c.first);
    form.BitBtn1Click();
    ASSERT_EQ(fake.boxes.size(), 1u) << c.second;
    EXPECT_EQ(fake.boxes[0].text, c.second);
    EXPECT_EQ(fake.boxes[0].kind, MsgKind::Info);
    ExpectIdle();
    EXPECT_EQ(form.TimerCountLabel.Caption(), "0");
    EXPECT_TRUE(fake.hotkeys.empty());
  }
}

// A line is read by substrings anywhere: "[" makes this text a key line
// although it names a click, and its "+S" holds Shift for the whole text.
TEST_F(RunTest, ATextNamingAClickIsTypedWithShiftHeld) {
  SetMethod(kSendEvent);
  form.KeyAfterDelay.SetValue(0);
  form.ShiftAltCtrlDelay.SetValue(0);
  SetList({"[Text]~~L_Click:5x5+S"});
  form.BitBtn1Click();
  EXPECT_TRUE(fake.Texts({"mouse_event", "SetCursorPos"}).empty());
  const auto keys = fake.Texts({"keybd_event("});
  ASSERT_EQ(keys.size(), 2u + 2u * 13u);
  EXPECT_EQ(keys.front(), "keybd_event(16,42,0,0)");
  EXPECT_EQ(keys.back(), "keybd_event(16,42,2,0)");
  ExpectIdle();
}

TEST_F(RunTest, BadHandleInATargetAbandonsTheRunBeforeAnyLine) {
  SetMethod(kSendWinMessage);
  SetList({"Wait=100", "[A]|>Notepad <12x>"});
  form.BitBtn1Click();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text, "'12x' は整数ではありません");
  EXPECT_EQ(fake.boxes[0].t, 1000);
  EXPECT_TRUE(WaitLengths().empty());
  ExpectIdle();
}

// ---- chains -------------------------------------------------------------------------

class ChainTest : public RunTest {
 protected:
  ChainTest() {
    form.NextLoopCheck.SetChecked(true);
    SetList({"Wait=100"});
  }
};

TEST_F(ChainTest, CurrentListThenLoop1ThenLoop2ThenStop) {
  fake.files["C:\\m\\one.mcr"] = Mcr({"Wait=200", "Loop:2"});
  fake.files["C:\\m\\two.mcr"] = Mcr({"Wait=300", "Loop:1"});
  form.settings.Loop = {"C:\\m\\one.mcr", "C:\\m\\two.mcr", "", "C:\\m\\one.mcr", ""};
  form.BitBtn1Click();
  EXPECT_EQ(WaitLengths(), (std::vector<int>{100, 200, 200, 300}));
  EXPECT_EQ(fake.now, 1800);
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(form.SendList.Items(), std::vector<std::string>{"Wait=300"});
  ExpectIdle();
}

TEST_F(ChainTest, WholeChainRepeatsLoopCountAllTimes) {
  form.settings.LoopOfLoopChecked = true;
  form.LoopSpinEditAll.SetValue(2);
  fake.files["one"] = Mcr({"Wait=200", "Loop:1"});
  fake.files["two"] = Mcr({"Wait=300", "Loop:1"});
  form.settings.Loop = {"one", "two", "", "", ""};
  form.LoopCountAllLabel.SetCaption("9");
  auto& repeats = Watch(form.LoopCountAllLabel);
  form.BitBtn1Click();
  // The list open before the run is not part of the repetition.
  EXPECT_EQ(WaitLengths(), (std::vector<int>{100, 200, 300, 200, 300}));
  EXPECT_EQ(repeats, (std::vector<std::string>{"0@1000", "1@1600", "2@2100"}));
  ExpectIdle();
}

TEST_F(ChainTest, RepetitionWithoutAFirstFileStops) {
  form.settings.LoopOfLoopChecked = true;
  form.settings.Loop = {"", "", "", "", ""};
  form.BitBtn1Click();
  EXPECT_EQ(WaitLengths(), std::vector<int>{100});
  EXPECT_TRUE(fake.boxes.empty()) << "no file-not-found message for an empty path";
  ExpectIdle();
}

TEST_F(ChainTest, MissingFileRunsTheCurrentListAgainAndMovesOn) {
  fake.files["two"] = Mcr({"Wait=300", "Loop:1"});
  form.settings.Loop = {"C:\\m\\missing.mcr", "two", "", "", ""};
  form.BitBtn1Click();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text, "ファイルが見つかりません.\r\nC:\\m\\missing.mcr");
  EXPECT_EQ(WaitLengths(), (std::vector<int>{100, 100, 300}));
  ExpectIdle();
}

TEST_F(ChainTest, FileThatLoadsNoLinesEndsTheRun) {
  const std::pair<std::string, std::size_t> cases[] = {
      {Mcr({"Wait=200", "Loops:5"}), 1u},  // the loader's error path empties the list
      {Mcr({"Loop:1"}), 0u},               // a valid file with no commands
  };
  for (const auto& c : cases) {
    fake.boxes.clear();
    fake.ClearCalls();
    SetList({"Wait=100"});
    fake.files["bad"] = c.first;
    form.settings.Loop = {"bad", "bad", "", "", ""};
    form.BitBtn1Click();
    EXPECT_EQ(WaitLengths(), std::vector<int>{100});
    EXPECT_EQ(fake.boxes.size(), c.second);
    EXPECT_EQ(form.SendList.Count(), 0);
    ExpectIdle();
  }
}

TEST_F(ChainTest, ChainedListGetsItsOwnTargets) {
  SetMethod(kSendWinMessage);
  form.KeyAfterDelay.SetValue(0);
  const Hwnd notepad = fake.AddWindow("Notepad", "NotepadClass");
  fake.files["one"] = Mcr({"Wait=200", "Wait=200", "[A]|>Notepad <99999>", "Loop:1", "SendAPI:2"});
  form.settings.Loop = {"one", "", "", "", ""};
  form.BitBtn1Click();
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{0, 0, notepad}));
  ExpectIdle();
}

// ---- targets -------------------------------------------------------------------

class TargetTest : public RunTest {
 protected:
  TargetTest() {
    SetMethod(kSendWinMessage);
    notepad = fake.AddWindow("Notepad", "NotepadClass");
    parent = fake.AddWindow("Main", "MainClass");
    child = fake.AddWindow("", "EditChild", {0, 0, 10, 10}, parent);
    game = fake.AddWindow("Ultima Online - Bob", "UOClass");
  }
  std::vector<std::string> Lines() const {
    return {"Wait=100",
            "[A]|>Notepad <" + std::to_string(notepad) + ">",
            "[A]|>Notepad <99999>",
            "[A]|>Main@@EditChild <99999>",
            "[A]|>Ultima Online <99999>",
            "[A]|>Notepad",
            "[A]+Ctrl",
            "[A]|>Gone@@EditChild <99999>"};
  }
  Hwnd notepad = 0, parent = 0, child = 0, game = 0;
};

TEST_F(TargetTest, StaleHandlesAreLookedUpAgainWithAutoHandle) {
  SetList(Lines());
  form.GetAppButtonClick();
  form.engine.ResolveTargets();
  EXPECT_EQ(form.batch.Targets(),
            (std::vector<Hwnd>{0, notepad, notepad, child, game, notepad, 0, 0}));
  // Without its parent the child is not searched for among the top-level
  // windows, where an unrelated window of that class could answer.
  for (const std::string& t : fake.Texts({"FindWindowExA"}))
    EXPECT_EQ(t.find("FindWindowExA(0,"), std::string::npos) << t;
}

TEST_F(TargetTest, WrittenNumbersStayWithoutAutoHandle) {
  form.AutoHandleCheckBox.SetChecked(false);
  SetList(Lines());
  form.GetAppButtonClick();
  form.engine.ResolveTargets();
  EXPECT_EQ(form.batch.Targets(),
            (std::vector<Hwnd>{0, notepad, 99999, 99999, 99999, notepad, 0, 99999}));
}

TEST_F(TargetTest, UnresolvedTargetsAskBeforeTheRunAndNoEndsIt) {
  SetList({"Wait=100", "[A]|>Ghost <99999>", "[B]|>Ghost2", "[C]|>Notepad"});
  fake.answers = {MsgResult::No};
  form.BitBtn1Click();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::YesNo);
  EXPECT_EQ(fake.boxes[0].text,
            "以下のプログラムがバッチに含まれていますが実行されていない可能性があります\r\n\r\n"
            "Ghost <99999>\r\nGhost2\r\n\r\nコマンド送信は行われませんが実行しますか？");
  EXPECT_TRUE(WaitLengths().empty());
  EXPECT_EQ(fake.now, 1000);
  ExpectIdle();
  EXPECT_TRUE(fake.hotkeys.empty());
}

TEST_F(TargetTest, YesRunsWithTheUnresolvedTargetsAtZero) {
  form.KeyAfterDelay.SetValue(0);
  SetList({"Wait=100", "[A]|>Ghost <99999>"});
  fake.answers = {MsgResult::Yes};
  form.BitBtn1Click();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{0, 0}));
  EXPECT_EQ(WaitLengths().front(), 100);
  ExpectIdle();
}

TEST_F(TargetTest, StopWhileTheQuestionIsOpenEndsTheRun) {
  SetList({"Wait=100", "[A]|>Ghost <99999>"});
  fake.on_box = [&](const FakePlatform::Box&) -> std::optional<MsgResult> {
    form.BitBtn3Click();
    return MsgResult::Yes;
  };
  form.BitBtn1Click();
  EXPECT_TRUE(WaitLengths().empty());
  ExpectIdle();
}

// ---- the wait primitive ---------------------------------------------------------

TEST_F(RunTest, NestedWaitsKeepTheirOwnEnds) {
  std::vector<std::string> ends;
  auto inner = [&](int ms) {
    return [&, ms] {
      form.WaitMs(ms);
      ends.push_back("inner@" + std::to_string(fake.now));
    };
  };
  // A short wait inside a long one: the long one still ends on time.
  fake.At(500, inner(300));
  form.WaitMs(2000);
  ends.push_back("outer@" + std::to_string(fake.now));
  // A long wait inside a short one: the short one ends with it.
  fake.At(fake.now + 500, inner(3000));
  form.WaitMs(1000);
  ends.push_back("outer@" + std::to_string(fake.now));
  EXPECT_EQ(ends, (std::vector<std::string>{"inner@800", "outer@2000", "inner@5500",
                                            "outer@5500"}));
  EXPECT_EQ(fake.ActiveTimers(), 0u);
}

TEST_F(RunTest, StopEndsEveryWaitInProgress) {
  std::int64_t inner_end = 0;
  fake.At(500, [&] {
    form.WaitMs(5000);
    inner_end = fake.now;
  });
  fake.At(700, [&] { form.StopMacro(); });
  form.WaitMs(10000);
  EXPECT_EQ(inner_end, 700);
  EXPECT_EQ(fake.now, 700);
  EXPECT_EQ(fake.ActiveTimers(), 0u);
  // A later wait is a full wait again.
  form.WaitMs(400);
  EXPECT_EQ(fake.now, 1100);
}

}  // namespace
}  // namespace zepx
