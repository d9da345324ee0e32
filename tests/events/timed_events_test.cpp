// The two timed events on the main window in virtual time: arming from the
// check boxes and time fields (by hand and by the settings load), the alarm
// in its minute, and the actions inside and around a run, reached by the
// clock or by an event line of the list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/run_support.h"
#include "shell/cut_line_form.h"
#include "shell/life_support.h"

namespace zepx {
namespace {

using Texts = std::vector<std::string>;

SystemTime Sunday(int h, int m, int s) {
  return SystemTime{2026, 12, 0, 6, static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(m),
                    static_cast<std::uint16_t>(s), 0};
}

class Events : public LifeFixture, public ::testing::Test {
 protected:
  Events() {
    cut.Bind(cut_native.get());
    form.CutLineForm = &cut;
    // The countdown dialog's modal loop.
    fake.on_modal = [this](const std::string& cls) {
      if (cls == "TCutLineForm")
        while (cut.Visible()) fake.ProcessOneMessage();
    };
  }
  // Started at 07:29:50 with the given action slots; the list runs once.
  void StartWith(std::array<std::int32_t, 5> event1, std::array<std::int32_t, 5> event2 = {}) {
    fake.SetLocalTime(Sunday(7, 29, 50));
    Start();
    form.settings.ECom1Index = event1;
    form.settings.ECom2Index = event2;
    form.LoopSpinEdit.SetValue(1);
    t0 = fake.now;
  }
  // Event 1 (or 2) armed for 07:30 as the user does it.
  void ArmAt0730(int event = 1) {
    TWinSpinEdit& hour = event == 1 ? form.SpinEdit3 : form.SpinEdit2;
    TWinSpinEdit& minute = event == 1 ? form.SpinEdit4 : form.SpinEdit5;
    (event == 1 ? form.CheckBox1 : form.CheckBox2).SetChecked(true);
    hour.SetValue(7);
    minute.SetValue(30);
  }
  // The event actions' calls and the run's waits, at times since the start.
  Texts Seen(std::initializer_list<const char*> prefixes) const {
    Texts out;
    for (const auto& c : fake.calls)
      for (const char* p : prefixes)
        if (c.text.rfind(p, 0) == 0) {
          out.push_back(std::to_string(c.t - t0) + ":" + c.text);
          break;
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
  std::vector<TControl*> event1 = {&form.SpinEdit3, &form.Label5, &form.SpinEdit4, &form.Label6};
  std::vector<TControl*> event2 = {&form.SpinEdit2, &form.Label7, &form.SpinEdit5, &form.Label14};
  for (TControl* c : event1) EXPECT_FALSE(c->Enabled()) << c->Name;
  for (TControl* c : event2) EXPECT_FALSE(c->Enabled()) << c->Name;
  EXPECT_TRUE(form.ClockLabel1.Visible());
  EXPECT_FALSE(form.ClockLabel2.Visible());
  EXPECT_EQ(form.ClockLabel1.Caption(), "12時 34分 56秒");

  form.SpinEdit3.SetValue(7);  // off: nothing armed
  EXPECT_TRUE(form.ClockLabel1.EventList.empty());
  form.CheckBox1.SetChecked(true);
  for (TControl* c : event1) EXPECT_TRUE(c->Enabled()) << c->Name;
  EXPECT_EQ(form.ClockLabel1.EventList, Texts{"07:00"});
  form.SpinEdit4.SetValue(5);
  EXPECT_EQ(form.ClockLabel1.EventList, Texts{"07:05"});
  form.SpinEdit3.SetValue(23);
  EXPECT_EQ(form.ClockLabel1.EventList, Texts{"23:05"});
  // A field emptied while typing reads as its minimum: still one entry.
  form.SpinEdit4.FromNativeText("");
  EXPECT_EQ(form.ClockLabel1.EventList, Texts{"23:00"});

  // Event 2 is armed on its own clock; midnight by the check box alone.
  form.CheckBox2.SetChecked(true);
  EXPECT_EQ(form.ClockLabel2.EventList, Texts{"00:00"});
  for (TControl* c : event2) EXPECT_TRUE(c->Enabled()) << c->Name;

  form.CheckBox1.SetChecked(false);
  for (TControl* c : event1) EXPECT_FALSE(c->Enabled()) << c->Name;
  EXPECT_TRUE(form.ClockLabel1.EventList.empty());
  form.SpinEdit4.SetValue(45);
  EXPECT_TRUE(form.ClockLabel1.EventList.empty());
  EXPECT_EQ(form.ClockLabel2.EventList, Texts{"00:00"});
}

TEST_F(Events, StoredEventsAreArmedByTheLoadAndFireOnceInTheirMinute) {
  WriteSettingsKey(fake, [](TMainForm& f) {
    f.SpinEdit3.SetValue(7);  // event 1 off with a time of its own
    f.SpinEdit4.SetValue(30);
    f.CheckBox2.SetChecked(true);
    f.SpinEdit2.SetValue(7);
    f.SpinEdit5.SetValue(30);
    f.settings.ECom1Index = {12, 0, 0, 0, 0};
    f.settings.ECom2Index = {11, 0, 0, 0, 0};
  });
  fake.SetLocalTime(Sunday(7, 29, 50));
  Start();
  t0 = fake.now;
  EXPECT_FALSE(form.SpinEdit3.Enabled());
  EXPECT_TRUE(form.SpinEdit2.Enabled());
  EXPECT_EQ(form.ClockLabel2.EventList, Texts{"07:30"});
  fake.RunUntil(t0 + 3 * 60000);
  // Only event 2, once, in the first second of 07:30.
  EXPECT_EQ(Seen({"Sleep"}), Texts{"10000:Sleep(3000)"});
}

TEST_F(Events, AnEventDuringARunsWaitRunsItsSlotsAndTheRunGoesOn) {
  StartWith({10, 0, 0, 0, 0});
  ArmAt0730();
  RunList({"Wait=30000", "Wait=2000"});
  // The alarm comes nine seconds into the first wait; its blocking second
  // does not end the wait, and the second wait follows.
  EXPECT_EQ(Seen({"Sleep"}), Texts{"10000:Sleep(1000)"});
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{30000, 2000}));
  EXPECT_FALSE(form.Running());
  EXPECT_EQ(fake.now - t0, 1000 + 1000 + 30000 + 2000);
}

TEST_F(Events, AnEventDuringARunsWaitCanStopIt) {
  StartWith({0, 0, 0, 0, 0}, {10, 7, 0, 0, 0});
  ArmAt0730(2);
  RunList({"Wait=30000", "Wait=2000"});
  EXPECT_EQ(WaitLengths(fake), std::vector<int>{30000});
  EXPECT_EQ(fake.now - t0, 11000);  // a second after the alarm
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
  // The run's own request is ignored inside the run; the run goes on after
  // the last slot.
  EXPECT_EQ(Seen({"Sleep"}), (Texts{"2100:Sleep(1000)", "3100:Sleep(3000)"}));
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{100, 200}));
  EXPECT_EQ(fake.now - t0, 6300);

