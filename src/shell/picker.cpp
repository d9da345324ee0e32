#include "shell/picker.h"

#include "model/command_line.h"
#include "run/bound_point.h"

namespace zepx {

namespace {

constexpr int kClickKind = 1;  // "L_Click" in CommandBox
const char kProgramManager[] = "Program Manager";
const char kIdleText[] = "待機中";

// The tick's own message processing may dispatch the next tick; that one
// must not run a second pick step inside the first.
class TickGuard {
 public:
  explicit TickGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~TickGuard() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

std::string DescribeWindow(IWindows& windows, Hwnd w) {
  const Hwnd parent = windows.GetParent(w);
  const std::string parent_text = windows.WindowText(parent);
  if (!parent_text.empty()) {
    const std::string grand_text = windows.WindowText(windows.GetParent(parent));
    return ComposeChildTargetDescriptor(grand_text.empty() ? parent_text : grand_text,
                                        windows.WindowClassName(w), w);
  }
  const std::string text = windows.WindowText(w);
  if (!text.empty()) return ComposeTargetDescriptor(text, w);
  return ComposeTargetDescriptor(windows.WindowClassName(w), w);
}

std::vector<std::string> TargetListEntries(IWindows& windows) {
  std::vector<std::string> out;
  for (const IWindows::TopLevel& w : windows.EnumTopLevelWindows(kTopLevelLimit))
    if (!w.text.empty() && w.text != kProgramManager)
      out.push_back(ComposeTargetDescriptor(w.text, w.hwnd));
  return out;
}

std::vector<std::string> ApplicationTitleEntries(IWindows& windows) {
  std::vector<std::string> out;
  for (const IWindows::TopLevel& w : windows.EnumTopLevelWindows(kTopLevelLimit))
    if (!w.text.empty() && w.text != kProgramManager) out.push_back(w.text);
  return out;
}

std::vector<std::string> PaletteTitleEntries(IWindows& windows) {
  std::vector<std::string> out;
  for (const IWindows::TopLevel& w : windows.EnumTopLevelWindows(kTopLevelLimit))
    if (w.text != kProgramManager) out.push_back(w.text);
  return out;
}

WindowPicker::WindowPicker(Platform& platform, Batch& batch, Controls controls,
                           std::function<Hwnd()> own_window,
                           std::function<void()> refresh_coordinates)
    : platform_(platform),
      batch_(batch),
      c_(controls),
      own_window_(std::move(own_window)),
      refresh_coordinates_(std::move(refresh_coordinates)) {}

WindowPicker::~WindowPicker() {
  if (copy_flash_) platform_.loop.KillTimer(copy_flash_);
  if (paste_flash_) platform_.loop.KillTimer(paste_flash_);
  if (phase_ == Phase::Idle) return;
  // Torn down in the middle of a pick: nothing of it may outlive us.
  c_.MouseTimer.SetEnabled(false);
  Unhook();
  platform_.input.ReleaseCapture();
  platform_.input.SetScreenCursor(saved_cursor_);
}

// ---- the pick ---------------------------------------------------------------

bool WindowPicker::LeftButtonDown() {
  return (platform_.input.GetAsyncKeyState(win::VK_LBUTTON) & 0xFF00) != 0;
}

void WindowPicker::XYButtonClick() {
  if (phase_ != Phase::Idle) return;
  if (c_.CommandBox.ItemIndex() == kKindWait) c_.CommandBox.SetItemIndex(kClickKind);
  c_.StatusLabel.SetCaption(kPickPrompt);
  saved_cursor_ = platform_.input.GetScreenCursor();
  platform_.input.SetScreenCursor(win::IDC_CROSS);
  c_.XLabel.SetEnabled(true);
  c_.YLabel.SetEnabled(true);
  // The press on the button itself must not end the pick. Pointing starts
  // once the button is up; while it is still held, the timer watches for
  // its release instead of the thread waiting on it.
  phase_ = Phase::AwaitingRelease;
  if (!LeftButtonDown()) StartPointing();
  c_.MouseTimer.SetEnabled(true);
}

void WindowPicker::StartPointing() {
  platform_.input.SetCapture(own_window_());
  journal_hook_ = platform_.input.SetJournalRecordHook();
  // The button state is read once a tick, and a quick click falls between
  // two ticks; the mouse hook notes every press, so the next click ends the
  // pick wherever the journal hook is refused or never called.
  left_pressed_ = false;
  mouse_hook_ = platform_.input.SetLeftButtonHook([this] { left_pressed_ = true; });
  phase_ = Phase::Picking;
}

void WindowPicker::MouseTimerTimer() {
  if (in_tick_) return;
  if (phase_ == Phase::AwaitingRelease) {
    if (!LeftButtonDown()) StartPointing();
    return;
  }
  if (phase_ != Phase::Picking) {
    c_.MouseTimer.SetEnabled(false);
    return;
  }
  Point p;
  {
    TickGuard guard(in_tick_);
    platform_.input.GetCursorPos(p);
    pointed_ = platform_.windows.WindowFromPoint(p);
    const std::string d = DescribeWindow(platform_.windows, pointed_);
    if (c_.AppComboBox.Count() == 0) c_.AppComboBox.Add(d);
    else if (c_.AppComboBox.Item(0) != d) c_.AppComboBox.SetItem(0, d);
    c_.AppComboBox.SetText(d);
    // Screen coordinates as read: a monitor left of or above the primary
    // one gives negative values, clamped only when the field is left.
    bound_.reset();
    if (c_.WindowPointCheck.Checked()) bound_ = BoundPointAt(platform_.windows, p);
    c_.XLabel.SetValue(bound_ ? bound_->x : p.x);
    c_.YLabel.SetValue(bound_ ? bound_->y : p.y);
    // Keeps the window painting and the hot keys answering while the user
    // points.
    platform_.loop.ProcessPendingMessages();
  }
  if (phase_ == Phase::Picking && (left_pressed_ || LeftButtonDown())) EndPick(p);
}

void WindowPicker::EndPick(Point p) {
  c_.MouseTimer.SetEnabled(false);
  const int s = batch_.Selected();
  if (s >= 0) {
    const std::string& text = batch_.Text(s);
    if (auto line = bound_ ? WithPickedBoundPoint(text, *bound_) : WithPickedPoint(text, p.x, p.y))
      batch_.Replace(s, *line);
  }
  if (color_field_ && c_.CommandBox.ItemIndex() == kKindWaitColor) {
    if (const auto rgb = platform_.windows.GetPixel(p)) color_field_->SetText(RgbText(*rgb));
  }
  Unhook();
  platform_.input.ReleaseCapture();
  platform_.input.SetScreenCursor(saved_cursor_);
  c_.StatusLabel.SetCaption(kIdleText);
  phase_ = Phase::Idle;
  WarnIfUnreachable(pointed_, c_.AppComboBox.Text());
}

std::optional<BoundPoint> WindowPicker::PickedWindow() const {
  if (!c_.WindowPointCheck.Checked()) return std::nullopt;
  return bound_;
}

void WindowPicker::WarnIfUnreachable(Hwnd w, const std::string& name) {
  const std::optional<std::uint32_t> own = platform_.windows.IntegrityLevel(0);
  if (!own || w == 0) return;
  const std::optional<std::uint32_t> level = platform_.windows.IntegrityLevel(w);
  if (!level || *level <= *own) return;
  platform_.dialogs.MessageBox(
      name + "\r\nは管理者として実行されているプログラムのウインドウです.\r\n"
      "管理者として実行されていないZEPXからの入力はWindowsに破棄され、届きません.\r\n"
      "ファイルメニューの「ZEPXをもう一つ起動[管理者]」で、管理者として実行するZEPXを起動できます.",
      MsgKind::Info);
}

void WindowPicker::GetAppButtonUserClick() {
  GetAppButtonClick();
  // The entry the refresh selects is the target the next command gets.
  const int i = c_.AppComboBox.ItemIndex();
  if (i < 0) return;
  const TargetDescriptor d = ReadTargetDescriptor(c_.AppComboBox.Item(i));
  if (d.handle) WarnIfUnreachable(static_cast<Hwnd>(*d.handle), c_.AppComboBox.Item(i));
}

void WindowPicker::Unhook() {
  if (journal_hook_) platform_.input.UnhookWindowsHookEx(journal_hook_);
  if (mouse_hook_) platform_.input.UnhookWindowsHookEx(mouse_hook_);
  journal_hook_ = mouse_hook_ = 0;
}

// ---- the lists ----------------------------------------------------------------

void WindowPicker::GetAppButtonClick() {
  // The text in the field stays: it may be a target the user typed.
  c_.AppComboBox.SetItems(TargetListEntries(platform_.windows));
  if (c_.AppComboBox.Count() >= 3) {
    c_.AppComboBox.SetItemIndex(2);
    c_.AppComboBox.SetText(c_.AppComboBox.Item(2));
  }
}

void WindowPicker::GetAppButton2Click() {
  c_.SendTextEdit.SetItems(ApplicationTitleEntries(platform_.windows));
}

// ---- coordinate copy and paste ----------------------------------------------------

void WindowPicker::Flash(TButton& button, std::uint32_t& timer) {
  button.SetFontColor(kColorYellow);
  platform_.loop.ProcessPendingMessages();
  // The colour returns from a timer, so the window stays live meanwhile; a
  // second click in the flash starts it again.
  if (timer) platform_.loop.KillTimer(timer);
  timer = platform_.loop.SetTimer(kFlashMs, [this, &button, &timer] { StopFlash(button, timer); });
}

void WindowPicker::StopFlash(TButton& button, std::uint32_t& timer) {
  platform_.loop.KillTimer(timer);
  timer = 0;
  button.SetFontColor(kColorWindowText);
}

void WindowPicker::XYCopyClick() {
  Flash(c_.XYCopy, copy_flash_);
  const int s = batch_.Selected();
  if (s < 0) return;
  if (auto text = CoordinateText(batch_.Text(s))) buffer_ = *text;
}

void WindowPicker::XYPasteClick() {
  Flash(c_.XYPaste, paste_flash_);
  const int s = batch_.Selected();
  if (s >= 0) {
    if (auto line = WithCoordinateText(batch_.Text(s), buffer_)) batch_.Replace(s, *line);
  }
  refresh_coordinates_();
}

// ---- focus --------------------------------------------------------------------------

// A wait for a condition takes its deadline from the wait field, and a
// wait for a colour its point from the coordinates: they keep their kind.
void WindowPicker::SpinEdit1Enter() {
  if (c_.CommandBox.ItemIndex() < kKindWaitWindowOpen) c_.CommandBox.SetItemIndex(kKindWait);
}

void WindowPicker::XLabelEnter() {
  if (c_.CommandBox.ItemIndex() != kKindWaitColor) c_.CommandBox.SetItemIndex(kClickKind);
}

}  // namespace zepx
