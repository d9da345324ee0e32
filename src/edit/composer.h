// The command composer: turns the main window's input area into new
// command lines and places them in the batch list (Add), and the small
// reactions of the input area that prepare a command. AddButton, the
// Insert and function keys of the list and every button of the command
// palette end in Add. The line forms are the model's (ComposeNewCommand);
// this decides where lines go, what is refused, and what the window shows
// afterwards.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "edit/list_editor.h"
#include "model/batch.h"
#include "model/command_line.h"
#include "platform/platform.h"
#include "ui/controls.h"

namespace zepx {

inline constexpr const char* kTooManyLinesMessage = "登録できるコマンドは最大999個までです";
inline constexpr const char* kNoTextMessage = "送信文字列を入力して下さい";
inline constexpr const char* kNoTargetMessage = "キー送信先アプリケーションを選択指定して下さい";
inline constexpr const char* kNoWaitTitleMessage = "待つウインドウのタイトル(タイトル@@クラス名)を入力して下さい";
inline constexpr const char* kBadColorMessage = "色はRRGGBB(16進数6桁)で入力して下さい";
inline constexpr const char* kKeypadKeyMessage =
    "[+]と[*]キーはテンキーコマンドの為、テンキーが無いPCの場合\r\n"
    "Shiftと同時押ししないと正しく出力されません。";

// The input area, by the controls' form names.
struct ComposerControls {
  TComboBox& CommandBox;    // the kinds
  TWinSpinEdit& SpinEdit1;  // wait in ms
  TWinSpinEdit& XLabel;
  TWinSpinEdit& YLabel;
  TCheckBox& ShiftCheck;
  TCheckBox& AltCheck;
  TCheckBox& CtrlCheck;
  TComboBox& ComboBoxEx1;   // text-field mode: 0 text to send, 1 application
  TComboBox& SendTextEdit;  // the text field
  TButton& GetAppButton2;   // fills the text field's list with applications
  TComboBox& AppComboBox;   // the target field
  TButton& AddButton;
};

// The fields only the waits for a window or a colour read; their deadline
// is the wait field, a window's title the text field, the point X and Y.
struct WaitFields {
  TEdit& Color;                // RRGGBB
  TWinSpinEdit& Tolerance;     // per channel
  TCheckBox& StopAtDeadline;   // else the run goes on at the deadline
};

class Composer {
 public:
  // win_message reads the WinMessage flag at the moment of each Add.
  Composer(Batch& batch, IDialogs& dialogs, const ComposerControls& c, ListEditor& editor,
           std::function<bool()> win_message);

  void Add();
  // Places finished lines where Add places a command (a recording's): the
  // selection, the buttons and the detached list follow as after an Add.
  void Place(const std::vector<std::string>& lines);
  void KindSelected();      // the user picked an entry of CommandBox
  void TextModeSelected();  // ... of ComboBoxEx1
  void TextFieldEntered();  // SendTextEdit received the focus
  void UseWaitFields(const WaitFields& f) { wait_.emplace(f); }

  // A modifier check box was clicked: the command palette keeps its check
  // box of the same name ("ShiftCheck", "AltCheck", "CtrlCheck") in step
  // through this, once it has set it.
  std::function<void(const std::string& name, bool checked)> MirrorModifier;

  // A line was placed while a run goes on: the run resolves its target
  // now, so that a line added to a WinMessage run reaches its window.
  std::function<void(int row)> LineAdded;

  // The window the coordinate boxes' point belongs to, when the picker
  // took it bound to one: a click is then added bound to that window.
  std::function<std::optional<BoundPoint>()> BoundWindow;

 private:
  void SetTextMode(int mode);
  bool ReadWaitFields(NewCommand& n);
  void Insert(const std::vector<std::string>& lines, int select_after);

  Batch& batch_;
  IDialogs& dialogs_;
  ComposerControls c_;
  ListEditor& editor_;
  std::function<bool()> win_message_;
  std::optional<WaitFields> wait_;
};

}  // namespace zepx
