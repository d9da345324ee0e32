#include "shell/send_list_form.h"

namespace zepx {

TSendListForm::TSendListForm() : TForm("SendListForm", "ZEPX Batch処理送信リスト (0行)") {
  ClientWidth = 300;
  ClientHeight = 456;
  // The list fills the window; the buttons sit in a row below it and the
  // opacity bar at the bottom. 96-DPI pixels.
  Own(SendList2);
  SendList2.bounds = {4, 4, 292, 382};
  UpButton.SetCaption("上へ (Alt+&Q)");
  UpButton.bounds = {4, 392, 96, 26};
  DownButton.SetCaption("下へ (Alt+&A)");
  DownButton.bounds = {102, 392, 96, 26};
  ClearButton.SetCaption("全てクリア");
  ClearButton.bounds = {200, 392, 96, 26};
  for (TButton* b : {&UpButton, &DownButton, &ClearButton}) {
    b->SetEnabled(false);
    Own(*b);
  }
  Own(LayerBar);
  LayerBar.bounds = {4, 424, 292, 28};
  LayerBar.OnChange = [this] { LayerBarChange(); };
}

TSendListForm::~TSendListForm() {
  if (library_ && translucency_) translucency_->FreeLibrary(library_);
}

void TSendListForm::Connect(ListEditor& editor, ITranslucency& translucency) {
  editor_ = &editor;
  translucency_ = &translucency;
  editor.AttachDetached({*this, SendList2, UpButton, DownButton, ClearButton});
}

void TSendListForm::Open() {
  Show();
  if (editor_) editor_->DetachedShown();
}

void TSendListForm::LayerBarChange() {
  if (!translucency_) return;
  ITranslucency& t = *translucency_;
  if (!looked_up_) {
    looked_up_ = true;
    library_ = t.LoadLibraryA("user32.dll");
    set_layered_ = library_ ? t.GetProcAddress(library_, "SetLayeredWindowAttributes") : nullptr;
    if (!set_layered_ && library_) {
      t.FreeLibrary(library_);
      library_ = 0;
    }
  }
  // Without the function a layered window would never be drawn at all.
  if (!set_layered_) return;
  const Hwnd h = Handle();
  const std::int32_t layered = static_cast<std::int32_t>(win::WS_EX_LAYERED);
  const std::int32_t style = t.GetWindowLongA(h, win::GWL_EXSTYLE);
  const int alpha = LayerBar.Position();
  if (alpha < 255) {
    t.SetWindowLongA(h, win::GWL_EXSTYLE, style | layered);
    t.SetLayeredWindowAttributes(set_layered_, h, 0, static_cast<std::uint8_t>(alpha), win::LWA_ALPHA);
  } else {
    t.SetWindowLongA(h, win::GWL_EXSTYLE, style & ~layered);
  }
}

}  // namespace zepx
