// The event actions on their own, against the recording substitute: which
// text a stored index chooses, the power and shutdown calls with what they
// report, the file actions, the blocking waits, and the close after a
// shutdown. Nothing here reaches a real machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "events/event_actions.h"
#include "platform/fake/fake_platform.h"

namespace zepx {
namespace {

using Texts = std::vector<std::string>;

class Actions : public ::testing::Test {
 protected:
  Actions() {
    hooks.run = [this] { log.push_back("run@" + std::to_string(fake.now)); };
    hooks.stop = [this] { log.push_back("stop@" + std::to_string(fake.now)); };
    hooks.countdown = [this] { log.push_back("countdown@" + std::to_string(fake.now)); };
    hooks.close = [this] { log.push_back("close@" + std::to_string(fake.now)); };
  }
  EventActions& Make() {
    actions = std::make_unique<EventActions>(settings, fake.platform(), hooks);
    return *actions;
  }
  // The power, shell and sleep calls the actions made, with their times.
  Texts Calls() const {
    return fake.Timed({"OpenProcessToken", "LookupPrivilege", "AdjustToken", "CloseHandle", "ExitWindowsEx",
                       "SetSystemPowerState", "ShellExecute", "Sleep", "WriteStdOut", "GetCurrentProcess"});
  }
  Texts Only(std::initializer_list<const char*> prefixes) const { return fake.Texts(prefixes); }

