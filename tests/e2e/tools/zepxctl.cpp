// zepxctl.exe: drives and reads the program's windows from another process
// for the end-to-end scripts and the demonstration. Arguments are UTF-8 (as
// Wine hands them over under a UTF-8 locale; read through the wide command
// line); output is UTF-8, one item per line.
//
// WIN: an exact top-level caption (waited for up to --wait MS, default
// 10000) or "#<decimal handle>". SEL, a child: id:<n>, text:<t> (exact;
// "\r" "\n" "\t" "\\" unescaped), prefix:<t>, class:<c>[:<n>] (the n-th of
// that class), after:<c>:<t> (the first of class c after the child with text
// t, in creation order: the field a caption stands before).
//
// Commands (see Run below): find gone children center list selected itempoint
// click check getcheck choose comboitems text status run waitstatus idleat
// passes close activate rect client move post menu alpha layout foreground
// setcursor tops box window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSendTimeoutMs = 3000;  // a busy program must not hang a test
DWORD g_wait_ms = 10000;
using WS = std::wstring;

std::string Utf8(const WS& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  if (n) WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}
// One WriteFile per line: lines of several processes never interleave.
void Write(DWORD std_handle, const std::string& s) {
  std::string line = s + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(std_handle), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
void Out(const std::string& s) { Write(STD_OUTPUT_HANDLE, s); }
int Fail(const std::string& s) {
  Write(STD_ERROR_HANDLE, "zepxctl: " + s);
  return 1;
}
std::string N(long long v) { return std::to_string(v); }
std::string H(HWND h) { return N(static_cast<long long>(reinterpret_cast<ULONG_PTR>(h))); }
std::string Rect(const RECT& r) { return N(r.left) + " " + N(r.top) + " " + N(r.right) + " " + N(r.bottom); }
ULONG_PTR Num(const WS& s) { return wcstoull(s.c_str(), nullptr, 0); }

WS Unescape(const WS& s) {
  WS r;
  for (size_t i = 0; i < s.size(); ++i) {
    wchar_t c = s[i];
    if (c == L'\\' && i + 1 < s.size()) {
      c = s[++i];
      c = c == L'r' ? L'\r' : c == L'n' ? L'\n' : c == L't' ? L'\t' : c;
    }
    r += c;
  }
  return r;
}
WS Escape(const WS& t) {  // box texts on one line each
  WS r;
  for (wchar_t c : t) r += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : WS(1, c);
  return r;
}

// WM_GETTEXT crosses processes; a window that does not answer (a run
// sending input) gives the text the window manager keeps.
WS Text(HWND h) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &len)) {
    wchar_t buf[1024];
    int n = InternalGetWindowText(h, buf, 1024);
    return WS(buf, n > 0 ? static_cast<size_t>(n) : 0);
  }
  WS w(len + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(&w[0]), SMTO_ABORTIFHUNG, kSendTimeoutMs, &got);
  w.resize(got);
  return w;
}
LRESULT Send(HWND h, UINT m, WPARAM wp = 0, LPARAM lp = 0) {
  DWORD_PTR r = 0;
  return SendMessageTimeoutW(h, m, wp, lp, SMTO_ABORTIFHUNG, kSendTimeoutMs, &r) ? static_cast<LRESULT>(r) : -1;
}
WS Item(HWND box, bool combo, WPARAM i) {
  LRESULT len = Send(box, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i);
  if (len < 0) return {};
  WS w(static_cast<size_t>(len) + 1, L'\0');
  LRESULT got = Send(box, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(&w[0]));
  w.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return w;
}
WS ClassOf(HWND h) {
  wchar_t buf[256];
  int n = GetClassNameW(h, buf, 256);
  return WS(buf, n > 0 ? static_cast<size_t>(n) : 0);
}
bool Is(HWND h, const WS& cls) {  // "Static" and "STATIC" alike
  WS c = ClassOf(h);
  return CompareStringOrdinal(c.c_str(), -1, cls.c_str(), -1, TRUE) == CSTR_EQUAL;
}
DWORD PidOf(HWND h) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  return pid;
}
BOOL CALLBACK Collect(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}
std::vector<HWND> Tops() {
  std::vector<HWND> r;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&r));
  return r;
}
std::vector<HWND> Kids(HWND parent) {
  std::vector<HWND> r;
  EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&r));
  return r;
}
HWND FindOnce(const WS& w) {
  if (!w.empty() && w[0] == L'#') {
    HWND h = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(wcstoull(w.c_str() + 1, nullptr, 10)));
    return IsWindow(h) ? h : nullptr;
  }
  if (HWND h = FindWindowW(nullptr, w.c_str())) return h;
  for (HWND h : Tops())
    if (Text(h) == w) return h;
  return nullptr;
}
HWND FindTop(const WS& w) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND h = FindOnce(w)) return h;
    if (GetTickCount() - start >= g_wait_ms) return nullptr;
    Sleep(50);
  }
}
HWND FindChild(HWND top, const WS& sel) {
  auto starts = [&](const wchar_t* p) { return sel.rfind(p, 0) == 0; };
  WS arg = sel.substr(sel.find(L':') + 1), cls;
  int nth = 0;
  bool after = starts(L"after:"), armed = false;
  if (starts(L"class:") || after) {
    size_t colon = arg.find(L':');
    cls = arg.substr(0, colon);
    if (colon != WS::npos) arg = arg.substr(colon + 1), nth = after ? 0 : _wtoi(arg.c_str());
  }
  arg = Unescape(arg);
  for (HWND h : Kids(top)) {
    if (starts(L"id:") && GetDlgCtrlID(h) == _wtoi(arg.c_str())) return h;
    if (starts(L"text:") && Text(h) == arg) return h;
    if (starts(L"prefix:") && Text(h).rfind(arg, 0) == 0) return h;
    if (starts(L"class:") && Is(h, cls) && nth-- == 0) return h;
    if (after && armed && Is(h, cls)) return h;
    if (after && !armed) armed = Text(h) == arg;
  }
  return nullptr;
}

