// Other programs' windows, posted messages and synthetic input.
#include "platform/win32/win32_internal.h"

#include <algorithm>
#include <vector>

namespace zepx::win32 {

Hwnd Win32Platform::FindWindowA(const char* class_name, const char* title) {
  if (AnsiIsCp932()) return N(::FindWindowA(class_name, title));
  std::wstring c, t;
  return N(::FindWindowW(WideOrNull(class_name, c), WideOrNull(title, t)));
}

Hwnd Win32Platform::FindWindowExA(Hwnd parent, Hwnd child_after, const char* class_name,
                                  const char* title) {
  if (AnsiIsCp932()) return N(::FindWindowExA(H(parent), H(child_after), class_name, title));
  std::wstring c, t;
  return N(::FindWindowExW(H(parent), H(child_after), WideOrNull(class_name, c),
                           WideOrNull(title, t)));
}

bool Win32Platform::IsWindow(Hwnd w) { return w && ::IsWindow(H(w)); }

namespace {

bool IsCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

bool Win32Platform::PostMessageA(Hwnd w, std::uint32_t msg, std::uintptr_t wparam,
                                 std::intptr_t lparam) {
  // Characters are posted as cp932 bytes, a double-byte character as its
  // lead byte then its trail byte. The system pairs them up itself only
  // when its ANSI code page is 932; elsewhere we pair them here and post
  // the UTF-16 character.
  if (msg == WM_CHAR && !AnsiIsCp932()) {
    const auto b = static_cast<unsigned char>(wparam & 0xFF);
    auto pending = pending_lead_.find(w);
    if (pending != pending_lead_.end()) {
      const char pair[2] = {static_cast<char>(pending->second), static_cast<char>(b)};
      pending_lead_.erase(pending);
      const std::wstring ch = Wide(std::string(pair, 2));
      if (ch.empty()) return false;
      return ::PostMessageW(H(w), WM_CHAR, ch[0], lparam) != FALSE;
    }
    if (IsCp932Lead(b) && wparam <= 0xFF) {
      pending_lead_[w] = b;
      return ::IsWindow(H(w)) != FALSE;
    }
    if (b >= 0x80 && wparam <= 0xFF) {  // half-width katakana
      const std::wstring ch = Wide(std::string(1, static_cast<char>(b)));
      if (ch.empty()) return false;
      return ::PostMessageW(H(w), WM_CHAR, ch[0], lparam) != FALSE;
    }
  }
  return ::PostMessageA(H(w), msg, wparam, lparam) != FALSE;
}

Hwnd Win32Platform::WindowFromPoint(Point p) { return N(::WindowFromPoint(POINT{p.x, p.y})); }

bool Win32Platform::ClientToScreen(Hwnd w, Point& p) {
  POINT pt{p.x, p.y};
  if (!::ClientToScreen(H(w), &pt)) return false;
  p.x = pt.x;
  p.y = pt.y;
  return true;
}

bool Win32Platform::IsWindowVisible(Hwnd w) { return ::IsWindowVisible(H(w)) != FALSE; }
bool Win32Platform::IsIconic(Hwnd w) { return ::IsIconic(H(w)) != FALSE; }
bool Win32Platform::ShowWindow(Hwnd w, int cmd) { return ::ShowWindow(H(w), cmd) != FALSE; }
Hwnd Win32Platform::GetAncestor(Hwnd w, std::uint32_t flags) { return N(::GetAncestor(H(w), flags)); }

std::uint32_t Win32Platform::GetDpiForWindow(Hwnd w) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn fn = SystemProc<Fn>(L"user32.dll", "GetDpiForWindow");
  const UINT dpi = fn ? fn(H(w)) : 0;
  return dpi ? dpi : 96;
}

Hwnd Win32Platform::ChildWindowFromPointEx(Hwnd parent, Point p, std::uint32_t flags) {
  return N(::ChildWindowFromPointEx(H(parent), POINT{p.x, p.y}, flags));
}

bool Win32Platform::ScreenToClient(Hwnd w, Point& p) {
  POINT pt{p.x, p.y};
  if (!::ScreenToClient(H(w), &pt)) return false;
  p.x = pt.x;
  p.y = pt.y;
  return true;
}

Hwnd Win32Platform::GetForegroundWindow() { return N(::GetForegroundWindow()); }
bool Win32Platform::SetForegroundWindow(Hwnd w) { return ::SetForegroundWindow(H(w)) != FALSE; }
Hwnd Win32Platform::SetActiveWindow(Hwnd w) { return N(::SetActiveWindow(H(w))); }
Hwnd Win32Platform::SetFocus(Hwnd w) { return N(::SetFocus(H(w))); }

bool Win32Platform::SetWindowPos(Hwnd w, Hwnd insert_after, int x, int y, int cx, int cy,
                                 std::uint32_t flags) {
  return ::SetWindowPos(H(w), H(insert_after), x, y, cx, cy, flags) != FALSE;
}

namespace {

// The window text as WM_GETTEXT gives it, without hanging on a window whose
// program has stopped answering.
std::wstring TextOf(HWND w) {
  constexpr UINT kTimeoutMs = 200;
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kTimeoutMs,
                           &len) ||
      len == 0)
    return {};
  len = std::min<DWORD_PTR>(len, 32767);
  std::vector<wchar_t> buf(len + 1, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                           SMTO_ABORTIFHUNG | SMTO_BLOCK, kTimeoutMs, &got))
    return {};
  return std::wstring(buf.data(), std::min<DWORD_PTR>(got, len));
}

}  // namespace

