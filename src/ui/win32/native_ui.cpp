// Forms and controls on Win32. See native_ui.h for the shape; the notes here
// are about the Win32 details.
//
// All controls are direct children of their form window, group boxes
// included: a control inside a group is placed at the group's position plus
// its own. Group boxes are moved to the bottom of the z-order and every
// child clips its siblings, so a group box never paints over its contents
// (a themed group box fills its whole rectangle).
#include "ui/win32/native_ui.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/screen_cursor.h"
#include "platform/win32/text.h"
#include "ui/controls.h"
#include "ui/form.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

namespace zepx::win32 {

class FormWindow;

namespace {

constexpr UINT kFirstMenuId = 100;
constexpr UINT kFirstControlId = 1000;  // above IDOK/IDCANCEL, which the dialog manager sends
constexpr int kPointSize = 9;
constexpr int kDropDownHeight = 300;  // open list of a combo box, 96-DPI pixels
constexpr int kUpDownWidth = 15;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// A control's own window procedure with one of ours in front of it, the
// owner found again through GWLP_USERDATA (which the system's controls
// leave to the program). Not comctl32's SetWindowSubclass: that keeps its
// chain in a window property, and Wine reads a property from its server,
// several round trips for every message the control gets. Filling the
// batch list with 999 rows cost 15-235 ms that way against 3-5 ms without.
class WindowHook {
 public:
  void Attach(HWND w, WNDPROC proc, void* owner) {
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
  }
  // Every hook in front of a control, ours and the tool tip's, makes each
  // message sent to it cost Wine a call out of its own window handling and
  // back (some 12 us): a bulk update of hundreds of rows goes straight to
  // the control's own procedure, and the chain as it was is put back.
  class Bypass {
   public:
    Bypass(HWND w, const WindowHook& hook)
        : w_(w), chain_(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook.original_))) {}
    ~Bypass() { SetWindowLongPtrW(w_, GWLP_WNDPROC, chain_); }
    Bypass(const Bypass&) = delete;
    Bypass& operator=(const Bypass&) = delete;

   private:
    HWND w_;
    LONG_PTR chain_;
  };
  template <typename Owner>
  static Owner* OwnerOf(HWND w) {
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  }
  // The control's own handling; on WM_NCDESTROY the hook is taken out first.
  LRESULT Next(HWND w, UINT msg, WPARAM wparam, LPARAM lparam) const {
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
      SetWindowLongPtrW(w, GWLP_USERDATA, 0);
    }
    return CallWindowProcW(original_, w, msg, wparam, lparam);
  }

 private:
  WNDPROC original_ = nullptr;
};