  FakePlatform fake;
  Settings settings;
  EventActions::Hooks hooks;
  std::unique_ptr<EventActions> actions;
  Texts log;
};

const char* kEnablePrivilege[] = {"GetCurrentProcess()", "OpenProcessToken(-1,40)",
                                  "LookupPrivilegeValueA(SeShutdownPrivilege)",
                                  "AdjustTokenPrivileges(1952,0,19,2)", "CloseHandle(1952)"};

Texts WithPrivilege(const std::string& call) {
  Texts t(std::begin(kEnablePrivilege), std::end(kEnablePrivilege));
  t.push_back(call);
  return t;
}

TEST_F(Actions, TheSelectorsEntriesAndWhatAnIndexChooses) {
  EXPECT_EQ(EventActionItems(1, 0).size(), 13u);
  for (int event = 1; event <= 2; ++event)
    for (int slot = event == 1 ? 1 : 0; slot < 5; ++slot) EXPECT_EQ(EventActionItems(event, slot).size(), 15u);
  const Texts items = EventActionItems(2, 0);
  EXPECT_EQ(items[0], "");
  EXPECT_EQ(items[1], "ダイヤルアップ切断");
  EXPECT_EQ(items[5], "Windowsシャットダウン");
  EXPECT_EQ(items[12], "１０秒ウエイト");
  EXPECT_EQ(items[13], items[2]);
  EXPECT_EQ(items[14], items[4]);
  EXPECT_EQ(EventActionText(1, 0, 13), "");  // slot 1 of event 1 has no 13
  EXPECT_EQ(EventActionText(1, 1, 13), "Windowsスリープ");
  EXPECT_EQ(EventActionText(2, 4, 15), "");
  EXPECT_EQ(EventActionText(2, 4, -1), "");
}

TEST_F(Actions, RepeatedEntriesActAsTheOnesTheyRepeatAndOthersOutsideASelectorDoNothing) {
  EventActions& a = Make();
  settings.ECom2Index = {13, 14, 15, -1, 0};  // suspend, restart, nothing, nothing, nothing
  a.Execute(2);
  EXPECT_EQ(Only({"ExitWindowsEx", "SetSystemPowerState"}), (Texts{"SetSystemPowerState(1,0)", "ExitWindowsEx(2,0)"}));

  fake.ClearCalls();
  settings.ECom1Index = {13, 99, 0, 0, 0};
  a.Execute(1);
  EXPECT_TRUE(Calls().empty());
  a.Execute(3);  // no such event
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(log.empty());
}

TEST_F(Actions, PowerActionsEnableTheShutdownPrivilegeFirst) {
  EventActions& a = Make();
  const std::pair<int, const char*> modes[] = {
      {2, "ExitWindowsEx(2,0)"}, {4, "SetSystemPowerState(1,0)"}, {5, "SetSystemPowerState(0,0)"}};
  for (const auto& [mode, call] : modes) {
    fake.ClearCalls();
    a.PowerAction(mode);
    EXPECT_EQ(Only({"GetCurrentProcess", "OpenProcessToken", "LookupPrivilege", "AdjustToken", "CloseHandle",
                    "ExitWindowsEx", "SetSystemPowerState"}),
              WithPrivilege(call))
        << mode;
  }
  // Failures are not looked at: the power call is still made, and nothing
  // is written anywhere.
  fake.ClearCalls();
  fake.failing_calls = {"OpenProcessToken", "SetSystemPowerState"};
  a.PowerAction(4);
  EXPECT_EQ(Only({"SetSystemPowerState"}), Texts{"SetSystemPowerState(1,0)"});
  EXPECT_TRUE(fake.stdout_lines.empty());
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Actions, AForcedShutdownNamesTheCallsThatFailedOnStandardOutput) {
  EventActions& a = Make();
  a.ForcedShutdown();
  EXPECT_EQ(Only({"GetCurrentProcess", "OpenProcessToken", "LookupPrivilege", "AdjustToken", "CloseHandle",
                  "ExitWindowsEx"}),
            WithPrivilege("ExitWindowsEx(5,0)"));
  EXPECT_TRUE(fake.stdout_lines.empty());

  struct Case {
    std::set<std::string> failing;
    std::uint32_t adjust_error;
    Texts written;
  };
  const Case cases[] = {
      // No token: the adjustment fails on the empty handle too.
      {{"OpenProcessToken"}, 0, {"OpenProcessToken", "AdjustTokenPrivileges"}},
      // The privilege is not held: the call succeeds, the last error tells.
      {{}, 1300, {"AdjustTokenPrivileges"}},
      {{"ExitWindowsEx"}, 0, {"ExitWindowsEx"}},
  };
  for (const Case& c : cases) {
    FakePlatform f;
    f.failing_calls = c.failing;
    f.adjust_last_error = c.adjust_error;
    EventActions(settings, f.platform(), hooks).ForcedShutdown();
    EXPECT_EQ(f.stdout_lines, c.written);
    EXPECT_EQ(f.Texts({"ExitWindowsEx"}), Texts{"ExitWindowsEx(5,0)"}) << "the shutdown is asked for anyway";
    EXPECT_TRUE(f.boxes.empty());
  }
}

TEST_F(Actions, FilesOpenWithTheirShowCommandsAndMissingOnesAreSkippedSilently) {
  EventActions& a = Make();
  fake.files["C:\\tools\\a.bat"] = "";
  settings.Exec1 = "C:\\tools\\a.bat";
  settings.Exec2 = "C:\\tools\\gone.bat";
  settings.ECom1Index = {8, 10, 8, 9, 0};
  a.Execute(1);
  // Normal in the first slot of event 1, "show" anywhere else; one second
  // apart; the missing second file does nothing.
  EXPECT_EQ(Calls(), (Texts{"0:ShellExecuteFile(C:\\tools\\a.bat,1)", "0:Sleep(1000)",
                            "1000:ShellExecuteFile(C:\\tools\\a.bat,5)"}));
  fake.ClearCalls();
  settings.ECom2Index = {8, 8, 0, 0, 0};
  a.Execute(2);
  EXPECT_EQ(Only({"ShellExecute"}), (Texts{"ShellExecuteFile(C:\\tools\\a.bat,5)", "ShellExecuteFile(C:\\tools\\a.bat,5)"}));

  fake.ClearCalls();
  settings.Exec1 = "";
  settings.ECom1Index = {8, 9, 0, 0, 0};
  a.Execute(1);
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Actions, TheWaitsBlockWithoutProcessingAMessage) {
  EventActions& a = Make();
  settings.ECom2Index = {10, 11, 12, 7, 0};
  bool timer_ran = false, input_ran = false;
  const std::uint32_t t = fake.SetTimer(500, [&] { timer_ran = true; });
  fake.At(200, [&] { input_ran = true; });
  const int dispatched = fake.Dispatched();
  a.Execute(2);
  EXPECT_EQ(Calls(), (Texts{"0:Sleep(1000)", "1000:Sleep(3000)", "4000:Sleep(10000)"}));
  EXPECT_EQ(log, Texts{"stop@14000"});
  EXPECT_EQ(fake.Dispatched(), dispatched);
  EXPECT_FALSE(timer_ran);
  EXPECT_FALSE(input_ran);
  fake.KillTimer(t);
}

TEST_F(Actions, RunStopAndCountdownGoToTheWindowInSlotOrder) {
  EventActions& a = Make();
  settings.ECom1Index = {1, 6, 10, 7, 12};
  a.Execute(1);
  EXPECT_EQ(log, (Texts{"countdown@0", "run@0", "stop@1000"}));
  EXPECT_EQ(fake.now, 11000);
}

TEST_F(Actions, AShutdownClosesTheWindowOnlyAfterTheRemainingSlots) {
  EventActions& a = Make();
  settings.ECom1Index = {0, 5, 10, 0, 0};  // shutdown, then a wait
  a.Execute(1);
  EXPECT_EQ(Only({"ExitWindowsEx", "Sleep"}), (Texts{"ExitWindowsEx(5,0)", "Sleep(1000)"}));
  EXPECT_EQ(log, Texts{"close@1000"});

  // A shutdown of an event that runs inside another event's countdown
  // closes once the outer sequence has finished too.
  log.clear();
  settings.ECom1Index = {1, 10, 0, 0, 0};
  settings.ECom2Index = {5, 0, 0, 0, 0};
  hooks.countdown = [&] {
    log.push_back("countdown@" + std::to_string(fake.now));
    actions->Execute(2);
  };
  Make().Execute(1);
  EXPECT_EQ(log, (Texts{"countdown@1000", "close@2000"}));
}

TEST_F(Actions, EachSlotIsToldToTheSettingsDialogAsItRuns) {
  EventActions& a = Make();
  settings.ECom2Index = {3, 99, 0, 13, 10};
  Texts shown;
  a.OnSlotRun = [&](int event, int slot, std::int32_t index) {
    shown.push_back(std::to_string(event) + "." + std::to_string(slot) + "=" + std::to_string(index) + "@" +
                    std::to_string(fake.now));
  };
  a.Execute(2);
  EXPECT_EQ(shown, (Texts{"2.0=3@0", "2.1=99@0", "2.2=0@0", "2.3=13@0", "2.4=10@0"}));
}

}  // namespace
}  // namespace zepx
