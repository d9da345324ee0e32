// Minimising into the notification area, the tray icon's menu, and the
// translucent main window with its periodic check for the game client that
// cannot live with it.
#include <algorithm>
#include <string>

#include "base/text.h"
#include "shell/main_form.h"

namespace zepx {

namespace {

const char kTdWindowClass[] = "Ultima Online Third Dawn";
const char kTdMessage[] =
    "UO:TD起動中は半透明Windowが使用できません\r\n"
    "OKをクリックするとZEPを終了しますので\r\n"
    "再度ZEPを起動し直してください";
constexpr int kGwlExStyle = -20;
constexpr std::size_t kTipBytes = 63;  // the record's 64-byte field keeps a zero

std::uint8_t AlphaByte(int alpha) { return static_cast<std::uint8_t>(std::clamp(alpha, 50, 255)); }

}  // namespace

// ---- tray icon ------------------------------------------------------------------

void TMainForm::OnMinimize() {
  if (!settings.MinChecked) return;
  Application.ShowMainWindow(false);
  InTray = true;
  Application.Minimize();
  TrayIcon.owner = Handle();
  TrayIcon.id = 0;
  TrayIcon.flags = 7;
  TrayIcon.callback_message = kMsgTrayCallback;
  platform.shell.NotifyIconAdd(TrayIcon);
}

void TMainForm::TrayCallback(std::uint32_t mouse_message) {
  switch (mouse_message) {
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
    case win::WM_MBUTTONDBLCLK:
      if (InTray) RestoreFromTray();
      break;
    case win::WM_RBUTTONDOWN: {
      platform.windows.SetForegroundWindow(Handle());
      Point p;
      platform.input.GetCursorPos(p);
      if (PopupMenu1.empty()) PopupMenu1 = {&N7, &N3, &N5, &ZEPX1};
      PopupMenu(PopupMenu1, p.x, p.y);
      break;
    }
    default:
      break;
  }
}

void TMainForm::RestoreFromTray() {
  platform.windows.SetForegroundWindow(Handle());
  Application.Restore();
  platform.shell.NotifyIconDelete(TrayIcon);
  Application.ShowMainWindow(true);
  InTray = false;
}

void TMainForm::N7Click() { RestoreFromTray(); }

// Both menu commands show their tip at once: SetTrayTip refreshes the icon
// when the tip changes, and the icon is refreshed here when it did not.
void TMainForm::N3Click() {
  const std::string before = TrayIcon.tip;
  SetTrayTip("ZEPX - 実行中");
  if (TrayIcon.tip == before) ReAddTrayIcon();
  BitBtn1Click();
  // A refused request (empty list, unset drag) never reaches the stop that
  // would put the idle tip back.
  if (!Running()) SetTrayTip("ZEPX");
}

void TMainForm::N5Click() {
  const std::string before = TrayIcon.tip;
  BitBtn3Click();
  if (TrayIcon.tip == before) ReAddTrayIcon();
}

void TMainForm::ZEPX1Click() { ExitProgram(); }

void TMainForm::ShowBalloon(const std::string& title, const std::string& text) {
  constexpr std::uint32_t kNifInfo = 0x10;
  if (InTray) {
    NotifyIconData d = TrayIcon;
    d.flags |= kNifInfo;
    d.info_title = title;
    d.info = text;
    platform.shell.NotifyIconModify(d);
    return;
  }
  BalloonIcon.owner = Handle();
  BalloonIcon.id = 1;
  BalloonIcon.flags = 7 | kNifInfo;
  BalloonIcon.callback_message = kMsgTrayCallback;
  BalloonIcon.tip = TrayIcon.tip;
  BalloonIcon.info_title = title;
  BalloonIcon.info = text;
  if (BalloonShown) platform.shell.NotifyIconModify(BalloonIcon);
  else BalloonShown = platform.shell.NotifyIconAdd(BalloonIcon);
}

void TMainForm::ShellRestarted() {
  // The new shell knows none of our icons: whatever was shown is added again.
  if (InTray) platform.shell.NotifyIconAdd(TrayIcon);
  if (BalloonShown) platform.shell.NotifyIconAdd(BalloonIcon);
}

void TMainForm::RemoveBalloonIcon() {
  if (!BalloonShown) return;
  platform.shell.NotifyIconDelete(BalloonIcon);
  BalloonShown = false;
}

void TMainForm::SetTrayTip(const std::string& tip) {
  const std::string kept = TruncateCp932(tip, kTipBytes);
  const bool changed = kept != TrayIcon.tip;
  TrayIcon.tip = kept;
  // The shell shows a new tip only when the icon is added again; without
  // this the tip would keep saying a run is going on after it has ended.
  if (changed && InTray) ReAddTrayIcon();
}

void TMainForm::ReAddTrayIcon() {
  // Only an icon that is there is refreshed; the menu items that call this
  // must not leave a stray icon beside a restored window.
  if (!InTray) return;
  platform.shell.NotifyIconDelete(TrayIcon);
  platform.shell.NotifyIconAdd(TrayIcon);
}

// ---- translucency ---------------------------------------------------------------------

void TMainForm::InitTranslucency() {
  if (TranslucencyInitialised) return;
  ITranslucency& t = platform.translucency;
  TranslucencyLibrary = t.LoadLibraryA("user32.dll");
  SetLayeredWindowAttributesFn =
      TranslucencyLibrary ? t.GetProcAddress(TranslucencyLibrary, "SetLayeredWindowAttributes") : nullptr;
  if (!SetLayeredWindowAttributesFn) {
    if (TranslucencyLibrary) t.FreeLibrary(TranslucencyLibrary);
    TranslucencyLibrary = 0;
  } else {
    const Hwnd h = Handle();
    t.SetWindowLongA(h, kGwlExStyle,
                     t.GetWindowLongA(h, kGwlExStyle) | static_cast<std::int32_t>(win::WS_EX_LAYERED));
    t.SetLayeredWindowAttributes(SetLayeredWindowAttributesFn, h, 0, AlphaByte(settings.Layered),
                                 win::LWA_ALPHA);
  }
  TDCheckTimer.SetInterval(5000);
  TDCheckTimer.SetEnabled(true);
  TranslucencyInitialised = true;
}

void TMainForm::SetTranslucency(int alpha) {
  InitTranslucency();
  if (SetLayeredWindowAttributesFn)
    platform.translucency.SetLayeredWindowAttributes(SetLayeredWindowAttributesFn, Handle(), 0,
                                                     AlphaByte(alpha), win::LWA_ALPHA);
  settings.Layered = AlphaByte(alpha);
}

void TMainForm::TDCheckTimerTimer() {
  if (platform.windows.FindWindowA(kTdWindowClass, nullptr) == 0) return;
  TDCheckTimer.SetEnabled(false);
  platform.dialogs.MessageBox(kTdMessage, MsgKind::Info);
  ExitProgram();
}

}  // namespace zepx
