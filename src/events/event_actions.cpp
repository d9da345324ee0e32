#include "events/event_actions.h"

namespace zepx {

EventActions::EventActions(const Settings& settings, Platform& platform, Hooks hooks)
    : settings_(settings), platform_(platform), hooks_(std::move(hooks)) {}

namespace {

// The selector entries whose actions a late run leaves out.
constexpr const char* kDialUp = "ダイヤルアップ切断";
constexpr const char* kSleep = "Windowsスリープ";
constexpr const char* kHibernate = "Windows休止";
constexpr const char* kRestart = "Windows再起動";
constexpr const char* kShutdown = "Windowsシャットダウン";

bool IsDialUpOrPower(const std::string& text) {
  return text == kDialUp || text == kSleep || text == kHibernate || text == kRestart || text == kShutdown;
}

}  // namespace

void EventActions::ExecuteLate(int event, const std::string& minute) {
  if (!(event == 1 ? settings_.DCutLateCheck : event == 2 && settings_.DCutLateCheck2)) return;
  const std::string late = "ZEP Event " + std::to_string(event) + ": " + minute + "の分を遅れて実行";
  if (hooks_.status) hooks_.status(late + "中");
  Run(event, true);
  if (hooks_.status) hooks_.status(late + "しました");
}

void EventActions::Run(int event, bool late) {
  if (event != 1 && event != 2) return;
  {
    // Lowered however the slots end: an exception escaping one of them
    // must not leave a later shutdown believing it runs nested.
    struct Nesting {
      int& depth;
      explicit Nesting(int& d) : depth(d) { ++depth; }
      ~Nesting() { --depth; }
    } nesting(depth_);
    RunSlots(event, late);
  }
  // A shutdown closes the window only once every slot has run, and not
  // under another event's sequence that is still going on.
  if (depth_ == 0 && close_after_) {
    close_after_ = false;
    if (hooks_.close) hooks_.close();
  }
}

void EventActions::RunSlots(int event, bool late) {
  for (int slot = 0; slot < 5; ++slot) {
    // Read slot by slot: an action (a run, the countdown's message loop)
    // may let the settings change under the sequence.
    const std::int32_t index = (event == 1 ? settings_.ECom1Index : settings_.ECom2Index)[static_cast<std::size_t>(slot)];
    if (OnSlotRun) OnSlotRun(event, slot, index);
    const std::string text = EventActionText(event, slot, index);
    if (!(late && IsDialUpOrPower(text))) RunAction(text, event, slot);
  }
}

void EventActions::RunAction(const std::string& text, int event, int slot) {
  if (text == kDialUp) {
    if (hooks_.countdown) hooks_.countdown();
  } else if (text == kSleep) {
    PowerAction(4);
  } else if (text == kHibernate) {
    PowerAction(5);
  } else if (text == kRestart) {
    PowerAction(2);
  } else if (text == kShutdown) {
    ForcedShutdown();
    close_after_ = true;
  } else if (text == "マクロ実行") {
    if (hooks_.run) hooks_.run();
  } else if (text == "マクロ停止") {
    if (hooks_.stop) hooks_.stop();
  } else if (text == "ファイル実行 1" || text == "ファイル実行 2") {
    const std::string& path = text == "ファイル実行 1" ? settings_.Exec1 : settings_.Exec2;
    if (!platform_.files.FileExists(path)) return;
    const int show = event == 1 && slot == 0 ? win::SW_SHOWNORMAL : win::SW_SHOW;
    platform_.shell.ShellExecuteFile(path, show);
  } else if (text == "１秒ウエイト") {
    platform_.loop.Sleep(1000);
  } else if (text == "３秒ウエイト") {
    platform_.loop.Sleep(3000);
  } else if (text == "１０秒ウエイト") {
    platform_.loop.Sleep(10000);
  }
}

IPower::Handle EventActions::EnableShutdownPrivilege(bool report) {
  IPower& power = platform_.power;
  IPower::Handle token = 0;
  if (!power.OpenProcessToken(power.GetCurrentProcess(), win::TOKEN_ADJUST_PRIVILEGES | win::TOKEN_QUERY,
                              token) &&
      report)
    power.WriteStdOut("OpenProcessToken");
  std::uint64_t luid = 0;
  power.LookupPrivilegeValueA("SeShutdownPrivilege", luid);
  power.AdjustTokenPrivileges(token, false, luid, win::SE_PRIVILEGE_ENABLED);
  // Asked before anything else can set the thread's last error.
  if (report && power.GetLastError() != 0) power.WriteStdOut("AdjustTokenPrivileges");
  if (token) power.CloseToken(token);
  return token;
}

void EventActions::PowerAction(int mode) {
  EnableShutdownPrivilege(false);
  IPower& power = platform_.power;
  switch (mode) {
    case 2: power.ExitWindowsEx(win::EWX_REBOOT, 0); break;
    case 4: power.SetSystemPowerState(true, false); break;
    case 5: power.SetSystemPowerState(false, false); break;  // hibernates
    default: break;
  }
}

void EventActions::ForcedShutdown() {
  EnableShutdownPrivilege(true);
  if (!platform_.power.ExitWindowsEx(win::EWX_SHUTDOWN | win::EWX_FORCE, 0))
    platform_.power.WriteStdOut("ExitWindowsEx");
}

}  // namespace zepx
