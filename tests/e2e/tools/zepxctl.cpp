// zepxctl.exe: drives and reads a running program's windows from another
// process, for the end-to-end shell tests. Arguments are UTF-8 (as Wine
// hands them over under a UTF-8 locale); everything printed is UTF-8, one
// item per line, so a shell test can compare Japanese texts with grep.
//
// A window argument WIN is either an exact top-level caption or "#<handle>"
// (decimal). Top-level captions are waited for up to --wait ms (default
// 10000) before failing.
//
// A child selector SEL is one of
//   id:<n>            control id
//   text:<t>          exact text ("\r", "\n", "\t" and "\\" are unescaped)
//   prefix:<t>        text beginning with t
//   class:<c>[:<n>]   the n-th (from 0) child of that class
//
// Commands:
//   find WIN                  print the handle
//   gone WIN                  wait until the window no longer exists
//   children WIN              handle, id, class, visible, enabled, rect, text
//   list WIN [SEL]            items of a list box (default: first ListBox)
//   selected WIN [SEL]        index of the list box's selection
//   itemrect WIN SEL N        "left top right bottom" of the list box's row
//                             N in screen coordinates (for clicking it)
//   click WIN SEL             posts BM_CLICK (returns at once, even mid-run)
//   check WIN SEL 0|1         reads BM_GETCHECK and clicks when it differs
//   getcheck WIN SEL          prints 0, 1 or 2
//   text WIN [SEL]            text of the window or of a child
//   status WIN                text of the first STATIC beginning with
//                             "待機中" or "実行中"
//   run WIN [MS]              clicks the Run button, waits (default 60000 ms)
//                             for the running status and then for idle;
//                             prints "RUNNING <ms> <text>" and "IDLE <ms>",
//                             then "CLICKED <tick>": GetTickCount when the
//                             click was posted, the clock of the message
//                             times the probe logs
//   waitstatus WIN PREFIX [MS] waits for a status text beginning with PREFIX
//   close WIN                 posts WM_CLOSE
//   rect WIN                  "left top right bottom" of the window rect
//   client WIN                "x y w h": client origin (screen) and size
//   foreground                handle and caption of the foreground window
//   activate WIN              SetForegroundWindow
//   move WIN X Y [W H]        SetWindowPos (size kept when W H are missing)
//   post WIN MSG WP LP        PostMessageW with numbers (0x.. allowed)
//   procinfo WIN              "handles N private_kb N gdi N user N" of the
//                             window's process
//   passes WIN                the pass count the main window shows
//   idleat WIN [MS]           waits for the idle status; prints the wall
//                             clock (Unix ms) at which it was first seen
//   cursor                    "x y" of GetCursorPos
//   setcursor X Y             SetCursorPos: moves the X pointer and tells
//                             Wine where it is (xdotool only does the first)
//   focus                     handle, class and text of the window that has
//                             the keyboard focus in the foreground thread
//   choose WIN SEL INDEX      picks an entry of a drop-down as a user's pick
//                             does: CB_SETCURSEL, then the CBN_SELCHANGE the
//                             box itself sends to its parent (posted here, so
//                             that a message box the pick opens does not
//                             hold the tool; it is handled before any input
//                             that comes after it)
//   itempoint WIN SEL INDEX   "x y": screen point in the middle of a list
//                             box row, for a real click on it
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "tool_common.h"

namespace {

using namespace tool;

DWORD g_wait_ms = 10000;

void Err(const std::string& s) { WriteLine(STD_ERROR_HANDLE, "zepxctl: " + s); }

std::string Num(ULONG_PTR v) { return std::to_string(static_cast<unsigned long long>(v)); }

HWND FindTopOnce(const std::wstring& which) {
  if (IsHandleArg(which)) return HandleArg(which);
  // FindWindowW answers without a message to every window; the enumeration
  // after it compares captions exactly.
  if (HWND h = FindWindowW(nullptr, which.c_str())) return h;
  return FindTopLevel(which);
}

HWND FindTop(const std::wstring& which) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND h = FindTopOnce(which)) return h;
    if (GetTickCount() - start >= g_wait_ms) return nullptr;
    Sleep(50);
  }
}

