// probe.exe: a window for the end-to-end tests to aim input at. It logs
// every keyboard, character and mouse-button message that reaches its
// top-level window or its child EDIT control, one line per message, so a
// test reads what arrived, where and when.
//
//   probe.exe TITLE LOGFILE INFOFILE X,Y,W,H [CLASS]
//
// CLASS (default ZepxProbe) lets it stand in for another program's window.
//
// Log line:  <qpc_us> <msgtime> <role> <MSG> wp=0x.. lp=0x.. [x=.. y=..]
//   role is "top" or "edit"; x/y are the client coordinates of a mouse
//   message. WM_APP+2 empties the edit and logs "CLEARED".
// Info file (shell-sourceable, written once the window is up): PROBE_TOP,
// PROBE_EDIT (decimal handles), PROBE_CLIENT_X/Y/W/H (client area, screen),
// PROBE_EDIT_X/Y/W/H (the edit, screen).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr UINT kMsgClearText = WM_APP + 2;

HANDLE g_log = INVALID_HANDLE_VALUE;
HWND g_edit = nullptr;
WNDPROC g_edit_proc = nullptr;
LARGE_INTEGER g_freq;

// One WriteFile per line: nothing sits in a buffer if the probe is killed.
void LogLine(const std::string& line) {
  std::string l = line + "\n";
  DWORD written = 0;
  WriteFile(g_log, l.data(), static_cast<DWORD>(l.size()), &written, nullptr);
}

const char* MessageName(UINT msg) {
  static const struct { UINT msg; const char* name; } kNames[] = {
      {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"},
      {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"}, {WM_SYSKEYUP, "WM_SYSKEYUP"}, {WM_SYSCHAR, "WM_SYSCHAR"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"}, {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
      {WM_RBUTTONUP, "WM_RBUTTONUP"}, {WM_RBUTTONDBLCLK, "WM_RBUTTONDBLCLK"},
      {WM_ACTIVATE, "WM_ACTIVATE"}, {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"}};
  for (const auto& n : kNames)
    if (n.msg == msg) return n.name;
  return nullptr;
}

void LogMessage(const char* role, UINT msg, WPARAM wp, LPARAM lp) {
  const char* name = MessageName(msg);
  if (!name) return;
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  char buf[256];
  int n = std::snprintf(buf, sizeof buf, "%lld %lu %s %s wp=0x%llX lp=0x%llX",
                        static_cast<long long>(c.QuadPart * 1000000.0 / static_cast<double>(g_freq.QuadPart)),
                        static_cast<unsigned long>(GetMessageTime()), role, name,
                        static_cast<unsigned long long>(wp), static_cast<unsigned long long>(static_cast<ULONG_PTR>(lp)));
  if (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK)
    std::snprintf(buf + n, sizeof buf - n, " x=%d y=%d", static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
  LogLine(buf);
}

LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  LogMessage("edit", msg, wp, lp);
  return CallWindowProcW(g_edit_proc, h, msg, wp, lp);
}

LRESULT CALLBACK TopProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  LogMessage("top", msg, wp, lp);
  if (msg == WM_SETFOCUS && g_edit) return SetFocus(g_edit), 0;
  if (msg == kMsgClearText) return SetWindowTextW(g_edit, L""), LogLine("CLEARED"), 0;
  if (msg == WM_DESTROY) return PostQuitMessage(0), 0;
  return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  QueryPerformanceFrequency(&g_freq);
  int x = 100, y = 100, w = 400, h = 300;
  if (argc < 5 || argc > 6 || swscanf(argv[4], L"%d,%d,%d,%d", &x, &y, &w, &h) != 4) {
    std::fwprintf(stderr, L"usage: probe TITLE LOGFILE INFOFILE X,Y,W,H [CLASS]\n");
    return 2;
  }
  g_log = CreateFileW(argv[2], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (g_log == INVALID_HANDLE_VALUE) return 1;

  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSW wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = TopProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = argc > 5 ? argv[5] : L"ZepxProbe";
  RegisterClassW(&wc);
  HWND top = CreateWindowExW(0, wc.lpszClassName, argv[1], WS_OVERLAPPEDWINDOW, x, y, w, h, nullptr, nullptr, inst, nullptr);
  if (!top) return 1;
  // The edit covers only a strip at the top, so the rest of the client area
  // receives mouse messages in the top-level window's own coordinates.
  RECT rc;
  GetClientRect(top, &rc);
  g_edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 8, 8,
                           rc.right - 16, 28, top, reinterpret_cast<HMENU>(100), inst, nullptr);
  SendMessageW(g_edit, EM_SETLIMITTEXT, 0, 0);  // long typed texts must fit
  g_edit_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
  ShowWindow(top, SW_SHOW);
  UpdateWindow(top);
  SetForegroundWindow(top);
  SetFocus(g_edit);

  POINT origin = {0, 0};
  ClientToScreen(top, &origin);
  RECT er;
  GetWindowRect(g_edit, &er);
  char info[512];
  std::snprintf(info, sizeof info,
                "PROBE_TOP=%llu\nPROBE_EDIT=%llu\nPROBE_CLIENT_X=%ld\nPROBE_CLIENT_Y=%ld\nPROBE_CLIENT_W=%ld\n"
                "PROBE_CLIENT_H=%ld\nPROBE_EDIT_X=%ld\nPROBE_EDIT_Y=%ld\nPROBE_EDIT_W=%ld\nPROBE_EDIT_H=%ld\n",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(top)),
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(g_edit)), origin.x, origin.y, rc.right,
                rc.bottom, er.left, er.top, er.right - er.left, er.bottom - er.top);
  // Written under another name and renamed: a reader never sees half a file.
  std::wstring tmp = std::wstring(argv[3]) + L".tmp";
  HANDLE f = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(f, info, static_cast<DWORD>(std::strlen(info)), &written, nullptr);
  CloseHandle(f);
  MoveFileExW(tmp.c_str(), argv[3], MOVEFILE_REPLACE_EXISTING);

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    // Keys posted to the top-level window are logged exactly as they came:
    // translating them here would add WM_CHAR messages nobody sent. Real
    // keyboard input goes to the focused edit and is translated as usual.
    if (m.hwnd != top) TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
