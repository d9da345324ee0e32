// The windows created after the main window and kept, hidden, for the life
// of the program (the settings dialog has shell/setting_form.h).
#pragma once

#include "shell/send_list_form.h"  // TSendListForm
#include "ui/controls.h"
#include "ui/form.h"

namespace zepx {

// The About box, shown modally from the help menu.
class TAboutForm : public TForm {
 public:
  TAboutForm() : TForm("AboutForm", "ZEPXについて") {
    ClientWidth = 260;
    ClientHeight = 110;
    VersionLabel.SetCaption("ZEPX Version 1.51");
    VersionLabel.bounds = {20, 20, 220, 20};
    OKButton.SetCaption("OK");
    OKButton.bounds = {90, 64, 80, 26};
    OKButton.OnClick = [this] { Hide(); };  // ends the modal show
    Own(VersionLabel);
    Own(OKButton);
  }
  TLabel VersionLabel{"VersionLabel"};
  TButton OKButton{"OKButton"};
};

}  // namespace zepx
