// The native side of the forms: a top-level window for every TForm and a
// Win32 control for every control object it owns, kept in step with the
// objects in both directions. The program logic never sees any of this; it
// reads and writes the control objects, and the user's clicks, typing and
// selections come back through their From* methods.
//
// Sizes: the forms give their layout in 96-DPI pixels; every bound is
// scaled by the DPI of the monitor the window is on, and re-laid out when
// the window moves to a monitor with another DPI.
//
// The application title (the text the program shows as its task-bar text)
// cannot be shown separately from the main window's caption on current
// Windows, whose task bar shows the caption of the window itself. It is
// kept as the text of a message-only window of class "TApplication", which
// FindWindow never returns for a title search, so the main window stays the
// only window titled "ZEPX"; message boxes take their caption from it.
#pragma once

#include <memory>

#include "ui/form.h"

struct tagMSG;  // MSG of <windows.h>

namespace zepx::win32 {

class NativeUi {
 public:
  NativeUi();
  ~NativeUi();
  NativeUi(const NativeUi&) = delete;
  NativeUi& operator=(const NativeUi&) = delete;

  // Creates the form's window and a native control for each of its
  // controls. The first form bound is the main window: fixed single border,
  // system menu and minimise box, no maximise box, and the owner of every
  // form bound after it.
  void Bind(TForm& form);
  void BindApplication(TApplication& app);

  // For the message loop, before a message is translated and dispatched:
  // menu shortcuts, Tab and arrow navigation and button mnemonics of our
  // forms. True when the message was consumed.
  bool PreTranslateMessage(tagMSG& msg);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace zepx::win32
