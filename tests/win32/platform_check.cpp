// Checks of Win32Platform against the real system, run under Wine by
// scripts/test.sh twice: with the ANSI code page 932 (the "A" functions
// take our cp932 bytes as they are) and with 1252 (everything must go
// through UTF-16). Narrow literals here are cp932, wide ones UTF-16.
//
//   zepx_win32_tests.exe "引数 あ"     the argument is checked as well
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"

#include <windows.h>
#undef MessageBox

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

using zepx::Hwnd;
using zepx::SaveResult;
using zepx::win32::Narrow;
using zepx::win32::Wide;
using zepx::win32::Win32Platform;

namespace {

int g_passed = 0, g_failed = 0;

void Check(bool ok, const char* what, int line) {
  if (ok) {
    ++g_passed;
  } else {
    ++g_failed;
    std::printf("FAIL line %d: %s\n", line, what);
  }
}
#define CHECK(cond) Check((cond), #cond, __LINE__)

void Group(const char* name) { std::printf("-- %s (ACP %u)\n", name, GetACP()); }

HWND H(Hwnd w) { return reinterpret_cast<HWND>(w); }
Hwnd N(HWND w) { return reinterpret_cast<Hwnd>(w); }

// Pumps messages until done() or the time runs out; a watchdog timer keeps
// the blocking loop from waiting forever.
template <typename F>
bool PumpUntil(Win32Platform& p, F done, int ms) {
  const std::uint32_t watchdog = p.SetTimer(25, [] {});
  const std::int64_t end = p.NowMs() + ms;
  while (!done() && p.NowMs() < end && p.ProcessOneMessage()) {
  }
  p.KillTimer(watchdog);
  return done();
}

std::vector<wchar_t> g_chars;  // WM_CHAR received by the test window

LRESULT CALLBACK TestWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR) {
    g_chars.push_back(static_cast<wchar_t>(wp));
    return 0;
  }
  if (msg == WM_APP + 7) throw std::runtime_error("窓の失敗");
  return DefWindowProcW(w, msg, wp, lp);
}

