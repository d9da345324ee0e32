// The binding's entry points: the forms in order of binding (the main
// window first), the application's title window and the keyboard handling
// before dispatch. The forms and controls are in form_window.cpp and the
// control families' files.
#include "ui/win32/native_ui.h"

#include <memory>

#include "ui/win32/native_parts.h"

namespace zepx::win32 {

namespace {

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
