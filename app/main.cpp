// zepx.exe: the real platform, the native windows, and the program.

// Our headers before <windows.h>: platform/types.h names constants that
// it defines as macros.
#include "platform/win32/native_ui.h"
#include "platform/win32/win32_platform.h"
#include "shell/program.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
              ICC_UPDOWN_CLASS;
  InitCommonControlsEx(&icc);

  zepx::win32::Win32Platform platform;
  zepx::win32::NativeUi ui;
  // Keyboard navigation, menu shortcuts and mnemonics of our forms.
  platform.SetMessageFilter([&](MSG& msg) { return ui.PreTranslateMessage(msg); });

  zepx::Program program(platform.platform(), [&](zepx::TForm& f) { ui.Bind(f); });
  ui.BindApplication(program.Application);
  // Message boxes carry the application title and sit on the main window.
  platform.SetTitleSource([&] { return program.Application.Title(); });
  platform.SetOwnerSource([&] { return program.MainForm ? program.MainForm->Handle() : 0; });

  program.Start();
  return program.Run();
}
