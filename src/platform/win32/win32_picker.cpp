// What the window picker needs of the system: the button state, mouse
// capture, the cursor shape over our windows, and its two hooks.
#include "platform/win32/screen_cursor.h"
#include "platform/win32/win32_internal.h"

#include <map>

namespace zepx::win32 {

namespace {

std::uint32_t g_screen_cursor = 0;

// Records nothing: the picker itself runs from its timer.
LRESULT CALLBACK JournalRecordProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code < 0) return CallNextHookEx(nullptr, code, wparam, lparam);
  return 0;
}

// Low-level hooks run on the thread that installed them, from inside its
// message retrieval; the callbacks only take note.
std::map<HHOOK, std::function<void()>>& LeftButtonCallbacks() {
  static std::map<HHOOK, std::function<void()>> callbacks;
  return callbacks;
}

LRESULT CALLBACK LeftButtonProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && wparam == WM_LBUTTONDOWN) {
    // Copied: a callback may lead to an unhook that edits the map.
    const auto callbacks = LeftButtonCallbacks();
    for (const auto& c : callbacks)
      if (c.second) c.second();
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

std::uint32_t ScreenCursorId() { return g_screen_cursor; }

std::int16_t Win32Platform::GetAsyncKeyState(int vk) { return ::GetAsyncKeyState(vk); }

Hwnd Win32Platform::SetCapture(Hwnd w) { return N(::SetCapture(H(w))); }

bool Win32Platform::ReleaseCapture() { return ::ReleaseCapture() != FALSE; }

std::uint32_t Win32Platform::GetScreenCursor() { return g_screen_cursor; }

void Win32Platform::SetScreenCursor(std::uint32_t cursor_id) {
  g_screen_cursor = cursor_id;
  // Shown at once; our windows keep it from then on (WM_SETCURSOR), and a
  // window holding the capture gets no WM_SETCURSOR at all.
  const UINT shown = cursor_id ? cursor_id : 32512;  // IDC_ARROW
  ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(shown)));
}

std::uintptr_t Win32Platform::SetJournalRecordHook() {
  return reinterpret_cast<std::uintptr_t>(
      SetWindowsHookExA(WH_JOURNALRECORD, JournalRecordProc, GetModuleHandleA(nullptr), 0));
}

std::uintptr_t Win32Platform::SetLeftButtonHook(std::function<void()> on_left_down) {
  HHOOK h = SetWindowsHookExA(WH_MOUSE_LL, LeftButtonProc, GetModuleHandleA(nullptr), 0);
  if (h) LeftButtonCallbacks()[h] = std::move(on_left_down);
  return reinterpret_cast<std::uintptr_t>(h);
}

bool Win32Platform::UnhookWindowsHookEx(std::uintptr_t hook) {
  HHOOK h = reinterpret_cast<HHOOK>(hook);
  LeftButtonCallbacks().erase(h);
  return ::UnhookWindowsHookEx(h) != FALSE;
}

}  // namespace zepx::win32
