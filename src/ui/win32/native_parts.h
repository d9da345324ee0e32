// What the control families and the form window of the native binding
// share (see native_ui.h for the binding's shape): the control base class,
// the form window, the window hook, the scaling and the list update. Only
// the files of this folder include it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/text.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/win32/native_ui.h"

#include <windows.h>

#include <commctrl.h>

namespace zepx::win32 {

class FormWindow;

constexpr UINT kFirstControlId = 1000;  // above IDOK/IDCANCEL, which the dialog manager sends

inline HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

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

const DpiFunctions& Dpi();

inline int Scale(int v, UINT dpi) { return MulDiv(v, static_cast<int>(dpi), 96); }

// Bounds in 96-DPI pixels as a rectangle of the parent's client area.
inline RECT Scaled(const Bounds& b, UINT dpi) {
  return RECT{Scale(b.x, dpi), Scale(b.y, dpi), Scale(b.x + b.w, dpi), Scale(b.y + b.h, dpi)};
}

inline bool HasColor(std::uint32_t c) { return c != kColorWindowText; }
inline bool HasBackground(std::uint32_t c) { return c != kColorWindow; }

inline std::wstring WindowTextOf(HWND w) {
  const int n = GetWindowTextLengthW(w);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(w, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(std::max(got, 0)));
  return s;
}

// Keeps a list box or combo box list equal to the wanted items, touching
// only the rows that differ: appending a line to a long list inserts one
// row; replacing everything resets the list with drawing switched off.
struct ListMessages {
  UINT reset, remove, insert, init_storage;
};

// Returns the first row that changed and how many new rows were inserted
// there (for measuring), or a full reset (first = 0, inserted = all).
struct ListChange {
  std::size_t first = 0, inserted = 0;
  bool full = false;
};

ListChange SyncList(HWND w, const ListMessages& m, std::vector<std::string>& shown,
                    const std::vector<std::string>& want);

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

// The native counterpart of each kind of control, one file a family:
// labels_buttons.cpp, edits.cpp, lists.cpp, combo_box.cpp, tabs_track_bar.cpp.
std::unique_ptr<NativeControl> NewLabel(FormWindow& f, TControl& c);
std::unique_ptr<NativeControl> NewGroupBox(FormWindow& f, TControl& c);
std::unique_ptr<NativeControl> NewButton(FormWindow& f, TButton& b);
std::unique_ptr<NativeControl> NewCheckBox(FormWindow& f, TCheckBox& c);
std::unique_ptr<NativeControl> NewRadioGroup(FormWindow& f, TRadioGroup& g);
std::unique_ptr<NativeControl> NewEdit(FormWindow& f, TEdit& e);
std::unique_ptr<NativeControl> NewSpinEdit(FormWindow& f, TWinSpinEdit& s);
std::unique_ptr<NativeControl> NewListBox(FormWindow& f, TItemsControl& l);
std::unique_ptr<NativeControl> NewComboBox(FormWindow& f, TComboBox& c);
std::unique_ptr<NativeControl> NewTabSheet(FormWindow& f, TControl& c);
std::unique_ptr<NativeControl> NewPageControl(FormWindow& f, TPageControl& p);
std::unique_ptr<NativeControl> NewTrackBar(FormWindow& f, TTrackBar& t);

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

}  // namespace zepx::win32
