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
// Commands (see Run below): find children center list selected itempoint
// click getcheck choose comboitems text status run waitstatus passes close
// activate rect move post menu alpha layout foreground setcursor tops box.
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
int Out(const std::string& s, DWORD to = STD_OUTPUT_HANDLE) {
  DWORD written = 0;
  WriteFile(GetStdHandle(to), (s + "\n").data(), static_cast<DWORD>(s.size() + 1), &written, nullptr);
  return to != STD_OUTPUT_HANDLE;
}
int Fail(const std::string& s) { return Out("zepxctl: " + s, STD_ERROR_HANDLE); }
std::string N(long long v) { return std::to_string(v); }
std::string H(HWND h) { return N(static_cast<long long>(reinterpret_cast<ULONG_PTR>(h))); }
std::string Rect(const RECT& r) { return N(r.left) + " " + N(r.top) + " " + N(r.right) + " " + N(r.bottom); }
ULONG_PTR Num(const WS& s) { return wcstoull(s.c_str(), nullptr, 0); }

WS Unescape(WS s) {
  for (size_t i = 0; (i = s.find(L'\\', i)) != WS::npos && i + 1 < s.size(); ++i) {
    const wchar_t c = s[i + 1];
    s.replace(i, 2, 1, c == L'r' ? L'\r' : c == L'n' ? L'\n' : c == L't' ? L'\t' : c);
  }
  return s;
}
WS Escape(const WS& t) {  // box texts on one line each
  WS r;
  for (wchar_t c : t) r += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : WS(1, c);
  return r;
}

