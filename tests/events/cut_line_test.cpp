// The dial-up countdown dialog in virtual time, its native window the
// substitute's: nine ticks to the hang-up, the disconnect button at once,
// cancel and the close box calling it off; and the enumeration behind it
// over the substitute's dial-up connections, never the real ones.
#include <gtest/gtest.h>

#include "run/run_support.h"
#include "events/dialup.h"
#include "platform/fake/fake_platform.h"
#include "shell/cut_line_form.h"
#include "shell/program.h"
#include "ui/fake/fake_native_form.h"

namespace zepx {
namespace {

class Countdown : public ::testing::Test {
 protected:
  Countdown() {
    form.Bind(native.get());
    fake.dialup_connections = {0x101, 0x102};
    fake.on_modal = [this](const std::string&) {
      while (form.Visible()) fake.ProcessOneMessage();
    };
    form.TimeCountLabel.OnChange = [this] {
      counts.push_back(form.TimeCountLabel.Caption() + "@" + std::to_string(fake.now));
    };
  }
  // Shows the dialog, with `user` acting `after` ms later, until it closes.
  void Show(std::int64_t after = -1, std::function<void()> user = {}) {
    if (user) fake.At(fake.now + after, user);
    form.Execute();
    EXPECT_FALSE(form.Visible() || form.CutTimer1.Enabled());
    EXPECT_EQ(fake.ActiveTimers(), 0u) << "nothing hangs up later behind the hidden dialog";
  }

  FakePlatform fake;
  std::unique_ptr<INativeForm> native = MakeNativeForm(fake, "TCutLineForm");
  Texts stops;
  TCutLineForm form{fake.platform(), [this] { stops.push_back("stop@" + std::to_string(fake.now)); }};
  Texts counts;
};

TEST_F(Countdown, NineTicksThenTheRunStopsAndEveryConnectionIsHungUp) {
  EXPECT_EQ(form.Caption(), "切断 - ZEP");
  EXPECT_EQ(form.Label1.Caption() + form.TimeCountLabel.Caption() + form.Label2.Caption(),
            "あと9秒でダイヤルアップネットワークは自動切断されます.");
  EXPECT_TRUE(form.BitBtn1.Default) << "Enter is the disconnect button";
  Show();
  EXPECT_EQ(counts, (Texts{"8@1000", "7@2000", "6@3000", "5@4000", "4@5000", "3@6000", "2@7000", "1@8000",
                           "0@9000"}));
  EXPECT_EQ(stops, Texts{"stop@9000"});
  EXPECT_EQ(fake.Timed({"RasHangUpA"}), (Texts{"9000:RasHangUpA(257)", "9000:RasHangUpA(258)"}));
  EXPECT_EQ(fake.foreground, form.Handle());
  // Shown again it counts from nine again; with nothing connected it still
  // closes and stops the run.
  counts.clear();
  Show();
  EXPECT_EQ(counts.front() + " " + counts.back(), "9@9000 0@18000");
  EXPECT_EQ(stops.size(), 2u);
  EXPECT_EQ(fake.Texts({"RasHangUpA"}).size(), 2u);
}

TEST_F(Countdown, TheDisconnectButtonHangsUpAtOnceAndCancelOrTheCloseBoxCallItOff) {
  Show(2500, [this] { form.BitBtn1.Click(); });
  EXPECT_EQ(fake.Timed({"RasHangUpA"}), (Texts{"2500:RasHangUpA(257)", "2500:RasHangUpA(258)"}));
  EXPECT_EQ(stops, Texts{"stop@2500"});
  fake.dialup_connections = {0x101};
  Show(3000, [this] { form.BitBtn2.Click(); });
  Show(3000, [this] { form.CloseRequested(); });  // also Escape
  EXPECT_EQ(fake.now, 8500);
  fake.RunUntil(fake.now + 20000);
  EXPECT_EQ(fake.dialup_connections.size(), 1u);
  EXPECT_EQ(stops.size(), 1u) << "the run is not touched";
}

TEST_F(Countdown, TheEnumerationUsesABufferOf32RecordsAndHangsUpWhatFits) {
  for (std::uintptr_t h = 1; h <= 40; ++h) fake.dialup_connections.push_back(0x1000 + h);
  DialUp dialup(fake);
  EXPECT_EQ(dialup.CountConnections(), 42u);
  dialup.HangUpAllConnections();
  const Texts hung = fake.Texts({"RasHangUpA"});
  ASSERT_EQ(hung.size(), 32u);
  EXPECT_EQ(hung.back(), "RasHangUpA(" + std::to_string(0x1000 + 30) + ")");
  EXPECT_EQ(fake.dialup_connections.size(), 10u);
  for (const std::string& e : fake.Texts({"RasEnumConnectionsA"}))  // the record size set, the whole buffer
    EXPECT_EQ(e, "RasEnumConnectionsA(" + std::to_string(sizeof(RasConnA)) + "," +
                     std::to_string(32 * sizeof(RasConnA)) + ")");
  FakePlatform bare;  // where Remote Access is missing there is nothing to count
  bare.dialup_library_missing = true;
  bare.dialup_connections = {1, 2};
  DialUp none(bare);
  EXPECT_EQ(none.CountConnections(), 0u);
  none.HangUpAllConnections();
  EXPECT_TRUE(bare.Texts({"RasHangUpA"}).empty());
}

TEST(CountdownProgram, TheDialogIsMadeAtStartUpAndStopsTheMainWindowsRun) {
  FakePlatform fake;
  Program p(fake.platform());
  p.Start();
  ASSERT_EQ(p.MainForm->CutLineForm, p.CutLineForm.get());
  p.MainForm->batch.SetLines({"Wait=60000"});
  p.MainForm->LoopSpinEdit.SetValue(0);
  fake.At(5000, [&] { p.CutLineForm->BitBtn1.Click(); });
  p.MainForm->BitBtn1Click();
  EXPECT_EQ(fake.now, 5000);
  EXPECT_FALSE(p.MainForm->Running());
}

}  // namespace
}  // namespace zepx
