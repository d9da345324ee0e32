// zepx.exe: the real platform, the native windows, and the program.
// Our headers before <windows.h>: platform/types.h names constants that
// it defines as macros.
#include "platform/win32/win32_platform.h"
#include "shell/program.h"

#if __has_include("platform/win32/native_ui.h")
#include "platform/win32/native_ui.h"
#define ZEPX_HAVE_NATIVE_UI 1
#endif

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
              ICC_UPDOWN_CLASS;
  InitCommonControlsEx(&icc);

  zepx::win32::Win32Platform platform;
#ifdef ZEPX_HAVE_NATIVE_UI
  zepx::win32::NativeUi ui;
  zepx::Program program(platform.platform(), [&](zepx::TForm& f) { ui.Bind(f); });
  ui.BindApplication(program.Application);
#else
  zepx::Program program(platform.platform());
#endif
  // Message boxes carry the application title and sit on the main window.
  platform.SetTitleSource([&] { return program.Application.Title(); });
  platform.SetOwnerSource([&] { return program.MainForm ? program.MainForm->Handle() : 0; });

  program.Start();
  return program.Run();
}
