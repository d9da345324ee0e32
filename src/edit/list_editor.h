// Editing the batch list once its lines exist: delete (a drag pair goes as
// a whole), clear, move a line, the keys of the list box, the display of
// the selected line's point, and the detached list window's copy of the
// list with its own Up, Down and Clear.
//
// The batch is the one truth. SendList (main window) follows it through
// the main window's mirror; SendList2 (detached window) is refreshed here
// after every change of the lines, and a move made in SendList2 is made on
// the batch, so that each line keeps its resolved target.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "model/batch.h"
#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace zepx {

inline constexpr const char* kClearQuestion = "全ての行を削除します。よろしいですか？";

// The main window's controls that list editing reads and switches.
struct ListControls {
  TForm& MainWindow;  // its caption
  TListBox& SendList;
  TComboBox& CommandBox;  // the function keys choose their kind here
  TButton& AddButton;     // the Insert key adds only while it is enabled
  TButton& DelButton;
  TButton& UpButton;
  TButton& DownButton;
  TButton& ClearButton;
  TWinSpinEdit& XLabel;
  TWinSpinEdit& YLabel;
  TButton& XYCopy;
  TButton& XYPaste;
  TMenuItem& mXYCopy;
  TMenuItem& mXYPaste;
};

// The detached list window's.
struct DetachedListControls {
  TForm& Window;  // its caption carries the line count
  TListBox& SendList2;
  TButton& UpButton;
  TButton& DownButton;
  TButton& ClearButton;
};

class ListEditor {
 public:
  ListEditor(Batch& batch, IDialogs& dialogs, const ListControls& c);

  // The composer's Add, run by the Insert and function keys.
  std::function<void()> Add;
  // The display now shows the point of this mouse line.
  std::function<void(const std::string& line)> PointShown;
  // The detached window exists from start-up on; until it is attached
  // only the main window is kept up to date.
  void AttachDetached(const DetachedListControls& d);

  void Delete();    // DelButton, the Delete key
  void Clear();     // either window's ClearButton: asks first
  void ClearNow();  // without asking (the send-method switch)
  void Move(int delta);  // UpButton -1, DownButton +1
  void KeyDown(int vk);  // a key pressed in SendList
  void RefreshCoordinateDisplay();
  // The main window's Delete, Up, Down and Clear and the detached
  // window's Up, Down and Clear together.
  void SetEditButtonsEnabled(bool enabled);
  // What every Add ends with, a refused one too: the display, the
  // buttons, the captions and the copy in the detached window.
  void Added();

  // The detached window: shown, its Up and Down.
  void DetachedShown();
  void MoveInDetached(int delta);

  // The batch changed (its mirror reports every change here).
  void BatchChanged(Batch::Change change);

 private:
  void RefreshDetached();
  void SetDetachedCaption(const std::string& caption);

  Batch& batch_;
  IDialogs& dialogs_;
  ListControls c_;
  std::optional<DetachedListControls> d_;
};

}  // namespace zepx