const WS kIdle = L"\x5F85\x6A5F\x4E2D";         // 待機中
const WS kRunning = L"\x5B9F\x884C\x4E2D";      // 実行中
const WS kRunCaption = L"\x5B9F\x884C\r\n";     // 実行 + line break
// The status label, read from the window manager's copy: a run busy
// sending input answers no messages.
bool Status(HWND top, WS& out) {
  for (HWND h : Kids(top)) {
    wchar_t buf[512];
    int n = Is(h, L"Static") ? InternalGetWindowText(h, buf, 512) : 0;
    WS t(buf, n > 0 ? static_cast<size_t>(n) : 0);
    if (n && (t.rfind(kIdle, 0) == 0 || t.rfind(kRunning, 0) == 0)) return out = t, true;
  }
  return false;
}
// Polls the status until it begins with prefix: ms since start, or -1.
long WaitStatus(HWND top, const WS& prefix, DWORD start, DWORD timeout, WS& seen) {
  for (;;) {
    if (Status(top, seen) && seen.rfind(prefix, 0) == 0) return static_cast<long>(GetTickCount() - start);
    if (!IsWindow(top) || GetTickCount() - start >= timeout) return -1;
    Sleep(5);
  }
}
long long UnixMs() {  // comparable with `date +%s%3N`
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return static_cast<long long>((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000ULL) -
         11644473600000LL;
}

// Message boxes and the file dialogs: visible #32770 windows.
std::vector<HWND> Boxes() {
  std::vector<HWND> r;
  for (HWND h : Tops())
    if (IsWindowVisible(h) && ClassOf(h) == L"#32770") r.push_back(h);
  return r;
}
WS BoxText(HWND box) {
  WS all;
  for (HWND c : Kids(box))
    if (Is(c, L"Static") && !Text(c).empty()) all += (all.empty() ? L"" : L"|") + Escape(Text(c));
  return all;
}

// A child outside its parent's client area is cut off on the screen.
int Layout(HWND parent, int& bad) {
  RECT pc;
  GetClientRect(parent, &pc);
  MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&pc), 2);
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!IsWindowVisible(h)) continue;
    RECT r;
    GetWindowRect(h, &r);
    if (r.left < pc.left || r.top < pc.top || r.right > pc.right || r.bottom > pc.bottom) {
      Out("CUT " + Utf8(ClassOf(h)) + " \"" + Utf8(Escape(Text(h))) + "\" " + Rect(r) + " outside " + Rect(pc));
      ++bad;
    }
    Layout(h, bad);
  }
  return bad;
}

