// Labels, group boxes, push buttons, check boxes (and the activity lamp)
// and radio groups: the controls of the system's STATIC and BUTTON classes.
#include <algorithm>
#include <string>
#include <vector>

#include "ui/win32/native_parts.h"

namespace zepx::win32 {

namespace {

class LabelControl : public NativeControl {
 public:
  using NativeControl::NativeControl;
  ~LabelControl() override {
    if (bold_) DeleteObject(bold_);
  }
  void Create() override { hwnd_ = MakeChild(L"STATIC", SS_LEFT | SS_NOPREFIX, 0); }
  void SetText(const std::string& t) override { SetWindowTextQuiet(hwnd_, Wide(t)); }
  // A bold label gets the form's font in bold, made anew with each font.
  void ApplyFont(HFONT f) override {
    const auto* label = dynamic_cast<const TLabel*>(&ctl_);
    LOGFONTW lf{};
    if (!label || !label->FontBold || !f || !GetObjectW(f, sizeof lf, &lf)) {
      NativeControl::ApplyFont(f);
      return;
    }
    lf.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectW(&lf);
    NativeControl::ApplyFont(bold ? bold : f);
    if (bold_) DeleteObject(bold_);
    bold_ = bold;
  }

 private:
  HFONT bold_ = nullptr;
};

class GroupBoxControl : public NativeControl {
 public:
  using NativeControl::NativeControl;
  void Create() override { hwnd_ = MakeChild(L"BUTTON", BS_GROUPBOX, 0); }
  void SetText(const std::string& t) override { SetWindowTextQuiet(hwnd_, Wide(t)); }
  bool IsGroupFrame() const override { return true; }
};

class ButtonControl : public NativeControl {
 public:
  ButtonControl(FormWindow& f, TButton& b) : NativeControl(f, b), button_(b) {}
  void Create() override {
    const DWORD kind = button_.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    hwnd_ = MakeChild(L"BUTTON", kind | BS_MULTILINE | WS_TABSTOP, 0);
  }
  void SetText(const std::string& t) override { SetWindowTextQuiet(hwnd_, Wide(t)); }
  void Command(HWND, WORD code) override {
    if (code == BN_CLICKED && button_.Enabled()) button_.Click();
  }
  // Push buttons ignore the text colour of WM_CTLCOLORBTN: a button with a
  // font colour of its own is drawn here.
  bool Notify(NMHDR* n, LRESULT& result) override {
    if (n->code != static_cast<UINT>(NM_CUSTOMDRAW) || !HasColor(color_)) return false;
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(n);
    if (cd->dwDrawStage != CDDS_PREPAINT) return false;
    RECT rc = cd->rc;
    UINT state = DFCS_BUTTONPUSH;
    if (cd->uItemState & CDIS_SELECTED) state |= DFCS_PUSHED;
    if (cd->uItemState & CDIS_DISABLED) state |= DFCS_INACTIVE;
    DrawFrameControl(cd->hdc, &rc, DFC_BUTTON, state);
    const std::wstring text = WindowTextOf(hwnd_);
    HGDIOBJ old = font_ ? SelectObject(cd->hdc, font_) : nullptr;
    SetBkMode(cd->hdc, TRANSPARENT);
    SetTextColor(cd->hdc, color_);
    UINT format = DT_CENTER | DT_WORDBREAK;
    RECT measure = rc;
    DrawTextW(cd->hdc, text.c_str(), -1, &measure, format | DT_CALCRECT);
    const int h = measure.bottom - measure.top;
    rc.top += std::max(0L, (rc.bottom - rc.top - h) / 2);
    DrawTextW(cd->hdc, text.c_str(), -1, &rc, format);
    if (old) SelectObject(cd->hdc, old);
    result = CDRF_SKIPDEFAULT;
    return true;
  }

