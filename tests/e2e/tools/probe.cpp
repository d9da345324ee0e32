// probe.exe: a window for the end-to-end tests to aim input at. It logs
// every keyboard, character and mouse message that reaches its top-level
// window or its child EDIT control, one flushed line per message, so a test
// can read what arrived, where, and when.
//
//   probe.exe --title T --log FILE --info FILE [--pos X,Y,W,H] [--moves]
//
// Log line:  <qpc_us> <msgtime> <role> <MSG> wp=0x.. lp=0x.. [x=.. y=..]
//   role is "top" or "edit"; x/y are the client coordinates packed in lParam
//   for mouse messages. On WM_CLOSE (and on a WM_APP+1 request) the edit's
//   text is written as "TEXT <utf-8>" and "TEXTLEN <code units>".
// Info file (shell-sourceable, written once the window is up):
//   PROBE_TOP, PROBE_EDIT (decimal handles), PROBE_CLIENT_X/Y (screen origin
//   of the top-level client area), PROBE_EDIT_X/Y/W/H (edit, screen), PROBE_PID.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "tool_common.h"

namespace {

using tool::Utf8;

constexpr UINT kMsgDumpText = WM_APP + 1;
constexpr UINT kMsgClearText = WM_APP + 2;

HANDLE g_log = INVALID_HANDLE_VALUE;
HWND g_top = nullptr;
HWND g_edit = nullptr;
WNDPROC g_edit_proc = nullptr;
bool g_log_moves = false;
LARGE_INTEGER g_freq;

// One WriteFile per line: nothing sits in a buffer if the probe is killed.
void LogLine(const std::string& line) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  std::string l = line + "\n";
  DWORD written = 0;
  WriteFile(g_log, l.data(), static_cast<DWORD>(l.size()), &written, nullptr);
}

long long NowUs() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<long long>(c.QuadPart * 1000000.0 / static_cast<double>(g_freq.QuadPart));
}

const char* MessageName(UINT msg) {
  switch (msg) {
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_CHAR: return "WM_CHAR";
    case WM_DEADCHAR: return "WM_DEADCHAR";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    case WM_SYSCHAR: return "WM_SYSCHAR";
    case WM_IME_CHAR: return "WM_IME_CHAR";
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK: return "WM_RBUTTONDBLCLK";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_MBUTTONDBLCLK: return "WM_MBUTTONDBLCLK";
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    default: return nullptr;
  }
}

bool IsMouse(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK; }

void LogMessage(const char* role, UINT msg, WPARAM wp, LPARAM lp) {
  const char* name = MessageName(msg);
  if (!name) return;
  if (msg == WM_MOUSEMOVE && !g_log_moves) return;
  char buf[256];
  int n = std::snprintf(buf, sizeof buf, "%lld %lu %s %s wp=0x%llX lp=0x%llX", NowUs(),
                        static_cast<unsigned long>(GetMessageTime()), role, name,
                        static_cast<unsigned long long>(wp),
                        static_cast<unsigned long long>(static_cast<ULONG_PTR>(lp)));
  if (IsMouse(msg))
    std::snprintf(buf + n, sizeof buf - n, " x=%d y=%d", static_cast<short>(LOWORD(lp)),
                  static_cast<short>(HIWORD(lp)));
  LogLine(buf);
}

std::wstring EditText() {
  int len = GetWindowTextLengthW(g_edit);
  std::wstring w(static_cast<size_t>(len) + 1, L'\0');
  int got = GetWindowTextW(g_edit, &w[0], len + 1);
  w.resize(static_cast<size_t>(got < 0 ? 0 : got));
  return w;
}

void DumpText() {
  std::wstring w = EditText();
  LogLine("TEXT " + Utf8(w));
  LogLine("TEXTLEN " + std::to_string(w.size()));
}

LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  LogMessage("edit", msg, wp, lp);
  return CallWindowProcW(g_edit_proc, h, msg, wp, lp);
}

