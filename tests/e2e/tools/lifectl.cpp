// lifectl.exe: looks at the program's life from another process, for the
// end-to-end tests of settings, hot keys, start-up and exit: message boxes,
// the top-level windows of every instance, the menu bar, and the window
// position. Arguments are UTF-8 (Wine hands them over under a UTF-8
// locale); output is UTF-8, one item per line.
//
// A window argument WIN is an exact top-level caption or "#<handle>".
//
// Commands:
//   tops PREFIX            visible top-level windows whose caption begins
//                          with PREFIX: "<handle> <pid> <class> <caption>"
//   boxes                  visible dialog-class (#32770) top-level windows:
//                          "BOX <handle> <pid> <caption>", then one
//                          "TEXT <text>" per non-empty Static child, CR and
//                          LF written as the two characters \r and \n
//   waitbox MS             like boxes, waiting up to MS for the first one;
//                          fails when none comes
//   answer HANDLE ID       clicks the box's button with that control id
//                          (1 OK, 6 Yes, 7 No, 2 Cancel)
//   menu WIN KEYS          opens the menu bar's pop-up whose mnemonic is
//                          the first key (WM_SYSCOMMAND SC_KEYMENU) and
//                          types the others into the menu (WM_CHAR): the
//                          way a user picks Alt+F, E. Menus cannot be read
//                          from another process under Wine, so items are
//                          reached by their mnemonics.
//   move WIN X Y           moves the window (size and z-order kept)
//   exstyle WIN            the extended window style, "0x%08X"
//   alpha WIN              the layered window's alpha, or "none" when the
//                          window is not layered with an alpha
//   comboitems WIN         "<n> <item>" for every item of every ComboBox
//                          child (n counts the combo boxes from 0)
//   window CLASS TITLE     creates a hidden top-level window of that class
//                          and title and runs until it receives WM_CLOSE
//                          (a stand-in for another program's window)
//   button WIN TEXT        posts BM_CLICK to the child button with that
//                          exact text (\r \n unescaped)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tool_common.h"

namespace {

using namespace tool;

void Err(const std::string& s) { WriteLine(STD_ERROR_HANDLE, "lifectl: " + s); }

// Box texts on one line each: their line breaks written as "\r" and "\n".
std::wstring Escaped(const std::wstring& t) {
  std::wstring r;
  for (wchar_t c : t) {
    if (c == L'\r') r += L"\\r";
    else if (c == L'\n') r += L"\\n";
    else r += c;
  }
  return r;
}

std::vector<HWND> Boxes() {
  std::vector<HWND> r;
  for (HWND h : TopLevels())
    if (IsWindowVisible(h) && ClassOf(h) == L"#32770") r.push_back(h);
  return r;
}

void PrintBox(HWND box) {
  Out("BOX " + Handle(box) + " " + std::to_string(PidOf(box)) + " " + Utf8(WindowText(box)));
  for (HWND c : Children(box)) {
    if (!EqualsNoCase(ClassOf(c), L"Static")) continue;
    std::wstring t = WindowText(c);
    if (!t.empty()) Out("TEXT " + Utf8(Escaped(t)));
  }
}

// A captureless lambda would not convert to the stdcall WNDPROC of i686.
LRESULT CALLBACK StandInProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CLOSE) {
    DestroyWindow(h);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(h, m, wp, lp);
}

