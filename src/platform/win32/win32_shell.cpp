// System version, our own program, processes, the shell, the notification
// area, and layered windows.
#include "platform/win32/win32_internal.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "base/text.h"

namespace zepx::win32 {

std::uint32_t Win32Platform::WindowsMajorVersion() {
  // GetVersionEx reports what the manifest claims to support; RtlGetVersion
  // always tells the truth.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    auto fn = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
    if (fn && fn(&v) == 0) return v.dwMajorVersion;
  }
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(&v)) return v.dwMajorVersion;
#pragma GCC diagnostic pop
  return 0;
}

std::string Win32Platform::ProgramPath() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return Narrow(std::wstring(buf.data(), n));
    buf.resize(buf.size() * 2);
  }
}

std::vector<std::string> Win32Platform::CommandLineArguments() {
  std::vector<std::string> out;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return out;
  for (int i = 1; i < argc; ++i) out.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return out;
}

bool Win32Platform::CreateProcessA(const std::string& command_line,
                                   const std::string& current_dir) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  PROCESS_INFORMATION pi{};
  std::wstring cmd = Wide(command_line);  // CreateProcessW may write into it
  cmd.push_back(L'\0');
  const std::wstring dir = Wide(current_dir);
  if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

bool Win32Platform::ShellExecuteRunAs(const std::string& file, const std::string& params) {
  const std::wstring wfile = Wide(file), wparams = Wide(params);
  SHELLEXECUTEINFOW sei{};
  sei.cbSize = sizeof sei;
  sei.fMask = 0x500;  // SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI
  sei.hwnd = H(DialogOwner());
  sei.lpVerb = L"runas";
  sei.lpFile = wfile.c_str();
  sei.lpParameters = wparams.empty() ? nullptr : wparams.c_str();
  sei.nShow = 5;  // SW_SHOW
  return ShellExecuteExW(&sei) != FALSE;
}

bool Win32Platform::ShellExecuteA(const std::string& verb, const std::string& file) {
  const std::wstring wverb = Wide(verb), wfile = Wide(file);
  const HINSTANCE r = ShellExecuteW(H(DialogOwner()), wverb.empty() ? nullptr : wverb.c_str(),
                                    wfile.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(r) > 32;
}

namespace {

NOTIFYICONDATAW IconData(const NotifyIconData& d) {
  NOTIFYICONDATAW n{};
  n.cbSize = NOTIFYICONDATAW_V2_SIZE;
  n.hWnd = H(d.owner);
  n.uID = d.id;
  n.uFlags = d.flags;
  n.uCallbackMessage = d.callback_message;
  n.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  const std::wstring tip = Wide(TruncateCp932(d.tip, 63));
  tip.copy(n.szTip, std::min<std::size_t>(tip.size(), std::size(n.szTip) - 1));
  if (d.flags & NIF_INFO) {
    const std::wstring title = Wide(TruncateCp932(d.info_title, 63));
    const std::wstring info = Wide(TruncateCp932(d.info, 255));
    title.copy(n.szInfoTitle, std::min<std::size_t>(title.size(), std::size(n.szInfoTitle) - 1));
    info.copy(n.szInfo, std::min<std::size_t>(info.size(), std::size(n.szInfo) - 1));
    n.dwInfoFlags = NIIF_WARNING;
  }
  return n;
}

}  // namespace

bool Win32Platform::NotifyIconAdd(const NotifyIconData& d) {
  NOTIFYICONDATAW n = IconData(d);
  const bool added = Shell_NotifyIconW(NIM_ADD, &n) != FALSE;
  if (added) tray_icons_.insert({d.owner, d.id});
  return added;
}

bool Win32Platform::NotifyIconModify(const NotifyIconData& d) {
  NOTIFYICONDATAW n = IconData(d);
  return Shell_NotifyIconW(NIM_MODIFY, &n) != FALSE;
}

bool Win32Platform::NotifyIconDelete(const NotifyIconData& d) {
  NOTIFYICONDATAW n = IconData(d);
  tray_icons_.erase({d.owner, d.id});
  return Shell_NotifyIconW(NIM_DELETE, &n) != FALSE;
}

bool Win32Platform::OnOwnTrayIcon(Point p) const {
  for (const auto& [owner, id] : tray_icons_) {
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = H(owner);
    icon.uID = id;
    RECT r;
    if (SUCCEEDED(Shell_NotifyIconGetRect(&icon, &r)) && PtInRect(&r, POINT{p.x, p.y})) return true;
  }
  return false;
}

void Win32Platform::DragAcceptFiles(Hwnd w, bool accept) { ::DragAcceptFiles(H(w), accept); }

std::string Win32Platform::LocalDateTimeText() {
  wchar_t date[128] = L"", time[128] = L"";
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128);
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
  return Narrow(std::wstring(date) + L" " + time);
}

// ---- layered windows ----------------------------------------------------------

std::uintptr_t Win32Platform::LoadLibraryA(const std::string& name) {
  return reinterpret_cast<std::uintptr_t>(::LoadLibraryA(name.c_str()));
}

void* Win32Platform::GetProcAddress(std::uintptr_t module, const std::string& name) {
  if (!module) return nullptr;
  return reinterpret_cast<void*>(
      ::GetProcAddress(reinterpret_cast<HMODULE>(module), name.c_str()));
}

void Win32Platform::FreeLibrary(std::uintptr_t module) {
  if (module) ::FreeLibrary(reinterpret_cast<HMODULE>(module));
}

std::int32_t Win32Platform::GetWindowLongA(Hwnd w, int index) {
  return ::GetWindowLongA(H(w), index);
}

std::int32_t Win32Platform::SetWindowLongA(Hwnd w, int index, std::int32_t value) {
  return ::SetWindowLongA(H(w), index, value);
}

bool Win32Platform::SetLayeredWindowAttributes(void* fn, Hwnd w, std::uint32_t color_key,
                                               std::uint8_t alpha, std::uint32_t flags) {
  if (!fn) return false;
  using Fn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  return reinterpret_cast<Fn>(fn)(H(w), color_key, alpha, flags) != FALSE;
}

}  // namespace zepx::win32
