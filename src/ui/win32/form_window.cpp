// A form's window on Win32: its creation with a native control for each
// control object, layout and DPI, showing and modal showing, keyboard
// navigation and the messages it routes to its controls.
//
// All controls are direct children of their form window, group boxes
// included: a control inside a group is placed at the group's position plus
// its own. Group boxes are moved to the bottom of the z-order and every
// child clips its siblings, so a group box never paints over its contents
// (a themed group box fills its whole rectangle).
#include <algorithm>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/screen_cursor.h"
#include "ui/win32/native_parts.h"

#include <shellapi.h>

namespace zepx::win32 {

namespace {

constexpr int kPointSize = 9;

UINT WindowDpi(HWND w) {
  if (Dpi().get_dpi_for_window) {
    if (UINT d = Dpi().get_dpi_for_window(w)) return d;
  }
  HDC dc = GetDC(w);
  const int d = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(w, dc);
  return d > 0 ? static_cast<UINT>(d) : 96;
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

}  // namespace

const DpiFunctions& Dpi() {
  static const DpiFunctions f;
  return f;
}

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

std::unique_ptr<NativeControl> MakeNative(FormWindow& f, TControl& c) {
  if (auto* x = dynamic_cast<TPageControl*>(&c)) return NewPageControl(f, *x);
  if (dynamic_cast<TTabSheet*>(&c)) return NewTabSheet(f, c);
  if (auto* x = dynamic_cast<TTrackBar*>(&c)) return NewTrackBar(f, *x);
  if (auto* x = dynamic_cast<TWinSpinEdit*>(&c)) return NewSpinEdit(f, *x);
  if (auto* x = dynamic_cast<TComboBox*>(&c)) return NewComboBox(f, *x);
  if (auto* x = dynamic_cast<TRadioGroup*>(&c)) return NewRadioGroup(f, *x);
  if (auto* x = dynamic_cast<TItemsControl*>(&c)) return NewListBox(f, *x);
  if (auto* x = dynamic_cast<TCheckBox*>(&c)) return NewCheckBox(f, *x);
  if (auto* x = dynamic_cast<TButton*>(&c)) return NewButton(f, *x);
  if (dynamic_cast<TGroupBox*>(&c)) return NewGroupBox(f, c);
  if (auto* x = dynamic_cast<TEdit*>(&c)) return NewEdit(f, *x);
  if (dynamic_cast<TLabel*>(&c)) return NewLabel(f, c);
  return nullptr;  // menu items and kinds without a native counterpart
}

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

}  // namespace

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
  if (!(GetLayeredWindowAttributes(hwnd_, &key, &alpha, &flags) && (flags & LWA_ALPHA) && alpha != 0))
    SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  // Painted now, not when the message loop first turns: the program makes
  // its hidden windows before that, and the window would stand there empty
  // meanwhile.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
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

}  // namespace zepx::win32
