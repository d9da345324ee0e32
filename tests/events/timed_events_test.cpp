// The two timed events on the main window in virtual time: arming from the
// check boxes and time fields (by hand and by the settings load), the alarm
// in its minute, and the actions inside and around a run, reached by the
// clock or by an event line of the list.
#include <gtest/gtest.h>

#include "shell/cut_line_form.h"
#include "run/run_support.h"
#include "shell/life_support.h"

namespace zepx {
namespace {

class Events : public LifeFixture, public ::testing::Test {
 protected:
  Events() {
    cut.Bind(cut_native.get());
    form.CutLineForm = &cut;
    fake.on_modal = [this](const std::string& cls) {  // the countdown dialog's modal loop
      if (cls == "TCutLineForm")
        while (cut.Visible()) fake.ProcessOneMessage();
    };
  }
  // Started at 07:29:50 with the given action slots; the list runs once.
  void StartWith(std::array<std::int32_t, 5> event1, std::array<std::int32_t, 5> event2 = {}) {
    fake.SetLocalTime(SystemTime{2026, 12, 0, 6, 7, 29, 50, 0});
    Start();
    form.settings.ECom1Index = event1;
    form.settings.ECom2Index = event2;
    form.LoopSpinEdit.SetValue(1);
    t0 = fake.now;
  }
  // Event 1 (or 2) armed for 07:30 as the user does it.
  void ArmAt0730(int event = 1) {
    (event == 1 ? form.CheckBox1 : form.CheckBox2).SetChecked(true);
    (event == 1 ? form.SpinEdit3 : form.SpinEdit2).SetValue(7);
    (event == 1 ? form.SpinEdit4 : form.SpinEdit5).SetValue(30);
  }
  // The calls with these prefixes, at times since the start.
  Texts Seen(std::initializer_list<const char*> prefixes) const {
    Texts out;
    for (const std::string& t : fake.Timed(prefixes)) {
      const std::size_t colon = t.find(':');
      out.push_back(std::to_string(std::stoll(t.substr(0, colon)) - t0) + t.substr(colon));
    }
    return out;
  }
  // Runs the list from the Run button at 07:29:51.
  void RunList(const Texts& lines) {
    form.batch.SetLines(lines);
    fake.RunUntil(t0 + 1000);
    form.BitBtn1Click();
  }