// WM_GETTEXT crosses processes; a window that does not answer (a run
// sending input) gives the text the window manager keeps.
WS Text(HWND h) {
  static wchar_t buf[8192];
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, kSendTimeoutMs, &n))
    n = static_cast<DWORD_PTR>(InternalGetWindowText(h, buf, 8192));
  return WS(buf, n);
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
  return WS(buf, static_cast<size_t>(GetClassNameW(h, buf, 256)));
}
bool Is(HWND h, const WS& cls) { return lstrcmpiW(ClassOf(h).c_str(), cls.c_str()) == 0; }  // "Static", "STATIC"
BOOL CALLBACK Collect(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}
std::vector<HWND> Wins(HWND parent = nullptr) {  // top-level windows, or every descendant
  std::vector<HWND> r;
  parent ? EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&r)) : EnumWindows(Collect, reinterpret_cast<LPARAM>(&r));
  return r;
}
HWND FindOnce(const WS& w) {
  if (!w.empty() && w[0] == L'#') {
    HWND h = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(wcstoull(w.c_str() + 1, nullptr, 10)));
    return IsWindow(h) ? h : nullptr;
  }
  if (HWND h = FindWindowW(nullptr, w.c_str())) return h;
  for (HWND h : Wins())
    if (Text(h) == w) return h;
  return nullptr;
}
HWND FindTop(const WS& w) {
  for (DWORD t0 = GetTickCount();; Sleep(50))
    if (HWND h = FindOnce(w); h || GetTickCount() - t0 >= g_wait_ms) return h;
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
  for (HWND h : Wins(top)) {
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
// The status label is the one that names a run's state: idle or running,
// a line that halted it ("中断 (", "時間切れで停止"), or a wait that can be
// stopped ("…で中断できます").
const WS kStates[] = {kIdle, kRunning, L"\x4E2D\x65AD (", L"\x6642\x9593\x5207\x308C"};
const WS kStoppable = L"\x3067\x4E2D\x65AD\x3067\x304D\x307E\x3059";
const WS kRunCaption = L"\x5B9F\x884C\r\n";     // 実行 + line break
// The status label, read from the window manager's copy: a run busy
// sending input answers no messages.
bool Status(HWND top, WS& out) {
  wchar_t buf[512];
  for (HWND h : Wins(top)) {
    WS t(buf, Is(h, L"Static") ? static_cast<size_t>(InternalGetWindowText(h, buf, 512)) : 0);
    for (const WS& state : kStates)
      if (!t.empty() && t.rfind(state, 0) == 0) return out = t, true;
    if (t.find(kStoppable) != WS::npos) return out = t, true;
  }
  return false;
}
// Polls the status until it begins with prefix: ms since start, or -1.
long WaitStatus(HWND top, const WS& prefix, DWORD start, DWORD timeout, WS& seen) {
  for (;; Sleep(5)) {
    if (Status(top, seen) && seen.rfind(prefix, 0) == 0) return static_cast<long>(GetTickCount() - start);
    if (!IsWindow(top) || GetTickCount() - start >= timeout) return -1;
  }
}
long long UnixMs() {  // comparable with `date +%s%3N`
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return static_cast<long long>((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000ULL) -
         11644473600000LL;
}

WS BoxText(HWND box) {
  WS all;
  for (HWND c : Wins(box))
    if (Is(c, L"Static") && !Text(c).empty()) all += (all.empty() ? L"" : L"|") + Escape(Text(c));
  return all;
}

// A control reaching outside its parent's client area is cut off on the
// screen: what a wrong size or a font larger than planned does.
int Layout(HWND parent) {
  int bad = 0;
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
    // A spin edit's button sits inside its edit, by design over its border.
    if (!Is(h, L"Edit") && !Is(h, L"ComboBox")) bad += Layout(h);
  }
  return bad;
}

int Run(int argc, wchar_t** argv) {
  int i = 1;
  if (argc > 2 && WS(argv[1]) == L"--wait") g_wait_ms = static_cast<DWORD>(Num(argv[2])), i = 3;
  auto arg = [&](int k) { return i + k < argc ? WS(argv[i + k]) : WS(); };
  const WS cmd = arg(0), a1 = arg(1), a2 = arg(2), a3 = arg(3);

  // ---- commands without a window
  if (cmd == L"foreground") return Out(H(GetForegroundWindow()));
  if (cmd == L"setcursor") {  // tells Wine where the pointer is; prints where Wine has it
    POINT p;
    return SetCursorPos(static_cast<int>(Num(a1)), static_cast<int>(Num(a2))), GetCursorPos(&p), Out(N(p.x) + " " + N(p.y));
  }
  if (cmd == L"tops") {  // "<handle> <pid> <class> <caption>" of visible windows with that prefix
    DWORD pid = 0;
    for (HWND h : Wins())
      if (IsWindowVisible(h) && Text(h).rfind(a1, 0) == 0)
        Out(H(h) + " " + N(GetWindowThreadProcessId(h, &pid) ? pid : 0) + " " + Utf8(ClassOf(h)) + " " + Utf8(Text(h)));
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
      box = nullptr;  // message boxes and file dialogs: visible #32770 windows
      for (HWND h : Wins())
        if (!box && IsWindowVisible(h) && ClassOf(h) == L"#32770") box = h;
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
  // ---- commands on a window
  HWND top = FindTop(a1), child = nullptr;
  if (!top) return Fail("no window \"" + Utf8(a1) + "\"");
  auto need = [&](const WS& sel) {
    child = FindChild(top, sel);
    if (!child) Fail("no child \"" + Utf8(sel) + "\" in window " + H(top));
    return child != nullptr;
  };
  if (cmd == L"find") return Out(H(top));
  if (cmd == L"children") {
    for (HWND h : Wins(top)) {
      RECT r;
      GetWindowRect(h, &r);
      Out(H(h) + " " + N(GetDlgCtrlID(h)) + " " + N(IsWindowVisible(h)) + " " + N(IsWindowEnabled(h)) + " " +
          Rect(r) + " " + Utf8(ClassOf(h)) + " " + Utf8(Escape(Text(h))));
    }
    return 0;
  }
  if (cmd == L"center") {  // "x y", the middle of a child (or the window), for a real click
    RECT r;
    if (!a2.empty() && !need(a2)) return 1;
    GetWindowRect(a2.empty() ? top : child, &r);
    return Out(N(r.left + (r.right - r.left) * (a3.empty() ? 50 : _wtoi(a3.c_str())) / 100) + " " + N((r.top + r.bottom) / 2));
  }
  if (cmd == L"list" || cmd == L"selected") {
    if (!need(a2.empty() ? L"class:ListBox" : a2)) return 1;
    if (cmd == L"selected") return Out(N(Send(child, LB_GETCURSEL)));
    for (LRESULT k = 0, n = Send(child, LB_GETCOUNT); k < n; ++k) Out(Utf8(Item(child, false, static_cast<WPARAM>(k))));
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
  if (cmd == L"getcheck") return need(a2) ? Out(N(Send(child, BM_GETCHECK))) : 1;
  if (cmd == L"choose") {
    // A pick as the drop-down makes it: the selection, then its
    // CBN_SELCHANGE, posted so that a box the pick opens holds no one.
    if (!need(a2)) return 1;
    if (Send(child, CB_SETCURSEL, Num(a3)) != static_cast<LRESULT>(Num(a3))) return Fail("no entry " + Utf8(a3));
    PostMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), CBN_SELCHANGE), reinterpret_cast<LPARAM>(child));
    return 0;
  }
  if (cmd == L"comboitems") {  // the items of every combo box
    for (HWND c : Wins(top))
      for (LRESULT k = 0, n = Is(c, L"ComboBox") ? Send(c, CB_GETCOUNT) : 0; k < n; ++k) Out(Utf8(Item(c, true, static_cast<WPARAM>(k))));
    return 0;
  }
  if (cmd == L"text") return a2.empty() || need(a2) ? (Out(Utf8(Text(a2.empty() ? top : child))), 0) : 1;
  if (WS t; cmd == L"status") return Status(top, t) ? Out(Utf8(t)) : Fail("no status label");
  if (cmd == L"run") {
    // Clicks Run, waits for the running status and then for idle:
    // "RUNNING <ms> <text>", "IDLE <ms>", "CLICKED <tick>".
    const DWORD timeout = a2.empty() ? 60000 : static_cast<DWORD>(Num(a2));
    HWND button = nullptr;
    for (HWND h : Wins(top))
      if (!button && Is(h, L"Button") && Text(h).rfind(kRunCaption, 0) == 0) button = h;
    if (!button) return Fail("no Run button");
    const DWORD start = GetTickCount();
    PostMessageW(button, BM_CLICK, 0, 0);
    WS seen;
    long t = WaitStatus(top, kRunning, start, timeout, seen);
    if (t < 0) return Fail("the run did not start; status \"" + Utf8(seen) + "\"");
    Out("RUNNING " + N(t) + " " + Utf8(seen));
    t = WaitStatus(top, kIdle, start, timeout, seen);
    if (t < 0) return Fail("the run did not end; status \"" + Utf8(seen) + "\"");
    // GetTickCount at the click: the clock of the message times the probe logs.
    return Out("IDLE " + N(t)), Out("CLICKED " + N(start));
  }
  if (cmd == L"waitstatus") {
    // waitstatus WIN PREFIX [MS]: "<unix ms> <status>" when the status
    // first begins with PREFIX (the wall clock, as `date +%s%3N`).
    WS seen;
    long t = WaitStatus(top, a2, GetTickCount(), a3.empty() ? 60000 : static_cast<DWORD>(Num(a3)), seen);
    return Out(N(UnixMs()) + " " + Utf8(seen)), t < 0;
  }
  if (cmd == L"passes") {  // the label after "Loop回数:"
    bool next = false;
    for (HWND h : Wins(top)) {
      if (next) return Out(Utf8(Text(h))), 0;
      next = Text(h) == L"Loop\x56DE\x6570:";
    }
    return Fail("no pass count");
  }
  if (cmd == L"close") return !PostMessageW(top, WM_CLOSE, 0, 0);
  if (cmd == L"activate") return !SetForegroundWindow(top);
  if (cmd == L"rect") {
    RECT r;
    return GetWindowRect(top, &r), Out(Rect(r));
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
  if (cmd == L"layout") return Layout(top) > 0;
  return Fail("unknown command " + Utf8(cmd));
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