template <typename T>
T ProcFrom(HMODULE module, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Functions of newer systems, looked up at run time so that the program
// still starts where they are missing.
struct DpiFunctions {
  UINT(WINAPI* get_dpi_for_window)(HWND) = nullptr;
  BOOL(WINAPI* adjust_for_dpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  BOOL(WINAPI* set_awareness_context)(HANDLE) = nullptr;
  DpiFunctions() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return;
    get_dpi_for_window = ProcFrom<decltype(get_dpi_for_window)>(user32, "GetDpiForWindow");
    adjust_for_dpi = ProcFrom<decltype(adjust_for_dpi)>(user32, "AdjustWindowRectExForDpi");
    set_awareness_context =
        ProcFrom<decltype(set_awareness_context)>(user32, "SetProcessDpiAwarenessContext");
  }
};

const DpiFunctions& Dpi() {
  static const DpiFunctions f;
  return f;
}

UINT WindowDpi(HWND w) {
  if (Dpi().get_dpi_for_window) {
    if (UINT d = Dpi().get_dpi_for_window(w)) return d;
  }
  HDC dc = GetDC(w);
  const int d = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(w, dc);
  return d > 0 ? static_cast<UINT>(d) : 96;
}

int Scale(int v, UINT dpi) { return MulDiv(v, static_cast<int>(dpi), 96); }

// Bounds in 96-DPI pixels as a rectangle of the parent's client area.
RECT Scaled(const Bounds& b, UINT dpi) {
  return RECT{Scale(b.x, dpi), Scale(b.y, dpi), Scale(b.x + b.w, dpi), Scale(b.y + b.h, dpi)};
}

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// The first installed UI font with Japanese glyphs. Under Wine the IPA
// fonts stand in for the Windows ones.
const std::wstring& UiFontFace() {
  static const std::wstring face = [] {
    const wchar_t* const candidates[] = {L"MS UI Gothic", L"Meiryo UI", L"Yu Gothic UI",
                                         L"IPAPGothic", L"IPAGothic", L"MS PGothic"};
    std::wstring chosen = candidates[0];
    HDC dc = GetDC(nullptr);
    for (const wchar_t* c : candidates) {
      LOGFONTW lf{};
      lf.lfCharSet = SHIFTJIS_CHARSET;
      wcsncpy(lf.lfFaceName, c, LF_FACESIZE - 1);
      bool found = false;
      EnumFontFamiliesExW(dc, &lf, FontFound, reinterpret_cast<LPARAM>(&found), 0);
      if (found) {
        chosen = c;
        break;
      }
    }
    ReleaseDC(nullptr, dc);
    return chosen;
  }();
  return face;
}

HFONT MakeFont(UINT dpi) {
  return CreateFontW(-MulDiv(kPointSize, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE,
                     FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, UiFontFace().c_str());
}

bool HasColor(std::uint32_t c) { return c != kColorWindowText; }
bool HasBackground(std::uint32_t c) { return c != kColorWindow; }

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

std::wstring WindowTextOf(HWND w) {
  const int n = GetWindowTextLengthW(w);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(w, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(std::max(got, 0)));
  return s;
}

// "Ctrl+C" from a shortcut value (virtual key in the low byte, 0x2000
// Shift, 0x4000 Ctrl, 0x8000 Alt), for the menu text.
std::wstring ShortcutText(std::uint16_t sc) {
  std::wstring s;
  if (sc & 0x4000) s += L"Ctrl+";
  if (sc & 0x2000) s += L"Shift+";
  if (sc & 0x8000) s += L"Alt+";
  const unsigned vk = sc & 0xFF;
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
    s += static_cast<wchar_t>(vk);
  } else if (vk >= VK_F1 && vk <= VK_F24) {
    s += L"F" + std::to_wstring(vk - VK_F1 + 1);
  } else {
    s += L"#" + std::to_wstring(vk);
  }
  return s;
}

std::uint16_t ShortcutOfKey(WPARAM vk) {
  std::uint16_t sc = static_cast<std::uint16_t>(vk & 0xFF);
  if (GetKeyState(VK_SHIFT) & 0x8000) sc |= 0x2000;
  if (GetKeyState(VK_CONTROL) & 0x8000) sc |= 0x4000;
  if (GetKeyState(VK_MENU) & 0x8000) sc |= 0x8000;
  return sc;
}

// Keeps a list box or combo box list equal to the wanted items, touching
// only the rows that differ: appending a line to a long list inserts one
// row; replacing everything resets the list with drawing switched off.
struct ListMessages {
  UINT reset, remove, insert, init_storage;
};
constexpr ListMessages kListBoxMessages{LB_RESETCONTENT, LB_DELETESTRING, LB_INSERTSTRING,
                                        LB_INITSTORAGE};
constexpr ListMessages kComboMessages{CB_RESETCONTENT, CB_DELETESTRING, CB_INSERTSTRING,
                                      CB_INITSTORAGE};

// Returns the first row that changed and how many new rows were inserted
// there (for measuring), or a full reset (first = 0, inserted = all).
struct ListChange {
  std::size_t first = 0, inserted = 0;
  bool full = false;
};

ListChange SyncList(HWND w, const ListMessages& m, std::vector<std::string>& shown,
                    const std::vector<std::string>& want) {
  std::size_t p = 0;
  while (p < shown.size() && p < want.size() && shown[p] == want[p]) ++p;
  std::size_t s = 0;
  while (s < shown.size() - p && s < want.size() - p &&
         shown[shown.size() - 1 - s] == want[want.size() - 1 - s])
    ++s;
  const std::size_t removed = shown.size() - p - s;
  const std::size_t inserted = want.size() - p - s;
  ListChange change{p, inserted, false};
  if (removed == 0 && inserted == 0) return change;

  // Every change of a visible list updates its scroll bars at once, which
  // under Wine costs milliseconds per row: a change of more than one row is
  // made while the list is hidden and shown again unpainted, with its
  // drawing switched off meanwhile (a hidden list still keeps its scroll
  // ranges up to date row by row: 999 rows took 6 ms that way, 0.5 ms
  // without). Not hidden, a list that has the keyboard focus: hiding hands
  // the focus to the form for good (and a list told so inside its own
  // WM_SETFOCUS goes on believing it has it, so a click on it no longer
  // takes the focus back), after which the dialog manager takes the arrow
  // keys for moves between controls.
  const HWND focus = GetFocus();
  const bool focused = focus && (focus == w || IsChild(w, focus));
  const bool many = removed + inserted > 1 && IsWindowVisible(w);
  const bool hide = many && !focused;
  if (hide) ShowWindow(w, SW_HIDE);
  if (many) SendMessageW(w, WM_SETREDRAW, FALSE, 0);
  if (removed == shown.size() && removed > 0) {
    SendMessageW(w, m.reset, 0, 0);
  } else {
    for (std::size_t k = 0; k < removed; ++k) SendMessageW(w, m.remove, p, 0);
  }
  if (inserted > 64) {
    std::size_t bytes = 0;
    for (std::size_t k = 0; k < inserted; ++k) bytes += (want[p + k].size() + 1) * sizeof(wchar_t);
    SendMessageW(w, m.init_storage, inserted, static_cast<LPARAM>(bytes));
  }
  for (std::size_t k = 0; k < inserted; ++k) {
    const std::wstring text = Wide(want[p + k]);
    SendMessageW(w, m.insert, p + k, reinterpret_cast<LPARAM>(text.c_str()));
  }
  // Edited in place: appending to a long list must not copy it.
  shown.erase(shown.begin() + static_cast<std::ptrdiff_t>(p),
              shown.begin() + static_cast<std::ptrdiff_t>(p + removed));
  shown.insert(shown.begin() + static_cast<std::ptrdiff_t>(p),
               want.begin() + static_cast<std::ptrdiff_t>(p),
               want.begin() + static_cast<std::ptrdiff_t>(p + inserted));
  // Shown before drawing is switched on again: on a hidden window that
  // would make it visible without a paint.
  if (hide) ShowWindow(w, SW_SHOWNA);
  if (many) {
    SendMessageW(w, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  }
  change.full = removed == 0 && p == 0 && s == 0;
  return change;
}

}  // namespace

// ---------------------------------------------------------------------------
// Controls

class NativeControl : public INativeControl {
 public:
  NativeControl(FormWindow& form, TControl& ctl) : form_(form), ctl_(ctl) {}
  ~NativeControl() override {
    if (back_brush_) DeleteObject(back_brush_);
  }

  virtual void Create() = 0;
  // Places the control at b (96-DPI pixels, relative to the form).
  virtual void Layout(const Bounds& b, UINT dpi) { Place(hwnd_, b, dpi); }
  virtual void ApplyFont(HFONT f) {
    for (HWND w : Windows()) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
    font_ = f;
  }
  virtual std::vector<HWND> Windows() const { return {hwnd_}; }
  virtual void Command(HWND /*from*/, WORD /*code*/) {}
  virtual bool Notify(NMHDR* /*n*/, LRESULT& /*result*/) { return false; }
  virtual bool CtlColor(UINT msg, HDC dc, LRESULT& result);
  virtual bool IsGroupFrame() const { return false; }
  // Page controls lie under everything, group frames included.
  virtual bool IsPageFrame() const { return false; }
  // WM_HSCROLL / WM_VSCROLL from a track bar, with its notification code.
  virtual void Scroll(WORD /*code*/) {}
  // Applies changes that were collected instead of made at once.
  virtual void Flush() {}
  // The window that shows the hint.
  virtual HWND HintWindow() const { return hwnd_; }

  void SetEnabled(bool e) override {
    for (HWND w : Windows()) EnableWindow(w, e);
  }
  // A control on a page that is not shown stays hidden whatever it is told.
  void SetVisible(bool v) override;
  void SetFontColor(std::uint32_t c) override {
    color_ = c;
    for (HWND w : Windows()) InvalidateRect(w, nullptr, TRUE);
  }
  void SetColor(std::uint32_t c) override {
    back_ = c;
    if (back_brush_) DeleteObject(back_brush_);
    back_brush_ = HasBackground(c) ? CreateSolidBrush(c) : nullptr;
    for (HWND w : Windows()) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  void SetFocus() override { ::SetFocus(hwnd_); }
  void Repaint() override {
    for (HWND w : Windows())
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  Hwnd Handle() const override { return reinterpret_cast<Hwnd>(hwnd_); }

  TControl& control() { return ctl_; }

 protected:
  // Every control starts a group of its own (so arrow keys and automatic
  // radio buttons stay inside one radio group), except the second and later
  // buttons of a radio group.
  HWND MakeChild(const wchar_t* cls, DWORD style, DWORD ex_style, const std::wstring& text = L"",
                 bool starts_group = true);
  // A window already there is left alone: controls are made where they
  // belong, and under Wine even a move to the same place is a round trip
  // to its server.
  void Place(HWND w, const Bounds& b, UINT dpi) {
    const RECT want = Scaled(b, dpi);
    RECT now{};
    GetWindowRect(w, &now);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &want)) return;
    SetWindowPos(w, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void SetWindowTextQuiet(HWND w, const std::wstring& text) {
    ++quiet_;
    SetWindowTextW(w, text.c_str());
    --quiet_;
  }

  FormWindow& form_;
  TControl& ctl_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  std::uint32_t color_ = kColorWindowText;
  std::uint32_t back_ = kColorWindow;
  HBRUSH back_brush_ = nullptr;
  int quiet_ = 0;  // > 0 while we change the native text ourselves
};

// A form's window and everything in it.
class FormWindow : public INativeForm {
 public:
  FormWindow(NativeUi::Impl& ui, TForm& form, bool is_main, HWND owner)
      : ui_(ui), form_(form), is_main_(is_main), owner_(owner) {}
  ~FormWindow() override;

  void Create();
  HWND hwnd() const { return hwnd_; }
  void Attach(HWND w) { hwnd_ = w; }
  bool is_main() const { return is_main_; }
  TForm& form() { return form_; }
  HFONT font() const { return font_; }
  UINT dpi() const { return dpi_; }

  // Children register the windows they create, to receive their
  // notifications.
  HWND CreateChild(NativeControl& owner, const wchar_t* cls, DWORD style, DWORD ex_style,
                   const std::wstring& text);
  void Forget(HWND w) { routes_.erase(w); }
  void Route(HWND w, NativeControl& n) { routes_[w] = &n; }
  // Asks for n->Flush() from the message loop (once, however often asked).
  void Defer(NativeControl* n);

  bool TryShortcut(WPARAM vk);
  LRESULT DefaultId() const;
  // Alt and the underlined letter of an enabled button of this form: the
  // button is clicked where it stands, the focus stays where it is.
  bool TryMnemonic(WPARAM vk);
  LRESULT Proc(UINT msg, WPARAM wparam, LPARAM lparam);

  // True when every group, page and page control around c is visible.
  bool AncestorsVisible(const TControl& c) const;
  // A page was shown or hidden: its controls follow.
  void PageVisibilityChanged(const TControl& page);

  // INativeForm
  void SetCaption(const std::string& c) override { SetWindowTextW(hwnd_, Wide(c).c_str()); }
  void SetPosition(int left, int top) override {
    placed_ = true;
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Show() override;
  void ShowConcealed() override;
  void Reveal() override;
  void Hide() override;
  void Destroy() override;
  void PopupMenu(const std::vector<TMenuItem*>& items, int x, int y) override;
  void ShowModal() override;
  Hwnd Handle() const override { return reinterpret_cast<Hwnd>(hwnd_); }

 private:
  void BuildMenu();
  void AddMenuItems(HMENU menu, const std::vector<TMenuItem*>& items, bool top_level);
  void SetDpi(UINT dpi);
  void LayoutAll();
  void FitClientArea();
  void CenterOverOwner();
  void EndModal();
  Bounds Absolute(TControl* c) const;
  // The answer to DM_GETDEFID: the default button's id, or 0 for none.
  NativeControl* Route(HWND w) const {
    auto it = routes_.find(w);
    return it == routes_.end() ? nullptr : it->second;
  }

  NativeUi::Impl& ui_;
  TForm& form_;
  const bool is_main_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  HWND last_focus_ = nullptr;
  UINT dpi_ = 96;
  HFONT font_ = nullptr;
  bool modal_ = false;
  bool shown_once_ = false;
  bool concealed_ = false;  // shown fully transparent until Reveal
  bool placed_ = false;  // the program has set a position
  UINT next_id_ = kFirstControlId;
  std::vector<std::unique_ptr<NativeControl>> controls_;
  std::map<TControl*, TControl*> parents_;
  std::map<HWND, NativeControl*> routes_;
  // Menu bar: command ids and the items whose pop-up opens.
  std::map<UINT, TMenuItem*> menu_ids_;
  std::map<HMENU, TMenuItem*> popups_;
  std::vector<std::unique_ptr<INativeControl>> menu_natives_;
  std::vector<TMenuItem*> menu_items_;  // every item of the bar, for shortcuts
  std::vector<NativeControl*> deferred_;
  bool flush_posted_ = false;
};

HWND NativeControl::MakeChild(const wchar_t* cls, DWORD style, DWORD ex_style,
                              const std::wstring& text, bool starts_group) {
  return form_.CreateChild(*this, cls, style | (starts_group ? WS_GROUP : 0), ex_style, text);
}

void NativeControl::SetVisible(bool v) {
  const bool shown = v && form_.AncestorsVisible(ctl_);
  for (HWND w : Windows()) ShowWindow(w, shown ? SW_SHOWNA : SW_HIDE);
}

bool NativeControl::CtlColor(UINT msg, HDC dc, LRESULT& result) {
  if (!IsWindowEnabled(hwnd_)) return false;
  const bool text = HasColor(color_);
  const bool back = back_brush_ && (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX);
  if (!text && !back) return false;
  if (text) SetTextColor(dc, color_);
  if (back) {
    SetBkColor(dc, back_);
    result = reinterpret_cast<LRESULT>(back_brush_);
  } else {
    const int sys = msg == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(sys));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(sys));
  }
  return true;
}

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

class ListBoxControl : public NativeControl {
 public:
  ListBoxControl(FormWindow& f, TItemsControl& l) : NativeControl(f, l), list_(l) {}
  ~ListBoxControl() override {
    if (measure_dc_) DeleteDC(measure_dc_);
  }
  void Create() override {
    hwnd_ = MakeChild(L"LISTBOX",
                      LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                      WS_EX_CLIENTEDGE);
    hook_.Attach(hwnd_, KeyProc, this);
  }
  // The list object may change row by row (a loader appends line after
  // line): the native list follows once, from the message loop, or earlier
  // when anything reaches the list window (a click, a paint, another
  // program reading it), so it never shows or answers from a stale state.
  // A list in a window not shown (the detached list, mostly) waits for it:
  // the first message that reaches it, its first paint or another
  // program's question, brings it up to date.
  void SetItems(const std::vector<std::string>&) override { MarkDirty(); }
  void SetItemIndex(int) override { MarkDirty(); }
  void Flush() override {
    queued_ = false;
    if (IsWindowVisible(hwnd_)) Sync();
  }
  void Sync() {
    if (!dirty_ || flushing_) return;
    flushing_ = true;
    dirty_ = false;
    ListChange c;
    {
      WindowHook::Bypass straight(hwnd_, hook_);
      c = SyncList(hwnd_, kListBoxMessages, shown_, list_.Items());
    }
    Measure(c);
    const int i = list_.ItemIndex();
    if (SendMessageW(hwnd_, LB_GETCURSEL, 0, 0) != i) SendMessageW(hwnd_, LB_SETCURSEL, i, 0);
    flushing_ = false;
  }
  void Repaint() override {
    Flush();
    NativeControl::Repaint();
  }
  void ApplyFont(HFONT f) override {
    NativeControl::ApplyFont(f);
    Measure(ListChange{0, shown_.size(), true});
  }
  void Command(HWND, WORD code) override {
    switch (code) {
      case LBN_SELCHANGE:
        list_.FromNativeSelect(static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)));
        break;
      case LBN_SETFOCUS:
        list_.FromNativeFocus(true);
        break;
      case LBN_KILLFOCUS:
        list_.FromNativeFocus(false);
        break;
      default:
        break;
    }
  }

 private:
  // The horizontal scroll range follows the widest line.
  void Measure(const ListChange& c) {
    if (!font_ || (c.inserted == 0 && !c.full)) return;
    if (!measure_dc_) measure_dc_ = CreateCompatibleDC(nullptr);
    SelectObject(measure_dc_, font_);
    int widest = c.full ? 0 : widest_;
    for (std::size_t k = c.first; k < c.first + c.inserted && k < shown_.size(); ++k) {
      const std::wstring t = Wide(shown_[k]);
      SIZE size{};
      GetTextExtentPoint32W(measure_dc_, t.c_str(), static_cast<int>(t.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx));
    }
    if (widest != widest_ || c.full) {
      widest_ = widest;
      SendMessageW(hwnd_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest_ + 8), 0);
    }
  }

  static LRESULT CALLBACK KeyProc(HWND w, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = WindowHook::OwnerOf<ListBoxControl>(w);
    if (self->dirty_ && !self->flushing_ && msg != WM_NCDESTROY) self->Sync();
    if (msg == WM_KEYDOWN || (msg == WM_SYSKEYDOWN && wparam == VK_F10)) {
      if (auto* lb = dynamic_cast<TListBox*>(&self->list_); lb && lb->OnKeyDown) {
        lb->OnKeyDown(static_cast<int>(wparam));
        // F10 comes as a system key: left to the default handling it would
        // open the menu bar on its release.
        if (msg == WM_SYSKEYDOWN) return 0;
      }
    }
    return self->hook_.Next(w, msg, wparam, lparam);
  }

  void MarkDirty() {
    dirty_ = true;
    if (queued_) return;
    queued_ = true;
    form_.Defer(this);
  }

  TItemsControl& list_;
  std::vector<std::string> shown_;
  int widest_ = 0;
  HDC measure_dc_ = nullptr;
  bool dirty_ = false;
  bool queued_ = false;
  bool flushing_ = false;
  WindowHook hook_;
};

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

