// The life of the main window: creation with the command line, showing
// (settings, translucency, lists, hot key, send method, autorun), dropped
// files, further instances of the program, the help texts and the exits.
#include <string>
#include <vector>

#include "model/macro_file.h"
#include "shell/input_form.h"
#include "shell/main_form.h"
#include "shell/other_forms.h"
#include "shell/setting_form.h"

namespace zepx {

namespace {

const char kTdWindowClass[] = "Ultima Online Third Dawn";

bool IsMacroPath(const std::string& path) {
  // Exactly these two spellings; "a.Mcr" is not a macro file.
  const std::string ext = ExtractFileExt(path);
  return ext == ".MCR" || ext == ".mcr";
}

// The folder part of a path, with its trailing "\", or "" for a bare name.
std::string ExtractFilePath(const std::string& path) {
  return path.substr(0, path.size() - ExtractFileName(path).size());
}

// The program's own path as the first token of a command line. A path with
// a blank must be quoted, or the new process would split it and take the
// rest of its own path for a file argument.
std::string ProgramToken(const std::string& program) {
  if (program.find_first_of(" \t") == std::string::npos) return program;
  return "\"" + program + "\"";
}

const char* HelpText(int button) {
  switch (button) {
    case 1:
      return "キーを送信後、次のコマンドに繋がるまでの時間を指定してください。\r\n\r\n"
             "アプリケーションやOSのビジー状態により、最適値は大きく変わります。\r\n"
             "この値を十分に取らないと、次のコマンドが空振りする可能性があります。";
    case 2:
      return "クリックやダブルクリック座標指定時、クリック後、元の位置にカーソルが戻るまでの時間を指定してください。\r\n\r\n"
             "アプリケーションやOSのビジー状態により、最適値は大きく変わります。\r\n"
             "この値を十分に取らないと、クリックが空振りします。";
    case 3:
      return "ドラッグを送信後、実際にオブジェクトを掴むまでの時間を指定してください。\r\n\r\n"
             "アプリケーションやOSの状態により、最適値は大きく変わります。\r\n"
             "この値を十分に取らないと、正常にドラッグができません。";
    case 4:
      return "コマンド送信方法が[WinMessage]の場合、\r\n"
             "コマンド追加をする前にキー送信先を指定して下さい。\r\n\r\n"
             "プルダウンから送信先アプリを選択するか、[マウス(ｷｰ/Text)送信先座標]ボタンで\r\n"
             "送信先アプリ(クラス)を指定して下さい。";
    case 5:
      return "同時押しするShift/Alt/Ctrlを送信後に入れる時間を指定してください。\r\n\r\n"
             "アプリケーションやOSの状態により、最適値は大きく変わります。\r\n"
             "この値を十分に取らないと、正常に同時押しができないことがあります。";
    case 8:
      return "[_event]\r\n"
             "_eventコマンドを発行し、コマンドを送信します。\r\n"
             "キー送信は、常に最前面かつフォーカスがある場所へ送信されます。\r\n\r\n"
             "[SendInput]\r\n"
             "SendInputAPIを使用し、コマンドを送信します。\r\n"
             "キー送信は、常に最前面かつフォーカスがある場所へ送信されます。\r\n"
             "DirectInputを使用しているアプリケーションにも送信できます。\r\n\r\n"
             "[WinMessage]\r\n"
             "ターゲットにWindowsMessageを送信し、コマンドを送信します。\r\n"
             "必ずターゲット(Class)を設定する必要がありますが、\r\n"
             "コマンドがバックグラウンドでも送信できたり、_eventやSendInputよりも細かな指定ができます。";
    default:
      return nullptr;
  }
}

}  // namespace

// ---- creation and showing ----------------------------------------------------

void TMainForm::FormCreate() {
  Application.OnMinimize = [this] { OnMinimize(); };
  InTray = false;
  TrayIcon.owner = Handle();
  TrayIcon.id = 0;
  TrayIcon.flags = 7;
  TrayIcon.callback_message = kMsgTrayCallback;

  DialogInitialDir = ExtractFilePath(platform.shell.ProgramPath());
  platform.shell.DragAcceptFiles(Handle(), true);

  const std::vector<std::string> args = platform.shell.CommandLineArguments();
  if (!args.empty() && IsMacroPath(args[0])) {
    LoadedFromCommandLine = true;
    LoadMacro(args[0]);
  }
  for (std::size_t i = 1; i < args.size(); ++i)
    if (IsMacroPath(args[i])) OpenInNewInstance(args[i]);
  timed_events.StartClocks();
}

void TMainForm::FormShow() {
  LoadSettings();

  if (platform.shell.WindowsMajorVersion() >= 5 &&
      platform.windows.FindWindowA(kTdWindowClass, nullptr) == 0 && settings.Layered != 255)
    InitTranslucency();

  GetAppButtonClick();
  GetAppButton2.Click();

  HookHotKey2.RegisterKey(1, HotKey2);
  SetTrayTip("ZEPX");

  CommandBox.SetItemIndex(0);
  // The stored send method, or the one of the macro file opened from the
  // command line, which the load left alone. An index from a damaged key
  // falls back to the default method.
  int method = settings.PostRadioGroupIndex;
  if (LoadedFromCommandLine && PostRadioGroup.ItemIndex() >= 0) method = PostRadioGroup.ItemIndex();
  if (method < kSendEvent || method > kSendWinMessage) method = kSendInput;
  settings.PostRadioGroupIndex = method;
  // The switch runs also when the selector already shows the method, so
  // that the target controls match it from the start.
  if (PostRadioGroup.ItemIndex() == method) PostRadioGroupClick();
  else PostRadioGroup.SetItemIndex(method);
  settings.PostMouseChecked = method == kSendWinMessage;
  ComboBoxEx1.SetItemIndex(0);

  platform.loop.PostTask([this] { DeferredStartup(); });
}

void TMainForm::DeferredStartup() {
  // The flags are consumed before the run starts: a drop during that run
  // posts this message again, and it must not start a second run.
  const bool dropped = DroppedFileToRun && !Running();
  const bool autorun = settings.AutoRunChecked && (LoadedFromCommandLine || dropped);
  LoadedFromCommandLine = false;
  DroppedFileToRun = false;
  if (autorun) RequestRun(RunSource::Autorun);
}

// ---- files from the shell and further instances ---------------------------------

void TMainForm::DropFiles(const std::vector<std::string>& files) {
  if (Recording()) return;  // a load, which a recording has disabled
  platform.windows.SetForegroundWindow(Handle());
  if (files.size() == 1) {
    const std::string& f = files[0];
    if (IsMacroPath(f)) {
      // The autorun option promises a run for a dropped file as well: for
      // one file that loaded (the start-up message below decides, and never
      // starts a run beside one going on).
      if (LoadMacro(f)) DroppedFileToRun = true;
    } else if (IsShortcutPath(f)) {
      platform.dialogs.MessageBox(kShortcutRefusedMessage, MsgKind::Info);
    }
  } else if (files.size() > 1) {
    if (IsMacroPath(files[0])) LoadMacro(files[0]);
    for (std::size_t i = 1; i < files.size(); ++i)
      if (IsMacroPath(files[i])) OpenInNewInstance(files[i]);
  }
  platform.loop.PostTask([this] { DeferredStartup(); });
}

void TMainForm::OpenInNewInstance(const std::string& path) {
  platform.shell.CreateProcessA(ProgramToken(platform.shell.ProgramPath()) + " \"" + path + "\"",
                                ExtractFilePath(path));
}

bool TMainForm::RunAsAdministrator(const std::string& file, const std::string& params) {
  if (platform.shell.WindowsMajorVersion() < 6) return false;
  return platform.shell.ShellExecuteRunAs(file, params);
}

void TMainForm::mNewZepClick() {
  const std::string program = platform.shell.ProgramPath();
  if (platform.shell.WindowsMajorVersion() >= 6) {
    RunAsAdministrator(program, "");
  } else {
    platform.shell.CreateProcessA(ProgramToken(program), ExtractFilePath(program));
  }
}

// ---- other windows and help ---------------------------------------------------------

void TMainForm::mAboutClick() {
  if (AboutForm) AboutForm->ShowModal();
}

// The guide is a page of its own beside zepx.exe, opened by whatever shows
// web pages; a copy of the program without it says where it belongs.
void TMainForm::mGuideClick() {
  const std::string guide = ExtractFilePath(platform.shell.ProgramPath()) + "guide-ja.html";
  if (platform.files.FileExists(guide)) platform.shell.ShellExecuteFile(guide, 1);
  else
    platform.dialogs.MessageBox("使い方ガイド (guide-ja.html) が見つかりません.\r\nzepx.exe と同じフォルダーに置いてください.",
                                MsgKind::Info);
}

void TMainForm::SpeedButton1Click() {
  if (InputForm) InputForm->Open();
}

void TMainForm::mSettingClick() {
  if (SettingForm && SettingForm->Execute()) SettingForm->Apply();
}

void TMainForm::Button7Click() {
  if (!SettingForm) return;
  SettingForm->ShowEventPage = true;
  mSetting.Click();
  SettingForm->ShowEventPage = false;
}

void TMainForm::ShowHelp(int button) {
  if (const char* text = HelpText(button)) platform.dialogs.MessageBox(text, MsgKind::Info);
}

// ---- exit -----------------------------------------------------------------------------

void TMainForm::BitBtn6Click() { ExitProgram(); }

void TMainForm::mExitClick() { ExitProgram(); }

void TMainForm::ExitProgram() {
  StopMacro();
  Close();
}

void TMainForm::Close() {
  if (closed_ || closing_) return;
  if (Running()) {
    // Never tear the window down under a run: it may be holding modifier
    // keys or a mouse button, or have the cursor confined. The run ends its
    // command, releases everything and calls Close again once unwound.
    close_pending_ = true;
    StopMacro();
    return;
  }
  closing_ = true;
  close_pending_ = false;
  FormCloseQuery();  // saves; it never refuses
  FormClose();
  Hide();
  FormDestroy();
  if (Native()) Native()->Destroy();
  closed_ = true;
  closing_ = false;
  platform.loop.Quit();
}

void TMainForm::SessionEnding() {
  if (closed_ || closing_) return;
  if (!Running()) {
    Close();
    return;
  }
  // The run cannot unwind before the system ends the process, so the
  // settings are saved now rather than after it; the close still follows
  // the run if the process lives on.
  close_pending_ = true;
  StopMacro();
  SaveSettings();
}

bool TMainForm::FormCloseQuery() {
  SaveSettings();
  return true;
}

void TMainForm::FormClose() {
  HookHotKey2.UnregisterKey(1);
  // The stop key may still be held after the settings dialog; let it go too.
  HookHotKey1.UnregisterKey(1);
  platform.shell.NotifyIconDelete(TrayIcon);
  InTray = false;
  RemoveBalloonIcon();
}

void TMainForm::FormDestroy() {
  TDCheckTimer.SetEnabled(false);
  timed_events.StopClocks();
  if (TranslucencyLibrary) platform.translucency.FreeLibrary(TranslucencyLibrary);
  TranslucencyLibrary = 0;
  SetLayeredWindowAttributesFn = nullptr;
}

}  // namespace zepx