  std::unique_ptr<INativeForm> cut_native = MakeNativeForm(fake, "TCutLineForm");
  TCutLineForm cut{fake.platform(), [this] { form.StopMacro(); }};
  std::int64_t t0 = 0;
};

TEST_F(Events, TheTimeFieldsFollowTheirCheckBoxAndTheAlarmListHoldsOneEntry) {
  EXPECT_TRUE(form.ClockLabel1.Visible());
  EXPECT_FALSE(form.ClockLabel2.Visible());
  EXPECT_EQ(form.ClockLabel1.Caption(), "12時 34分 56秒");
  // After each step: which of event 1's and event 2's time fields and labels
  // are enabled, then the two alarm lists.
  const std::pair<std::function<void()>, const char*> steps[] = {
      {[&] { form.SpinEdit3.SetValue(7); }, "00000000 |"},  // off: nothing armed
      {[&] { form.CheckBox1.SetChecked(true); }, "11110000 07:00 |"},
      {[&] { form.SpinEdit4.SetValue(5); }, "11110000 07:05 |"},
      {[&] { form.SpinEdit3.SetValue(10); }, "11110000 10:05 |"},
      {[&] { form.SpinEdit4.FromNativeText(""); }, "11110000 10:00 |"},      // emptied while typing: its minimum
      {[&] { form.CheckBox2.SetChecked(true); }, "11111111 10:00 | 00:00"},  // midnight by the check box alone
      {[&] { form.CheckBox1.SetChecked(false); }, "00001111 | 00:00"},
      {[&] { form.SpinEdit4.SetValue(45); }, "00001111 | 00:00"}};
  for (const auto& [step, want] : steps) {
    step();
    std::string got;
    for (TControl* c : std::initializer_list<TControl*>{&form.SpinEdit3, &form.Label5, &form.SpinEdit4, &form.Label6,
                                                        &form.SpinEdit2, &form.Label7, &form.SpinEdit5, &form.Label14})
      got += c->Enabled() ? '1' : '0';
    for (const std::string& e : form.ClockLabel1.EventList) got += " " + e;
    got += " |";
    for (const std::string& e : form.ClockLabel2.EventList) got += " " + e;
    EXPECT_EQ(got, want);
  }
}

TEST_F(Events, StoredEventsAreArmedByTheLoadAndFireOnceInTheirMinute) {
  WriteSettingsKey(fake, [](TMainForm& f) {
    f.SpinEdit3.SetValue(7);  // event 1 off with a time of its own
    f.SpinEdit4.SetValue(30);
    f.CheckBox2.SetChecked(true);
    f.SpinEdit2.SetValue(7);
    f.SpinEdit5.SetValue(30);
  });
  StartWith({12, 0, 0, 0, 0}, {11, 0, 0, 0, 0});
  EXPECT_FALSE(form.SpinEdit3.Enabled());
  EXPECT_TRUE(form.SpinEdit2.Enabled());
  EXPECT_EQ(form.ClockLabel2.EventList, Texts{"07:30"});
  fake.RunUntil(t0 + 3 * 60000);
  EXPECT_EQ(Seen({"Sleep"}), Texts{"10000:Sleep(3000)"}) << "only event 2, once, in the first second of 07:30";
}

TEST_F(Events, AnEventDuringARunsWaitRunsItsSlotsAndTheRunGoesOnOrStops) {
  StartWith({10, 0, 0, 0, 0}, {10, 7, 0, 0, 0});
  ArmAt0730();
  RunList({"Wait=30000", "Wait=2000"});
  // Nine seconds into the first wait; its blocking second does not end the wait.
  EXPECT_EQ(Seen({"Sleep"}), Texts{"10000:Sleep(1000)"});
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{30000, 2000}));
  EXPECT_FALSE(form.Running());
  EXPECT_EQ(fake.now - t0, 1000 + 1000 + 30000 + 2000);

  form.CheckBox1.SetChecked(false);
  fake.ClearCalls();
  ArmAt0730(2);  // the next day, event 2 stops the run a second after its alarm
  t0 = fake.now + 24 * 3600000 - 34000;
  fake.RunUntil(t0);
  RunList({"Wait=30000", "Wait=2000"});
  EXPECT_EQ(WaitLengths(fake), std::vector<int>{30000});
  EXPECT_EQ(fake.now - t0, 11000);
  EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
}

TEST_F(Events, AnEventStartsTheMacroFromIdle) {
  StartWith({6, 0, 0, 0, 0});
  ArmAt0730();
  form.batch.SetLines({"Wait=700"});
  form.LoopSpinEdit.SetValue(2);
  Texts status;
  form.StatusLabel.OnChange = [&] { status.push_back(form.StatusLabel.Caption() + "@" + std::to_string(fake.now - t0)); };
  fake.RunUntil(t0 + 60000);
  EXPECT_EQ(status, (Texts{"実行中 (SendInput) - Ctrl+Alt+Xで中断できます@11000", "待機中@12400"}));
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{700, 700}));
}

TEST_F(Events, EventLinesRunTheirSlotsInsideTheRun) {
  StartWith({10, 11, 6, 0, 0}, {7, 0, 0, 0, 0});
  RunList({"Wait=100", "【ZEP Event 1】", "Wait=200"});
  // The run's own request is ignored inside the run; the run goes on after the last slot.
  EXPECT_EQ(Seen({"Sleep"}), (Texts{"2100:Sleep(1000)", "3100:Sleep(3000)"}));
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{100, 200}));
  EXPECT_EQ(fake.now - t0, 6300);
  fake.ClearCalls();
  t0 = fake.now;
  RunList({"Wait=100", "【ZEP Event 2】", "Wait=200"});
  EXPECT_EQ(WaitLengths(fake), std::vector<int>{100}) << "stopped by the event line";
  EXPECT_FALSE(form.Running());
}

