// One-line edits and the numeric fields (an edit with an up/down button).
#include <algorithm>
#include <string>
#include <vector>

#include "ui/win32/native_parts.h"

namespace zepx::win32 {

namespace {

constexpr int kUpDownWidth = 15;

int TextHeight(HWND w, HFONT font) {
  HDC dc = GetDC(w);
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  if (old) SelectObject(dc, old);
  ReleaseDC(w, dc);
  return tm.tmHeight;
}

// A one-line edit cannot centre its text vertically: it is made as high as
// its text needs and centred in its bounds instead.
void EditRect(HWND w, HFONT font, const Bounds& b, UINT dpi, int& x, int& y, int& cw, int& ch) {
  x = Scale(b.x, dpi);
  y = Scale(b.y, dpi);
  cw = Scale(b.x + b.w, dpi) - x;
  ch = Scale(b.y + b.h, dpi) - y;
  const int natural = TextHeight(w, font) + Scale(8, dpi);
  if (natural < ch) {
    y += (ch - natural) / 2;
    ch = natural;
  }
}

class EditControl : public NativeControl {
 public:
  EditControl(FormWindow& f, TTextControl& t) : NativeControl(f, t), text_(t) {}
  void Create() override {
    hwnd_ = MakeChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
    if (auto* e = dynamic_cast<TEdit*>(&text_); e && e->max_length > 0)
      SendMessageW(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(e->max_length), 0);
  }
  void SetText(const std::string& t) override { SetWindowTextQuiet(hwnd_, Wide(t)); }
  void Layout(const Bounds& b, UINT dpi) override {
    int x, y, w, h;
    EditRect(hwnd_, font_, b, dpi, x, y, w, h);
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Command(HWND, WORD code) override {
    switch (code) {
      case EN_CHANGE:
        if (!quiet_) text_.FromNativeText(Narrow(WindowTextOf(hwnd_)));
        break;
      case EN_SETFOCUS:
        // Entering a field selects its text, unless the mouse is placing the caret.
        if (!(GetKeyState(VK_LBUTTON) & 0x8000)) SendMessageW(hwnd_, EM_SETSEL, 0, -1);
        text_.FromNativeFocus(true);
        break;
      case EN_KILLFOCUS:
        FocusLost();
        break;
      default:
        break;
    }
  }

 protected:
  virtual void FocusLost() { text_.FromNativeFocus(false); }
  TTextControl& text_;
};

// Numeric field: an edit with an up/down button inside its right edge, a
// child of the edit over a right margin that the text keeps clear of. The
// button has no buddy and stays at position 0 (every move it asks for is
// refused, so it never meets its own limits): its clicks, like the arrow
// keys, step the value through the control object. Characters, Delete and
// the clipboard edits are put to the control object before the edit sees
// them.
class SpinControl : public EditControl {
 public:
  SpinControl(FormWindow& f, TWinSpinEdit& s) : EditControl(f, s), spin_(s) {}
  void Create() override {
    hwnd_ = MakeChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
    updown_ = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                              nullptr, Instance(), nullptr);
    SendMessageW(updown_, UDM_SETRANGE32, static_cast<WPARAM>(-32768), 32767);
    SendMessageW(updown_, UDM_SETPOS32, 0, 0);
    hook_.Attach(hwnd_, EditProc, this);
    wchar_t decimal[4] = L".";
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 4) == 2 && decimal[0] < 128)
      spin_.DecimalSeparator = static_cast<char>(decimal[0]);
  }
  std::vector<HWND> Windows() const override { return {hwnd_, updown_}; }
  void Layout(const Bounds& b, UINT dpi) override {
    EditControl::Layout(b, dpi);
    // Over the right end of the client area, reaching one pixel under the
    // sunken border on three sides so that no gap shows around it. A new
    // font resets the margins, and fonts are applied before layout.
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    const int bw = Scale(kUpDownWidth, dpi);
    SetWindowPos(updown_, nullptr, rc.right - bw + 1, -1, bw, rc.bottom + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(hwnd_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, bw + 1));
  }
  void SetReadOnly(bool r) override { SendMessageW(hwnd_, EM_SETREADONLY, r, 0); }
  void SelectAll() override { SendMessageW(hwnd_, EM_SETSEL, 0, -1); }
  void Command(HWND from, WORD code) override {
    if (code == EN_SETFOCUS) {
      spin_.FromNativeFocusGained();  // selects the text as AutoSelect says
      return;
    }
    EditControl::Command(from, code);
  }

