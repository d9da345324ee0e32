// The detached list window: a second view of the batch list that can move
// lines, clear the list and make itself translucent. It lives from start-up
// to exit; closing it only hides it. What it does to the list goes through
// the main window's list editor, so the batch stays the one truth.
#pragma once

#include <cstdint>

#include "edit/list_editor.h"
#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace zepx {

class TSendListForm : public TForm {
 public:
  TSendListForm();
  ~TSendListForm() override;

  TListBox SendList2{"SendList2"};
  TButton UpButton{"UpButton"};
  TButton DownButton{"DownButton"};
  TButton ClearButton{"ClearButton"};
  TTrackBar LayerBar{"LayerBar", 100, 255, 255};

  // Joins the window to the list editor and to the translucency calls;
  // the window is made after the main window, so this comes afterwards.
  void Connect(ListEditor& editor, ITranslucency& translucency);
  // Opened from the main window, which goes on without waiting for it.
  void Open();
  // 100 (faintest) to 254: translucent with that opacity; 255: opaque.
  void LayerBarChange();

 private:
  ListEditor* editor_ = nullptr;
  ITranslucency* translucency_ = nullptr;
  std::uintptr_t library_ = 0;
  void* set_layered_ = nullptr;
  bool looked_up_ = false;
};

}  // namespace zepx
