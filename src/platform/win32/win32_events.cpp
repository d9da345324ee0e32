// What the clock labels and the timed events need of the system: the local
// time and the locale's words for it, power state and shutdown, dial-up
// connections, and opening a file with its default verb.
#include "platform/win32/win32_internal.h"

#include <ras.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdio>

namespace zepx::win32 {

namespace {

// RASCONNA in its first form, from the system's own types and limits: the
// record the logic hands over must be laid out exactly like it.
struct RasConnFirstForm {
  DWORD dwSize;
  HRASCONN hrasconn;
  CHAR szEntryName[RAS_MaxEntryName + 1];
  CHAR szDeviceType[RAS_MaxDeviceType + 1];
  CHAR szDeviceName[RAS_MaxDeviceName + 1];
};
static_assert(sizeof(RasConnFirstForm) == sizeof(RasConnA), "record size");
static_assert(offsetof(RasConnFirstForm, hrasconn) == offsetof(RasConnA, hrasconn), "handle");
static_assert(offsetof(RasConnFirstForm, szEntryName) == offsetof(RasConnA, szEntryName), "name");
static_assert(offsetof(RasConnFirstForm, szDeviceName) == offsetof(RasConnA, szDeviceName), "device");

using RasEnumConnectionsFn = DWORD(APIENTRY*)(RasConnFirstForm*, LPDWORD, LPDWORD);
using RasHangUpFn = DWORD(APIENTRY*)(HRASCONN);

SYSTEMTIME ToSystem(const SystemTime& t) {
  SYSTEMTIME st{};
  st.wYear = t.year;
  st.wMonth = t.month;
  st.wDayOfWeek = t.day_of_week;
  st.wDay = t.day;
  st.wHour = t.hour;
  st.wMinute = t.minute;
  st.wSecond = t.second;
  st.wMilliseconds = t.milliseconds;
  return st;
}

}  // namespace

// ---- local time ----------------------------------------------------------------

SystemTime Win32Platform::GetLocalTime() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return SystemTime{st.wYear, st.wMonth, st.wDayOfWeek, st.wDay,
                    st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

std::string Win32Platform::GetDateFormatA(const SystemTime& t, const std::string& picture,
                                          bool japanese_calendar) {
  const SYSTEMTIME st = ToSystem(t);
  const std::wstring wpicture = Wide(picture);
  // The Japanese calendar is the optional calendar of the Japanese locale.
  const LCID locale = japanese_calendar ? MAKELCID(0x0411, SORT_DEFAULT) : LOCALE_USER_DEFAULT;
  const DWORD flags = japanese_calendar ? DATE_USE_ALT_CALENDAR : 0;
  wchar_t buf[128];
  const int n = GetDateFormatW(locale, flags, &st, wpicture.c_str(), buf, 128);
  return n > 0 ? Narrow(std::wstring(buf, static_cast<std::size_t>(n - 1))) : std::string();
}

std::string Win32Platform::GetTimeFormatA(const SystemTime& t, const std::string& picture) {
  const SYSTEMTIME st = ToSystem(t);
  const std::wstring wpicture = Wide(picture);
  wchar_t buf[128];
  const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, wpicture.c_str(), buf, 128);
  return n > 0 ? Narrow(std::wstring(buf, static_cast<std::size_t>(n - 1))) : std::string();
}

// ---- power -------------------------------------------------------------------------

IPower::Handle Win32Platform::GetCurrentProcess() {
  return reinterpret_cast<Handle>(::GetCurrentProcess());
}

bool Win32Platform::OpenProcessToken(Handle process, std::uint32_t access, Handle& token) {
  HANDLE t = nullptr;
  const BOOL ok = ::OpenProcessToken(reinterpret_cast<HANDLE>(process), access, &t);
  token = reinterpret_cast<Handle>(t);
  return ok != FALSE;
}

bool Win32Platform::LookupPrivilegeValueA(const std::string& name, std::uint64_t& luid) {
  LUID l{};
  const BOOL ok = ::LookupPrivilegeValueA(nullptr, name.c_str(), &l);
  luid = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(l.HighPart)) << 32) | l.LowPart;
  return ok != FALSE;
}

bool Win32Platform::AdjustTokenPrivileges(Handle token, bool disable_all, std::uint64_t luid,
                                          std::uint32_t attributes) {
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Luid.LowPart = static_cast<DWORD>(luid & 0xFFFFFFFFu);
  tp.Privileges[0].Luid.HighPart = static_cast<LONG>(luid >> 32);
  tp.Privileges[0].Attributes = attributes;
  // Nothing may run between the call and the caller's GetLastError.
  return ::AdjustTokenPrivileges(reinterpret_cast<HANDLE>(token), disable_all, &tp, 0, nullptr,
                                 nullptr) != FALSE;
}

std::uint32_t Win32Platform::GetLastError() { return ::GetLastError(); }

bool Win32Platform::CloseToken(Handle token) {
  return ::CloseHandle(reinterpret_cast<HANDLE>(token)) != FALSE;
}

bool Win32Platform::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
  return ::ExitWindowsEx(flags, reason) != FALSE;
}

bool Win32Platform::SetSystemPowerState(bool suspend, bool force) {
  return ::SetSystemPowerState(suspend, force) != FALSE;
}

void Win32Platform::WriteStdOut(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

// ---- dial-up -------------------------------------------------------------------------

bool Win32Platform::LoadDialUp() {
  if (!dialup_looked_up_) {
    dialup_looked_up_ = true;
    // Not linked: the program must start where Remote Access is missing.
    if (HMODULE ras = ::LoadLibraryA("rasapi32.dll")) {
      ras_enum_connections_ = reinterpret_cast<void*>(::GetProcAddress(ras, "RasEnumConnectionsA"));
      ras_hang_up_ = reinterpret_cast<void*>(::GetProcAddress(ras, "RasHangUpA"));
    }
  }
  return ras_enum_connections_ && ras_hang_up_;
}

std::uint32_t Win32Platform::RasEnumConnectionsA(RasConnA* connections,
                                                 std::uint32_t& size_bytes,
                                                 std::uint32_t& count) {
  if (!LoadDialUp()) {
    count = 0;
    return ERROR_DLL_NOT_FOUND;
  }
  DWORD size = size_bytes, n = count;
  const DWORD r = reinterpret_cast<RasEnumConnectionsFn>(ras_enum_connections_)(
      reinterpret_cast<RasConnFirstForm*>(connections), &size, &n);
  size_bytes = size;
  count = n;
  return r;
}

std::uint32_t Win32Platform::RasHangUpA(std::uintptr_t connection) {
  if (!LoadDialUp()) return ERROR_DLL_NOT_FOUND;
  return reinterpret_cast<RasHangUpFn>(ras_hang_up_)(reinterpret_cast<HRASCONN>(connection));
}

// ---- opening a file ------------------------------------------------------------------

bool Win32Platform::ShellExecuteFile(const std::string& file, int show) {
  const std::wstring wfile = Wide(file);
  const HINSTANCE r = ShellExecuteW(nullptr, nullptr, wfile.c_str(), nullptr, nullptr, show);
  return reinterpret_cast<INT_PTR>(r) > 32;
}

}  // namespace zepx::win32
