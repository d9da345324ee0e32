// start_timer.exe: times a program from its launch to its window, the same
// way for every program it starts. It calls CreateProcess, then looks every
// millisecond at the top-level windows of the new process's main thread,
// never sending them a message (everything it asks, the window manager
// answers without the program's help). It notes when the first of them is
// visible and when one is visible and opaque as well: a window shown
// layered at no opacity is on the screen but nobody sees it yet; and when
// that window has nothing left to paint (until its paint is done, an opaque
// window shows an empty frame). Then it waits SETTLE ms, closes the window
// with WM_CLOSE and waits for the process to end.
//
//   start_timer.exe [--settle MS] [--timeout MS] PROGRAM [ARGS...]
//
// Prints one line: "shown <ms> opaque <ms> painted <ms> ended <ms>",
// each counted from the CreateProcess call; -1 for what did not happen
// within the timeout.
#include <windows.h>

#include "bench_support.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// An argument as CommandLineToArgvW reads it back.
std::wstring Quote(const std::wstring& a) {
  if (!a.empty() && a.find_first_of(L" \t\"") == std::wstring::npos) return a;
  std::wstring q = L"\"";
  std::size_t slashes = 0;
  for (wchar_t c : a) {
    if (c == L'\\') {
      ++slashes;
    } else {
      if (c == L'"') q.append(slashes + 1, L'\\');
      slashes = 0;
    }
    q += c;
  }
  q.append(slashes, L'\\');
  return q + L"\"";
}

bool Opaque(HWND h) {
  if (!(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED)) return true;
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(h, &key, &alpha, &flags)) return false;
  return !(flags & LWA_ALPHA) || alpha != 0;
}

struct Scan {
  HWND shown = nullptr;
  HWND opaque = nullptr;
};

BOOL CALLBACK Look(HWND h, LPARAM lp) {
  Scan& s = *reinterpret_cast<Scan*>(lp);
  if (!(GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE)) return TRUE;
  if (!s.shown) s.shown = h;
  if (Opaque(h)) {
    s.opaque = h;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  DWORD settle = 500, timeout = 60000;
  int i = 1;
  for (; i + 1 < argc; i += 2) {
    const std::wstring a = argv[i];
    if (a == L"--settle") settle = static_cast<DWORD>(_wtoi(argv[i + 1]));
    else if (a == L"--timeout") timeout = static_cast<DWORD>(_wtoi(argv[i + 1]));
    else break;
  }
  if (i >= argc) {
    std::fwprintf(stderr, L"usage: start_timer [--settle MS] [--timeout MS] PROGRAM [ARGS...]\n");
    return 2;
  }
  std::wstring cmd;
  for (int k = i; k < argc; ++k) cmd += (k > i ? L" " : L"") + Quote(argv[k]);

  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  const double t0 = NowMs();
  if (!CreateProcessW(argv[i], cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fwprintf(stderr, L"start_timer: cannot start %ls (error %lu)\n", argv[i], GetLastError());
    return 1;
  }
  double shown = -1, opaque = -1, painted = -1;
  HWND window = nullptr;
  while (NowMs() - t0 < timeout) {
    const double now = NowMs() - t0;
    if (!window) {
      Scan s;
      EnumThreadWindows(pi.dwThreadId, Look, reinterpret_cast<LPARAM>(&s));
      if (s.shown && shown < 0) shown = now;
      if (s.opaque) {
        opaque = now;
        window = s.opaque;
      }
    }
    if (window && painted < 0 && !GetUpdateRect(window, nullptr, FALSE)) painted = now;
    if (painted >= 0) break;
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  double ended = -1;
  if (window) {
    Sleep(settle);
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, timeout) == WAIT_OBJECT_0) ended = NowMs() - t0;
  }
  if (ended < 0 && WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  std::printf("shown %.1f opaque %.1f painted %.1f ended %.1f\n", shown, opaque, painted, ended);
  std::fflush(stdout);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return window ? 0 : 1;
}
