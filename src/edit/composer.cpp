#include "edit/composer.h"

#include <algorithm>
#include <vector>

#include "model/command_line.h"

namespace zepx {

Composer::Composer(Batch& batch, IDialogs& dialogs, const ComposerControls& c, ListEditor& editor,
                   std::function<bool()> win_message)
    : batch_(batch), dialogs_(dialogs), c_(c), editor_(editor), win_message_(std::move(win_message)) {
  c_.AddButton.OnClick = [this] { Add(); };
  c_.CommandBox.OnSelect = [this] { KindSelected(); };
  c_.ComboBoxEx1.OnSelect = [this] { TextModeSelected(); };
  c_.SendTextEdit.OnEnter = [this] { TextFieldEntered(); };
  for (TCheckBox* box : {&c_.ShiftCheck, &c_.AltCheck, &c_.CtrlCheck}) {
    box->OnClick = [this, box] {
      if (MirrorModifier) MirrorModifier(box->Name, box->Checked());
    };
  }
  editor_.Add = [this] { Add(); };
}

void Composer::Add() {
  if (batch_.Count() >= kMaxComposedLines) {
    dialogs_.MessageBox(kTooManyLinesMessage, MsgKind::Info);
    return;
  }
  const int kind = c_.CommandBox.ItemIndex();
  if (kind < 0 || kind >= static_cast<int>(kCommandKindCount)) return;

  const int s = batch_.Selected();
  const bool at_end = s < 0 || s == batch_.Count() - 1;

  NewCommand n;
  n.kind = kind;
  n.wait_ms = c_.SpinEdit1.Value();
  n.x = c_.XLabel.Value();
  n.y = c_.YLabel.Value();
  n.text = c_.SendTextEdit.Text();
  n.target = c_.AppComboBox.Text();
  n.modifiers = {c_.ShiftCheck.Checked(), c_.AltCheck.Checked(), c_.CtrlCheck.Checked()};
  n.win_message = win_message_ && win_message_();
  if (BoundWindow) n.window = BoundWindow();

  // Appended keys, texts, applications and events are checked first;
  // waits, clicks and drags never are, and nothing inserted is.
  const KindForm form = KindFormOf(kind);
  const bool checked = at_end && form != KindForm::Wait && form != KindForm::Click &&
                       form != KindForm::DragPair && form != KindForm::WaitFor;
  bool refused = false;
  if (form == KindForm::WaitFor) {
    refused = !ReadWaitFields(n);
  } else if (checked && form == KindForm::Text && n.text.empty()) {
    dialogs_.MessageBox(kNoTextMessage, MsgKind::Info);
    c_.SendTextEdit.SetFocus();
    refused = true;
  } else if (checked && c_.AppComboBox.ItemIndex() < 0) {
    dialogs_.MessageBox(kNoTargetMessage, MsgKind::Info);
    // Outside WinMessage the field is disabled and can take neither the
    // focus nor a click: the message alone has to do.
    if (c_.AppComboBox.Enabled()) {
      c_.AppComboBox.SetFocus();
      c_.AppComboBox.SetDroppedDown(true);
    }
    refused = true;
  }

  // A refusal leaves the list as it was, and the window as after an add.
  Insert(refused ? std::vector<std::string>() : ComposeNewCommand(n, !at_end), 1);
}

bool Composer::ReadWaitFields(NewCommand& n) {
  // The boxes hold what the user typed until they are left: clamped here
  // as leaving them would.
  n.wait_ms = c_.SpinEdit1.CheckValue(n.wait_ms);
  if (wait_) {
    n.tolerance = static_cast<std::int32_t>(wait_->Tolerance.CheckValue(wait_->Tolerance.Value()));
    n.stop_at_deadline = wait_->StopAtDeadline.Checked();
  }
  if (n.kind == kKindWaitColor) {
    const std::optional<std::uint32_t> rgb = wait_ ? ReadRgb(wait_->Color.Text(), true) : std::nullopt;
    if (!rgb) {
      dialogs_.MessageBox(kBadColorMessage, MsgKind::Info);
      if (wait_) wait_->Color.SetFocus();
      return false;
    }
    n.rgb = *rgb;
  }
  // A window's title (and "@@" class) must read back as it was typed.
  if (ReadWaitCondition(ComposeNewCommand(n, false).front())) return true;
  dialogs_.MessageBox(kNoWaitTitleMessage, MsgKind::Info);
  c_.SendTextEdit.SetFocus();
  return false;
}

void Composer::Place(const std::vector<std::string>& lines) {
  // Past the last of them, as past the one line of an Add.
  Insert(lines, std::max(1, static_cast<int>(lines.size())));
}

void Composer::Insert(const std::vector<std::string>& lines, int select_after) {
  const int s = batch_.Selected();
  const bool at_end = s < 0 || s == batch_.Count() - 1;
  // Below a drop line, so that nothing comes between a drag and its drop.
  const int at = !at_end && HoldsDrop(batch_.Text(s)) ? s + 1 : s;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const int row = at_end ? batch_.Count() : at + static_cast<int>(k);
    batch_.Insert(row, lines[k]);
    if (LineAdded) LineAdded(row);
  }
  if (batch_.Has(s + select_after)) batch_.Select(s + select_after);
  editor_.Added();
}

void Composer::KindSelected() {
  const int kind = c_.CommandBox.ItemIndex();
  if (kind < 0 || kind >= static_cast<int>(kCommandKindCount)) return;
  switch (KindFormOf(kind)) {
    case KindForm::Wait:
      c_.SpinEdit1.SetFocus();
      break;
    case KindForm::Text:
      SetTextMode(0);
      c_.SendTextEdit.SetFocus();
      break;
    case KindForm::FrontApp:
      SetTextMode(1);
      c_.SendTextEdit.SetFocus();
      break;
    case KindForm::WaitFor:
      if (kind == kKindWaitColor) {
        if (wait_) wait_->Color.SetFocus();
      } else {
        SetTextMode(1);  // the titles of the windows there
        c_.SendTextEdit.SetFocus();
      }
      break;
    default:
      if (IsKeypadOnlyKind(kind)) dialogs_.MessageBox(kKeypadKeyMessage, MsgKind::Info);
      break;
  }
}

void Composer::TextModeSelected() {
  SetTextMode(c_.ComboBoxEx1.ItemIndex() == 1 ? 1 : 0);
  c_.SendTextEdit.SetFocus();
}

void Composer::TextFieldEntered() {
  // The field says what it holds: the kind follows it, without the
  // reactions of a kind the user picked. A window's title is what a wait
  // for a window takes from it.
  const int kind = c_.CommandBox.ItemIndex();
  if (kind >= kKindWaitWindowOpen && kind < kKindWaitColor) return;
  c_.CommandBox.SetItemIndex(c_.ComboBoxEx1.ItemIndex() == 1 ? kKindFrontApp : kKindText);
}

void Composer::SetTextMode(int mode) {
  c_.ComboBoxEx1.SetItemIndex(mode);
  c_.SendTextEdit.SetColor(mode == 1 ? kColorSkyBlue : kColorWindow);
  c_.GetAppButton2.SetEnabled(mode == 1);
}

}  // namespace zepx
