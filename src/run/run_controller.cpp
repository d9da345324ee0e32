// The run: checks the batch list, resolves the target windows, then executes
// the lines top to bottom, pass after pass, chaining further macro files when
// asked, until something stops it. Everything runs on the UI thread; a run
// is one long call of BitBtn1Click that keeps the window alive by pumping
// messages whenever it waits.
#include <algorithm>
#include <string>

#include "model/convert.h"
#include "shell/main_form.h"

namespace zepx {

namespace {

const char kTitleIdle[] = "ZEPX";
const char kTitleRunning[] = "ZEPX - 実行中";
const char kStatusIdle[] = "待機中";
const char kEvent1[] = "【ZEP Event 1】";
const char kEvent2[] = "【ZEP Event 2】";
const char kTargetMark[] = "|>";
const char kUltima[] = "Ultima Online";

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// ASCII-only case folding: the texts compared are ASCII, and folding cp932
// trail bytes could make a double-byte character look like a letter.
bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The handle number of a descriptor: the text between the first " <" and
// the first ">". When a marker is missing the text taken is whatever is
// there, so that the conversion error names what the user wrote.
Hwnd HandleBetweenMarks(const std::string& s) {
  const std::size_t open = s.find(" <");
  const std::size_t from = open == std::string::npos ? 0 : open + 2;
  const std::size_t close = s.find('>', from);
  const std::string digits = s.substr(from, close == std::string::npos ? std::string::npos : close - from);
  return static_cast<Hwnd>(static_cast<std::uint32_t>(StrToInt(digits)));
}

// The window a target text names, looked up afresh where its handle number
// has gone stale (and the user allows that).
Hwnd ResolveTarget(TMainForm& f, const std::string& s) {
  IWindows& windows = f.platform.windows;
  const bool auto_handle = f.AutoHandleCheckBox.Checked();

  const std::size_t at = s.find("@@");
  if (at != std::string::npos) {
    // title@@class <handle>: a child window of a titled top-level window.
    const std::string after = s.substr(at + 2);
    Hwnd handle = HandleBetweenMarks(after);
    if (auto_handle && !windows.IsWindow(handle)) {
      const std::string title = s.substr(0, at);
      const std::string cls = after.substr(0, after.find(" <"));
      const Hwnd parent = windows.FindWindowA(nullptr, title.c_str());
      // Without the parent a search would run over the desktop's top-level
      // windows and could hand the keys to an unrelated program.
      handle = parent ? windows.FindWindowExA(parent, 0, cls.c_str(), nullptr) : 0;
    }
    return handle;
  }

  if (Contains(s, "<")) {
    // title <handle>
    Hwnd handle = HandleBetweenMarks(s);
    if (auto_handle && !windows.IsWindow(handle)) {
      if (Contains(s, kUltima)) {
        // The game client's title changes with the character; take the first
        // such window of the freshly refreshed application list.
        for (const std::string& entry : f.AppComboBox.Items()) {
          if (Contains(entry, kUltima)) {
            handle = HandleBetweenMarks(entry);
            break;
          }
        }
      } else {
        const std::string title = s.substr(0, s.find(" <"));
        handle = windows.FindWindowA(nullptr, title.c_str());
      }
    }
    return handle;
  }

  return windows.FindWindowA(nullptr, s.c_str());
}

// The target text of a line that has one and is sent by window messages.
bool TargetText(const TMainForm& f, const std::string& line, std::string& s) {
  const std::size_t pos = line.find(kTargetMark);
  if (pos == std::string::npos || !f.WinMessageFlag()) return false;
  s = line.substr(pos + 2);
  return true;
}

std::string RunningStatusText(int method, const std::string& stop_letter) {
  const char* name = method == kSendEvent   ? "_event"
                     : method == kSendInput ? "SendInput"
                                            : "WinMessage";
  return std::string("実行中 (") + name + ") - Ctrl+Alt+" + stop_letter + "で中断できます";
}

}  // namespace

// ---- run request ----------------------------------------------------------

void TMainForm::BitBtn1Click() {
  // One run at a time. The Run button, the start hot key, the tray menu and
  // the event actions all stay live during a run; a second run nested inside
  // the first would share its list, counters and display, so the request is
  // ignored until the run in progress (or its pre-wait) has ended.
  if (run_depth_ > 0) return;

  struct DepthGuard {
    int& depth;
    ~DepthGuard() { --depth; }
  };
  {
    ++run_depth_;
    DepthGuard guard{run_depth_};
    try {
      RunRequest();
    } catch (const ConvertError& e) {
      // A number in a line that is not a number abandons the run; the window
      // must not be left looking busy with the stop key still held.
      platform.dialogs.MessageBox(e.what(), MsgKind::Info);
      Timer1.SetEnabled(false);
      TimerCountLabel.SetCaption("0");
      StopMacro();
    } catch (...) {
      StopMacro();
      throw;
    }
  }

  // A close asked for during the run was put off until the run had unwound.
  if (run_depth_ == 0 && close_pending_) {
    close_pending_ = false;
    Close();
  }
}

void TMainForm::RunRequest() {
  const unsigned stops_before = stop_count_;
  WaitMs(1000);
  // Stop (or a close) during the second before the start cancels the start.
  if (stop_count_ != stops_before) return;

  if (SendList.Count() == 0) {
    platform.dialogs.MessageBox("送信コマンドを追加して下さい.", MsgKind::Info);
    return;
  }

  static const char* const kUnsetDrags[] = {"L_Drag:NoSet", "L_Drop:NoSet", "R_Drag:NoSet",
                                            "R_Drop:NoSet"};
  for (const char* unset : kUnsetDrags) {
    for (int i = 0; i < SendList.Count(); ++i) {
      if (EqualsIgnoreCase(SendList.Item(i), unset)) {
        SendList.SetItemIndex(i);
        platform.dialogs.MessageBox(
            "ドラッグアンドドロップを使用する場合は、必ず座標を指定してください.", MsgKind::Info);
        return;
      }
    }
  }

  RunMacro();
}

void TMainForm::BitBtn3Click() { StopMacro(); }

// ---- the run ----------------------------------------------------------------

void TMainForm::RunMacro() {
  PassCount = 0;
  ChainRepeatCount = 0;
  ChainIndex = 0;
  LoopCountLabel.SetCaption("0");
  LoopCountAllLabel.SetCaption("0");

  StatusLabel.SetCaption(RunningStatusText(PostRadioGroup.ItemIndex(),
                                           LetterFromIndex(settings.EndComboIndex)));
  GetAppButtonClick();
  StatusLabel.Repaint();

  Application.SetTitle(kTitleRunning);
  SetTrayTip(kTitleRunning);
  AddButton.SetEnabled(false);
  DelButton.SetEnabled(false);
  mSet.SetEnabled(false);

  StopRequested = false;
  HookHotKey1.RegisterKey(1, HotKey1);

  ResolveTargetHandles();
  // The question is modal and pumps messages: a Stop given meanwhile counts.
  if (!ConfirmUnresolvedTargets() || StopRequested) {
    StopMacro();
    return;
  }

  int i = 0;
  do {
    if (SendList.Count() == 0) break;
    if (i >= SendList.Count()) i = 0;  // the list shrank under the run
    ToggleSendStatus();
    SendList.SetItemIndex(i);
    ExecuteLine(i);
    ++i;
    if (i >= SendList.Count()) {
      i = 0;
      EndOfPass();
    }
  } while (!StopRequested);

  StopRequested = false;
  platform.loop.ProcessPendingMessages();
  StopMacro();
}

void TMainForm::ExecuteLine(int index) {
  // The senders index the table by line; lines added during the run (the
  // palette stays usable) have no resolved target.
  if (TargetHandles.size() < static_cast<std::size_t>(SendList.Count()))
    TargetHandles.resize(static_cast<std::size_t>(SendList.Count()), 0);

  const std::string line = SendList.Item(index);
  if (Contains(line, "[")) {
    SendKeyCommand(index);
  } else if (Contains(line, "L_") || Contains(line, "R_")) {
    SendMouseCommand(index);
  } else if (line == kEvent1) {
    ExecuteEventActions(1);
  } else if (line == kEvent2) {
    ExecuteEventActions(2);
  } else {
    // A wait line. The first five bytes are "Wait=" in every line the
    // composer writes; they are skipped unread.
    const std::int32_t ms = StrToInt(line.size() > 5 ? line.substr(5) : std::string());
    TimerCountLabel.SetCaption("0");
    Timer1.SetEnabled(true);
    WaitMs(ms);
    Timer1.SetEnabled(false);
    TimerCountLabel.SetCaption("0");
  }
}

void TMainForm::EndOfPass() {
  if (StopRequested) {
    platform.loop.ProcessPendingMessages();
    StopMacro();
    return;
  }

  ++PassCount;
  LoopCountLabel.SetCaption(std::to_string(PassCount));
  // Equality on purpose: 0 never matches, so the passes are endless.
  if (PassCount != LoopSpinEdit.Value()) return;

  if (!NextLoopCheck.Checked()) {
    StopRequested = true;
    return;
  }

  if (ChainIndex >= 0 && ChainIndex <= 4 &&
      !settings.Loop[static_cast<std::size_t>(ChainIndex)].empty()) {
    PassCount = 0;
    StopRequested = false;
    LoadChainFile(settings.Loop[static_cast<std::size_t>(ChainIndex)]);
    ++ChainIndex;
    return;
  }

  // The chain has ended.
  if (!settings.LoopOfLoopChecked || settings.Loop[0].empty()) {
    // With no first file there is nothing to repeat.
    StopRequested = true;
  } else {
    ++ChainRepeatCount;
    LoopCountAllLabel.SetCaption(std::to_string(ChainRepeatCount));
    if (ChainRepeatCount == LoopSpinEditAll.Value()) {
      StopRequested = true;
    } else {
      PassCount = 0;
      ChainIndex = 0;
      StopRequested = false;
      LoadChainFile(settings.Loop[0]);
    }
  }
  ++ChainIndex;  // after a restart this points at the second file
}

void TMainForm::LoadChainFile(const std::string& path) {
  LoadMacro(path);
  DelButton.SetEnabled(false);
  // A file that failed to load leaves an empty list: nothing to run.
  if (SendList.Count() == 0) {
    StopRequested = true;
    return;
  }
  // The new list has targets of its own.
  GetAppButtonClick();
  ResolveTargetHandles();
}

void TMainForm::StopMacro() {
  ++stop_count_;
  HookHotKey1.UnregisterKey(1);
  StopRequested = true;
  Timer1.SetEnabled(false);
  WaitTimer.SetEnabled(false);
  // Every wait in progress ends, nested ones included.
  for (PendingWait* w : waits_) w->elapsed = true;
  StatusLabel.SetCaption(kStatusIdle);
  Application.SetTitle(kTitleIdle);
  SetTrayTip(kTitleIdle);
  AddButton.SetEnabled(true);
  DelButton.SetEnabled(SendList.ItemIndex() >= 0);
  mSet.SetEnabled(true);
}

// ---- targets ------------------------------------------------------------------

void TMainForm::ResolveTargetHandles() {
  const int n = SendList.Count();
  TargetHandles.assign(static_cast<std::size_t>(n), 0);
  std::string s;
  for (int i = 0; i < n; ++i)
    if (TargetText(*this, SendList.Item(i), s))
      TargetHandles[static_cast<std::size_t>(i)] = ResolveTarget(*this, s);
}

bool TMainForm::ConfirmUnresolvedTargets() {
  std::string missing;
  std::string s;
  for (int i = 0; i < SendList.Count(); ++i)
    if (TargetText(*this, SendList.Item(i), s) && TargetHandles[static_cast<std::size_t>(i)] == 0)
      missing += s + "\r\n";
  if (missing.empty()) return true;
  const std::string text =
      "以下のプログラムがバッチに含まれていますが実行されていない可能性があります\r\n\r\n" +
      missing + "\r\n" + "コマンド送信は行われませんが実行しますか？";
  return platform.dialogs.MessageBox(text, MsgKind::YesNo) == MsgResult::Yes;
}

// ---- waiting --------------------------------------------------------------------

void TMainForm::WaitMs(std::int32_t ms) {
  IMessageLoop& loop = platform.loop;
  // A negative wait can only come from a hand-edited file: no wait at all.
  if (ms <= 0) {
    loop.ProcessPendingMessages();
    return;
  }

  PendingWait wait{loop.NowMs() + ms, false};
  waits_.push_back(&wait);
  WaitTimer.SetEnabled(false);
  WaitTimer.SetInterval(static_cast<std::uint32_t>(ms));
  WaitTimer.SetEnabled(true);

  // Leaves the shared timer to the wait this one interrupted, also when a
  // handler throws out of the message loop.
  struct Unwind {
    TMainForm& f;
    PendingWait* w;
    ~Unwind() {
      f.waits_.erase(std::remove(f.waits_.begin(), f.waits_.end(), w), f.waits_.end());
      f.WaitTimer.SetEnabled(false);
      f.RearmOuterWait();
    }
  };
  {
    Unwind unwind{*this, &wait};
    while (!wait.elapsed) {
      if (!loop.ProcessOneMessage()) {
        // The application is quitting: end the run with the waits.
        StopMacro();
        break;
      }
    }
  }
  loop.ProcessPendingMessages();
}

void TMainForm::RearmOuterWait() {
  if (waits_.empty()) return;
  PendingWait* outer = waits_.back();
  if (outer->elapsed) return;
  const std::int64_t left = outer->deadline - platform.loop.NowMs();
  if (left <= 0) {
    outer->elapsed = true;
    return;
  }
  WaitTimer.SetInterval(static_cast<std::uint32_t>(left));
  WaitTimer.SetEnabled(true);
}

void TMainForm::WaitTimerTimer() {
  WaitTimer.SetEnabled(false);
  if (!waits_.empty()) waits_.back()->elapsed = true;
}

// ---- small handlers ---------------------------------------------------------------

void TMainForm::Timer1Timer() {
  const std::int32_t shown = TryStrToInt(TimerCountLabel.Caption()).value_or(0);
  TimerCountLabel.SetCaption(std::to_string(shown + 1));
}

void TMainForm::ToggleSendStatus() { SendStatus.SetChecked(!SendStatus.Checked()); }

void TMainForm::LoopSpinEditChange() {
  if (LoopSpinEdit.Value() < 0) LoopSpinEdit.SetValue(0);
}

void TMainForm::NextLoopCheckClick() { LoopSpinEditAll.SetEnabled(NextLoopCheck.Checked()); }

void TMainForm::Button6Click() {
  // Meant to open the settings dialog on its "Loop" page. The dialog has no
  // pages yet, so this runs the settings command as the menu does and the
  // dialog opens on whatever page it shows.
  mSetting.Click();
}

}  // namespace zepx