int Run(int argc, wchar_t** argv) {
  std::wstring cmd = argc > 1 ? argv[1] : L"";
  auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };

  if (cmd == L"tops") {
    const std::wstring prefix = arg(2);
    for (HWND h : TopLevels()) {
      if (!IsWindowVisible(h)) continue;
      std::wstring t = WindowText(h);
      if (t.rfind(prefix, 0) != 0) continue;
      Out(Handle(h) + " " + std::to_string(PidOf(h)) + " " + Utf8(ClassOf(h)) + " " + Utf8(t));
    }
    return 0;
  }
  if (cmd == L"boxes") {
    for (HWND b : Boxes()) PrintBox(b);
    return 0;
  }
  if (cmd == L"waitbox") {
    const DWORD limit = static_cast<DWORD>(_wtoi(arg(2).c_str()));
    const DWORD start = GetTickCount();
    for (;;) {
      std::vector<HWND> boxes = Boxes();
      if (!boxes.empty()) {
        // A box is created before its text is set; give it a moment.
        Sleep(200);
        for (HWND b : Boxes()) PrintBox(b);
        return 0;
      }
      if (GetTickCount() - start >= limit) {
        Err("no message box within " + std::to_string(limit) + " ms");
        return 1;
      }
      Sleep(50);
    }
  }
  if (cmd == L"answer") {
    HWND box = FindTopLevel(L"#" + arg(2));
    if (!box) {
      Err("no window #" + Utf8(arg(2)));
      return 1;
    }
    const int id = _wtoi(arg(3).c_str());
    HWND button = GetDlgItem(box, id);
    if (button) PostMessageW(button, BM_CLICK, 0, 0);
    else PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return 0;
  }

  if (cmd == L"window") {
    const std::wstring cls = arg(2), title = arg(3);
    WNDCLASSW wc{};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = cls.c_str();
    if (!RegisterClassW(&wc)) {
      Err("RegisterClass failed");
      return 1;
    }
    HWND h = CreateWindowW(cls.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                           nullptr, nullptr, wc.hInstance, nullptr);
    if (!h) {
      Err("CreateWindow failed");
      return 1;
    }
    Out(Handle(h));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
  }

  HWND top = FindTopLevel(arg(2));
  if (!top) {
    Err("no window \"" + Utf8(arg(2)) + "\"");
    return 1;
  }
  if (cmd == L"menu") {
    const std::wstring keys = arg(3);
    if (keys.empty()) {
      Err("menu: no keys");
      return 2;
    }
    PostMessageW(top, WM_SYSCOMMAND, SC_KEYMENU, keys[0]);
    for (size_t i = 1; i < keys.size(); ++i) {
      // The menu loop must be running (and the pop-up open) before the
      // next key arrives, or the key goes to the window instead.
      Sleep(300);
      PostMessageW(top, WM_CHAR, keys[i], 1);
    }
    return 0;
  }
  if (cmd == L"move") {
    if (!SetWindowPos(top, nullptr, _wtoi(arg(3).c_str()), _wtoi(arg(4).c_str()), 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
      Err("SetWindowPos failed: " + std::to_string(GetLastError()));
      return 1;
    }
    return 0;
  }
  if (cmd == L"exstyle") {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08lX",
                  static_cast<unsigned long>(GetWindowLongW(top, GWL_EXSTYLE)));
    Out(buf);
    return 0;
  }
  if (cmd == L"alpha") {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(top, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
      Out(std::to_string(alpha));
    else
      Out("none");
    return 0;
  }
  if (cmd == L"comboitems") {
    int n = 0;
    for (HWND c : Children(top)) {
      if (!EqualsNoCase(ClassOf(c), L"ComboBox")) continue;
      DWORD_PTR count = 0;
      SendMessageTimeoutW(c, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count);
      for (DWORD_PTR i = 0; i < count && static_cast<LONG_PTR>(count) > 0; ++i)
        Out(std::to_string(n) + " " + Utf8(ItemText(c, CB_GETLBTEXTLEN, CB_GETLBTEXT, i)));
      ++n;
    }
    return 0;
  }
  if (cmd == L"button") {
    const std::wstring text = Unescape(arg(3));
    for (HWND c : Children(top))
      if (WindowText(c) == text) {
        PostMessageW(c, BM_CLICK, 0, 0);
        return 0;
      }
    Err("no button \"" + Utf8(arg(3)) + "\"");
    return 1;
  }
  Err("unknown command " + Utf8(cmd));
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
