// The program on the real desktop: the real platform, the native windows and
// the forms wired together. zepx.exe runs it; the load benchmark builds the
// same thing, so what it measures is what users start.
#pragma once

// Our headers before <windows.h>: platform/types.h names constants that
// it defines as macros.
#include "ui/win32/native_ui.h"
#include "platform/win32/win32_platform.h"
#include "shell/program.h"

#include <windows.h>

#include <commctrl.h>

namespace zepx::win32 {

class DesktopProgram {
 public:
  DesktopProgram()
      : controls_loaded_(LoadCommonControls()),
        program(platform.platform(), [this](TForm& f) { ui.Bind(f); }) {
    // Keyboard navigation, menu shortcuts and mnemonics of our forms.
    platform.SetMessageFilter([this](MSG& msg) { return ui.PreTranslateMessage(msg); });
    ui.BindApplication(program.Application);
    // Message boxes carry the application title and sit on the main window.
    platform.SetTitleSource([this] { return program.Application.Title(); });
    platform.SetOwnerSource([this] { return program.MainForm ? program.MainForm->Handle() : 0; });
  }
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

 private:
  // The classes of common controls 6 must be registered before the first
  // form makes its native windows.
  static bool LoadCommonControls() {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                ICC_UPDOWN_CLASS;
    return InitCommonControlsEx(&icc) != FALSE;
  }
  bool controls_loaded_;  // first member: initialised before the forms exist

 public:
  Win32Platform platform;
  NativeUi ui;
  Program program;
};

}  // namespace zepx::win32
