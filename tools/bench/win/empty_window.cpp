// empty_window.exe: the smallest Windows program with a window, the baseline
// the benchmark holds zepx.exe against for start-up, memory and the list
// fill. It registers a class, creates and shows one window and runs a
// message loop until the window is closed. None of ZEPX's code is in it.
//
//   empty_window.exe [--title T] [--info FILE] [--fill FILE [--fills N]]
//     --info   once the window is shown, writes EMPTY_HWND=<decimal handle>
//              there (shell-sourceable)
//     --fill   a list box fills the client area, and once the window is
//              shown, N times (default 1): the list is given one row, then
//              FILE (a macro file: cp932 lines ending in CR LF) is read and
//              its command lines (all but the first line and the trailing
//              "Name:number" settings) replace that row, as a plain program
//              would do it well: the list hidden meanwhile (a visible list
//              box updates its scroll bar at every row), one LB_ADDSTRING a
//              line, shown again and painted. Then the program ends, and
//              the info file holds EMPTY_READ_US, EMPTY_FILL_US (the fill
//              and the paint) and EMPTY_ROWS, one value a fill each,
//              separated by blanks.
//
// Built twice: empty_window_cc6.exe is the same program with the common
// controls 6 manifest and InitCommonControlsEx at its start, as every
// program with today's controls has them (zepx.exe among them): under Wine
// loading that library is a good part of a start-up.
#include <windows.h>

#include "bench_support.h"

#include <shellapi.h>
#ifdef ZEPX_COMMON_CONTROLS
#include <commctrl.h>
#endif

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND g_list = nullptr;

long long NowUs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<long long>(c.QuadPart * 1000000.0 / static_cast<double>(freq.QuadPart));
}

LRESULT CALLBACK WindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (g_list) MoveWindow(g_list, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

bool ReadWholeFile(const wchar_t* path, std::string& out) {
  HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  const DWORD size = GetFileSize(f, nullptr);
  out.resize(size);
  DWORD got = 0;
  const bool ok = ReadFile(f, out.data(), size, &got, nullptr) && got == size;
  CloseHandle(f);
  return ok;
}

// "Key:100", "Loop:3": the settings lines at the end of a macro file.
bool IsSettingLine(const std::string& s) {
  const auto colon = s.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == s.size()) return false;
  for (std::size_t i = 0; i < colon; ++i)
    if (!((s[i] >= 'A' && s[i] <= 'Z') || (s[i] >= 'a' && s[i] <= 'z'))) return false;
  for (std::size_t i = colon + 1; i < s.size(); ++i)
    if (!((s[i] >= '0' && s[i] <= '9') || s[i] == '-')) return false;
  return true;
}

// The command lines of a macro file: its lines without the first one and
// without the settings block at its end.
std::vector<std::string> CommandLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = end + 1;
  }
  while (!lines.empty() && (lines.back().empty() || IsSettingLine(lines.back()))) lines.pop_back();
  if (!lines.empty()) lines.erase(lines.begin());
  return lines;
}

void AddRow(HWND list, const std::string& line) {
  const int n = MultiByteToWideChar(932, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(932, 0, line.data(), static_cast<int>(line.size()), w.data(), n);
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
}

void WriteInfo(const wchar_t* path, const std::string& text) {
  // Written under another name and renamed: a reader never sees half a file.
  const std::wstring tmp = std::wstring(path) + L".tmp";
  HANDLE f = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
  MoveFileExW(tmp.c_str(), path, MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
#ifdef ZEPX_COMMON_CONTROLS
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&icc);
#endif
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const wchar_t* title = L"Empty Window";
  const wchar_t* fill = nullptr;
  const wchar_t* info = nullptr;
  int fills = 1;
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    const bool has_value = i + 1 < argc;
    if (a == L"--title" && has_value) title = argv[++i];
    else if (a == L"--fill" && has_value) fill = argv[++i];
    else if (a == L"--fills" && has_value) fills = _wtoi(argv[++i]);
    else if (a == L"--info" && has_value) info = argv[++i];
    else return 2;
  }

  WNDCLASSW wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BenchEmptyWindow";
  RegisterClassW(&wc);
  HWND top = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 480, 540, nullptr, nullptr, inst, nullptr);
  if (!top) return 1;
  if (fill) {
    RECT rc;
    GetClientRect(top, &rc);
    g_list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                             0, 0, rc.right, rc.bottom, top, nullptr, inst, nullptr);
  }
  ShowWindow(top, SW_SHOW);
  UpdateWindow(top);
  std::string report =
      "EMPTY_HWND=" + std::to_string(static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(top))) + "\n";

  if (fill) {
    std::string read_us, fill_us, rows;
    for (int k = 0; k < fills; ++k) {
      SendMessageW(g_list, LB_RESETCONTENT, 0, 0);
      AddRow(g_list, "[F1]");
      Pump();
      Sleep(50);  // whatever the system does after a paint, not counted
      Pump();
      const long long t0 = NowUs();
      std::string bytes;
      if (!ReadWholeFile(fill, bytes)) return 1;
      const std::vector<std::string> lines = CommandLines(bytes);
      const long long t1 = NowUs();
      ShowWindow(g_list, SW_HIDE);
      SendMessageW(g_list, LB_RESETCONTENT, 0, 0);
      for (const std::string& line : lines) AddRow(g_list, line);
      ShowWindow(g_list, SW_SHOWNA);
      Pump();
      const long long t2 = NowUs();
      const char* sep = k ? " " : "";
      read_us += sep + std::to_string(t1 - t0);
      fill_us += sep + std::to_string(t2 - t1);
      rows += sep + std::to_string(SendMessageW(g_list, LB_GETCOUNT, 0, 0));
    }
    report += "EMPTY_READ_US='" + read_us + "'\nEMPTY_FILL_US='" + fill_us + "'\nEMPTY_ROWS='" + rows + "'\n";
    if (info) WriteInfo(info, report);
    DestroyWindow(top);
    LocalFree(argv);
    return 0;
  }
  if (info) WriteInfo(info, report);

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  LocalFree(argv);
  return 0;
}