 private:
  TButton& button_;
};

// Check box; a TRadioButton is the activity lamp, which only the program
// switches, so it ignores clicks and takes no focus by Tab.
class CheckControl : public NativeControl {
 public:
  CheckControl(FormWindow& f, TCheckBox& c)
      : NativeControl(f, c), check_(c), lamp_(dynamic_cast<TRadioButton*>(&c) != nullptr) {}
  void Create() override {
    const DWORD kind = lamp_ ? BS_RADIOBUTTON : (BS_AUTOCHECKBOX | WS_TABSTOP);
    hwnd_ = MakeChild(L"BUTTON", kind | BS_MULTILINE, 0);
  }
  void SetText(const std::string& t) override { SetWindowTextQuiet(hwnd_, Wide(t)); }
  void SetChecked(bool c) override {
    SendMessageW(hwnd_, BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void Command(HWND, WORD code) override {
    if (code != BN_CLICKED) return;
    if (lamp_) {
      SetChecked(check_.Checked());
      return;
    }
    const bool now = SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (now != check_.Checked()) check_.FromNativeClick();
  }

 private:
  TCheckBox& check_;
  const bool lamp_;
};

// A group box with one radio button per item, stacked when the group is
// tall enough, otherwise side by side.
class RadioGroupControl : public NativeControl {
 public:
  RadioGroupControl(FormWindow& f, TRadioGroup& g) : NativeControl(f, g), group_(g) {}
  void Create() override {
    hwnd_ = MakeChild(L"BUTTON", BS_GROUPBOX, 0);
    MakeRadios(group_.Items());
  }
  bool IsGroupFrame() const override { return true; }
  std::vector<HWND> Windows() const override {
    std::vector<HWND> all{hwnd_};
    all.insert(all.end(), radios_.begin(), radios_.end());
    return all;
  }
  void SetText(const std::string& t) override { SetWindowTextQuiet(hwnd_, Wide(t)); }
  void SetItems(const std::vector<std::string>& items) override {
    if (items != shown_) {
      HWND before = radios_.empty() ? nullptr : GetWindow(radios_.front(), GW_HWNDPREV);
      for (HWND r : radios_) {
        form_.Forget(r);
        DestroyWindow(r);
      }
      radios_.clear();
      MakeRadios(items);
      for (HWND r : radios_) {
        SetWindowPos(r, before ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        before = r;
        if (font_) SendMessageW(r, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        EnableWindow(r, group_.Enabled());
      }
      if (laid_out_) Layout(last_bounds_, last_dpi_);
    }
    SetItemIndex(group_.ItemIndex());
  }
  void SetItemIndex(int i) override {
    for (std::size_t k = 0; k < radios_.size(); ++k)
      SendMessageW(radios_[k], BM_SETCHECK,
                   static_cast<int>(k) == i ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void SetFocus() override {
    const int i = group_.ItemIndex();
    if (i >= 0 && i < static_cast<int>(radios_.size())) ::SetFocus(radios_[i]);
  }
  void Layout(const Bounds& b, UINT dpi) override {
    laid_out_ = true;
    last_bounds_ = b;
    last_dpi_ = dpi;
    Place(hwnd_, b, dpi);
    const int n = static_cast<int>(radios_.size());
    if (n == 0) return;
    constexpr int kTop = 18, kRow = 20, kSide = 10;
    if (b.h >= kTop + n * kRow + 4) {
      for (int k = 0; k < n; ++k)
        Place(radios_[k], Bounds{b.x + kSide, b.y + kTop + k * kRow, b.w - 2 * kSide, kRow}, dpi);
      return;
    }
    // Side by side: each radio as wide as its text needs, the rest shared.
    std::vector<int> need(static_cast<std::size_t>(n), 0);
    int total = 0;
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = font_ ? SelectObject(dc, font_) : nullptr;
    for (int k = 0; k < n; ++k) {
      const std::wstring t = Wide(shown_[k]);
      SIZE size{};
      GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size);
      need[k] = MulDiv(size.cx, 96, static_cast<int>(dpi)) + 28;
      total += need[k];
    }
    if (old) SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    const int spare = std::max(0, b.w - 2 * kSide - total) / n;
    int x = b.x + kSide;
    const int y = b.y + kTop + std::max(0, (b.h - kTop - kRow - 4) / 2);
    for (int k = 0; k < n; ++k) {
      Place(radios_[k], Bounds{x, y, need[k], kRow}, dpi);
      x += need[k] + spare;
    }
  }
  void ApplyFont(HFONT f) override {
    NativeControl::ApplyFont(f);
    if (laid_out_) Layout(last_bounds_, last_dpi_);
  }
  void Command(HWND from, WORD code) override {
    if (code != BN_CLICKED) return;
    const auto it = std::find(radios_.begin(), radios_.end(), from);
    if (it == radios_.end()) return;
    const int k = static_cast<int>(it - radios_.begin());
    if (k != group_.ItemIndex()) group_.SetItemIndex(k);
    else SetItemIndex(k);
  }

 private:
  void MakeRadios(const std::vector<std::string>& items) {
    shown_ = items;
    for (std::size_t k = 0; k < items.size(); ++k) {
      const DWORD first = k == 0 ? WS_TABSTOP : 0;
      radios_.push_back(
          MakeChild(L"BUTTON", BS_AUTORADIOBUTTON | first, 0, Wide(items[k]), k == 0));
    }
  }

  TRadioGroup& group_;
  std::vector<HWND> radios_;
  std::vector<std::string> shown_;
  bool laid_out_ = false;
  Bounds last_bounds_;
  UINT last_dpi_ = 96;
};

}  // namespace

std::unique_ptr<NativeControl> NewLabel(FormWindow& f, TControl& c) {
  return std::make_unique<LabelControl>(f, c);
}
std::unique_ptr<NativeControl> NewGroupBox(FormWindow& f, TControl& c) {
  return std::make_unique<GroupBoxControl>(f, c);
}
std::unique_ptr<NativeControl> NewButton(FormWindow& f, TButton& b) {
  return std::make_unique<ButtonControl>(f, b);
}
std::unique_ptr<NativeControl> NewCheckBox(FormWindow& f, TCheckBox& c) {
  return std::make_unique<CheckControl>(f, c);
}
std::unique_ptr<NativeControl> NewRadioGroup(FormWindow& f, TRadioGroup& g) {
  return std::make_unique<RadioGroupControl>(f, g);
}

}  // namespace zepx::win32