// A page of a page control has no window of its own: showing or hiding it
// shows or hides the controls placed on it.
class TabSheetControl : public NativeControl {
 public:
  using NativeControl::NativeControl;
  void Create() override {}
  void Layout(const Bounds&, UINT) override {}
  void ApplyFont(HFONT) override {}
  std::vector<HWND> Windows() const override { return {}; }
  void SetVisible(bool) override { form_.PageVisibilityChanged(ctl_); }
  void SetFocus() override {}
};

// The tabs of a page control (WC_TABCONTROL). The pages' controls are
// siblings lying over its display area, not children of it, so that their
// notifications reach the form like every other control's.
class PageControlNative : public NativeControl {
 public:
  PageControlNative(FormWindow& f, TPageControl& p) : NativeControl(f, p), pages_(p) {}
  void Create() override {
    hwnd_ = MakeChild(WC_TABCONTROLW, WS_TABSTOP | TCS_FOCUSONBUTTONDOWN, 0);
    hook_.Attach(hwnd_, PaneProc, this);
  }
  bool IsPageFrame() const override { return true; }
  void SetItems(const std::vector<std::string>& captions) override {
    SendMessageW(hwnd_, TCM_DELETEALLITEMS, 0, 0);
    for (std::size_t k = 0; k < captions.size(); ++k) {
      std::wstring text = Wide(captions[k]);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      SendMessageW(hwnd_, TCM_INSERTITEMW, k, reinterpret_cast<LPARAM>(&item));
    }
  }
  void SetItemIndex(int i) override {
    if (SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0) != i) SendMessageW(hwnd_, TCM_SETCURSEL, i, 0);
    MarkPressed(i);
  }
  bool Notify(NMHDR* n, LRESULT& result) override {
    if (n->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    const int i = static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0));
    MarkPressed(i);
    pages_.FromNativeSelect(i);
    result = 0;
    return true;
  }

 private:
  // Only the selected tab is marked pressed. Wine's tab control moves the
  // selection by the arrow keys without moving that mark, and then ignores
  // every click on the tab still marked: after Right, Right and a page
  // chosen by the program, the first tab could no longer be clicked.
  void MarkPressed(int selected) {
    const int n = static_cast<int>(SendMessageW(hwnd_, TCM_GETITEMCOUNT, 0, 0));
    for (int k = 0; k < n; ++k) {
      TCITEMW item{};
      item.mask = TCIF_STATE;
      item.dwStateMask = TCIS_BUTTONPRESSED;
      item.dwState = k == selected ? TCIS_BUTTONPRESSED : 0;
      SendMessageW(hwnd_, TCM_SETITEMW, k, reinterpret_cast<LPARAM>(&item));
    }
  }

  // A themed page is lighter than the dialog face that labels, check boxes
  // and group boxes paint behind their texts, which would leave a box of
  // another shade around each of them. The page is painted in that face,
  // inside the frame the control drew; the controls on it are siblings
  // lying above, so the fill never covers them.
  static LRESULT CALLBACK PaneProc(HWND w, UINT msg, WPARAM wparam, LPARAM lparam) {
    const WindowHook& hook = WindowHook::OwnerOf<PageControlNative>(w)->hook_;
    if (msg != WM_PAINT) return hook.Next(w, msg, wparam, lparam);
    const LRESULT r = hook.Next(w, msg, wparam, lparam);
    RECT pane{};
    GetClientRect(w, &pane);
    SendMessageW(w, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
    RECT client{};
    GetClientRect(w, &client);
    // Out to two pixels short of the frame on the sides and at the bottom.
    pane.left = std::max(pane.left - 2, client.left + 2);
    pane.right = std::min(pane.right + 2, client.right - 2);
    pane.bottom = std::min(pane.bottom + 2, client.bottom - 2);
    HDC dc = GetDC(w);
    FillRect(dc, &pane, GetSysColorBrush(COLOR_BTNFACE));
    ReleaseDC(w, dc);
    return r;
  }

  TPageControl& pages_;
  WindowHook hook_;
};