std::vector<IWindows::TopLevel> Win32Platform::EnumTopLevelWindows(std::size_t limit) {
  std::vector<TopLevel> out;
  // Walking the z-order from the desktop's first child; the step cap
  // guards against windows re-ordering under the walk.
  HWND w = GetWindow(GetDesktopWindow(), GW_CHILD);
  for (int steps = 0; w && out.size() < limit && steps < 100000; ++steps) {
    if (::IsWindowVisible(w) && !GetWindow(w, GW_OWNER))
      out.push_back({N(w), Narrow(TextOf(w))});
    w = GetWindow(w, GW_HWNDNEXT);
  }
  return out;
}

Hwnd Win32Platform::GetParent(Hwnd w) { return N(::GetParent(H(w))); }

std::string Win32Platform::WindowText(Hwnd w) { return w ? Narrow(TextOf(H(w))) : std::string(); }

std::string Win32Platform::WindowClassName(Hwnd w) {
  if (AnsiIsCp932()) {
    char buf[100];
    const int n = ::GetClassNameA(H(w), buf, sizeof buf);
    return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
  }
  wchar_t buf[100];
  const int n = ::GetClassNameW(H(w), buf, 100);
  std::string name = Narrow(std::wstring(buf, n > 0 ? static_cast<std::size_t>(n) : 0));
  // The same 99 bytes the ANSI call would give, never half a character.
  if (name.size() > 99) {
    std::size_t keep = 0;
    for (std::size_t i = 0; i < name.size();) {
      const auto b = static_cast<unsigned char>(name[i]);
      const std::size_t len = IsCp932Lead(b) ? 2 : 1;
      if (i + len > 99) break;
      i += len;
      keep = i;
    }
    name.resize(keep);
  }
  return name;
}

std::optional<std::uint32_t> Win32Platform::GetPixel(Point p) {
  HDC screen = ::GetDC(nullptr);
  if (!screen) return std::nullopt;
  const COLORREF c = ::GetPixel(screen, p.x, p.y);
  ::ReleaseDC(nullptr, screen);
  if (c == CLR_INVALID) return std::nullopt;
  return static_cast<std::uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

// ---- synthetic input -------------------------------------------------------------

void Win32Platform::keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                                std::uintptr_t extra) {
  ::keybd_event(vk, scan, flags, extra);
}

std::uint32_t Win32Platform::SendInput(const std::vector<KeyRecord>& records) {
  if (records.empty()) return 0;
  std::vector<INPUT> in(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = records[i].vk;
    in[i].ki.wScan = records[i].scan;
    in[i].ki.dwFlags = records[i].flags;
    in[i].ki.time = records[i].time;
    in[i].ki.dwExtraInfo = records[i].extra;
  }
  return ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

std::uint32_t Win32Platform::MapVirtualKeyA(std::uint32_t code, std::uint32_t map_type) {
  return ::MapVirtualKeyA(code, map_type);
}

std::int16_t Win32Platform::VkKeyScanA(char ch) { return ::VkKeyScanA(ch); }

std::uint32_t Win32Platform::GetACP() { return ::GetACP(); }

std::u16string Win32Platform::Cp932ToUtf16(const std::string& text) {
  const std::wstring wide = Wide(text);
  return std::u16string(wide.begin(), wide.end());
}

void Win32Platform::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                                std::uint32_t data, std::uintptr_t extra) {
  ::mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), data, extra);
}

bool Win32Platform::SetCursorPos(int x, int y) { return ::SetCursorPos(x, y) != FALSE; }

bool Win32Platform::GetCursorPos(Point& p) {
  POINT pt;
  if (!::GetCursorPos(&pt)) return false;
  p.x = pt.x;
  p.y = pt.y;
  return true;
}

bool Win32Platform::ClipCursor(const Rect* r) {
  if (!r) return ::ClipCursor(nullptr) != FALSE;
  const RECT rc{r->left, r->top, r->right, r->bottom};
  return ::ClipCursor(&rc) != FALSE;
}

}  // namespace zepx::win32

namespace zepx::win32 {

std::optional<std::uint32_t> Win32Platform::IntegrityLevel(Hwnd w) {
  HANDLE process = ::GetCurrentProcess();
  if (w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(H(w), &pid);
    if (pid == 0) return std::nullopt;
    process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return std::nullopt;
  }
  std::optional<std::uint32_t> level;
  HANDLE token = nullptr;
  if (::OpenProcessToken(process, TOKEN_QUERY, &token)) {
    DWORD size = 0;
    ::GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    std::vector<BYTE> buf(size);
    if (size && ::GetTokenInformation(token, TokenIntegrityLevel, buf.data(), size, &size)) {
      const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buf.data())->Label.Sid;
      const UCHAR count = *GetSidSubAuthorityCount(sid);
      if (count > 0) level = *GetSidSubAuthority(sid, count - 1);
    }
    CloseHandle(token);
  }
  if (w) CloseHandle(process);
  return level;
}

}  // namespace zepx::win32