// A shutdown from an event line closes the window only once the run that
// holds the line has unwound, and the settings are saved on the way.
TEST_F(Events, AShutdownFromAnEventLineClosesOnceTheRunHasUnwound) {
  StartWith({5, 10, 0, 0, 0});
  std::optional<bool> closed_in_run;
  fake.At(t0 + 2500, [&] { closed_in_run = form.Closed(); });
  RunList({"Wait=100", "【ZEP Event 1】", "Wait=200"});
  EXPECT_EQ(closed_in_run, false) << "looked at inside the run";
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(Seen({"ExitWindowsEx", "RegCreateKeyExA"}),
            (Texts{"2100:ExitWindowsEx(5,0)", "3100:RegCreateKeyExA(Software\\VELMOR\\ZEPX)"}));
  EXPECT_EQ(fake.ActiveTimers(), 0u) << "the clocks stop with the window";
}

TEST_F(Events, TheCountdownDuringARunStopsItHangsUpAndTheNextSlotFollows) {
  fake.dialup_connections = {0x51, 0x52};
  StartWith({0, 0, 0, 0, 0}, {1, 10, 0, 0, 0});
  ArmAt0730(2);
  form.LoopSpinEdit.SetValue(0);
  RunList({"Wait=60000"});
  EXPECT_EQ(Seen({"RasHangUpA", "Sleep", "SetForegroundWindow"}),
            (Texts{"10000:SetForegroundWindow(" + std::to_string(cut.Handle()) + ")", "19000:RasHangUpA(81)",
                   "19000:RasHangUpA(82)", "19000:Sleep(1000)"}));
  EXPECT_FALSE(form.Running() || cut.Visible());
  EXPECT_EQ(fake.now - t0, 20000);
}

// Each day at 07:29:50 the clock jumps (a machine that slept, a clock set
// by hand) at 2 s, 12 s and 22 s; event 1, armed for 07:30, catches up on
// its minute or not. A late run leaves out the dial-up and power slots.
TEST_F(Events, AMissedMinuteRunsLateOnceWithinAnHour) {
  // Catching up, the times jumped to (hhmm), and whether it runs late.
  const std::tuple<bool, std::vector<int>, bool> rows[] = {{true, {745}, true},  {true, {830}, true},   {true, {831}, false},
                                                            {true, {900, 800}, false}, {false, {745}, false}, {true, {745, 720, 740}, true}};
  StartWith({10, 2, 1, 5, 11});
  ArmAt0730();
  std::uint16_t day = 6;
  Texts status;
  form.StatusLabel.OnChange = [&] { status.push_back(form.StatusLabel.Caption()); };
  const std::string late = "ZEP Event 1: 07:30の分を遅れて実行";
  for (const auto& [catch_up, jumps, runs] : rows) {
    SCOPED_TRACE(jumps.back());
    const auto set = [this, d = ++day](int hhmm, int s) {
      fake.SetLocalTime(SystemTime{2026, 12, 0, d, std::uint16_t(hhmm / 100), std::uint16_t(hhmm % 100), std::uint16_t(s), 0});
    };
    set(729, 50);
    form.settings.DCutLateCheck = catch_up;
    fake.ClearCalls();
    status.clear();
    t0 = fake.now;
    for (std::size_t i = 0; i < jumps.size(); ++i) fake.At(t0 + 2000 + 10000 * std::int64_t(i), [set, to = jumps[i]] { set(to, 0); });
    fake.RunUntil(t0 + 40000);
    EXPECT_EQ(status, runs ? (Texts{late + "中", late + "しました"}) : Texts{});
    EXPECT_EQ(fake.Texts({"Sleep", "SetSystemPowerState", "ExitWindowsEx", "RasEnum"}), runs ? (Texts{"Sleep(1000)", "Sleep(3000)"}) : Texts{});
  }
  form.StatusLabel.OnChange = nullptr;
}

}  // namespace
}  // namespace zepx