// A horizontal slider (TRACKBAR_CLASS); every move, dragged or by keys,
// reaches the control object at once.
class TrackBarControl : public NativeControl {
 public:
  TrackBarControl(FormWindow& f, TTrackBar& t) : NativeControl(f, t), bar_(t) {}
  void Create() override {
    hwnd_ = MakeChild(TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP, 0);
  }
  void SetRange(int min, int max) override {
    SendMessageW(hwnd_, TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(hwnd_, TBM_SETRANGEMAX, FALSE, max);
    // A tick every 10 steps and a page of 10, not one per step.
    SendMessageW(hwnd_, TBM_SETTICFREQ, 10, 0);
    SendMessageW(hwnd_, TBM_SETPAGESIZE, 0, 10);
  }
  void SetPosition(int p) override {
    if (SendMessageW(hwnd_, TBM_GETPOS, 0, 0) != p) SendMessageW(hwnd_, TBM_SETPOS, TRUE, p);
  }
  // Reported from the message loop, not from inside the track bar's own
  // handling of the click or key: what the position change does may
  // process pending messages, and a button release taken from the queue
  // under the track bar's button-down handler would leave the mouse
  // captured by it for good.
  void Scroll(WORD code) override {
    if (code != TB_ENDTRACK) form_.Defer(this);
  }
  void Flush() override {
    bar_.FromNativePosition(static_cast<int>(SendMessageW(hwnd_, TBM_GETPOS, 0, 0)));
  }

 private:
  TTrackBar& bar_;
};

// A menu bar entry: only its enabled state changes.
class MenuItemNative : public INativeControl {
 public:
  MenuItemNative(HWND owner, HMENU parent, UINT position, bool top_level)
      : owner_(owner), parent_(parent), position_(position), top_level_(top_level) {}
  void SetEnabled(bool e) override {
    EnableMenuItem(parent_, position_, MF_BYPOSITION | (e ? MF_ENABLED : MF_GRAYED));
    if (top_level_) DrawMenuBar(owner_);
  }