  fake.ClearCalls();
  t0 = fake.now;
  RunList({"Wait=100", "【ZEP Event 2】", "Wait=200"});
  EXPECT_EQ(WaitLengths(fake), std::vector<int>{100}) << "stopped by the event line";
  EXPECT_FALSE(form.Running());
}

TEST_F(Events, AShutdownClosesTheWindowAfterTheRemainingSlots) {
  StartWith({0, 5, 10, 0, 0});
  ArmAt0730();
  fake.RunUntil(t0 + 60000);
  EXPECT_TRUE(form.Closed());
  // Shutdown asked for, the wait of the next slot, then the close with its
  // save.
  EXPECT_EQ(Seen({"ExitWindowsEx", "Sleep", "RegCreateKeyExA"}),
            (Texts{"10000:ExitWindowsEx(5,0)", "10000:Sleep(1000)", "11000:RegCreateKeyExA(Software\\VELMOR\\ZEPX)"}));
  EXPECT_EQ(fake.ActiveTimers(), 0u) << "the clocks stop with the window";
}

TEST_F(Events, AShutdownFromAnEventLineClosesOnceTheRunHasUnwound) {
  StartWith({5, 10, 0, 0, 0});
  bool closed_in_run = false;
  fake.At(t0 + 1500, [&] { closed_in_run = form.Closed(); });
  RunList({"Wait=100", "【ZEP Event 1】", "Wait=200"});
  EXPECT_FALSE(closed_in_run);
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(WaitLengths(fake), std::vector<int>{100}) << "the close stopped the run";
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
  EXPECT_TRUE(fake.dialup_connections.empty());
  EXPECT_FALSE(form.Running());
  EXPECT_EQ(fake.now - t0, 20000);
  EXPECT_FALSE(cut.Visible());
}

}  // namespace
}  // namespace zepx
