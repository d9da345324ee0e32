// Loading and saving macro files, and the pieces of main-window state that a
// load drives: the coordinate display, the editing buttons and the
// send-method switch.
#include <algorithm>

#include "model/command_line.h"
#include "model/macro_file.h"
#include "shell/main_form.h"

namespace zepx {

namespace {

const char* const kMacroFilter = "ZEP SendBatch List (*.mcr)|*.mcr";
const char* const kMacroExt = "mcr";

// File-system failures have no message of their own in the program's
// vocabulary; these say plainly that nothing was read or written.
std::string ReadFailedMessage(const std::string& path) {
  return "ファイルを読み込めませんでした.\r\n" + path;
}
std::string WriteFailedMessage(const std::string& path) {
  return "ファイルを保存できませんでした.\r\n" + path + "\r\nマクロは保存されていません.";
}
// Where only an overwrite in place is possible, the user decides whether
// the old file may be put at risk.
std::string InPlaceQuestion(const std::string& path) {
  return "このフォルダには一時ファイルを作成できないため、元のファイルを残したまま保存することができません.\r\n" +
         path + "\r\n\r\n直接上書きしますか？\r\n保存の途中で失敗した場合、元のファイルの内容は失われます.";
}

MacroSettings CurrentMacroSettings(TMainForm& f) {
  // Fields are written as they are clamped when left, so a file never holds
  // a value the field itself would not keep.
  auto clamped = [](TWinSpinEdit& e) { return e.CheckValue(e.Value()); };
  MacroSettings s;
  s.key = clamped(f.KeyAfterDelay);
  s.click = clamped(f.ClickAfterDelay);
  s.drag = clamped(f.DragDelay);
  s.shift_alt_ctrl = clamped(f.ShiftAltCtrlDelay);
  s.loop = clamped(f.LoopSpinEdit);
  const int method = f.PostRadioGroup.ItemIndex();
  s.send_api = IsValidSendMethod(method) ? method : kDefaultSendMethod;
  return s;
}

void ApplyAssignment(TMainForm& f, const MacroAssignment& a) {
  switch (a.field) {
    case MacroField::Key: f.KeyAfterDelay.SetValue(a.value); break;
    case MacroField::Click: f.ClickAfterDelay.SetValue(a.value); break;
    case MacroField::Drag: f.DragDelay.SetValue(a.value); break;
    case MacroField::SftAltCtl: f.ShiftAltCtrlDelay.SetValue(a.value); break;
    case MacroField::Loop: f.LoopSpinEdit.SetValue(a.value); break;
    case MacroField::SendAPI:
      // An index past the buttons lands on the nearest one rather than
      // leaving no method selected.
      f.PostRadioGroup.SetItemIndex(ClampSendMethod(a.value));
      f.PreviousSendMethod = f.PostRadioGroup.ItemIndex();
      break;
  }
}

}  // namespace

bool TMainForm::LoadMacro(const std::string& path) {
  if (!platform.files.FileExists(path)) {
    platform.dialogs.MessageBox(FileNotFoundMessage(path), MsgKind::Info);
    return false;
  }
  if (IsShortcutPath(path)) {
    platform.dialogs.MessageBox(kShortcutRefusedMessage, MsgKind::Info);
    return false;
  }
  // The whole file is read before anything changes, so a file that cannot
  // be read leaves the list and settings as they were.
  std::string bytes;
  if (!platform.files.ReadFile(path, bytes)) {
    platform.dialogs.MessageBox(ReadFailedMessage(path), MsgKind::Info);
    return false;
  }
  const MacroReadResult result = ReadMacroFile(bytes);

  batch.SetLines(result.lines);
  for (const MacroAssignment& a : result.assignments) ApplyAssignment(*this, a);

  if (!result.ok()) {
    platform.dialogs.MessageBox(result.FailureMessage(), MsgKind::Info);
    batch.Clear();
    RefreshCoordinateDisplay();
    SetEditButtonsEnabled(false);
    SetCaption("ZEPX");
  } else {
    if (!batch.Empty()) batch.Select(0);
    RefreshCoordinateDisplay();
    if (batch.Selected() >= 0) SetEditButtonsEnabled(true);
    SetCaption("ZEPX - " + ExtractFileName(path));
    SaveDialogFileName = path;
  }
  // Loaded under a run (a chain file, the File menu, a drop): the run must
  // send to this list's targets, not to the old list's.
  Engine().ListReplaced();
  return result.ok();
}

void TMainForm::mLoadClick() {
  FileDialogOptions o;
  o.filter = kMacroFilter;
  o.default_ext = kMacroExt;
  o.file_name = "*.mcr";
  o.initial_dir = DialogInitialDir;
  if (auto path = platform.dialogs.OpenFileDialog(o)) LoadMacro(*path);
}

void TMainForm::mSaveClick() {
  FileDialogOptions o;
  o.filter = kMacroFilter;
  o.default_ext = kMacroExt;
  o.file_name = SaveDialogFileName;
  o.initial_dir = DialogInitialDir;
  o.overwrite_prompt = true;
  auto path = platform.dialogs.SaveFileDialog(o);
  if (!path) return;
  SaveDialogFileName = *path;  // the dialog keeps its choice for next time

  const std::string bytes = WriteMacroFile(batch.Texts(), CurrentMacroSettings(*this));
  SaveResult result = platform.files.WriteFile(*path, bytes);
  if (result == SaveResult::NoSafeReplace) {
    if (platform.dialogs.MessageBox(InPlaceQuestion(*path), MsgKind::YesNo) != MsgResult::Yes) return;
    result = platform.files.WriteFileInPlace(*path, bytes) ? SaveResult::Saved : SaveResult::Failed;
  }
  if (result != SaveResult::Saved) {
    // The caption keeps naming the file last loaded or saved successfully.
    platform.dialogs.MessageBox(WriteFailedMessage(*path), MsgKind::Info);
    return;
  }
  SetCaption("ZEPX - " + ExtractFileName(*path));
}

void TMainForm::mFileClick() { mSave.SetEnabled(batch.Selected() >= 0); }

void TMainForm::RefreshCoordinateDisplay() { editor.RefreshCoordinateDisplay(); }

void TMainForm::SetEditButtonsEnabled(bool enabled) { editor.SetEditButtonsEnabled(enabled); }

void TMainForm::PostRadioGroupClick() {
  if (!LoadedFromCommandLine) PostRadioGroup.SetFocus();
  const int method = PostRadioGroup.ItemIndex();
  if (batch.Selected() >= 0) {
    if (const char* question = SendMethodSwitchQuestion(PreviousSendMethod, method)) {
      if (platform.dialogs.MessageBox(question, MsgKind::OkCancel) == MsgResult::Ok) {
        editor.ClearNow();
      } else {
        // Runs this switch again, which finds nothing to ask.
        PostRadioGroup.SetItemIndex(PreviousSendMethod);
        return;
      }
    }
  }
  PreviousSendMethod = method;
  const bool win_message = method == kSendWinMessage;
  settings.PostMouseChecked = win_message;
  AppComboBox.SetEnabled(win_message);
  GetAppButton.SetEnabled(win_message);
  AutoHandleCheckBox.SetEnabled(win_message);
}

}  // namespace zepx