HWND FindChild(HWND parent, const std::wstring& sel) {
  std::vector<HWND> kids = Children(parent);
  if (sel.rfind(L"id:", 0) == 0) {
    int id = static_cast<int>(wcstol(sel.c_str() + 3, nullptr, 0));
    for (HWND h : kids)
      if (GetDlgCtrlID(h) == id) return h;
    return nullptr;
  }
  if (sel.rfind(L"text:", 0) == 0) {
    std::wstring t = Unescape(sel.substr(5));
    for (HWND h : kids)
      if (WindowText(h) == t) return h;
    return nullptr;
  }
  if (sel.rfind(L"prefix:", 0) == 0) {
    std::wstring t = Unescape(sel.substr(7));
    for (HWND h : kids)
      if (WindowText(h).rfind(t, 0) == 0) return h;
    return nullptr;
  }
  if (sel.rfind(L"class:", 0) == 0) {
    std::wstring rest = sel.substr(6);
    int nth = 0;
    size_t colon = rest.find(L':');
    if (colon != std::wstring::npos) {
      nth = static_cast<int>(wcstol(rest.c_str() + colon + 1, nullptr, 10));
      rest.resize(colon);
    }
    for (HWND h : kids)
      if (EqualsNoCase(ClassOf(h), rest) && nth-- == 0) return h;
    return nullptr;
  }
  return nullptr;
}

std::wstring Arg(int argc, wchar_t** argv, int i) { return i < argc ? argv[i] : L""; }

int NeedTop(HWND& h, const std::wstring& which) {
  h = FindTop(which);
  if (!h) {
    Err("no window \"" + Utf8(which) + "\"");
    return 1;
  }
  return 0;
}

int NeedChild(HWND& c, HWND top, const std::wstring& sel) {
  c = FindChild(top, sel);
  if (!c) {
    Err("no child \"" + Utf8(sel) + "\" in window " + Handle(top));
    return 1;
  }
  return 0;
}

ULONG_PTR ParseNum(const std::wstring& s) { return wcstoull(s.c_str(), nullptr, 0); }

int ListItems(HWND lb) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(lb, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count)) {
    Err("list box does not answer");
    return 1;
  }
  for (DWORD_PTR i = 0; i < count; ++i) Out(Utf8(ItemText(lb, LB_GETTEXTLEN, LB_GETTEXT, i)));
  return 0;
}

const wchar_t kIdle[] = L"\x5F85\x6A5F\x4E2D";     // 待機中
const wchar_t kRunning[] = L"\x5B9F\x884C\x4E2D";  // 実行中
const wchar_t kRunCaption[] = L"\x5B9F\x884C\r\n";  // 実行 + line break

// The status label's text without waiting on the program: a run that is
// busy sending input answers no messages, so the text the window manager
// keeps is read directly.
bool StatusText(HWND top, std::wstring& out) {
  for (HWND h : Children(top)) {
    if (!EqualsNoCase(ClassOf(h), L"Static")) continue;
    wchar_t buf[512];
    int n = InternalGetWindowText(h, buf, 512);
    std::wstring t(buf, n > 0 ? static_cast<size_t>(n) : 0);
    if (t.rfind(kIdle, 0) == 0 || t.rfind(kRunning, 0) == 0) {
      out = t;
      return true;
    }
  }
  return false;
}

// Polls the status every 10 ms until it begins with prefix; the elapsed ms
// since start, or -1 on timeout.
long WaitStatus(HWND top, const std::wstring& prefix, DWORD start, DWORD timeout,
                std::wstring& seen) {
  for (;;) {
    if (StatusText(top, seen) && seen.rfind(prefix, 0) == 0)
      return static_cast<long>(GetTickCount() - start);
    if (!IsWindow(top) || GetTickCount() - start >= timeout) return -1;
    Sleep(10);
  }
}