 private:
  HWND owner_;
  HMENU parent_;
  UINT position_;
  bool top_level_;
};

std::unique_ptr<NativeControl> MakeNative(FormWindow& f, TControl& c) {
  if (auto* x = dynamic_cast<TPageControl*>(&c)) return std::make_unique<PageControlNative>(f, *x);
  if (dynamic_cast<TTabSheet*>(&c)) return std::make_unique<TabSheetControl>(f, c);
  if (auto* x = dynamic_cast<TTrackBar*>(&c)) return std::make_unique<TrackBarControl>(f, *x);
  if (auto* x = dynamic_cast<TWinSpinEdit*>(&c)) return std::make_unique<SpinControl>(f, *x);
  if (auto* x = dynamic_cast<TComboBox*>(&c)) return std::make_unique<ComboControl>(f, *x);
  if (auto* x = dynamic_cast<TRadioGroup*>(&c)) return std::make_unique<RadioGroupControl>(f, *x);
  if (auto* x = dynamic_cast<TItemsControl*>(&c)) return std::make_unique<ListBoxControl>(f, *x);
  if (auto* x = dynamic_cast<TCheckBox*>(&c)) return std::make_unique<CheckControl>(f, *x);
  if (auto* x = dynamic_cast<TButton*>(&c)) return std::make_unique<ButtonControl>(f, *x);
  if (auto* x = dynamic_cast<TTrackBar*>(&c)) return std::make_unique<TrackBarControl>(f, *x);
  if (dynamic_cast<TGroupBox*>(&c)) return std::make_unique<GroupBoxControl>(f, c);
  if (auto* x = dynamic_cast<TEdit*>(&c)) return std::make_unique<EditControl>(f, *x);
  if (dynamic_cast<TLabel*>(&c)) return std::make_unique<LabelControl>(f, c);
  return nullptr;  // menu items and kinds without a native counterpart
}

}  // namespace

// ---------------------------------------------------------------------------
// The application and the set of forms

class AppNative : public INativeApplication {
 public:
  explicit AppNative(NativeUi::Impl& ui);
  ~AppNative() override {
    if (title_window_) DestroyWindow(title_window_);
  }
  void SetTitle(const std::string& t) override { SetWindowTextW(title_window_, Wide(t).c_str()); }
  void Minimize() override;
  void Restore() override;
  void ShowMainWindow(bool show) override;

 private:
  HWND Main() const;
  NativeUi::Impl& ui_;
  HWND title_window_ = nullptr;
};

struct NativeUi::Impl {
  std::vector<std::unique_ptr<FormWindow>> forms;
  std::unique_ptr<AppNative> app_native;
  TApplication* app = nullptr;

  FormWindow* Main() const { return forms.empty() ? nullptr : forms.front().get(); }
  FormWindow* Find(HWND root) const {
    for (const auto& f : forms)
      if (f->hwnd() == root) return f.get();
    return nullptr;
  }
  bool PreTranslate(MSG& m);
};

namespace {

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    if (cs->lpCreateParams) static_cast<FormWindow*>(cs->lpCreateParams)->Attach(hwnd);
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && self->hwnd() == hwnd) return self->Proc(msg, wparam, lparam);
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

void RegisterFormClass(const std::wstring& name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(Instance(), name.c_str(), &wc)) return;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FormProc;
  wc.hInstance = Instance();
  wc.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(1));
  wc.hIconSm = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name.c_str();
  RegisterClassExW(&wc);
}

LRESULT CALLBACK TitleProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace

AppNative::AppNative(NativeUi::Impl& ui) : ui_(ui) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(Instance(), L"TApplication", &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TitleProc;
    wc.hInstance = Instance();
    wc.lpszClassName = L"TApplication";
    RegisterClassExW(&wc);
  }
  title_window_ = CreateWindowExW(0, L"TApplication", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  Instance(), nullptr);
}

HWND AppNative::Main() const {
  FormWindow* f = ui_.Main();
  return f ? f->hwnd() : nullptr;
}

// A hidden main window (in the tray) stays hidden: minimising it must not
// show it again as an icon.
void AppNative::Minimize() {
  HWND w = Main();
  if (w && IsWindowVisible(w) && !IsIconic(w)) ShowWindow(w, SW_MINIMIZE);
}

void AppNative::Restore() {
  HWND w = Main();
  if (w && IsIconic(w)) ShowWindow(w, SW_RESTORE);
}

void AppNative::ShowMainWindow(bool show) {
  HWND w = Main();
  if (w) ShowWindow(w, show ? SW_SHOW : SW_HIDE);
}

// ---------------------------------------------------------------------------
// FormWindow

FormWindow::~FormWindow() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (font_) DeleteObject(font_);
}

HWND FormWindow::CreateChild(NativeControl& owner, const wchar_t* cls, DWORD style,
                             DWORD ex_style, const std::wstring& text) {
  const UINT id = next_id_++;
  const RECT r = Scaled(Absolute(&owner.control()), dpi_);
  HWND w = CreateWindowExW(ex_style, cls, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                           r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), Instance(), nullptr);
  if (w) routes_[w] = &owner;
  return w;
}

namespace {
constexpr UINT kFlushMessage = WM_APP + 0x100;  // above the form's own range
}  // namespace

void FormWindow::Defer(NativeControl* n) {
  deferred_.push_back(n);
  if (!flush_posted_ && PostMessageW(hwnd_, kFlushMessage, 0, 0)) flush_posted_ = true;
}

Bounds FormWindow::Absolute(TControl* c) const {
  Bounds b = c->bounds;
  for (auto it = parents_.find(c); it != parents_.end() && it->second;
       it = parents_.find(it->second)) {
    b.x += it->second->bounds.x;
    b.y += it->second->bounds.y;
  }
  return b;
}

bool FormWindow::AncestorsVisible(const TControl& c) const {
  for (auto it = parents_.find(const_cast<TControl*>(&c)); it != parents_.end() && it->second;
       it = parents_.find(it->second))
    if (!it->second->Visible()) return false;
  return true;
}

void FormWindow::PageVisibilityChanged(const TControl& page) {
  for (auto& n : controls_) {
    TControl* c = &n->control();
    for (auto it = parents_.find(c); it != parents_.end() && it->second;
         it = parents_.find(it->second)) {
      if (it->second != &page) continue;
      n->SetVisible(c->Visible());
      break;
    }
  }
}

