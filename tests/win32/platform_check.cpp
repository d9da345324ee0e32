// What only the real system can show of Win32Platform, run under Wine by
// scripts/test.sh twice: with the ANSI code page 932 (the "A" functions
// take our cp932 bytes as they are) and with 1252 (everything must go
// through UTF-16). Narrow literals here are cp932, wide ones UTF-16.
//
//   zepx_win32_tests.exe "引数 あ"     the argument is checked as well
//
// The rules above the platform are proven on the substitute by the unit
// tests; dialogs, boxes, hot keys, hooks, input and the clock by the
// end-to-end scripts. Here: text across the boundary, files and their
// attributes on real disks (full, no room for a new file, paths past
// MAX_PATH), registry values of each type, the message loop's own
// promises (timers, failures reported, task order, quit), and a pixel of
// the screen.
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"

#include <windows.h>
#undef MessageBox

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

using namespace zepx;
using win32::Narrow;
using win32::Wide;
using win32::Win32Platform;

namespace {

int g_passed = 0, g_failed = 0;
void Check(bool ok, const std::string& what, int line) {
  if (!(ok ? ++g_passed : ++g_failed, ok)) std::printf("FAIL line %d: %s\n", line, what.c_str());
}
#define CHECK(cond) Check((cond), #cond, __LINE__)
#define CHECK_ROW(cond, row) Check((cond), std::string(row) + ": " #cond, __LINE__)

// Pumps until done() or the time is up; a timer keeps the blocking loop turning.
template <typename F>
bool PumpUntil(Win32Platform& p, F done, int ms = 5000) {
  const std::uint32_t watchdog = p.SetTimer(25, [] {});
  const std::int64_t end = p.NowMs() + ms;
  while (!done() && p.NowMs() < end && p.ProcessOneMessage()) {
  }
  p.KillTimer(watchdog);
  return done();
}

// Text crosses the boundary as UTF-16 both ways: the argument, a window's
// title found and read. (Characters posted to another window arrive as
// theirs: the WinMessage end-to-end script.)
void TextChecks(Win32Platform& p) {
  CHECK(p.CommandLineArguments() == std::vector<std::string>{"引数 あ"});
  HWND w =
      CreateWindowExW(0, L"STATIC", L"テスト窓 ZEPX", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  CHECK(p.FindWindowA(nullptr, "テスト窓 ZEPX") == reinterpret_cast<Hwnd>(w) &&
        p.WindowText(reinterpret_cast<Hwnd>(w)) == "テスト窓 ZEPX");
  DestroyWindow(w);
}

// Saves through the temporary file and ReplaceFile: every row starts from
// `before` (none: no file), gets the attributes, is optionally held open
// without sharing by another program, and is saved over. A save that fails
// leaves the old contents; none leaves its temporary file; the attributes stay.
// The two small disks (test.sh mounts them: one full, one whose inodes are
// used up, each holding old.mcr) are named by ZEPX_FULL_DISK and ZEPX_NO_NEW_FILES.
void FileChecks(Win32Platform& p) {
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  const std::string dir = Narrow(tmp) + "zepx-check-" + std::to_string(GetTickCount64());  // fresh each run
  CreateDirectoryW(Wide(dir).c_str(), nullptr);
  std::string deep = dir;  // a path past MAX_PATH, as the dialogs can give one
  while (deep.size() < 200) CreateDirectoryW((L"\\\\?\\" + Wide(deep += "\\深いフォルダの名前")).c_str(), nullptr);
  const std::string long_path = deep + "\\" + std::string(300 - Wide(deep).size() - 5, 'l') + ".mcr";
  CHECK(Wide(long_path).size() > MAX_PATH);
  const std::string body = std::string("//ZEP Version 4.51\r\n[ｱﾌﾟﾘを前面に]\r\n\0\xff", 38);
  const char *full_env = std::getenv("ZEPX_FULL_DISK"), *no_new_env = std::getenv("ZEPX_NO_NEW_FILES");
  const std::string full = full_env ? full_env : "", no_new = no_new_env ? no_new_env : "";
  if (full.empty() || no_new.empty()) std::printf("-- small disks: not prepared, not checked\n");
  const char* kNone = "\x01";
  struct Row { const char* what; std::string path, before; DWORD attrs; bool held; std::string bytes; SaveResult want; };
  std::vector<Row> rows = {
      {"new file, Japanese name", dir + "\\マクロ 一覧.mcr", kNone, 0, false, body, SaveResult::Saved},
      {"replaced, stays hidden", dir + "\\マクロ 一覧.mcr", "old contents", FILE_ATTRIBUTE_HIDDEN, false, "new", SaveResult::Saved},
      {"read-only", dir + "\\ro.mcr", "old", FILE_ATTRIBUTE_READONLY, false, "new", SaveResult::Failed},
      {"held without sharing", dir + "\\held.mcr", "kept", 0, true, "lost?", SaveResult::Failed},
      {"empty", dir + "\\empty.mcr", "x", 0, false, "", SaveResult::Saved},
      {"no such folder", dir + "\\no such folder\\x.mcr", kNone, 0, false, "x", SaveResult::Failed},
      {"a folder", dir, kNone, 0, false, "x", SaveResult::Failed},
      {"past MAX_PATH, new", long_path, kNone, 0, false, body, SaveResult::Saved},
      {"past MAX_PATH, replaced", long_path, "old", 0, false, "again", SaveResult::Saved},
      {"full disk", full + "\\old.mcr", "", 0, false, std::string(256 * 1024, 'x'), SaveResult::Failed},
      {"no new file possible", no_new + "\\old.mcr", "", 0, false, "new", SaveResult::NoSafeReplace},
      {"no new file possible, new name", no_new + "\\another.mcr", kNone, 0, false, "x", SaveResult::Failed},
  };
  CHECK(p.DirectoryExists(dir) && !p.FileExists(dir) && !p.DirectoryExists(long_path));
  for (const Row& r : rows) {
    if (r.path.front() == '\\') continue;  // a small disk not prepared
    const std::wstring w = Wide(r.path);
    if (r.before != kNone && !r.before.empty()) CHECK_ROW(p.WriteFileInPlace(r.path, r.before), r.what);
    if (r.attrs) SetFileAttributesW(w.c_str(), r.attrs);
    std::string old, got;
    const bool existed = p.ReadFile(r.path, old);
    HANDLE hold = r.held ? CreateFileW(w.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                         : INVALID_HANDLE_VALUE;
    CHECK_ROW(p.WriteFile(r.path, r.bytes) == r.want, r.what);
    if (r.held) CHECK_ROW(!p.ReadFile(r.path, got), r.what), CloseHandle(hold);
    CHECK_ROW(r.want == SaveResult::Saved ? p.ReadFile(r.path, got) && got == r.bytes
              : existed                   ? p.ReadFile(r.path, got) && got == old
                                          : !p.FileExists(r.path),
              r.what);
    CHECK_ROW(!p.FileExists(r.path + ".zepx-tmp"), r.what);
    if (existed || r.want == SaveResult::Saved)
      CHECK_ROW((GetFileAttributesW(w.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)) == r.attrs, r.what);
    SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  // The name reached the disk as its UTF-16 name, not as mangled bytes.
  CHECK(GetFileAttributesW((Wide(dir) + L"\\マクロ 一覧.mcr").c_str()) != INVALID_FILE_ATTRIBUTES);
  if (!no_new.empty()) {  // where no temporary file fits, the save in place does
    std::string old;
    CHECK(p.ReadFile(no_new + "\\old.mcr", old) && p.WriteFileInPlace(no_new + "\\old.mcr", "new"));
    CHECK(p.WriteFileInPlace(no_new + "\\old.mcr", old));  // as the next run expects it
  }
}

void RegistryChecks(Win32Platform& p) {
  const std::string path = "\\Software\\VELMOR\\ZEPX-check-" + std::to_string(GetCurrentProcessId());
  std::string huge;
  while (huge.size() < 100000) huge += "長い値 ";
  const struct { const char* name; RegType type; std::string data; } rows[] = {
      {"文字列", RegType::Sz, "実行中 ﾃｽﾄ"}, {"Count", RegType::Dword, std::string("\x2a\0\0\0", 4)},
      {"Empty", RegType::Sz, ""}, {"Huge", RegType::Sz, huge}, {"Expand", RegType::ExpandSz, "%TEMP%\\表"},
      {"Multi", RegType::MultiSz, std::string("a\0表", 4)}, {"Binary", RegType::Binary, std::string("\0\xff\x82", 3)},
      {"Qword", RegType::Qword, std::string("\1\0\0\0\0\0\0\x80", 8)}};
  IRegistry::Key k = 0;
  CHECK(!p.OpenKey(path, k) && p.CreateKey(path, k));
  for (const auto& r : rows) CHECK_ROW(p.SetValue(k, r.name, r.type, r.data), r.name);
  p.CloseKey(k);
  CHECK(p.OpenKey(path, k));
  for (const auto& r : rows) {
    RegType t{};
    std::string data;
    CHECK_ROW(p.QueryValue(k, r.name, t, data) && t == r.type && data == r.data, r.name);
    CHECK_ROW(p.DeleteValue(k, r.name) && !p.QueryValue(k, r.name, t, data) && !p.DeleteValue(k, r.name), r.name);
  }
  // Stored as real text whatever the ANSI code page: another program (or
  // regedit) reading through the wide API sees the same string, and what it
  // writes reads back as cp932.
  CHECK(p.SetValue(k, "題", RegType::Sz, "実行中 ﾃｽﾄ"));
  const HKEY hk = reinterpret_cast<HKEY>(k);
  wchar_t buf[64] = {};
  DWORD size = sizeof buf - sizeof(wchar_t);
  CHECK(RegQueryValueExW(hk, L"題", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS &&
        std::wstring(buf) == L"実行中 ﾃｽﾄ");
  CHECK(RegSetValueExW(hk, L"外", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"外部の値"), 5 * sizeof(wchar_t)) ==
        ERROR_SUCCESS);
  RegType t{};
  std::string data;
  CHECK(p.QueryValue(k, "外", t, data) && t == RegType::Sz && data == "外部の値");
  p.CloseKey(k);
  RegDeleteTreeW(HKEY_CURRENT_USER, Wide(path.substr(1)).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, Wide(path.substr(1)).c_str());
}

// The loop's promises the program is built on: a timer ends itself from its
// own callback; a failing callback is reported in a box (answered from a
// timer, which the box's modal loop goes on dispatching) and the tasks
// posted after it still run, in order; a quit is seen by every nested loop.
void LoopChecks(Win32Platform& p) {
  int ticks = 0;
  std::uint32_t id = 0;
  id = p.SetTimer(20, [&] {
    if (++ticks == 3) p.KillTimer(id);
  });
  PumpUntil(p, [] { return false; }, 300);
  CHECK(ticks == 3);
  std::wstring shown;
  const std::uint32_t answer = p.SetTimer(50, [&] {
    if (HWND box = FindWindowW(L"#32770", nullptr)) {
      wchar_t text[256] = L"";
      GetDlgItemTextW(box, 0xFFFF, text, 256);  // the message's static control
      shown = text;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  });
  std::vector<int> order;
  p.PostTask([] { throw std::runtime_error("失敗しました"); });
  p.PostTask([&] { order.push_back(1); });
  p.PostTask([&] { order.push_back(2); });
  CHECK(PumpUntil(p, [&] { return order.size() == 2; }, 10000) && (order == std::vector<int>{1, 2}));
  CHECK(shown == L"失敗しました");
  p.KillTimer(answer);
  bool ran = false;
  p.PostTask([&] { ran = true; });
  p.Quit();
  CHECK(p.ProcessOneMessage() && ran);  // the task posted before the quit
  CHECK(!p.ProcessOneMessage() && !p.ProcessOneMessage() && p.QuitReceived());
}

// The waits read the screen: a window of ours painted in a known colour
// is read back through the screen's device context; a point on no screen
// has no colour.
void PixelChecks(Win32Platform& p) {
  const WNDCLASSW wc{0, DefWindowProcW, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr,
                    CreateSolidBrush(RGB(0x12, 0xAB, 0x9F)), nullptr, L"ZepxPixelCheck"};
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 40, 60, 120, 80, nullptr,
                           nullptr, wc.hInstance, nullptr);
  UpdateWindow(w);
  PumpUntil(p, [] { return false; }, 300);
  CHECK(p.GetPixel({100, 100}) == 0x12AB9Fu && !p.GetPixel({-100000, -100000}));
  DestroyWindow(w);
}

}  // namespace

int wmain() {
  Win32Platform p;
  TextChecks(p);
  FileChecks(p);
  RegistryChecks(p);
  LoopChecks(p);
  PixelChecks(p);
  std::printf("platform checks (ACP %u): %d passed, %d failed\n", GetACP(), g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
