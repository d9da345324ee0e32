// A chain of all five macro files, run from the Run button in virtual time:
// where the chain ends, and how its repetition starts again from the first
// file. The files live in the substitute's file system; each one waits a
// length of its own, so the wait lengths tell which list ran.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "run/run_support.h"
#include "shell/main_form.h"

namespace zepx {
namespace {


class Chain : public ::testing::Test {
 protected:
  Chain() {
    form.LoopSpinEdit.SetValue(1);
    form.NextLoopCheck.SetChecked(true);
    // Loop1..Loop4 run one pass, Loop5 two.
    for (int i = 1; i <= 5; ++i)
      fake.files[Path(i)] = Mcr({"Wait=" + std::to_string(200 + i), i == 5 ? "Loop:2" : "Loop:1"});
  }
  void TearDown() override {
    EXPECT_FALSE(form.Running());
    EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
    EXPECT_EQ(fake.ActiveTimers(), 0u) << "a timer outlived the run";
    EXPECT_TRUE(fake.boxes.empty()) << "no question or message expected";
  }

  static std::string Path(int i) { return "C:\\m\\chain" + std::to_string(i) + ".mcr"; }

  // The one place that decides how a test's list, send method and chain
  // reach the main window.
  void SetUpRun(const std::vector<std::string>& lines, const std::array<std::string, 5>& chain) {
    form.batch.SetLines({});
    form.PostRadioGroup.SetItemIndex(kSendInput);
    form.batch.SetLines(lines);
    form.settings.Loop = chain;
  }

  std::vector<int> WaitLengths() const { return zepx::WaitLengths(fake); }

  // Records every text LoopCountAllLabel shows, with its time, in repeats_.
  void WatchChainRepeats() {
    form.LoopCountAllLabel.OnChange = [this] {
      repeats_.push_back(form.LoopCountAllLabel.Caption() + "@" + std::to_string(fake.now));
    };
  }

  FakePlatform fake;
  TApplication app;
  TMainForm form{fake.platform(), app};
  std::vector<std::string> repeats_;
};

const std::array<std::string, 5> kAllFive = {"C:\\m\\chain1.mcr", "C:\\m\\chain2.mcr",
                                             "C:\\m\\chain3.mcr", "C:\\m\\chain4.mcr",
                                             "C:\\m\\chain5.mcr"};

TEST_F(Chain, AfterThePassesOfTheFifthFileTheRunStopsAndNothingFurtherIsLoaded) {
  form.settings.LoopOfLoopChecked = false;
  SetUpRun({"Wait=100"}, kAllFive);
  form.BitBtn1Click();
  EXPECT_EQ(WaitLengths(), (std::vector<int>{100, 201, 202, 203, 204, 205, 205}));
  EXPECT_EQ(fake.now, 1000 + 100 + 201 + 202 + 203 + 204 + 205 + 205);
  // The fifth file is still the one shown.
  EXPECT_EQ(form.SendList.Items(), std::vector<std::string>{"Wait=205"});
  EXPECT_EQ(form.Caption(), "ZEPX - chain5.mcr");
  EXPECT_EQ(form.LoopCountLabel.Caption(), "2");
}

TEST_F(Chain, RepeatedTwiceTheChainStartsAgainFromTheFirstFileAndStopsAfterItsSecondEnd) {
  form.settings.LoopOfLoopChecked = true;
  form.NextLoopCheckClick();
  form.LoopSpinEditAll.SetValue(2);
  SetUpRun({"Wait=100"}, kAllFive);
  form.LoopCountAllLabel.SetCaption("9");  // left from an earlier run
  WatchChainRepeats();
  form.BitBtn1Click();
  // The list open before the run is not part of the repetition.
  EXPECT_EQ(WaitLengths(), (std::vector<int>{100, 201, 202, 203, 204, 205, 205,
                                             201, 202, 203, 204, 205, 205}));
  const int chain_ms = 201 + 202 + 203 + 204 + 205 + 205;
  EXPECT_EQ(repeats_, (std::vector<std::string>{"0@1000", "1@" + std::to_string(1100 + chain_ms),
                                                "2@" + std::to_string(1100 + 2 * chain_ms)}));
  EXPECT_EQ(fake.now, 1100 + 2 * chain_ms);
  EXPECT_EQ(form.SendList.Items(), std::vector<std::string>{"Wait=205"});
}

}  // namespace
}  // namespace zepx
