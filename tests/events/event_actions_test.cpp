// The event actions on their own, against the recording substitute: which
// text a stored index chooses, the power and shutdown calls with what they
// report, the file actions, the blocking waits, and the close after a
// shutdown. Nothing here reaches a real machine.
#include <gtest/gtest.h>

#include "run/run_support.h"
#include "events/event_actions.h"
#include "platform/fake/fake_platform.h"

namespace zepx {
namespace {

class Actions : public ::testing::Test {
 protected:
  Actions() {
    for (auto [hook, name] : {std::pair{&EventActions::Hooks::run, "run"}, {&EventActions::Hooks::stop, "stop"},
                              {&EventActions::Hooks::countdown, "countdown"}, {&EventActions::Hooks::close, "close"}})
      hooks.*hook = [this, name = std::string(name)] { log.push_back(name + "@" + std::to_string(fake.now)); };
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
  static Texts WithPrivilege(const std::string& call) {
    return {"0:GetCurrentProcess()", "0:OpenProcessToken(-1,40)", "0:LookupPrivilegeValueA(SeShutdownPrivilege)",
            "0:AdjustTokenPrivileges(1952,0,19,2)", "0:CloseHandle(1952)", "0:" + call};
  }

  FakePlatform fake;
  Settings settings;
  EventActions::Hooks hooks;
  std::unique_ptr<EventActions> actions;
  Texts log;
};

TEST_F(Actions, TheSelectorsEntriesAndWhatAnIndexChooses) {
  const Texts entries = {"", "ダイヤルアップ切断", "Windowsスリープ", "Windows休止", "Windows再起動",
                         "Windowsシャットダウン", "マクロ実行", "マクロ停止", "ファイル実行 1", "ファイル実行 2",
                         "１秒ウエイト", "３秒ウエイト", "１０秒ウエイト", "Windowsスリープ", "Windows再起動"};
  EXPECT_EQ(EventActionItems(1, 0), Texts(entries.begin(), entries.begin() + 13));
  for (int event = 1; event <= 2; ++event)
    for (int slot = event == 1 ? 1 : 0; slot < 5; ++slot) EXPECT_EQ(EventActionItems(event, slot), entries);
  // The repeated entries act as the ones they repeat; others outside a
  // selector (13 in event 1's first), and events that do not exist, do nothing.
  EventActions& a = Make();
  settings.ECom2Index = {13, 14, 15, -1, 0};
  a.Execute(2);
  EXPECT_EQ(fake.Texts({"ExitWindowsEx", "SetSystemPowerState"}),
            (Texts{"SetSystemPowerState(1,0)", "ExitWindowsEx(2,0)"}));
  fake.ClearCalls();
  settings.ECom1Index = {13, 99, 0, 0, 0};
  a.Execute(1);
  a.Execute(3);
  a.Execute(0);
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(log.empty());
}

TEST_F(Actions, PowerAndShutdownEnableThePrivilegeFirstAndOnlyTheShutdownReportsFailures) {
  const std::pair<int, const char*> modes[] = {
      {2, "ExitWindowsEx(2,0)"}, {4, "SetSystemPowerState(1,0)"}, {5, "SetSystemPowerState(0,0)"}};
  for (const auto& [mode, call] : modes) {
    FakePlatform f;
    EventActions(settings, f.platform(), hooks).PowerAction(mode);
    EXPECT_EQ(f.Timed({"GetCurrentProcess", "OpenProcessToken", "LookupPrivilege", "AdjustToken", "CloseHandle",
                       "ExitWindowsEx", "SetSystemPowerState"}),
              WithPrivilege(call))
        << mode;
  }
  Make().ForcedShutdown();
  EXPECT_EQ(Calls(), WithPrivilege("ExitWindowsEx(5,0)"));
  EXPECT_TRUE(fake.stdout_lines.empty());

  const std::tuple<std::set<std::string>, std::uint32_t, Texts> cases[] = {
      {{"OpenProcessToken"}, 0, {"OpenProcessToken", "AdjustTokenPrivileges"}},  // the empty handle fails too
      {{}, 1300, {"AdjustTokenPrivileges"}},  // not held: the call succeeds, the last error tells
      {{"ExitWindowsEx"}, 0, {"ExitWindowsEx"}},
  };
  for (const auto& [failing, adjust_error, written] : cases) {
    FakePlatform f;
    f.failing_calls = failing;
    f.adjust_last_error = adjust_error;
    EventActions(settings, f.platform(), hooks).ForcedShutdown();
    EXPECT_EQ(f.stdout_lines, written);
    EXPECT_EQ(f.Texts({"ExitWindowsEx"}), Texts{"ExitWindowsEx(5,0)"}) << "the shutdown is asked for anyway";
    EXPECT_TRUE(f.boxes.empty());
  }
  // The power actions look at nothing: the call is made, nothing written.
  fake.failing_calls = {"OpenProcessToken", "SetSystemPowerState"};
  fake.stdout_lines.clear();
  Make().PowerAction(4);
  EXPECT_EQ(fake.Texts({"SetSystemPowerState"}), Texts{"SetSystemPowerState(1,0)"});
  EXPECT_TRUE(fake.stdout_lines.empty() && fake.boxes.empty());
}

TEST_F(Actions, FilesOpenWithTheirShowCommandsAndMissingOnesAreSkippedSilently) {
  EventActions& a = Make();
  fake.files["C:\\tools\\a.bat"] = "";
  fake.files["C:\\tools\\b.bat"] = "";
  settings.Exec1 = "C:\\tools\\a.bat";
  settings.Exec2 = "C:\\tools\\gone.bat";
  settings.ECom1Index = {8, 10, 8, 9, 0};
  a.Execute(1);
  // Normal in the first slot of event 1, "show" anywhere else, one second apart.
  EXPECT_EQ(Calls(), (Texts{"0:ShellExecuteFile(C:\\tools\\a.bat,1)", "0:Sleep(1000)",
                            "1000:ShellExecuteFile(C:\\tools\\a.bat,5)"}));
  fake.ClearCalls();
  settings.Exec2 = "C:\\tools\\b.bat";
  settings.ECom2Index = {8, 9, 0, 0, 0};
  a.Execute(2);
  EXPECT_EQ(fake.Texts({"ShellExecute"}),
            (Texts{"ShellExecuteFile(C:\\tools\\a.bat,5)", "ShellExecuteFile(C:\\tools\\b.bat,5)"}));
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Actions, TheWaitsBlockWithoutAMessageAndTheWindowsActionsFollowSlotOrder) {
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
  EXPECT_FALSE(timer_ran || input_ran);
  fake.KillTimer(t);

  log.clear();
  settings.ECom1Index = {1, 6, 10, 7, 12};
  a.Execute(1);
  EXPECT_EQ(log, (Texts{"countdown@14000", "run@14000", "stop@15000"}));
  EXPECT_EQ(fake.now, 25000);
}

TEST_F(Actions, AShutdownClosesTheWindowOnlyAfterTheRemainingSlotsAndTheOuterSequence) {
  settings.ECom1Index = {0, 5, 10, 0, 0};  // shutdown, then a wait
  Make().Execute(1);
  EXPECT_EQ(fake.Texts({"ExitWindowsEx", "Sleep"}), (Texts{"ExitWindowsEx(5,0)", "Sleep(1000)"}));
  EXPECT_EQ(log, Texts{"close@1000"});

  // Event 2's shutdown inside event 1's countdown closes once event 1 is done.
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

TEST_F(Actions, ASlotThatThrowsLeavesNoSequenceBehindAndALaterShutdownStillCloses) {
  hooks.run = [] { throw std::runtime_error("run failed"); };
  EventActions& a = Make();
  settings.ECom1Index = {6, 0, 0, 0, 0};
  EXPECT_THROW(a.Execute(1), std::runtime_error);
  settings.ECom1Index = {5, 0, 0, 0, 0};
  a.Execute(1);
  EXPECT_EQ(log, Texts{"close@0"}) << "the failed sequence still counted as running";
}

}  // namespace
}  // namespace zepx
