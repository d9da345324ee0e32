#include "run/run_engine.h"

#include <algorithm>

#include "base/text.h"
#include "model/command_line.h"
#include "model/convert.h"
#include "model/send_method.h"
#include "run/condition_wait.h"

namespace zepx {

namespace {

const char kUltima[] = "Ultima Online";

std::string RunningStatusText(int method, const std::string& stop_letter) {
  const char* name = method == kSendEvent   ? "_event"
                     : method == kSendInput ? "SendInput"
                                            : "WinMessage";
  return std::string("実行中 (") + name + ")" + StopHint(stop_letter);
}

// The handle a descriptor names; its text when that is not a number.
Hwnd HandleOf(const TargetDescriptor& d) {
  if (!d.handle) throw ConvertError(d.handle_text);
  return static_cast<Hwnd>(*d.handle);
}

}  // namespace

RunEngine::RunEngine(Platform& platform, Batch& batch, IRunSettings& settings,
                     IRunDisplay& display, IRunServices& services)
    : WaitTimer(waiter_.WaitTimer),
      Timer1("Timer1", platform.loop, 1000),
      loop_(platform.loop),
      windows_(platform.windows),
      dialogs_(platform.dialogs),
      batch_(batch),
      settings_(settings),
      display_(display),
      services_(services),
      waiter_(platform.loop),
      ctx_{platform.input, platform.windows, platform.loop, waiter_, batch, settings, display},
      keys_(ctx_),
      mouse_(ctx_) {
  waiter_.OnQuit = [this] { Stop(); };
  Timer1.OnTimer = [this] { display_.ShowWaitSeconds(++wait_seconds_); };
}

// ---- the request ------------------------------------------------------------

void RunEngine::Request(RunSource source) {
  // One run at a time. The Run button, the start hot key, the tray menu and
  // the event actions all stay live during a run; a second run nested inside
  // the first would share its list, counters and display.
  if (depth_ > 0) return;
  struct Depth {
    int& d;
    explicit Depth(int& x) : d(x) { ++d; }
    ~Depth() { --d; }
  } depth(depth_);
  try {
    RunRequest(source);
  } catch (const RunHalted& h) {
    looping_ = false;
    Stop();
    display_.ShowStatus(h.what());
  } catch (const ConvertError& e) {
    // A number in a line that is not a number abandons the run; the window
    // must not be left looking busy with the stop key still held.
    looping_ = false;
    dialogs_.MessageBox(e.what(), MsgKind::Info);
    Timer1.SetEnabled(false);
    display_.ShowWaitSeconds(wait_seconds_ = 0);
    Stop();
  } catch (...) {
    looping_ = false;
    Stop();
    throw;
  }
}

void RunEngine::RunRequest(RunSource source) {
  const unsigned stops_before = stop_count_;
  waiter_.WaitMs(1000);
  // Stop (or a close) during the second before the start cancels the start.
  if (stop_count_ != stops_before) return;

  if (batch_.Empty()) {
    dialogs_.MessageBox("送信コマンドを追加して下さい.", MsgKind::Info);
    return;
  }
  const int unset = FindUnsetDragLine(batch_.Texts());
  if (unset >= 0) {
    batch_.Select(unset);
    dialogs_.MessageBox("ドラッグアンドドロップを使用する場合は、必ず座標を指定してください.", MsgKind::Info);
    return;
  }
  RunMacro(source);
}

// ---- the run ----------------------------------------------------------------

void RunEngine::RunMacro(RunSource source) {
  PassCount = 0;
  ChainRepeatCount = 0;
  ChainIndex = 0;
  display_.ShowPassCount(0);
  display_.ShowChainRepeatCount(0);

  display_.ShowStatus(RunningStatusText(settings_.SendMethod(), settings_.StopKeyLetter()));
  services_.RefreshApplicationList();
  display_.ShowRunning();

  StopRequested = false;
  services_.RegisterStopKey();

  ResolveTargets();
  // The questions are modal and process messages: a Stop given meanwhile
  // counts.
  if (!WarnUnreachable(source) || StopRequested || !ConfirmUnresolvedTargets() || StopRequested) {
    Stop();
    return;
  }

  struct Looping {
    bool& flag;
    explicit Looping(bool& f) : flag(f) { flag = true; }
    ~Looping() { flag = false; }
  } looping(looping_);
  int i = 0;
  do {
    if (batch_.Empty()) break;
    if (i >= batch_.Count()) i = 0;  // the list shrank under the run
    display_.ToggleSendStatus();
    batch_.Select(i);
    ExecuteLine(i);
    // Cleared while the line ran (the list stays editable under a run):
    // nothing is left to run, and the pass was not completed.
    if (batch_.Empty()) break;
    ++i;
    if (i >= batch_.Count()) {
      i = 0;
      // Lines that never wait (a list of event lines) would otherwise keep
      // Stop, the stop key and the close box out for as long as the run
      // goes on; one look at the queue per pass lets them in.
      loop_.ProcessPendingMessages();
      EndOfPass();
    }
  } while (!StopRequested);

  StopRequested = false;
  loop_.ProcessPendingMessages();
  Stop();
}

void RunEngine::ExecuteLine(int row) {
  const CommandLine cmd = ReadCommandLine(batch_.Text(row));
  switch (cmd.dispatch) {
    case Dispatch::Key:
      keys_.SendKeyCommand(cmd, batch_.Target(row));
      break;
    case Dispatch::Mouse:
      mouse_.SendMouseCommand(cmd, row);
      break;
    case Dispatch::Event1:
      services_.ExecuteEventActions(1);
      break;
    case Dispatch::Event2:
      services_.ExecuteEventActions(2);
      break;
    case Dispatch::Wait:
      if (cmd.bad_number) throw ConvertError(*cmd.bad_number);
      display_.ShowWaitSeconds(wait_seconds_ = 0);
      Timer1.SetEnabled(true);
      waiter_.WaitMs(cmd.wait_ms);
      Timer1.SetEnabled(false);
      display_.ShowWaitSeconds(wait_seconds_ = 0);
      break;
    case Dispatch::WaitFor:
      WaitFor(*cmd.wait_for);
      break;
  }
}

void RunEngine::WaitFor(const WaitCondition& c) {
  const std::string letter = settings_.StopKeyLetter();
  display_.ShowStatus(WaitingStatusText(c, letter));
  display_.ShowWaitSeconds(wait_seconds_ = 0);
  Timer1.SetEnabled(true);
  const WaitOutcome outcome = PollCondition(c, windows_, loop_, waiter_);
  Timer1.SetEnabled(false);
  display_.ShowWaitSeconds(wait_seconds_ = 0);
  if (outcome == WaitOutcome::Stopped) return;
  if (outcome == WaitOutcome::Met) {
    display_.ShowStatus(RunningStatusText(settings_.SendMethod(), letter));
  } else if (c.stop_at_deadline) {
    throw RunHalted(DeadlineStopText(c));  // on this line, which stays selected
  } else {
    display_.ShowStatus(DeadlineNextText(c, letter));
  }
}

void RunEngine::EndOfPass() {
  if (StopRequested) {
    loop_.ProcessPendingMessages();
    Stop();
    return;
  }

  ++PassCount;
  display_.ShowPassCount(PassCount);
  // Equality on purpose: 0 never matches, so the passes are endless.
  if (PassCount != settings_.PassesWanted()) return;

  if (!settings_.ChainEnabled()) {
    StopRequested = true;
    return;
  }

  if (ChainIndex >= 0 && ChainIndex <= 4) {
    const std::string path = settings_.ChainFile(ChainIndex);
    if (!path.empty()) {
      PassCount = 0;
      StopRequested = false;
      LoadChainFile(path);
      ++ChainIndex;
      return;
    }
  }

  // The chain has ended.
  const std::string first = settings_.ChainFile(0);
  if (!settings_.ChainRepeats() || first.empty()) {
    // With no first file there is nothing to repeat.
    StopRequested = true;
  } else {
    ++ChainRepeatCount;
    display_.ShowChainRepeatCount(ChainRepeatCount);
    if (ChainRepeatCount == settings_.ChainRepeatsWanted()) {
      StopRequested = true;
    } else {
      PassCount = 0;
      ChainIndex = 0;
      StopRequested = false;
      LoadChainFile(first);
    }
  }
  ++ChainIndex;  // after a restart this points at the second file
}

void RunEngine::LoadChainFile(const std::string& path) {
  services_.LoadChainFile(path);
  // The window's loader reports the new list through ListReplaced; a file
  // that failed to load leaves an empty list, and nothing to run.
  if (batch_.Empty()) StopRequested = true;
}

void RunEngine::ListReplaced() {
  if (!looping_) return;  // a run still to start resolves its list itself
  if (batch_.Empty()) {
    StopRequested = true;
    return;
  }
  services_.RefreshApplicationList();
  ResolveTargets();
}

void RunEngine::Stop() {
  ++stop_count_;
  services_.UnregisterStopKey();
  StopRequested = true;
  Timer1.SetEnabled(false);
  waiter_.EndAll();
  display_.ShowIdle();
}

// ---- targets ------------------------------------------------------------------

void RunEngine::ResolveTargets() {
  batch_.ClearTargets();
  if (!settings_.WinMessageFlag()) return;
  for (int i = 0; i < batch_.Count(); ++i) {
    const CommandLine cmd = ReadCommandLine(batch_.Text(i));
    if (cmd.target) batch_.SetTarget(i, ResolveTarget(*cmd.target));
  }
}

void RunEngine::ResolveLine(int row) {
  if (!Running() || !settings_.WinMessageFlag() || !batch_.Has(row)) return;
  const CommandLine cmd = ReadCommandLine(batch_.Text(row));
  if (!cmd.target) return;
  try {
    batch_.SetTarget(row, ResolveTarget(*cmd.target));
  } catch (const ConvertError&) {
    // A handle that is no number is the user's typing, not the run's
    // fault: the line stays without a window, and nothing is sent for it,
    // as for a target that was not found.
    batch_.SetTarget(row, 0);
  }
}

Hwnd RunEngine::ResolveTarget(const std::string& s) {
  const bool auto_handle = settings_.AutoHandle();
  const TargetDescriptor d = ReadTargetDescriptor(s);
  switch (d.form) {
    case TargetDescriptor::Child: {
      // title@@class <handle>: a child window of a titled top-level window.
      Hwnd handle = HandleOf(d);
      if (auto_handle && !windows_.IsWindow(handle)) {
        const Hwnd parent = windows_.FindWindowA(nullptr, d.title.c_str());
        // Without the parent a search would run over the desktop's top-level
        // windows and could hand the keys to an unrelated program.
        handle = parent ? windows_.FindWindowExA(parent, 0, d.class_name.c_str(), nullptr) : 0;
      }
      return handle;
    }
    case TargetDescriptor::TitleHandle: {
      Hwnd handle = HandleOf(d);
      if (auto_handle && !windows_.IsWindow(handle)) {
        if (Contains(s, kUltima)) {
          // The game client's title changes with the character; take the
          // first such window of the freshly refreshed application list.
          for (const std::string& entry : services_.ApplicationList()) {
            if (Contains(entry, kUltima)) {
              handle = HandleOf(ReadTargetDescriptor(entry));
              break;
            }
          }
        } else {
          handle = windows_.FindWindowA(nullptr, d.title.c_str());
        }
      }
      return handle;
    }
    case TargetDescriptor::Title:
      break;
  }
  return windows_.FindWindowA(nullptr, s.c_str());
}

std::vector<std::string> RunEngine::UnreachableTargets() {
  std::vector<std::string> names;
  const std::optional<std::uint32_t> own = windows_.IntegrityLevel(0);
  if (!own) return names;
  std::vector<Hwnd> checked;
  auto check = [&](Hwnd w, const std::string& name) {
    if (w == 0 || std::find(checked.begin(), checked.end(), w) != checked.end()) return;
    checked.push_back(w);
    const std::optional<std::uint32_t> level = windows_.IntegrityLevel(w);
    if (level && *level > *own) names.push_back(name);
  };
  // WinMessage posts to each line's target; the other methods inject into
  // whatever is in front, which is what a front-app line brings there.
  const bool posted = settings_.WinMessageFlag();
  for (int i = 0; i < batch_.Count(); ++i) {
    const CommandLine cmd = ReadCommandLine(batch_.Text(i));
    if (posted) {
      if (cmd.target) check(batch_.Target(i), *cmd.target);
    } else if (cmd.dispatch == Dispatch::Key && cmd.key_kind == KeyLineKind::FrontApp &&
               !cmd.app_title.empty()) {
      check(windows_.FindWindowA(nullptr, cmd.app_title.c_str()), cmd.app_title);
    }
  }
  return names;
}

bool RunEngine::WarnUnreachable(RunSource source) {
  const std::vector<std::string> names = UnreachableTargets();
  if (names.empty()) return true;
  std::string list;
  for (const std::string& n : names) list += n + "\r\n";
  if (source != RunSource::User) {
    // Nobody may be at the window: a question would hold the run up.
    std::string joined;
    for (const std::string& n : names) joined += (joined.empty() ? "" : ", ") + n;
    services_.ShowBalloon("ZEPX - 入力が届きません",
                      "管理者として実行中のウインドウには入力が届きません: " + joined);
    return true;
  }
  const std::string question =
      "次のウインドウは管理者として実行されているプログラムのものです.\r\n"
      "管理者として実行されていないZEPXからの入力はWindowsに破棄され、届きません.\r\n\r\n" +
      list +
      "\r\n管理者として実行するZEPXを新しく起動しますか？\r\n"
      "(「いいえ」を選ぶと、このまま実行します)";
  if (dialogs_.MessageBox(question, MsgKind::YesNo) != MsgResult::Yes) return true;
  services_.StartAdministratorInstance();
  return false;
}

bool RunEngine::ConfirmUnresolvedTargets() {
  if (!settings_.WinMessageFlag()) return true;
  std::string missing;
  for (int i = 0; i < batch_.Count(); ++i) {
    const CommandLine cmd = ReadCommandLine(batch_.Text(i));
    if (cmd.target && batch_.Target(i) == 0) missing += *cmd.target + "\r\n";
  }
  if (missing.empty()) return true;
  const std::string text =
      "以下のプログラムがバッチに含まれていますが実行されていない可能性があります\r\n\r\n" +
      missing + "\r\n" + "コマンド送信は行われませんが実行しますか？";
  return dialogs_.MessageBox(text, MsgKind::YesNo) == MsgResult::Yes;
}

}  // namespace zepx