 private:
  void FocusLost() override { spin_.FromNativeFocusLost(); }

  // A click on the button (repeated while the button is held down).
  void ButtonStep(int delta) {
    // Into the field first, as a click on it would: the field left behind
    // is clamped before this one moves.
    if (GetFocus() != hwnd_) ::SetFocus(hwnd_);
    if (delta > 0) spin_.StepUp();
    else if (delta < 0) spin_.StepDown();
  }

  static LRESULT CALLBACK EditProc(HWND w, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = WindowHook::OwnerOf<SpinControl>(w);
    const auto next = [&] { return self->hook_.Next(w, msg, wparam, lparam); };
    TWinSpinEdit& spin = self->spin_;
    switch (msg) {
      case WM_CHAR:
        if (!spin.FromNativeChar(static_cast<std::uint32_t>(wparam))) return 0;
        break;
      case WM_KEYDOWN:
        if (!spin.FromNativeKeyDown(static_cast<int>(wparam))) return 0;
        break;
      case WM_CUT:
      case WM_PASTE:
      case WM_CLEAR:  // the context menu's Delete
      case WM_UNDO:
      case EM_UNDO:
        if (!spin.AcceptsCutAndPaste()) return 0;
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        // Before the edit takes the focus, which asks whether to select.
        spin.FromNativeMouseButton(true);
        break;
      case WM_LBUTTONUP: {
        const LRESULT r = next();
        spin.FromNativeMouseButton(false);
        return r;
      }
      case WM_CAPTURECHANGED:
        spin.FromNativeMouseButton(false);
        break;
      case WM_GETDLGCODE: {
        // Enter reaches the field, to be refused with a beep, unless the
        // window has a default button for it.
        LRESULT code = next();
        const auto* m = reinterpret_cast<const MSG*>(lparam);
        if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) && m->wParam == VK_RETURN &&
            HIWORD(SendMessageW(GetParent(w), DM_GETDEFID, 0, 0)) != DC_HASDEFID)
          code |= DLGC_WANTMESSAGE;
        return code;
      }
      case WM_NOTIFY: {
        const auto* n = reinterpret_cast<const NMHDR*>(lparam);
        if (n->hwndFrom != self->updown_ || n->code != static_cast<UINT>(UDN_DELTAPOS)) break;
        self->ButtonStep(reinterpret_cast<const NMUPDOWN*>(n)->iDelta);
        return TRUE;  // refused: the button keeps position 0
      }
      case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lparam) == self->updown_) return 0;
        break;
      case WM_PAINT: {
        // The edit paints its whole client area, the button inside it
        // included, whatever the clipping styles say (so under Wine, at
        // least): the button is drawn again after it.
        const LRESULT r = next();
        RedrawWindow(self->updown_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return r;
      }
      default:
        break;
    }
    return next();
  }

  TWinSpinEdit& spin_;
  HWND updown_ = nullptr;
  WindowHook hook_;
};

}  // namespace

std::unique_ptr<NativeControl> NewEdit(FormWindow& f, TEdit& e) {
  return std::make_unique<EditControl>(f, e);
}
std::unique_ptr<NativeControl> NewSpinEdit(FormWindow& f, TWinSpinEdit& s) {
  return std::make_unique<SpinControl>(f, s);
}

}  // namespace zepx::win32