LRESULT CALLBACK TopProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  LogMessage("top", msg, wp, lp);
  switch (msg) {
    case WM_SETFOCUS:
      if (g_edit) SetFocus(g_edit);
      return 0;
    case kMsgDumpText:
      DumpText();
      return 0;
    case kMsgClearText:
      SetWindowTextW(g_edit, L"");
      LogLine("CLEARED");
      return 0;
    case WM_CLOSE:
      DumpText();
      DestroyWindow(h);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

void Usage() {
  std::fwprintf(stderr,
                L"usage: probe --title T --log FILE --info FILE [--pos X,Y,W,H] [--moves]\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  QueryPerformanceFrequency(&g_freq);
  const wchar_t* title = nullptr;
  const wchar_t* log_path = nullptr;
  const wchar_t* info_path = nullptr;
  int x = 100, y = 100, w = 400, h = 300;
  for (int i = 1; i < argc; ++i) {
    std::wstring a = argv[i];
    bool has_value = i + 1 < argc;
    if (a == L"--title" && has_value) title = argv[++i];
    else if (a == L"--log" && has_value) log_path = argv[++i];
    else if (a == L"--info" && has_value) info_path = argv[++i];
    else if (a == L"--pos" && has_value) {
      if (swscanf(argv[++i], L"%d,%d,%d,%d", &x, &y, &w, &h) != 4) {
        Usage();
        return 2;
      }
    } else if (a == L"--moves") g_log_moves = true;
    else {
      Usage();
      return 2;
    }
  }
  if (!title || !log_path || !info_path) {
    Usage();
    return 2;
  }

  g_log = CreateFileW(log_path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (g_log == INVALID_HANDLE_VALUE) {
    std::fwprintf(stderr, L"probe: cannot create the log %ls\n", log_path);
    return 1;
  }

  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSW wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = TopProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"ZepxProbe";
  RegisterClassW(&wc);

  g_top = CreateWindowExW(0, L"ZepxProbe", title, WS_OVERLAPPEDWINDOW, x, y, w, h, nullptr,
                          nullptr, inst, nullptr);
  if (!g_top) return 1;
  // The edit covers only a strip at the top, so the rest of the client area
  // receives mouse messages in the top-level window's own coordinates.
  RECT rc;
  GetClientRect(g_top, &rc);
  g_edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                           WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 8, 8, rc.right - 16, 28,
                           g_top, reinterpret_cast<HMENU>(100), inst, nullptr);
  SendMessageW(g_edit, EM_SETLIMITTEXT, 0, 0);  // long typed texts must fit
  g_edit_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));

  ShowWindow(g_top, SW_SHOW);
  UpdateWindow(g_top);
  SetForegroundWindow(g_top);
  SetFocus(g_edit);

  POINT origin = {0, 0};
  ClientToScreen(g_top, &origin);
  RECT er;
  GetWindowRect(g_edit, &er);
  char info[512];
  std::snprintf(info, sizeof info,
                "PROBE_TOP=%llu\nPROBE_EDIT=%llu\nPROBE_CLIENT_X=%ld\nPROBE_CLIENT_Y=%ld\n"
                "PROBE_CLIENT_W=%ld\nPROBE_CLIENT_H=%ld\n"
                "PROBE_EDIT_X=%ld\nPROBE_EDIT_Y=%ld\nPROBE_EDIT_W=%ld\nPROBE_EDIT_H=%ld\n"
                "PROBE_PID=%lu\n",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(g_top)),
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(g_edit)), origin.x,
                origin.y, rc.right, rc.bottom, er.left, er.top, er.right - er.left,
                er.bottom - er.top, GetCurrentProcessId());
  // Written under another name and renamed, so a reader never sees half a file.
  std::wstring tmp = std::wstring(info_path) + L".tmp";
  HANDLE f = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(f, info, static_cast<DWORD>(std::strlen(info)), &written, nullptr);
    CloseHandle(f);
    MoveFileExW(tmp.c_str(), info_path, MOVEFILE_REPLACE_EXISTING);
  }
  LogLine("READY");

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    // Keys posted to the top-level window are logged exactly as they came:
    // translating them here would add WM_CHAR messages nobody sent. Real
    // keyboard input goes to the focused edit and is translated as usual.
    if (m.hwnd != g_top) TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  LogLine("EXIT");
  CloseHandle(g_log);
  return 0;
}