// Wall-clock milliseconds since 1970, comparable with `date +%s%3N`.
long long UnixMs() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  ULARGE_INTEGER u;
  u.LowPart = ft.dwLowDateTime;
  u.HighPart = ft.dwHighDateTime;
  return static_cast<long long>(u.QuadPart / 10000ULL) - 11644473600000LL;
}

int Run(int argc, wchar_t** argv) {
  int i = 1;
  while (i < argc && std::wstring(argv[i]).rfind(L"--", 0) == 0) {
    std::wstring opt = argv[i];
    if (opt == L"--wait" && i + 1 < argc) {
      g_wait_ms = static_cast<DWORD>(ParseNum(argv[i + 1]));
      i += 2;
    } else {
      Err("unknown option " + Utf8(opt));
      return 2;
    }
  }
  std::wstring cmd = Arg(argc, argv, i);
  std::wstring a1 = Arg(argc, argv, i + 1);
  std::wstring a2 = Arg(argc, argv, i + 2);
  std::wstring a3 = Arg(argc, argv, i + 3);
  std::wstring a4 = Arg(argc, argv, i + 4);
  HWND top = nullptr, child = nullptr;

  if (cmd == L"foreground") {
    HWND f = GetForegroundWindow();
    Out(Handle(f) + " " + Utf8(f ? WindowText(f) : L""));
    return 0;
  }
  if (cmd == L"focus") {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    HWND f = GetGUIThreadInfo(0, &gui) ? gui.hwndFocus : nullptr;
    Out(Handle(f) + " " + Utf8(f ? ClassOf(f) : L"") + " " + Utf8(f ? WindowText(f) : L""));
    if (!a1.empty()) Out("active " + Handle(gui.hwndActive) + " capture " + Handle(gui.hwndCapture));
    return 0;
  }
  if (cmd == L"cursor") {
    POINT p;
    GetCursorPos(&p);
    Out(std::to_string(p.x) + " " + std::to_string(p.y));
    return 0;
  }
  if (cmd == L"setcursor") {
    SetCursorPos(static_cast<int>(ParseNum(a1)), static_cast<int>(ParseNum(a2)));
    POINT p;
    GetCursorPos(&p);
    Out(std::to_string(p.x) + " " + std::to_string(p.y));
    return 0;
  }
  if (cmd == L"gone") {
    DWORD start = GetTickCount();
    while (FindTopOnce(a1)) {
      if (GetTickCount() - start >= g_wait_ms) {
        Err("window \"" + Utf8(a1) + "\" still exists");
        return 1;
      }
      Sleep(50);
    }
    return 0;
  }
  if (cmd.empty() || a1.empty()) {
    Err("usage: zepxctl [--wait MS] COMMAND WIN [ARGS] (see the source for commands)");
    return 2;
  }
  if (NeedTop(top, a1)) return 1;

  if (cmd == L"find") {
    Out(Handle(top));
    return 0;
  }
  if (cmd == L"children") {
    for (HWND h : Children(top)) {
      RECT r;
      GetWindowRect(h, &r);
      char buf[200];
      std::snprintf(buf, sizeof buf, "%s id=%d vis=%d en=%d rect=%ld,%ld,%ld,%ld",
                    Handle(h).c_str(), GetDlgCtrlID(h), IsWindowVisible(h) ? 1 : 0,
                    IsWindowEnabled(h) ? 1 : 0, r.left, r.top, r.right, r.bottom);
      std::wstring text = WindowText(h);
      for (auto& c : text)
        if (c == L'\r' || c == L'\n') c = L'|';
      Out(std::string(buf) + " class=" + Utf8(ClassOf(h)) + " text=" + Utf8(text));
    }
    return 0;
  }
  if (cmd == L"list" || cmd == L"selected") {
    if (NeedChild(child, top, a2.empty() ? L"class:ListBox" : a2)) return 1;
    if (cmd == L"list") return ListItems(child);
    DWORD_PTR sel = 0;
    SendMessageTimeoutW(child, LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &sel);
    Out(std::to_string(static_cast<long long>(static_cast<LONG_PTR>(sel))));
    return 0;
  }
  if (cmd == L"itemrect") {
    if (NeedChild(child, top, a2)) return 1;
    RECT r{};
    DWORD_PTR ok = 0;
    if (!SendMessageTimeoutW(child, LB_GETITEMRECT, static_cast<WPARAM>(ParseNum(a3)),
                             reinterpret_cast<LPARAM>(&r), SMTO_ABORTIFHUNG, kSendTimeoutMs, &ok) ||
        static_cast<LONG_PTR>(ok) == LB_ERR) {
      Err("no row " + Utf8(a3));
      return 1;
    }
    MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&r), 2);
    Out(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
        std::to_string(r.bottom));
    return 0;
  }
  if (cmd == L"choose") {
    if (NeedChild(child, top, a2)) return 1;
    const WPARAM index = static_cast<WPARAM>(ParseNum(a3));
    DWORD_PTR r = 0;
    SendMessageTimeoutW(child, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &r);
    if (r != index) {
      Err("no entry " + Utf8(a3) + " in the drop-down");
      return 1;
    }
    const WPARAM code = MAKEWPARAM(GetDlgCtrlID(child), CBN_SELCHANGE);
    if (!PostMessageW(GetParent(child), WM_COMMAND, code, reinterpret_cast<LPARAM>(child))) {
      Err("PostMessage failed");
      return 1;
    }
    return 0;
  }
  if (cmd == L"itempoint") {
    if (NeedChild(child, top, a2.empty() ? L"class:ListBox" : a2)) return 1;
    RECT rc{};
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(child, LB_GETITEMRECT, static_cast<WPARAM>(ParseNum(a3)),
                             reinterpret_cast<LPARAM>(&rc), SMTO_ABORTIFHUNG, kSendTimeoutMs, &r) ||
        static_cast<LONG_PTR>(r) == LB_ERR) {
      Err("no row " + Utf8(a3) + " in the list box");
      return 1;
    }
    POINT p{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(child, &p);
    Out(std::to_string(p.x) + " " + std::to_string(p.y));
    return 0;
  }
  if (cmd == L"click") {
    if (NeedChild(child, top, a2)) return 1;
    PostMessageW(child, BM_CLICK, 0, 0);
    return 0;
  }
  if (cmd == L"getcheck" || cmd == L"check") {
    if (NeedChild(child, top, a2)) return 1;
    DWORD_PTR state = 0;
    SendMessageTimeoutW(child, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state);
    if (cmd == L"getcheck") {
      Out(Num(state));
      return 0;
    }
    DWORD_PTR want = ParseNum(a3);
    if (state != want) {
      // A click, not BM_SETCHECK, so the program hears about the change.
      DWORD_PTR r = 0;
      SendMessageTimeoutW(child, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &r);
      SendMessageTimeoutW(child, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state);
    }
    Out(Num(state));
    return state == want ? 0 : 1;
  }
  if (cmd == L"text") {
    HWND h = top;
    if (!a2.empty() && NeedChild(h, top, a2)) return 1;
    Out(Utf8(WindowText(h)));
    return 0;
  }
  if (cmd == L"status") {
    std::wstring t;
    if (StatusText(top, t)) {
      Out(Utf8(t));
      return 0;
    }
    Err("no status label in window " + Handle(top));
    return 1;
  }
  if (cmd == L"run") {
    DWORD timeout = a2.empty() ? 60000 : static_cast<DWORD>(ParseNum(a2));
    HWND button = nullptr;
    for (HWND h : Children(top))
      if (EqualsNoCase(ClassOf(h), L"Button") && WindowText(h).rfind(kRunCaption, 0) == 0) {
        button = h;
        break;
      }
    if (!button) {
      Err("no Run button in window " + Handle(top));
      return 1;
    }
    DWORD start = GetTickCount();
    PostMessageW(button, BM_CLICK, 0, 0);
    std::wstring seen;
    long t = WaitStatus(top, kRunning, start, timeout, seen);
    if (t < 0) {
      Err("the run did not start; status \"" + Utf8(seen) + "\"");
      return 1;
    }
    Out("RUNNING " + std::to_string(t) + " " + Utf8(seen));
    t = WaitStatus(top, kIdle, start, timeout, seen);
    if (t < 0) {
      Err("the run did not end; status \"" + Utf8(seen) + "\"");
      return 1;
    }
    Out("IDLE " + std::to_string(t));
    Out("CLICKED " + std::to_string(start));
    return 0;
  }
  if (cmd == L"procinfo") {
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!p) {
      Err("cannot open the process of window " + Handle(top));
      return 1;
    }
    DWORD handles = 0;
    GetProcessHandleCount(p, &handles);
    PROCESS_MEMORY_COUNTERS_EX mem{};
    GetProcessMemoryInfo(p, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem);
    Out("handles " + std::to_string(handles) + " private_kb " + std::to_string(mem.PrivateUsage / 1024) +
        " gdi " + std::to_string(GetGuiResources(p, GR_GDIOBJECTS)) + " user " +
        std::to_string(GetGuiResources(p, GR_USEROBJECTS)));
    CloseHandle(p);
    return 0;
  }
  if (cmd == L"passes") {
    // The label after the caption "Loop回数:" in creation order.
    bool next = false;
    for (HWND h : Children(top)) {
      if (next) {
        Out(Utf8(WindowText(h)));
        return 0;
      }
      next = WindowText(h) == L"Loop\x56DE\x6570:";  // Loop回数:
    }
    Err("no pass count in window " + Handle(top));
    return 1;
  }
  if (cmd == L"idleat") {
    const DWORD timeout = a2.empty() ? 60000 : static_cast<DWORD>(ParseNum(a2));
    const DWORD start = GetTickCount();
    std::wstring seen;
    for (;;) {
      if (StatusText(top, seen) && seen.rfind(kIdle, 0) == 0) {
        Out(std::to_string(UnixMs()));
        return 0;
      }
      if (!IsWindow(top) || GetTickCount() - start >= timeout) {
        Err("not idle; status \"" + Utf8(seen) + "\"");
        return 1;
      }
      Sleep(2);
    }
  }
  if (cmd == L"waitstatus") {
    DWORD timeout = a3.empty() ? 60000 : static_cast<DWORD>(ParseNum(a3));
    std::wstring seen;
    long t = WaitStatus(top, a2, GetTickCount(), timeout, seen);
    Out(Utf8(seen));
    return t < 0 ? 1 : 0;
  }
  if (cmd == L"close") {
    PostMessageW(top, WM_CLOSE, 0, 0);
    return 0;
  }
  if (cmd == L"rect") {
    RECT r;
    GetWindowRect(top, &r);
    Out(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
        " " + std::to_string(r.bottom));
    return 0;
  }
  if (cmd == L"client") {
    RECT r;
    GetClientRect(top, &r);
    POINT o = {0, 0};
    ClientToScreen(top, &o);
    Out(std::to_string(o.x) + " " + std::to_string(o.y) + " " + std::to_string(r.right) + " " +
        std::to_string(r.bottom));
    return 0;
  }
  if (cmd == L"activate") {
    SetForegroundWindow(top);
    return 0;
  }
  if (cmd == L"move") {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (a4.empty() ? SWP_NOSIZE : 0);
    if (!SetWindowPos(top, nullptr, static_cast<int>(ParseNum(a2)), static_cast<int>(ParseNum(a3)),
                      a4.empty() ? 0 : static_cast<int>(ParseNum(a4)),
                      a4.empty() ? 0 : static_cast<int>(ParseNum(Arg(argc, argv, i + 5))), flags)) {
      Err("SetWindowPos failed");
      return 1;
    }
    return 0;
  }
  if (cmd == L"post") {
    if (!PostMessageW(top, static_cast<UINT>(ParseNum(a2)), ParseNum(a3),
                      static_cast<LPARAM>(ParseNum(a4)))) {
      Err("PostMessage failed");
      return 1;
    }
    return 0;
  }
  Err("unknown command " + Utf8(cmd));
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