LRESULT CALLBACK StandInProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CLOSE) {
    DestroyWindow(h);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(h, m, wp, lp);
}

int Run(int argc, wchar_t** argv) {
  int i = 1;
  if (argc > 2 && WS(argv[1]) == L"--wait") g_wait_ms = static_cast<DWORD>(Num(argv[2])), i = 3;
  auto arg = [&](int k) { return i + k < argc ? WS(argv[i + k]) : WS(); };
  const WS cmd = arg(0), a1 = arg(1), a2 = arg(2), a3 = arg(3);
  const int x = static_cast<int>(Num(a1)), y = static_cast<int>(Num(a2));

  // ---- commands without a window
  if (cmd == L"foreground") {
    HWND f = GetForegroundWindow();
    return Out(H(f) + " " + Utf8(f ? Text(f) : L"")), 0;
  }
  if (cmd == L"setcursor") {  // moves the X pointer and tells Wine where it is
    SetCursorPos(x, y);
    POINT p;
    GetCursorPos(&p);
    return Out(N(p.x) + " " + N(p.y)), 0;
  }
  if (cmd == L"tops") {  // "<handle> <pid> <class> <caption>" of visible windows with that prefix
    for (HWND h : Tops())
      if (IsWindowVisible(h) && Text(h).rfind(a1, 0) == 0)
        Out(H(h) + " " + N(PidOf(h)) + " " + Utf8(ClassOf(h)) + " " + Utf8(Text(h)));
    return 0;
  }
  if (cmd == L"box") {
    // box MS [ID]: waits for a message box whose texts are set, prints
    // "<handle> <caption>" and "TEXT <texts>"; with ID clicks that button
    // and waits for this box to close. One process sees the box from its
    // appearance to its end, so a box that vanishes or comes twice is
    // told, never answered by a handle gone stale.
    const DWORD start = GetTickCount(), limit = static_cast<DWORD>(Num(a1));
    HWND box = nullptr;
    while (!box || BoxText(box).empty()) {
      if (GetTickCount() - start >= limit) return Fail(box ? "a box without text" : "no message box within " + Utf8(a1) + " ms");
      Sleep(20);
      std::vector<HWND> b = Boxes();
      box = b.empty() ? nullptr : b[0];
    }
    Out(H(box) + " " + Utf8(Text(box)));
    Out("TEXT " + Utf8(BoxText(box)));
    if (a2.empty()) return 0;
    const int id = _wtoi(a2.c_str());
    if (!IsWindow(box)) return Fail("the box closed by itself before it was answered");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    for (DWORD t0 = GetTickCount(); IsWindow(box) && IsWindowVisible(box); Sleep(20))
      if (GetTickCount() - t0 >= 10000) return Fail("the box did not close on button " + Utf8(a2));
    return 0;
  }
  if (cmd == L"window") {  // window CLASS TITLE: a stand-in for another program's window
    WNDCLASSW wc{};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = a1.c_str();
    RegisterClassW(&wc);
    HWND h = CreateWindowW(a1.c_str(), a2.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
    if (!h) return Fail("CreateWindow failed");
    Out(H(h));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
  }
  if (cmd == L"gone") {
    for (DWORD t0 = GetTickCount(); FindOnce(a1); Sleep(50))
      if (GetTickCount() - t0 >= g_wait_ms) return Fail("window \"" + Utf8(a1) + "\" still exists");
    return 0;
  }

  // ---- commands on a window
  HWND top = FindTop(a1), child = nullptr;
  if (!top) return Fail("no window \"" + Utf8(a1) + "\"");
  auto need = [&](const WS& sel) {
    child = FindChild(top, sel);
    if (!child) Fail("no child \"" + Utf8(sel) + "\" in window " + H(top));
    return child != nullptr;
  };
  if (cmd == L"find") return Out(H(top)), 0;
  if (cmd == L"children") {
    for (HWND h : Kids(top)) {
      RECT r;
      GetWindowRect(h, &r);
      Out(H(h) + " " + N(GetDlgCtrlID(h)) + " " + N(IsWindowVisible(h)) + " " + N(IsWindowEnabled(h)) + " " +
          Rect(r) + " " + Utf8(ClassOf(h)) + " " + Utf8(Escape(Text(h))));
    }
    return 0;
  }
  if (cmd == L"center") {  // "x y", the middle of a child (or the window), for a real click
    if (!a2.empty() && !need(a2)) return 1;
    RECT r;
    GetWindowRect(a2.empty() ? top : child, &r);
    const int pct = a3.empty() ? 50 : _wtoi(a3.c_str());
    return Out(N(r.left + (r.right - r.left) * pct / 100) + " " + N((r.top + r.bottom) / 2)), 0;
  }
  if (cmd == L"list" || cmd == L"selected") {
    if (!need(a2.empty() ? L"class:ListBox" : a2)) return 1;
    if (cmd == L"selected") return Out(N(Send(child, LB_GETCURSEL))), 0;
    LRESULT n = Send(child, LB_GETCOUNT);
    if (n < 0) return Fail("list box does not answer");
    for (LRESULT k = 0; k < n; ++k) Out(Utf8(Item(child, false, static_cast<WPARAM>(k))));
    return 0;
  }
  if (cmd == L"itempoint") {  // itempoint WIN SEL ROW: the row's middle, on the screen
    if (!need(a2.empty() ? L"class:ListBox" : a2)) return 1;
    RECT r{};
    if (Send(child, LB_GETITEMRECT, Num(a3), reinterpret_cast<LPARAM>(&r)) == LB_ERR) return Fail("no row " + Utf8(a3));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(child, &p);
    return Out(N(p.x) + " " + N(p.y)), 0;
  }
  if (cmd == L"click") return need(a2) ? (PostMessageW(child, BM_CLICK, 0, 0), 0) : 1;
  if (cmd == L"getcheck" || cmd == L"check") {
    if (!need(a2)) return 1;
    LRESULT state = Send(child, BM_GETCHECK);
    // A click, not BM_SETCHECK, so that the program hears of the change.
    if (cmd == L"check" && state != static_cast<LRESULT>(Num(a3))) Send(child, BM_CLICK), state = Send(child, BM_GETCHECK);
    Out(N(state));
    return cmd == L"check" && state != static_cast<LRESULT>(Num(a3));
  }
  if (cmd == L"choose") {
    // A pick as the drop-down makes it: the selection, then its
    // CBN_SELCHANGE, posted so that a box the pick opens holds no one.
    if (!need(a2)) return 1;
    if (Send(child, CB_SETCURSEL, Num(a3)) != static_cast<LRESULT>(Num(a3))) return Fail("no entry " + Utf8(a3));
    PostMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), CBN_SELCHANGE), reinterpret_cast<LPARAM>(child));
    return 0;
  }
  if (cmd == L"comboitems") {  // "<n> <item>" of every combo box (n counts them from 0)
    int n = 0;
    for (HWND c : Kids(top)) {
      if (!Is(c, L"ComboBox")) continue;
      for (LRESULT k = 0, count = Send(c, CB_GETCOUNT); k < count; ++k)
        Out(N(n) + " " + Utf8(Item(c, true, static_cast<WPARAM>(k))));
      ++n;
    }
    return 0;
  }
  if (cmd == L"text") return a2.empty() || need(a2) ? (Out(Utf8(Text(a2.empty() ? top : child))), 0) : 1;
  if (cmd == L"status") {
    WS t;
    return Status(top, t) ? (Out(Utf8(t)), 0) : Fail("no status label");
  }
  if (cmd == L"run") {
    // Clicks Run, waits for the running status and then for idle:
    // "RUNNING <ms> <text>", "IDLE <ms>".
    const DWORD timeout = a2.empty() ? 60000 : static_cast<DWORD>(Num(a2));
    HWND button = nullptr;
    for (HWND h : Kids(top))
      if (!button && Is(h, L"Button") && Text(h).rfind(kRunCaption, 0) == 0) button = h;
    if (!button) return Fail("no Run button");
    const DWORD start = GetTickCount();
    PostMessageW(button, BM_CLICK, 0, 0);
    WS seen;
    long t = WaitStatus(top, kRunning, start, timeout, seen);
    if (t < 0) return Fail("the run did not start; status \"" + Utf8(seen) + "\"");
    Out("RUNNING " + N(t) + " " + Utf8(seen));
    WS running = seen;
    t = WaitStatus(top, kIdle, start, timeout, seen);
    if (t < 0) return Fail("the run did not end; status \"" + Utf8(seen) + "\"");
    return Out("IDLE " + N(t)), 0;
  }
  if (cmd == L"waitstatus" || cmd == L"idleat") {
    // waitstatus WIN PREFIX [MS]: "<unix ms> <status>" when the status
    // first begins with PREFIX; idleat WIN [MS]: the time idle was seen.
    const bool idle = cmd == L"idleat";
    const WS& ms = idle ? a2 : a3;
    WS seen;
    long t = WaitStatus(top, idle ? kIdle : a2, GetTickCount(), ms.empty() ? 60000 : static_cast<DWORD>(Num(ms)), seen);
    Out(N(UnixMs()) + (idle ? "" : " " + Utf8(seen)));
    return t < 0;
  }
  if (cmd == L"passes") {  // the label after "Loop回数:"
    bool next = false;
    for (HWND h : Kids(top)) {
      if (next) return Out(Utf8(Text(h))), 0;
      next = Text(h) == L"Loop\x56DE\x6570:";
    }
    return Fail("no pass count");
  }
  if (cmd == L"close") return PostMessageW(top, WM_CLOSE, 0, 0), 0;
  if (cmd == L"activate") return SetForegroundWindow(top), 0;
  if (cmd == L"rect" || cmd == L"client") {  // "l t r b" / "x y w h" of the client area
    RECT r;
    GetWindowRect(top, &r);
    if (cmd == L"client") {
      POINT o{0, 0};
      ClientToScreen(top, &o);
      GetClientRect(top, &r);
      r = {o.x, o.y, r.right, r.bottom};
    }
    return Out(Rect(r)), 0;
  }
  if (cmd == L"move") {  // move WIN X Y
    return SetWindowPos(top, nullptr, static_cast<int>(Num(a2)), static_cast<int>(Num(a3)), 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : Fail("SetWindowPos failed");
  }
  if (cmd == L"post") {
    return PostMessageW(top, static_cast<UINT>(Num(a2)), Num(a3), static_cast<LPARAM>(Num(arg(4)))) ? 0 : Fail("PostMessage failed");
  }
  if (cmd == L"menu") {
    // menu WIN KEYS: the pop-up of the first mnemonic (SC_KEYMENU), the
    // item by the next; menus cannot be read from another process here.
    PostMessageW(top, WM_SYSCOMMAND, SC_KEYMENU, a2[0]);
    // The pop-up must be open before the key, or the window gets it.
    for (DWORD t0 = GetTickCount(); !FindWindowW(L"#32768", nullptr) && GetTickCount() - t0 < 10000;) Sleep(20);
    for (size_t k = 1; k < a2.size(); ++k) PostMessageW(top, WM_CHAR, a2[k], 1);
    return 0;
  }
  if (cmd == L"alpha") {
    BYTE alpha = 0;
    DWORD flags = 0;
    bool layered = GetWindowLongW(top, GWL_EXSTYLE) & WS_EX_LAYERED;
    return Out(layered && GetLayeredWindowAttributes(top, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) ? N(alpha) : "none"), 0;
  }
  if (cmd == L"layout") {
    int bad = 0;
    return Layout(top, bad) ? 1 : 0;
  }
  return Fail("unknown command " + Utf8(cmd));
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
