// The settings dialog "ZEPX設定": the controls and their actions of
// SettingDialog on three pages, with OK and Cancel, shown modally from the
// main window. Created once at start-up and hidden between uses.
#pragma once

#include "settings/setting_dialog.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace zepx {

class TMainForm;

class TSettingForm : public TForm, private ISettingDialogHost, public SettingDialog {
 public:
  TSettingForm(Platform& platform, TMainForm& main);
  ~TSettingForm() override;

  TButton BitBtn1{"BitBtn1"};  // OK (Enter)
  TButton BitBtn2{"BitBtn2"};  // Cancel (Escape)

  // Fills the controls, shows the dialog modally and returns true when it
  // was closed with OK. Applying the values is then the caller's.
  bool Execute();

  // The close box and Escape cancel.
  void CloseRequested() override { BitBtn2Click(); }
  void BitBtn1Click();
  void BitBtn2Click();

 protected:
  Hwnd DialogWindow() const override { return Handle(); }

 private:
  void BuildControls();

  // ISettingDialogHost: the main window.
  void SetDialogInitialDir(const std::string& dir) override;
  void SetTopmost(bool topmost) override;
  void ApplyHotKeyLetters(int start_index, int stop_index) override;
  void SetTranslucency(int alpha) override;
  void SetTDCheckTimer(bool enabled) override;
  void ExecuteEventActions(int event) override;

  TMainForm& main_;
  bool confirmed_ = false;
};

}  // namespace zepx
