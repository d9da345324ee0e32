// One fixture for every run test: a RunEngine over a Batch on the recording
// substitute with its virtual clock, and one small stand-in for the window
// around a run (its settings as plain fields, its display and services as a
// timed log). What only the main window does (its labels, hot keys, close,
// macro loader) is tested on the real window with FormRun.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <functional>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "model/command_line.h"
#include "model/send_method.h"
#include "platform/fake/fake_platform.h"
#include "run/run_engine.h"
#include "run/run_support.h"
#include "shell/life_support.h"
#include "shell/main_form.h"

namespace zepx {

// The calls on one line, for the long lists.
inline std::string Join(const Texts& c) {
  return std::accumulate(c.begin(), c.end(), std::string(), [](auto s, auto& x) { return s.empty() ? x : s + " " + x; });
}

// The settings read, the state shown and the services asked for, as the
// main window would give them; display and service calls are logged as
// "what@time".
class FakeRunWindow : public IRunSettings, public IRunDisplay, public IRunServices {
 public:
  FakeRunWindow(FakePlatform& fake, Batch& batch) : fake_(fake), batch_(batch) {}
  RunEngine* engine = nullptr;
  int method = kSendInput;
  std::array<std::int32_t, 4> delay{1200, 1000, 1200, 250};  // Key, Click, Drag, ShiftAltCtrl
  std::int32_t passes = 1, repeats_wanted = 0, hold_ms = 0;
  bool chain = false, repeats = false, auto_handle = true, scan_codes = false, unicode_text = false;
  std::array<std::string, 5> files{};
  std::map<std::string, std::vector<std::string>> disk;  // the chain files that load
  std::vector<std::string> apps;                         // the application list
  std::function<void(int)> on_event;
  Point shown{};
  Texts log;

  int SendMethod() override { return method; }
  bool WinMessageFlag() override { return method == kSendWinMessage; }
  std::int32_t DelayMs(Delay d) override { return delay[static_cast<std::size_t>(d)]; }
  std::int32_t PassesWanted() override { return passes; }
  bool ChainEnabled() override { return chain; }
  std::string ChainFile(int i) override { return files[static_cast<std::size_t>(i)]; }
  bool ChainRepeats() override { return repeats; }
  std::int32_t ChainRepeatsWanted() override { return repeats_wanted; }
  bool AutoHandle() override { return auto_handle; }
  std::string StopKeyLetter() override { return "Q"; }
  bool ScanCodes() override { return scan_codes; }
  std::int32_t KeyHoldMs() override { return hold_ms; }
  bool TextAsWritten() override { return unicode_text; }

  void ShowStatus(const std::string& t) override { Note("status " + t); }
  void ShowRunning() override { Note("running"); }
  void ShowIdle() override { Note("idle"); }
  void ShowPassCount(std::int32_t n) override { Note("pass " + N(n)); }
  void ShowChainRepeatCount(std::int32_t n) override { Note("repeat " + N(n)); }
  void ShowWaitSeconds(std::int32_t n) override { Note("seconds " + N(n)); }
  void ToggleSendStatus() override {}
  void ShowDelayActive(Delay d, bool on) override { Note(std::string("delay ") + "KCDM"[int(d)] + (on ? "+" : "-")); }
  // The selected row's point; a row without one leaves the last shown.
  void RefreshCoordinates() override {
    if (!batch_.Has(batch_.Selected())) return;
    if (auto c = ReadCoordinates(batch_.Text(batch_.Selected()))) shown = {c->x, c->y};
  }
  Point CoordinatesShown() override { return shown; }

  void RefreshApplicationList() override {}
  std::vector<std::string> ApplicationList() override { return apps; }
  void RegisterStopKey() override { Note("stop key on"); }
  void UnregisterStopKey() override { Note("stop key off"); }
  // As the window's loader: a file that is not there leaves the list.
  void LoadChainFile(const std::string& path) override {
    if (disk.count(path)) batch_.SetLines(disk[path]);
    engine->ListReplaced();
  }
  void ExecuteEventActions(int e) override { if (on_event) on_event(e); }
  void ShowBalloon(const std::string& t, const std::string& text) override { Note(t + ": " + text); }
  void StartAdministratorInstance() override { Note("admin"); }

  void Note(const std::string& s) { log.push_back(s + "@" + N(fake_.now)); }
  Texts Seen(const std::string& prefix) const {  // the entries that start with it
    Texts out;
    std::copy_if(log.begin(), log.end(), std::back_inserter(out), [&](auto& s) { return s.rfind(prefix, 0) == 0; });
    return out;
  }

 private:
  FakePlatform& fake_;
  Batch& batch_;
};

class RunTest : public ::testing::Test {
 protected:
  RunTest() { w.engine = &engine; }
  void TearDown() override {
    EXPECT_TRUE(fake.keys_down.empty() && fake.buttons_down.empty() && !fake.clip) << "left down, or the cursor confined";
  }
  // A whole run from its request, the record started afresh.
  void Run(const std::vector<std::string>& lines, RunSource source = RunSource::User) {
    batch.SetLines(lines);
    fake.ClearCalls();
    engine.Request(source);
  }
  // One line as the run's loop sends it (selected first); its calls.
  Texts Send(int row, std::initializer_list<const char*> which) {
    fake.ClearCalls();
    batch.Select(row);
    const CommandLine cmd = ReadCommandLine(batch.Text(row));
    if (cmd.dispatch == Dispatch::Mouse) engine.Mouse().SendMouseCommand(cmd, row);
    else engine.Keys().SendKeyCommand(cmd, batch.Target(row));
    return fake.Timed(which);
  }
  // One line at time 0, sent to `target`.
  Texts SendLine(const std::string& line, Hwnd target = 0,
                 std::initializer_list<const char*> which = {"keybd_event", "SendInput", "PostMessageA",
                     "GetForegroundWindow", "SetForegroundWindow", "SetActiveWindow", "SetFocus", "FindWindowA", "Sleep"}) {
    batch.SetLines({line});
    batch.SetTarget(0, target);
    fake.now = 0;
    return Send(0, which);
  }
  void ExpectIdle() {
    EXPECT_TRUE(!engine.Running() && w.log.back().rfind("idle@", 0) == 0) << "the idle display comes last";
    EXPECT_EQ(fake.ActiveTimers(), 0u) << "a timer outlived the run";
  }
  Texts Boxes() const {  // the messages shown, "text@time", questions marked
    Texts t;
    for (const auto& b : fake.boxes)
      t.push_back(b.text + (b.kind == MsgKind::Info ? "" : b.kind == MsgKind::YesNo ? " (yes/no)" : " (?)") + "@" + N(b.t));
    return t;
  }

  FakePlatform fake;
  Batch batch;
  FakeRunWindow w{fake, batch};
  RunEngine engine{fake.platform(), batch, w, w, w};
};

// The real main window, where the behaviour tested is the window's.
class FormRun : public LifeFixture, public ::testing::Test {
 protected:
  FormRun() {
    form.PostRadioGroup.SetItemIndex(kSendInput);
    form.LoopSpinEdit.SetValue(1);
  }
  void ExpectIdle() {
    EXPECT_EQ(form.StatusLabel.Caption() + "/" + app.Title() + "/" + form.TrayIcon.tip, "待機中/ZEPX/ZEPX");
    EXPECT_TRUE(!form.Running() && form.AddButton.Enabled() && form.mSet.Enabled()) << "editing is on again";
    EXPECT_EQ(fake.ActiveTimers(), 0u) << "a timer outlived the run";
  }
};

}  // namespace zepx
