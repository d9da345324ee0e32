// Combo boxes: drop-down lists and drop-downs with an edit field.
#include <algorithm>
#include <string>
#include <vector>

#include "ui/win32/native_parts.h"

namespace zepx::win32 {

namespace {

constexpr int kDropDownHeight = 300;  // open list of a combo box, 96-DPI pixels
constexpr ListMessages kComboMessages{CB_RESETCONTENT, CB_DELETESTRING, CB_INSERTSTRING,
                                      CB_INITSTORAGE};

// Drop-down list, or with `editable` a drop-down with an edit field. As in
// the toolkit, picking an entry of an editable box also sets its text, and
// typing selects the entry the text begins like, or none.
class ComboControl : public NativeControl {
 public:
  ComboControl(FormWindow& f, TComboBox& c) : NativeControl(f, c), combo_(c) {}
  void Create() override {
    const DWORD kind = combo_.editable ? (CBS_DROPDOWN | CBS_AUTOHSCROLL) : CBS_DROPDOWNLIST;
    hwnd_ = MakeChild(L"COMBOBOX", kind | WS_VSCROLL | WS_TABSTOP, 0);
    if (combo_.editable && combo_.max_length > 0)
      SendMessageW(hwnd_, CB_LIMITTEXT, static_cast<WPARAM>(combo_.max_length), 0);
    // The box passes its edit field's colour requests on to us with the
    // field's handle.
    if (HWND edit = HintWindow(); edit != hwnd_) form_.Route(edit, *this);
  }
  void Layout(const Bounds& b, UINT dpi) override {
    Bounds open = b;
    open.h += kDropDownHeight;
    Place(hwnd_, open, dpi);
  }
  HWND HintWindow() const override {
    HWND edit = combo_.editable ? FindWindowExW(hwnd_, nullptr, L"EDIT", nullptr) : nullptr;
    return edit ? edit : hwnd_;
  }
  void SetText(const std::string& t) override {
    if (combo_.editable) SetWindowTextQuiet(hwnd_, Wide(t));
  }
  void SetItems(const std::vector<std::string>& items) override {
    ++quiet_;
    SyncList(hwnd_, kComboMessages, shown_, items);
    --quiet_;
    SetItemIndex(combo_.ItemIndex());
    // Emptying the list empties an editable box's text too; ours stays.
    if (combo_.editable && Narrow(WindowTextOf(hwnd_)) != combo_.Text())
      SetWindowTextQuiet(hwnd_, Wide(combo_.Text()));
  }
  void SetItemIndex(int i) override {
    if (syncing_) return;
    if (SendMessageW(hwnd_, CB_GETCURSEL, 0, 0) == i) return;
    ++quiet_;
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    --quiet_;
    if (!combo_.editable) return;
    if (i >= 0 && i < combo_.Count()) {
      combo_.FromNativeText(combo_.Item(i));
    } else {
      SetWindowTextQuiet(hwnd_, Wide(combo_.Text()));
    }
  }
  void SetDroppedDown(bool d) override { SendMessageW(hwnd_, CB_SHOWDROPDOWN, d, 0); }
  void Command(HWND, WORD code) override {
    if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
      combo_.FromNativeDroppedDown(code == CBN_DROPDOWN);
      return;
    }
    if (quiet_) return;
    switch (code) {
      case CBN_SELCHANGE: {
        const int i = static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
        if (combo_.editable && i >= 0 && i < combo_.Count()) combo_.FromNativeText(combo_.Item(i));
        combo_.FromNativeSelect(i);
        break;
      }
      case CBN_EDITCHANGE: {
        combo_.FromNativeText(Narrow(WindowTextOf(hwnd_)));
        syncing_ = true;
        combo_.SetItemIndex(static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)));
        syncing_ = false;
        break;
      }
      case CBN_SETFOCUS:
        combo_.FromNativeFocus(true);
        break;
      case CBN_KILLFOCUS:
        combo_.FromNativeFocus(false);
        break;
      default:
        break;
    }
  }

 private:
  TComboBox& combo_;
  std::vector<std::string> shown_;
  bool syncing_ = false;
};

}  // namespace

std::unique_ptr<NativeControl> NewComboBox(FormWindow& f, TComboBox& c) {
  return std::make_unique<ComboControl>(f, c);
}

}  // namespace zepx::win32