HWND MakeWindow(const wchar_t* title, DWORD style, HWND owner) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TestWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZEPXCheckWindow";
    RegisterClassW(&wc);
    registered = true;
  }
  return CreateWindowExW(0, L"ZEPXCheckWindow", title, style, 40, 40, 240, 120, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

void MessageLoopChecks(Win32Platform& p) {
  Group("message loop");
  std::vector<int> order;
  p.PostTask([&] { order.push_back(1); });
  p.PostTask([&] { order.push_back(2); });
  int ticks = 0;
  std::uint32_t id = 0;
  const std::int64_t t0 = p.NowMs();
  id = p.SetTimer(20, [&] {
    if (++ticks == 3) p.KillTimer(id);  // a timer may end itself
  });
  CHECK(id != 0);
  CHECK(PumpUntil(p, [&] { return ticks >= 3; }, 3000));
  CHECK(p.NowMs() - t0 >= 40);
  PumpUntil(p, [] { return false; }, 150);
  CHECK(ticks == 3);
  CHECK((order == std::vector<int>{1, 2}));
  const std::int64_t a = p.NowMs();
  p.Sleep(30);
  CHECK(p.NowMs() - a >= 25);
}

void FileChecks(Win32Platform& p) {
  Group("files");
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  const std::wstring dirw =
      std::wstring(tmp) + L"zepx-check-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dirw.c_str(), nullptr);
  const std::string dir = Narrow(dirw);
  const std::string path = dir + "\\マクロ 一覧.mcr";
  const std::string body = std::string("//ZEP Version 4.51\r\n[ｱﾌﾟﾘを前面に]\r\n\0\xff", 38);

  CHECK(p.DirectoryExists(dir));
  CHECK(!p.FileExists(dir));
  CHECK(!p.FileExists(path));
  std::string got = "unchanged";
  CHECK(!p.ReadFile(path, got));
  CHECK(got == "unchanged");

  CHECK(p.WriteFile(path, body) == SaveResult::Saved);
  CHECK(p.FileExists(path));
  CHECK(!p.DirectoryExists(path));
  // The name reached the disk as the UTF-16 name, not as mangled bytes.
  CHECK(GetFileAttributesW((dirw + L"\\マクロ 一覧.mcr").c_str()) != INVALID_FILE_ATTRIBUTES);
  CHECK(p.ReadFile(path, got) && got == body);

  // Replaced, never appended, and the old file's attributes survive.
  SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
  CHECK(p.WriteFile(path, "short") == SaveResult::Saved);
  CHECK(p.ReadFile(path, got) && got == "short");
  CHECK(!p.FileExists(path + ".zepx-tmp"));
  CHECK(GetFileAttributesW(Wide(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  CHECK(p.WriteFileInPlace(path, "in place"));
  CHECK(p.ReadFile(path, got) && got == "in place");

  // A read-only file loads, and saving over it fails without harm.
  SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
  CHECK(p.ReadFile(path, got) && got == "in place");
  CHECK(p.WriteFile(path, "other") == SaveResult::Failed);
  CHECK(p.ReadFile(path, got) && got == "in place");
  SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);

  CHECK(p.WriteFile(dir + "\\empty.mcr", "") == SaveResult::Saved);
  CHECK(p.ReadFile(dir + "\\empty.mcr", got) && got.empty());
  CHECK(p.WriteFile(dir + "\\no such folder\\x.mcr", "x") == SaveResult::Failed);

  // A path past MAX_PATH (the dialogs can give one) reads and writes.
  std::string deep = dir;
  while (deep.size() < 200) {
    deep += "\\深いフォルダの名前";
    CreateDirectoryW((L"\\\\?\\" + Wide(deep)).c_str(), nullptr);
  }
  const std::string long_path = deep + "\\" + std::string(300 - Wide(deep).size() - 5, 'l') + ".mcr";
  CHECK(Wide(long_path).size() > MAX_PATH);
  CHECK(p.WriteFile(long_path, body) == SaveResult::Saved);
  CHECK(p.FileExists(long_path));
  CHECK(p.ReadFile(long_path, got) && got == body);
  CHECK(p.WriteFile(long_path, "again") == SaveResult::Saved);
  CHECK(p.ReadFile(long_path, got) && got == "again");

  // A file another program holds without sharing: nothing is read, the
  // save fails without asking, and the file keeps its contents.
  const std::string locked = dir + "\\locked.mcr";
  CHECK(p.WriteFile(locked, "kept") == SaveResult::Saved);
  HANDLE hold = CreateFileW(Wide(locked).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  CHECK(hold != INVALID_HANDLE_VALUE);
  CHECK(!p.ReadFile(locked, got));
  CHECK(p.WriteFile(locked, "lost?") == SaveResult::Failed);
  CloseHandle(hold);
  CHECK(p.ReadFile(locked, got) && got == "kept");

  // A folder where a file is expected.
  CHECK(!p.ReadFile(dir, got));
  CHECK(p.WriteFile(dir, "x") == SaveResult::Failed);
  CHECK(!p.WriteFileInPlace(dir, "x"));
  CHECK(!p.FileExists(""));

  DeleteFileW(Wide(path).c_str());
  DeleteFileW(Wide(dir + "\\empty.mcr").c_str());
  RemoveDirectoryW(dirw.c_str());
}

// Saves on real disks that cannot take them, prepared by the test script as
// small file systems: one full (ZEPX_FULL_DISK), one where no new file can
// be made (ZEPX_NO_NEW_FILES). Each folder holds old.mcr. Where the script
// could not make them, it says so and these checks do not run.
std::string FolderFromEnv(const wchar_t* name) {
  wchar_t buf[1024];
  const DWORD n = GetEnvironmentVariableW(name, buf, 1024);
  return n > 0 && n < 1024 ? Narrow(std::wstring(buf, n)) : std::string();
}

void SmallDiskChecks(Win32Platform& p) {
  const std::string full = FolderFromEnv(L"ZEPX_FULL_DISK");
  const std::string no_new = FolderFromEnv(L"ZEPX_NO_NEW_FILES");
  if (full.empty() || no_new.empty()) {
    std::printf("-- small disks: not prepared, not checked\n");
    return;
  }
  Group("full and locked disks");
  const std::string big(256 * 1024, 'x');
  std::string old, got;

  const std::string on_full = full + "\\old.mcr";
  CHECK(p.ReadFile(on_full, old) && !old.empty());
  CHECK(p.WriteFile(on_full, big) == SaveResult::Failed);
  CHECK(p.ReadFile(on_full, got) && got == old);
  CHECK(!p.FileExists(on_full + ".zepx-tmp"));

  const std::string on_locked = no_new + "\\old.mcr";
  CHECK(p.ReadFile(on_locked, old) && !old.empty());
  CHECK(p.WriteFile(on_locked, "new") == SaveResult::NoSafeReplace);
  CHECK(p.ReadFile(on_locked, got) && got == old);
  CHECK(p.WriteFileInPlace(on_locked, "new"));
  CHECK(p.ReadFile(on_locked, got) && got == "new");
  CHECK(p.WriteFile(no_new + "\\another.mcr", "x") == SaveResult::Failed);
  CHECK(p.WriteFileInPlace(on_locked, old));  // as the next run expects it
}

void RegistryChecks(Win32Platform& p) {
  Group("registry");
  const std::wstring relw = L"Software\\VELMOR\\ZEPX-check-" + std::to_wstring(GetCurrentProcessId());
  const std::string path = "\\" + Narrow(relw);  // with the leading "\" the logic writes
  zepx::IRegistry::Key k = 0;
  CHECK(!p.OpenKey(path, k));
  CHECK(p.CreateKey(path, k));
  const std::string text = "実行中 ﾃｽﾄ";
  CHECK(p.SetValue(k, "Title", zepx::RegType::Sz, text));
  const std::string dw("\x2a\x00\x00\x00", 4);
  CHECK(p.SetValue(k, "Count", zepx::RegType::Dword, dw));
  CHECK(p.SetValue(k, "Empty", zepx::RegType::Sz, ""));
  p.CloseKey(k);

  CHECK(p.OpenKey(path, k));
  zepx::RegType t{};
  std::string data;
  CHECK(p.QueryValue(k, "Title", t, data) && t == zepx::RegType::Sz && data == text);
  CHECK(p.QueryValue(k, "Count", t, data) && t == zepx::RegType::Dword && data == dw);
  CHECK(p.QueryValue(k, "Empty", t, data) && data.empty());
  CHECK(!p.QueryValue(k, "Missing", t, data));
  // A string far longer than any setting: read whole, not cut or overrun.
  std::string huge;
  while (huge.size() < 100000) huge += "長い値 ";
  CHECK(p.SetValue(k, "Huge", zepx::RegType::Sz, huge));
  CHECK(p.QueryValue(k, "Huge", t, data) && t == zepx::RegType::Sz && data == huge);
  CHECK(p.DeleteValue(k, "Huge"));
  CHECK(p.DeleteValue(k, "Count"));
  CHECK(!p.QueryValue(k, "Count", t, data));
  CHECK(!p.DeleteValue(k, "Count"));
  p.CloseKey(k);

  // Stored as real text, whatever the ANSI code page: what another
  // program (or regedit) reads through the wide API is the same string.
  HKEY hk;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, relw.c_str(), 0, KEY_READ, &hk) == ERROR_SUCCESS) {
    wchar_t buf[64] = {};
    DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
    CHECK(RegQueryValueExW(hk, L"Title", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) ==
          ERROR_SUCCESS);
    CHECK(std::wstring(buf) == L"実行中 ﾃｽﾄ");
    CHECK(size == (std::wstring(L"実行中 ﾃｽﾄ").size() + 1) * sizeof(wchar_t));
    RegCloseKey(hk);
  } else {
    CHECK(!"key readable through the wide API");
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, relw.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, relw.c_str());
  CHECK(!p.OpenKey(path, k));
}

void WindowChecks(Win32Platform& p, HWND main) {
  Group("windows and input");
  HWND owned = MakeWindow(L"所有される窓", WS_POPUP | WS_VISIBLE, main);
  HWND hidden = MakeWindow(L"隠れた窓", WS_OVERLAPPEDWINDOW, nullptr);
  p.ProcessPendingMessages();

  CHECK(p.FindWindowA(nullptr, "テスト窓 ZEPX") == N(main));
  CHECK(p.FindWindowA("ZEPXCheckWindow", "テスト窓 ZEPX") == N(main));
  CHECK(p.FindWindowA(nullptr, "テスト窓 ZEPY") == 0);
  // Our own window's process is our own level; a window that is gone has none.
  const auto own_level = p.IntegrityLevel(0);
  CHECK(own_level.has_value() && *own_level >= 0x1000);
  CHECK(p.IntegrityLevel(N(main)) == own_level);
  CHECK(!p.IntegrityLevel(N(hidden) + 0x100000).has_value());
  CHECK(p.FindWindowExA(0, 0, nullptr, "テスト窓 ZEPX") == N(main));
  CHECK(p.IsWindow(N(main)) && !p.IsWindow(0));

  const auto list = p.EnumTopLevelWindows(500);
  auto has = [&](HWND w) {
    return std::any_of(list.begin(), list.end(), [&](const auto& t) { return t.hwnd == N(w); });
  };
  CHECK(has(main));
  CHECK(!has(owned));
  CHECK(!has(hidden));
  for (const auto& t : list)
    if (t.hwnd == N(main)) CHECK(t.text == "テスト窓 ZEPX");
  CHECK(p.EnumTopLevelWindows(1).size() <= 1);

  // cp932 characters posted byte by byte arrive as UTF-16 characters.
  g_chars.clear();
  CHECK(p.PostMessageA(N(main), WM_CHAR, 0x93, 0));  // 日 = 93 FA
  CHECK(p.PostMessageA(N(main), WM_CHAR, 0xFA, 0));
  CHECK(p.PostMessageA(N(main), WM_CHAR, 'A', 0));
  CHECK(p.PostMessageA(N(main), WM_CHAR, 0xB1, 0));  // ｱ
  PumpUntil(p, [] { return g_chars.size() >= 3; }, 2000);
  p.ProcessPendingMessages();
  CHECK((g_chars == std::vector<wchar_t>{0x65E5, L'A', 0xFF71}));

  CHECK(p.SetForegroundWindow(N(main)));
  p.ProcessPendingMessages();
  CHECK(p.GetForegroundWindow() == N(main));
  CHECK(p.SetWindowPos(N(main), 0, 500, 420, 0, 0, SWP_NOSIZE));
  RECT r;
  GetWindowRect(main, &r);
  CHECK(r.left == 500 && r.top == 420);
  POINT c0{0, 0};
  ClientToScreen(main, &c0);
  zepx::Point pt{c0.x + 5, c0.y + 7};
  CHECK(p.ScreenToClient(N(main), pt) && pt.x == 5 && pt.y == 7);
  CHECK(p.WindowFromPoint({c0.x + 10, c0.y + 10}) == N(main));

  CHECK(p.SetCursorPos(321, 234));
  zepx::Point cur;
  CHECK(p.GetCursorPos(cur) && cur.x == 321 && cur.y == 234);
  const zepx::Rect clip{300, 200, 400, 300};
  CHECK(p.ClipCursor(&clip));
  CHECK(p.SetCursorPos(10, 10));
  CHECK(p.GetCursorPos(cur) && cur.x == 300 && cur.y == 200);
  CHECK(p.ClipCursor(nullptr));
  CHECK(p.SetCursorPos(10, 10));
  CHECK(p.GetCursorPos(cur) && cur.x == 10 && cur.y == 10);
  CHECK(p.VkKeyScanA('a') == 'A');
  CHECK(p.MapVirtualKeyA('A', 0) != 0);
  CHECK(p.SendInput({}) == 0);

  DestroyWindow(owned);
  DestroyWindow(hidden);
}

void PickerChecks(Win32Platform& p, HWND main) {
  Group("picker");
  HWND edit = CreateWindowExW(0, L"EDIT", L"中身", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, main,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  CHECK(p.GetParent(N(edit)) == N(main));
  CHECK(p.GetParent(N(main)) == 0);
  CHECK(p.WindowText(N(main)) == "テスト窓 ZEPX");
  CHECK(p.WindowText(N(edit)) == "中身");
  CHECK(p.WindowText(0).empty());
  CHECK(p.WindowClassName(N(main)) == "ZEPXCheckWindow");
  CHECK(p.WindowClassName(N(edit)) == "Edit");

  CHECK(p.SetCapture(N(main)) == 0);
  CHECK(GetCapture() == main);
  CHECK(p.ReleaseCapture());
  CHECK(GetCapture() == nullptr);
  p.SetScreenCursor(32515);  // IDC_CROSS
  CHECK(p.GetScreenCursor() == 32515);
  p.SetScreenCursor(0);
  CHECK(p.GetScreenCursor() == 0);

  // Whether the system takes a journal hook is its own affair (current
  // Windows wants UI access for it); a taken one must come off again.
  const std::uintptr_t journal = p.SetJournalRecordHook();
  std::printf("   journal-record hook %s\n", journal ? "installed" : "refused");
  if (journal) CHECK(p.UnhookWindowsHookEx(journal));

  // The low-level mouse hook hears a press of the left button, injected
  // here, while the thread takes its messages.
  int presses = 0;
  const std::uintptr_t hook = p.SetLeftButtonHook([&] { ++presses; });
  CHECK(hook != 0);
  p.mouse_event(0x0002, 0, 0, 0, 0);  // MOUSEEVENTF_LEFTDOWN
  CHECK(PumpUntil(p, [&] { return presses > 0; }, 2000));
  CHECK((p.GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0);
  p.mouse_event(0x0004, 0, 0, 0, 0);  // MOUSEEVENTF_LEFTUP
  PumpUntil(p, [&] { return (p.GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; }, 2000);
  CHECK((p.GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0);
  CHECK(presses == 1);
  CHECK(p.UnhookWindowsHookEx(hook));
  DestroyWindow(edit);
}

void HotKeyChecks(Win32Platform& p) {
  Group("hot keys");
  std::vector<int> got;
  const Hwnd sink = p.CreateMessageWindow([&](int id) { got.push_back(id); });
  CHECK(sink != 0);
  CHECK(p.RegisterHotKey(sink, 7, MOD_CONTROL | MOD_ALT, 'Q'));
  // What the system sends when the combination is pressed.
  PostMessageW(H(sink), WM_HOTKEY, 7, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Q'));
  CHECK(PumpUntil(p, [&] { return !got.empty(); }, 2000));
  CHECK((got == std::vector<int>{7}));
  CHECK(p.UnregisterHotKey(sink, 7));
  CHECK(!p.UnregisterHotKey(sink, 7));
  p.DestroyMessageWindow(sink);
  CHECK(!IsWindow(H(sink)));
}

void ShellChecks(Win32Platform& p) {
  Group("shell");
  CHECK(p.WindowsMajorVersion() >= 6);
  std::string exe = p.ProgramPath();
  std::transform(exe.begin(), exe.end(), exe.begin(), [](char c) { return std::tolower(c); });
  CHECK(exe.size() > 20 && exe.substr(exe.size() - 20) == "zepx_win32_tests.exe");
  // Started with the one argument "引数 あ" (see the top).
  CHECK(p.CommandLineArguments() == std::vector<std::string>{"引数 あ"});
  const std::string when = p.LocalDateTimeText();
  CHECK(when.size() >= 12 && when.find(' ') != std::string::npos &&
        when.find(':') != std::string::npos);
  CHECK(!p.CreateProcessA("Z:\\no such folder\\nothing.exe", ""));
  CHECK(p.CreateProcessA("cmd.exe /c exit 0", "C:\\"));
}

// The clock's time and words, the shutdown privilege and the dial-up
// enumeration. Nothing here shuts down, suspends, hangs up or opens a file.
void EventChecks(Win32Platform& p) {
  Group("events");
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  const zepx::SystemTime t = p.GetLocalTime();
  CHECK(t.year == st.wYear && t.month == st.wMonth && t.day == st.wDay && t.day_of_week == st.wDayOfWeek);

  // Sunday 2026-12-06, 19:30: the weekday and the afternoon word are the
  // user locale's.
  const zepx::SystemTime sunday{2026, 12, 0, 6, 19, 30, 5, 0};
  wchar_t word[64] = L"";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SABBREVDAYNAME7, word, 64);
  CHECK(p.GetDateFormatA(sunday, "ddd", false) == Narrow(word));
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_S2359, word, 64);
  CHECK(p.GetTimeFormatA(sunday, "tt") == Narrow(word));
  CHECK(p.GetDateFormatA(sunday, "yyyy'/'MM", false) == "2026/12");
  const std::string era = p.GetDateFormatA(sunday, "gg", true);
  CHECK(!era.empty());
  // Shown, not compared: Wine 8 formats "gg" in the Gregorian calendar.
  char utf8[64] = "";
  WideCharToMultiByte(CP_UTF8, 0, Wide(era).c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
  std::printf("   the Japanese era of 2026-12-06 as the system names it: %s\n", utf8);

  zepx::IPower::Handle token = 0;
  CHECK(p.OpenProcessToken(p.GetCurrentProcess(), 0x28, token));
  std::uint64_t luid = 0;
  CHECK(p.LookupPrivilegeValueA("SeShutdownPrivilege", luid) && luid != 0);
  CHECK(p.AdjustTokenPrivileges(token, false, luid, 2));
  const std::uint32_t error = p.GetLastError();
  CHECK(error == 0 || error == ERROR_NOT_ALL_ASSIGNED);
  CHECK(p.CloseToken(token));

  // Enumerated only: rasapi32.dll is loaded here, at the first use.
  std::vector<zepx::RasConnA> records(32);
  records[0].dwSize = sizeof(zepx::RasConnA);
  std::uint32_t size = static_cast<std::uint32_t>(records.size() * sizeof(zepx::RasConnA)), count = 99;
  const std::uint32_t r = p.RasEnumConnectionsA(records.data(), size, count);
  std::printf("   RasEnumConnectionsA: %u, %u connections\n", r, count);
  CHECK(count <= 32);
  CHECK(GetModuleHandleW(L"rasapi32.dll") != nullptr);

  CHECK(!p.ShellExecuteFile("Z:\\no such folder\\nothing.txt", 5));
}

void TranslucencyChecks(Win32Platform& p, HWND main) {
  Group("translucency");
  const std::uintptr_t user32 = p.LoadLibraryA("user32.dll");
  CHECK(user32 != 0);
  void* fn = p.GetProcAddress(user32, "SetLayeredWindowAttributes");
  CHECK(fn != nullptr);
  CHECK(p.GetProcAddress(user32, "NoSuchFunction") == nullptr);
  const std::int32_t ex = p.GetWindowLongA(N(main), GWL_EXSTYLE);
  p.SetWindowLongA(N(main), GWL_EXSTYLE, ex | static_cast<std::int32_t>(WS_EX_LAYERED));
  CHECK(p.GetWindowLongA(N(main), GWL_EXSTYLE) & WS_EX_LAYERED);
  CHECK(p.SetLayeredWindowAttributes(fn, N(main), 0, 128, LWA_ALPHA));
  BYTE alpha = 0;
  DWORD flags = 0;
  CHECK(GetLayeredWindowAttributes(main, nullptr, &alpha, &flags) && alpha == 128);
  CHECK(!p.SetLayeredWindowAttributes(nullptr, N(main), 0, 128, LWA_ALPHA));
  p.SetWindowLongA(N(main), GWL_EXSTYLE, ex);
  p.FreeLibrary(user32);
}

// Message boxes: answered from a timer (the box runs a modal loop that
// dispatches our timers), which also checks caption and owner.
void DialogChecks(Win32Platform& p, HWND main) {
  Group("message boxes");
  p.SetTitle("ZEPX - 実行中");
  p.SetOwner(N(main));
  struct Seen {
    bool found = false, owner_ok = false;
    std::wstring text;
  } seen;
  int answer = 0, ticks = 0;
  const std::uint32_t t = p.SetTimer(50, [&] {
    ++ticks;
    HWND box = FindWindowW(L"#32770", L"ZEPX - 実行中");
    if (box) {
      seen.found = true;
      seen.owner_ok = GetWindow(box, GW_OWNER) == main;
      wchar_t text[256] = L"";
      GetDlgItemTextW(box, 0xFFFF, text, 256);  // the message's static control
      seen.text = text;
      PostMessageW(box, WM_COMMAND, answer, 0);
    } else if (ticks > 100) {  // not found by its caption: close whatever box is open
      if (HWND any = FindWindowW(L"#32770", nullptr)) PostMessageW(any, WM_COMMAND, answer, 0);
    }
  });
  answer = IDNO;
  CHECK(p.MessageBox("続けますか？", zepx::MsgKind::YesNo) == zepx::MsgResult::No);
  CHECK(seen.found && seen.owner_ok);
  CHECK(seen.text == L"続けますか？");
  seen = {};
  answer = IDYES;
  CHECK(p.MessageBox("続けますか？", zepx::MsgKind::YesNo) == zepx::MsgResult::Yes);
  answer = IDCANCEL;
  CHECK(p.MessageBox("消去しますか？", zepx::MsgKind::OkCancel) == zepx::MsgResult::Cancel);
  answer = IDOK;
  CHECK(p.MessageBox("読み込めませんでした", zepx::MsgKind::Info) == zepx::MsgResult::Ok);
  CHECK(seen.found);

  // A callback that fails is reported in a box; the loop goes on.
  seen = {};
  bool after = false;
  p.PostTask([] { throw std::runtime_error("失敗しました"); });
  p.PostTask([&] { after = true; });
  CHECK(PumpUntil(p, [&] { return after; }, 10000));
  CHECK(seen.text == L"失敗しました");
  // The same from a window procedure that lets its exception out.
  seen = {};
  after = false;
  PostMessageW(main, WM_APP + 7, 0, 0);
  p.PostTask([&] { after = true; });
  CHECK(PumpUntil(p, [&] { return after; }, 10000));
  CHECK(seen.text == L"窓の失敗");
  p.KillTimer(t);
}

// File dialogs, filled in and confirmed from a timer like the boxes above.
void FileDialogChecks(Win32Platform& p) {
  Group("file dialogs");
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  const std::wstring dirw = std::wstring(tmp) + L"zepx-dlg-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dirw.c_str(), nullptr);
  const std::string dir = Narrow(dirw);

  std::wstring typed;  // what the user types into the name field; empty: Cancel
  int ticks = 0;
  const std::uint32_t t = p.SetTimer(100, [&] {
    HWND dlg = FindWindowW(L"#32770", nullptr);
    if (!dlg && ++ticks < 100) return;
    if (typed.empty()) {
      PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    } else {
      SendMessageW(dlg, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(typed.c_str()));
      PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    }
  });
  zepx::FileDialogOptions o;
  o.filter = "ZEP SendBatch List (*.mcr)|*.mcr|すべて (*.*)|*.*";
  o.default_ext = "mcr";
  o.initial_dir = dir;
  o.overwrite_prompt = true;

  typed = dirw + L"\\新しいマクロ";  // the default extension is added
  auto r = p.SaveFileDialog(o);
  CHECK(r.has_value() && *r == dir + "\\新しいマクロ.mcr");
  typed.clear();
  CHECK(!p.SaveFileDialog(o).has_value());

  CHECK(p.WriteFile(dir + "\\既存.mcr", "x") == SaveResult::Saved);
  typed = dirw + L"\\既存.mcr";
  r = p.OpenFileDialog(o);
  CHECK(r.has_value() && *r == dir + "\\既存.mcr");
  p.KillTimer(t);
  DeleteFileW((dirw + L"\\既存.mcr").c_str());
  RemoveDirectoryW(dirw.c_str());
}

void QuitChecks(Win32Platform& p) {
  Group("quit");
  bool ran = false;
  p.PostTask([&] { ran = true; });
  p.Quit();
  CHECK(p.ProcessOneMessage());  // the task posted before the quit
  CHECK(ran);
  CHECK(!p.ProcessOneMessage());
  CHECK(!p.ProcessOneMessage());  // stays ended for every nested loop
  CHECK(p.QuitReceived());
}

}  // namespace

int wmain() {
  Win32Platform p;
  HWND main = MakeWindow(L"テスト窓 ZEPX", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
  p.ProcessPendingMessages();

  MessageLoopChecks(p);
  FileChecks(p);
  SmallDiskChecks(p);
  RegistryChecks(p);
  WindowChecks(p, main);
  PickerChecks(p, main);
  HotKeyChecks(p);
  ShellChecks(p);
  EventChecks(p);
  TranslucencyChecks(p, main);
  DialogChecks(p, main);
  FileDialogChecks(p);
  DestroyWindow(main);
  QuitChecks(p);

  std::printf("platform checks (ACP %u): %d passed, %d failed\n", GetACP(), g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
