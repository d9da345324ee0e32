// The command palette "ZEPX コマンド入力フォーム": a window of buttons, one
// per command kind, grouped by kind. It composes no lines itself. A button
// selects its kind in the main window's CommandBox and, with AddCheckBox
// ticked, clicks the main window's AddButton, so that the main window's
// composer adds the command with the main window's coordinates, target and
// modifiers. Created hidden at start-up and kept, with its state, for the
// life of the program.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/window_alpha.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace zepx {

class TMainForm;

class TInputForm : public TForm {
 public:
  TInputForm(Platform& platform, TMainForm& main);
  ~TInputForm() override;

  // The main window's palette button: shows the palette, with a fresh
  // application list when it was hidden.
  void Open();
  // The main window's modifier check box `name` ("ShiftCheck", "AltCheck"
  // or "CtrlCheck") was clicked: ours takes the same state, without
  // sending it back. Other names are ignored.
  void MirrorModifier(const std::string& name, bool checked);

  // A command button by its form name (BitBtn2 ... BitBtn43, Button1 ...
  // Button41), or null.
  TButton* KeyButton(const std::string& name);

  // ---- controls, in tab order ---------------------------------------------
  TCheckBox AddCheckBox{"AddCheckBox"};
  TTrackBar LayerBar{"LayerBar", 100, 255, 255};
  TGroupBox WaitGroup{"WaitGroup"};
  TButton BitBtn1{"BitBtn1"};  // the wait; the default button
  TWinSpinEdit SpinEdit1{"SpinEdit1", 1, 3600000, 100, 1000};
  TGroupBox ModGroup{"ModGroup"};
  TCheckBox ShiftCheck{"ShiftCheck"};
  TCheckBox AltCheck{"AltCheck"};
  TCheckBox CtrlCheck{"CtrlCheck"};
  // The command-button groups (clicks, function keys, letters, keypad,
  // arrows, special keys, events) are made from a table in input_form.cpp.
  TComboBox ComboBoxEx1{"ComboBoxEx1"};  // 0 text to send, 1 application to bring to front
  TButton GetAppButton{"GetAppButton"};
  TComboBox SendTextEdit{"SendTextEdit"};
  TButton BitBtn8{"BitBtn8"};  // "[確定]"

  // ---- handlers ----------------------------------------------------------------
  void FormCreate();
  void FormShow();
  void CommandButtonClick(int kind);
  void BitBtn1Click();
  void KeypadButtonClick(int kind);  // "[+]" and "[*]"
  void ComboBoxEx1Select();
  void SendTextEditEnter();
  void BitBtn8Click();
  void GetAppButtonClick();
  void LayerBarChange();

 private:
  void BuildControls();
  void ModifierClick(TCheckBox& ours, TCheckBox& main);

  Platform& platform_;
  TMainForm& main_;
  WindowAlpha alpha_;
  std::vector<std::unique_ptr<TGroupBox>> key_groups_;
  std::vector<std::unique_ptr<TButton>> key_buttons_;
  bool mirroring_ = false;  // a change from the main window is being copied in
};

}  // namespace zepx
