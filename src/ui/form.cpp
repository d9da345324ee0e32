#include "ui/form.h"

namespace zepx {

void TForm::SetCaption(const std::string& c) {
  caption_ = c;
  if (native_) native_->SetCaption(c);
}

void TForm::SetPosition(int left, int top) {
  left_ = left;
  top_ = top;
  if (native_) native_->SetPosition(left, top);
}

void TForm::Show() {
  visible_ = true;
  if (native_) native_->Show();
}

void TForm::ShowConcealed() {
  visible_ = true;
  if (native_) native_->ShowConcealed();
}

void TForm::Reveal() {
  if (native_) native_->Reveal();
}

void TForm::Hide() {
  visible_ = false;
  if (native_) native_->Hide();
}

void TForm::ShowModal() {
  visible_ = true;
  if (native_) native_->ShowModal();
  visible_ = false;
}

void TForm::PopupMenu(const std::vector<TMenuItem*>& items, int x, int y) {
  if (native_) native_->PopupMenu(items, x, y);
}

void TForm::Bind(INativeForm* n) {
  native_ = n;
  if (native_) native_->SetCaption(caption_);
}

void TApplication::SetTitle(const std::string& t) {
  title_ = t;
  if (native_) native_->SetTitle(t);
}

void TApplication::Minimize() {
  minimized_ = true;
  if (native_) native_->Minimize();
}

void TApplication::Restore() {
  minimized_ = false;
  if (native_) native_->Restore();
}

void TApplication::ShowMainWindow(bool show) {
  if (native_) native_->ShowMainWindow(show);
}

void TApplication::Bind(INativeApplication* n) {
  native_ = n;
  if (native_) native_->SetTitle(title_);
}

}  // namespace zepx
