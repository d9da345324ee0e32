#include "edit/list_editor.h"

#include "model/command_line.h"

namespace zepx {

ListEditor::ListEditor(Batch& batch, IDialogs& dialogs, const ListControls& c)
    : batch_(batch), dialogs_(dialogs), c_(c) {
  c_.DelButton.OnClick = [this] { Delete(); };
  c_.UpButton.OnClick = [this] { Move(-1); };
  c_.DownButton.OnClick = [this] { Move(+1); };
  c_.ClearButton.OnClick = [this] { Clear(); };
  c_.SendList.OnKeyDown = [this](int vk) { KeyDown(vk); };
}

void ListEditor::AttachDetached(const DetachedListControls& d) {
  d_.emplace(d);
  d_->UpButton.OnClick = [this] { MoveInDetached(-1); };
  d_->DownButton.OnClick = [this] { MoveInDetached(+1); };
  d_->ClearButton.OnClick = [this] { Clear(); };
  RefreshDetached();
}

// ---- delete, clear, move ------------------------------------------------------

void ListEditor::Delete() {
  const int s = batch_.Selected();
  if (s < 0) return;
  // A drag line takes the line below it along, a drop line the one above:
  // a pair never loses half of itself. The test is on the words alone.
  if (HoldsDrag(batch_.Text(s))) {
    batch_.Delete(s);
    if (batch_.Has(s)) batch_.Delete(s);
  } else if (HoldsDrop(batch_.Text(s))) {
    if (s > 0) batch_.Delete(s - 1);
    batch_.Delete(s > 0 ? s - 1 : s);
  } else {
    batch_.Delete(s);
  }
  batch_.Select(batch_.Has(s) ? s : batch_.Count() - 1);
  RefreshCoordinateDisplay();
  if (batch_.Selected() < 0) SetEditButtonsEnabled(false);
  c_.MainWindow.SetCaption("ZEPX");
  RefreshDetached();
  SetDetachedCaption(SendListCaptionAfterChange(static_cast<std::size_t>(batch_.Count())));
}

void ListEditor::Clear() {
  if (batch_.Empty()) return;
  if (dialogs_.MessageBox(kClearQuestion, MsgKind::YesNo) == MsgResult::Yes) ClearNow();
}

void ListEditor::ClearNow() {
  batch_.Clear();
  RefreshCoordinateDisplay();
  SetEditButtonsEnabled(false);
  c_.MainWindow.SetCaption("ZEPX");
  RefreshDetached();
  SetDetachedCaption(kSendListCaptionCleared);
}

void ListEditor::Move(int delta) {
  const int s = batch_.Selected();
  // Pairs are not looked at: a move may part a drag from its drop.
  if (s < 0 || !batch_.Has(s + delta)) return;
  batch_.Move(s, s + delta);
  RefreshDetached();
  if (d_) d_->SendList2.SetItemIndex(s + delta);
}

// ---- the list box's keys and the coordinate display -------------------------------

void ListEditor::KeyDown(int vk) {
  if (vk == win::VK_INSERT) {
    if (c_.AddButton.Enabled() && Add) Add();
  } else if (vk == win::VK_DELETE) {
    if (c_.DelButton.Enabled()) Delete();
  } else if (vk >= win::VK_F1 && vk <= win::VK_F12) {
    // The function keys add whatever AddButton says: they stay usable
    // while a run has the button disabled.
    c_.CommandBox.SetItemIndex(kKindF1 + (vk - win::VK_F1));
    if (Add) Add();
  }
  RefreshCoordinateDisplay();
}

void ListEditor::RefreshCoordinateDisplay() {
  std::optional<Coordinates> point;
  if (batch_.Selected() >= 0) point = MouseLinePoint(batch_.Text(batch_.Selected()));
  // Only a mouse line shows its point and offers copy and paste: a paste
  // rewrites everything after the first ":", which would destroy a text,
  // an application name or a target title that holds one.
  if (point) {
    c_.XLabel.SetValue(point->x);
    c_.YLabel.SetValue(point->y);
    if (PointShown) PointShown(batch_.Text(batch_.Selected()));
  }
  const bool enable = point.has_value();
  c_.XYCopy.SetEnabled(enable);
  c_.mXYCopy.SetEnabled(enable);
  c_.XYPaste.SetEnabled(enable);
  c_.mXYPaste.SetEnabled(enable);
}

void ListEditor::SetEditButtonsEnabled(bool enabled) {
  c_.DelButton.SetEnabled(enabled);
  c_.UpButton.SetEnabled(enabled);
  c_.DownButton.SetEnabled(enabled);
  c_.ClearButton.SetEnabled(enabled);
  if (!d_) return;
  d_->UpButton.SetEnabled(enabled);
  d_->DownButton.SetEnabled(enabled);
  d_->ClearButton.SetEnabled(enabled);
}

void ListEditor::Added() {
  RefreshCoordinateDisplay();
  SetEditButtonsEnabled(true);
  c_.MainWindow.SetCaption("ZEPX");
  RefreshDetached();
  SetDetachedCaption(SendListCaptionAfterChange(static_cast<std::size_t>(batch_.Count())));
}

// ---- the detached window --------------------------------------------------------------

void ListEditor::DetachedShown() {
  if (!d_) return;
  RefreshDetached();
  SetDetachedCaption(SendListCaptionOnShow(static_cast<std::size_t>(batch_.Count())));
  if (batch_.Selected() >= 0) {
    d_->UpButton.SetEnabled(true);
    d_->DownButton.SetEnabled(true);
    d_->ClearButton.SetEnabled(true);
  }
}

void ListEditor::MoveInDetached(int delta) {
  if (!d_) return;
  const int s = d_->SendList2.ItemIndex();
  if (s < 0 || s + delta < 0 || s + delta >= d_->SendList2.Count()) return;
  // The copy is the batch's; moving the batch's line moves its target too,
  // and the main list then selects the moved line.
  batch_.Move(s, s + delta);
  RefreshDetached();
  d_->SendList2.SetItemIndex(s + delta);
}

void ListEditor::BatchChanged(Batch::Change change) {
  if (change != Batch::Change::Selected) RefreshDetached();
}

void ListEditor::RefreshDetached() {
  if (d_) d_->SendList2.SetItems(batch_.Texts());
}

void ListEditor::SetDetachedCaption(const std::string& caption) {
  if (d_) d_->Window.SetCaption(caption);
}

}  // namespace zepx