void FormWindow::Create() {
  const std::wstring cls = Wide("T" + form_.Name);
  RegisterFormClass(cls);
  const DWORD style = is_main_ ? (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)
                               : (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
  const DWORD ex_style = is_main_ ? 0 : WS_EX_DLGMODALFRAME;
  placed_ = form_.Left() != 0 || form_.Top() != 0;
  const bool placed = placed_;
  hwnd_ = CreateWindowExW(ex_style, cls.c_str(), Wide(form_.Caption()).c_str(), style,
                          placed ? form_.Left() : CW_USEDEFAULT, placed ? form_.Top() : CW_USEDEFAULT,
                          200, 100, owner_, nullptr, Instance(), this);
  if (!hwnd_) return;

  dpi_ = WindowDpi(hwnd_);
  font_ = MakeFont(dpi_);
  BuildMenu();

  for (const TForm::Child& child : form_.Children()) {
    parents_[child.control] = child.parent;
    std::unique_ptr<NativeControl> n = MakeNative(*this, *child.control);
    if (!n) continue;
    n->Create();
    controls_.push_back(std::move(n));
  }
  for (auto& n : controls_) {
    if (!n->IsGroupFrame()) continue;
    SetWindowPos(n->Windows().front(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (auto& n : controls_) {
    if (!n->IsPageFrame()) continue;
    SetWindowPos(n->Windows().front(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, Instance(), nullptr);
  for (auto& n : controls_) {
    if (n->control().Hint.empty() || !tooltip_) continue;
    std::wstring hint = Wide(n->control().Hint);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(n->HintWindow());
    ti.lpszText = hint.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }

  LayoutAll();
  form_.Bind(this);
  for (auto& n : controls_) n->control().Bind(n.get());
}

void FormWindow::BuildMenu() {
  if (form_.Menu.empty()) return;
  HMENU bar = CreateMenu();
  AddMenuItems(bar, form_.Menu, true);
  SetMenu(hwnd_, bar);
}

void FormWindow::AddMenuItems(HMENU menu, const std::vector<TMenuItem*>& items, bool top_level) {
  UINT position = 0;
  for (TMenuItem* item : items) {
    menu_items_.push_back(item);
    if (item->Caption() == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      std::wstring text = Wide(item->Caption());
      if (item->ShortCut) text += L"\t" + ShortcutText(item->ShortCut);
      if (!item->children.empty()) {
        HMENU sub = CreatePopupMenu();
        AddMenuItems(sub, item->children, false);
        popups_[sub] = item;
        AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), text.c_str());
      } else {
        const UINT id = kFirstMenuId + static_cast<UINT>(menu_ids_.size());
        menu_ids_[id] = item;
        AppendMenuW(menu, MF_STRING, id, text.c_str());
      }
      menu_natives_.push_back(std::make_unique<MenuItemNative>(hwnd_, menu, position, top_level));
      item->Bind(menu_natives_.back().get());
    }
    ++position;
  }
}

void FormWindow::LayoutAll() {
  for (auto& n : controls_) n->ApplyFont(font_);
  for (auto& n : controls_) n->Layout(Absolute(&n->control()), dpi_);
  if (tooltip_) {
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(400, dpi_));
  }
  FitClientArea();
}

void FormWindow::FitClientArea() {
  const int cw = Scale(form_.ClientWidth, dpi_), ch = Scale(form_.ClientHeight, dpi_);
  if (cw <= 0 || ch <= 0) return;
  RECT rc{0, 0, cw, ch};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  const BOOL menu = GetMenu(hwnd_) != nullptr;
  if (Dpi().adjust_for_dpi) Dpi().adjust_for_dpi(&rc, style, menu, ex_style, dpi_);
  else AdjustWindowRectEx(&rc, style, menu, ex_style);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar that wraps onto a second line takes client height: correct
  // by what the client area really is.
  RECT got{};
  GetClientRect(hwnd_, &got);
  if (got.right != cw || got.bottom != ch) {
    w += cw - got.right;
    h += ch - got.bottom;
    SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FormWindow::SetDpi(UINT dpi) {
  if (dpi == dpi_ || dpi == 0) return;
  dpi_ = dpi;
  HFONT old = font_;
  font_ = MakeFont(dpi_);
  LayoutAll();
  if (old) DeleteObject(old);
}

void FormWindow::CenterOverOwner() {
  RECT area{};
  if (form_.ScreenCenter) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  } else if (owner_ && IsWindowVisible(owner_) && !IsIconic(owner_)) {
    GetWindowRect(owner_, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT me{};
  GetWindowRect(hwnd_, &me);
  const int w = me.right - me.left, h = me.bottom - me.top;
  const int x = std::max<int>(0, area.left + (area.right - area.left - w) / 2);
  const int y = std::max<int>(0, area.top + (area.bottom - area.top - h) / 2);
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::Show() {
  if (!shown_once_) {
    shown_once_ = true;
    if (!is_main_ && !placed_) CenterOverOwner();
  }
  ShowWindow(hwnd_, SW_SHOW);
  if (!is_main_) SetForegroundWindow(hwnd_);
}

void FormWindow::ShowConcealed() {
  // Layered with no opacity: the system lists and enumerates the window,
  // nobody sees it.
  SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd_, 0, 0, LWA_ALPHA);
  concealed_ = true;
  Show();
}

void FormWindow::Reveal() {
  if (!concealed_) return;
  concealed_ = false;
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  // The show handler made the window translucent: that opacity stays.
  if (GetLayeredWindowAttributes(hwnd_, &key, &alpha, &flags) && (flags & LWA_ALPHA) && alpha != 0) return;
  SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void FormWindow::Hide() {
  EndModal();
  ShowWindow(hwnd_, SW_HIDE);
}

void FormWindow::Destroy() {
  EndModal();
  if (hwnd_) DestroyWindow(hwnd_);
}

void FormWindow::EndModal() {
  if (!modal_) return;
  modal_ = false;
  // The owner must be enabled before we hide, or activation goes elsewhere.
  if (owner_) EnableWindow(owner_, TRUE);
}

void FormWindow::ShowModal() {
  if (modal_) return;
  modal_ = true;
  if (owner_) EnableWindow(owner_, FALSE);
  Show();
  MSG m;
  while (modal_ && IsWindow(hwnd_) && IsWindowVisible(hwnd_)) {
    const BOOL r = GetMessageW(&m, nullptr, 0, 0);
    if (r == 0) {
      PostQuitMessage(static_cast<int>(m.wParam));  // the outer loop sees it too
      break;
    }
    if (r < 0) break;
    if (!ui_.PreTranslate(m)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  EndModal();
  if (owner_ && IsWindowVisible(owner_)) SetActiveWindow(owner_);
}

void FormWindow::PopupMenu(const std::vector<TMenuItem*>& items, int x, int y) {
  HMENU menu = CreatePopupMenu();
  for (std::size_t k = 0; k < items.size(); ++k) {
    const TMenuItem* item = items[k];
    if (item->Caption() == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AppendMenuW(menu, MF_STRING | (item->Enabled() ? 0 : MF_GRAYED), k + 1,
                Wide(item->Caption()).c_str());
  }
  // Without the foreground the menu would not close when clicked away.
  SetForegroundWindow(hwnd_);
  const UINT cmd = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, hwnd_, nullptr));
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (cmd >= 1 && cmd <= items.size()) items[cmd - 1]->Click();
}

bool FormWindow::TryShortcut(WPARAM vk) {
  const std::uint16_t sc = ShortcutOfKey(vk);
  for (TMenuItem* item : menu_items_) {
    if (item->ShortCut != sc || !item->Enabled()) continue;
    item->Click();
    return true;
  }
  return false;
}

// The dialog manager asks which button Enter clicks: the push button with
// the focus, else the form's default button. A form without a default
// button answers none, and Enter clicks nothing there.
LRESULT FormWindow::DefaultId() const {
  HWND def = nullptr;
  for (const auto& n : controls_) {
    const auto* b = dynamic_cast<const TButton*>(&n->control());
    if (b && b->Default && b->Enabled() && b->Visible()) def = n->Windows().front();
  }
  if (!def) return 0;
  HWND focus = GetFocus();
  if (NativeControl* n = Route(focus); n && dynamic_cast<TButton*>(&n->control())) def = focus;
  return MAKELRESULT(GetDlgCtrlID(def), DC_HASDEFID);
}

namespace {

// The letter after the first single "&" of a caption, upper case; 0 when
// there is none. Captions are cp932, whose second bytes never are "&".
WPARAM MnemonicOf(const std::string& caption) {
  for (std::size_t k = 0; k + 1 < caption.size(); ++k) {
    if (caption[k] != '&') continue;
    const char c = caption[k + 1];
    if (c == '&') {
      ++k;
      continue;
    }
    if (c >= 'a' && c <= 'z') return static_cast<WPARAM>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<WPARAM>(c);
    return 0;
  }
  return 0;
}

}  // namespace

bool FormWindow::TryMnemonic(WPARAM vk) {
  // The dialog manager would click the button too, but by BM_CLICK, which
  // takes the focus into the button: the list a line is moved in would
  // lose the arrow keys after the first Alt+Q.
  if (!(GetKeyState(VK_MENU) & 0x8000) || (GetKeyState(VK_CONTROL) & 0x8000)) return false;
  for (auto& n : controls_) {
    auto* button = dynamic_cast<TButton*>(&n->control());
    if (!button || !button->Enabled() || !button->Visible()) continue;
    if (MnemonicOf(button->Caption()) != vk) continue;
    button->Click();
    return true;
  }
  return false;
}

LRESULT FormWindow::Proc(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lparam);
      if (!from && LOWORD(wparam) == IDCANCEL && !is_main_) {
        form_.CloseRequested();  // Escape, through the dialog manager
        return 0;
      }
      if (!from) {
        auto it = menu_ids_.find(LOWORD(wparam));
        if (it != menu_ids_.end() && it->second->Enabled()) it->second->Click();
        return 0;
      }
      if (NativeControl* n = Route(from)) n->Command(from, HIWORD(wparam));
      return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (NativeControl* c = lparam ? Route(reinterpret_cast<HWND>(lparam)) : nullptr) {
        c->Scroll(LOWORD(wparam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* n = reinterpret_cast<NMHDR*>(lparam);
      LRESULT result = 0;
      if (NativeControl* c = Route(n->hwndFrom); c && c->Notify(n, result)) return result;
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      LRESULT result = 0;
      NativeControl* c = Route(reinterpret_cast<HWND>(lparam));
      if (c && c->CtlColor(msg, reinterpret_cast<HDC>(wparam), result)) return result;
      break;
    }
    case WM_INITMENUPOPUP: {
      // Opening a menu runs its item's OnClick, so the File menu can set
      // Save's state from the list selection first.
      auto it = popups_.find(reinterpret_cast<HMENU>(wparam));
      if (it != popups_.end()) it->second->Click();
      return 0;
    }
    case WM_CLOSE:
      form_.CloseRequested();
      return 0;
    case WM_ENDSESSION:
      if (wparam) form_.SessionEnding();
      return 0;
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wparam);
      const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      std::vector<std::string> paths;
      for (UINT k = 0; k < count; ++k) {
        const UINT len = DragQueryFileW(drop, k, nullptr, 0);
        std::wstring path(len + 1, L'\0');
        DragQueryFileW(drop, k, path.data(), len + 1);
        path.resize(len);
        paths.push_back(Narrow(path));
      }
      DragFinish(drop);
      form_.FilesDropped(paths);
      return 0;
    }
    case WM_SYSCOMMAND: {
      const UINT cmd = static_cast<UINT>(wparam & 0xFFF0);
      if (is_main_ && (cmd == SC_MINIMIZE || cmd == SC_RESTORE)) {
        const LRESULT r = DefWindowProcW(hwnd_, msg, wparam, lparam);
        if (ui_.app) {
          if (cmd == SC_MINIMIZE) ui_.app->FromNativeMinimized();
          else ui_.app->FromNativeRestored();
        }
        return r;
      }
      break;
    }
    case WM_MOVE:
      if (!IsIconic(hwnd_)) {
        RECT rc{};
        GetWindowRect(hwnd_, &rc);
        form_.FromNativePosition(rc.left, rc.top);
      }
      break;
    case WM_ACTIVATE:
      // Keep the keyboard focus on the control that had it.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd_, f)) last_focus_ = f;
      } else if (!HIWORD(wparam)) {
        HWND target = last_focus_ && IsWindow(last_focus_) && IsWindowEnabled(last_focus_)
                          ? last_focus_
                          : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        if (target) {
          ::SetFocus(target);
          return 0;
        }
      }
      break;
    case WM_NEXTDLGCTL: {
      // Tab and Shift+Tab, sent by the dialog manager.
      HWND target = nullptr;
      if (LOWORD(lparam)) {
        target = reinterpret_cast<HWND>(wparam);
      } else {
        HWND from = GetFocus();
        while (from && GetParent(from) && GetParent(from) != hwnd_) from = GetParent(from);
        target = GetNextDlgTabItem(hwnd_, from, wparam != 0);
      }
      if (target) {
        ::SetFocus(target);
        if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
          SendMessageW(target, EM_SETSEL, 0, -1);
      }
      return 0;
    }
    case kFlushMessage: {
      flush_posted_ = false;
      std::vector<NativeControl*> due;
      due.swap(deferred_);
      for (NativeControl* n : due) n->Flush();
      return 0;
    }
    case WM_DPICHANGED: {
      SetDpi(HIWORD(wparam));
      const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_SETCURSOR:
      // The picker's cursor over every control of ours; the controls pass
      // the message to their form first.
      if (const std::uint32_t id = ScreenCursorId()) {
        ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      if (tooltip_) DestroyWindow(tooltip_);
      tooltip_ = nullptr;
      break;
    default:
      // The form's own messages. DM_GETDEFID (WM_USER) is the dialog
      // manager asking for the default button.
      if (msg == DM_GETDEFID) return DefaultId();
      if (msg > WM_USER && msg <= 0x7FFF) {
        form_.UserMessage(msg, static_cast<std::uintptr_t>(wparam),
                          static_cast<std::intptr_t>(lparam));
        return 0;
      }
      // Explorer restarted (after a crash, say): icons in the notification
      // area are gone and must be added again.
      static const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
      if (taskbar_created != 0 && msg == taskbar_created) {
        form_.ShellRestarted();
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, msg, wparam, lparam);
}

// ---------------------------------------------------------------------------
// NativeUi

bool NativeUi::Impl::PreTranslate(MSG& m) {
  if (m.message < WM_KEYFIRST || m.message > WM_KEYLAST || !m.hwnd) return false;
  HWND root = GetAncestor(m.hwnd, GA_ROOT);
  FormWindow* f = Find(root);
  if (!f || !IsWindowEnabled(root)) return false;
  if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && f->TryShortcut(m.wParam))
    return true;
  if (m.message == WM_SYSKEYDOWN && f->TryMnemonic(m.wParam)) {
    // Delivered untranslated: the window's default handling ends the Alt
    // press there (its release must not open the menu bar), and no
    // WM_SYSCHAR follows to look for a menu with that letter.
    DispatchMessageW(&m);
    return true;
  }
  return IsDialogMessageW(root, &m) != FALSE;
}

NativeUi::NativeUi() : impl_(std::make_unique<Impl>()) {
  // The manifest asks for per-monitor awareness; this covers a missing
  // manifest (it fails harmlessly when the manifest has set it already).
  if (Dpi().set_awareness_context)
    Dpi().set_awareness_context(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES |
              ICC_BAR_CLASSES;
  InitCommonControlsEx(&icc);
}

NativeUi::~NativeUi() {
  // Forms first (they may still refer to the application), main window last.
  while (!impl_->forms.empty()) impl_->forms.pop_back();
}

void NativeUi::Bind(TForm& form) {
  const bool is_main = impl_->forms.empty();
  HWND owner = is_main ? nullptr : impl_->Main()->hwnd();
  impl_->forms.push_back(std::make_unique<FormWindow>(*impl_, form, is_main, owner));
  impl_->forms.back()->Create();
}

void NativeUi::BindApplication(TApplication& app) {
  impl_->app = &app;
  impl_->app_native = std::make_unique<AppNative>(*impl_);
  app.Bind(impl_->app_native.get());
}

bool NativeUi::PreTranslateMessage(tagMSG& msg) { return impl_->PreTranslate(msg); }

}  // namespace zepx::win32
