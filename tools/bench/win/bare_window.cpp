// bare_window.exe: the baseline for zepx.exe's start-up. A plain Win32
// program that makes the same main window as zepx.exe, control for
// control, from the description layout_dump.exe wrote down (read at start,
// one small file): the same classes, styles, bounds, fonts, texts, rows,
// menu bar and tool tips, created in the same order, then shown and
// painted. None of ZEPX's code is in it; what zepx.exe takes beyond it is
// what the program itself adds.
//
//   bare_window.exe FILE
//
// Built with the common controls 6 manifest, as zepx.exe is.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
  }
  return out;
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> f;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', pos);
    f.push_back(line.substr(pos, tab == std::string::npos ? std::string::npos : tab - pos));
    if (tab == std::string::npos) return f;
    pos = tab + 1;
  }
}

long Num(const std::string& s) { return std::strtol(s.c_str(), nullptr, 10); }
DWORD Hex(const std::string& s) { return static_cast<DWORD>(std::strtoul(s.c_str(), nullptr, 16)); }

LRESULT CALLBACK WindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

bool ReadLines(const wchar_t* path, std::vector<std::string>& lines) {
  HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  std::string bytes(GetFileSize(f, nullptr), '\0');
  DWORD got = 0;
  const bool ok = ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
  CloseHandle(f);
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(pos, end - pos));
    pos = end + 1;
  }
  return ok;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&icc);
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> lines;
  if (argc != 2 || !ReadLines(argv[1], lines)) return 2;

  HWND top = nullptr;
  std::vector<HWND> windows;  // [0] the main window
  std::vector<HFONT> fonts;
  std::vector<HMENU> menus;  // the menu of each depth being filled
  HWND tip = nullptr;
  for (const std::string& line : lines) {
    const std::vector<std::string> f = Split(line);
    const std::string& kind = f[0];
    if (kind == "form" && f.size() == 7) {
      const std::wstring cls = Wide(Unescape(f[1]));
      WNDCLASSW wc = {};
      wc.lpfnWndProc = WindowProc;
      wc.hInstance = inst;
      wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = cls.c_str();
      RegisterClassW(&wc);
      top = CreateWindowExW(Hex(f[3]), cls.c_str(), Wide(Unescape(f[6])).c_str(), Hex(f[2]), CW_USEDEFAULT,
                            CW_USEDEFAULT, Num(f[4]), Num(f[5]), nullptr, nullptr, inst, nullptr);
      if (!top) return 1;
      windows.push_back(top);
    } else if (kind == "menu" && f.size() == 7 && top) {
      const std::size_t depth = static_cast<std::size_t>(Num(f[1]));
      if (menus.empty()) menus.push_back(CreateMenu());
      menus.resize(depth + 1);
      const std::wstring text = Wide(Unescape(f[6]));
      MENUITEMINFOW mi{};
      mi.cbSize = sizeof mi;
      mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
      mi.fType = Hex(f[3]);
      mi.fState = Hex(f[4]);
      mi.wID = static_cast<UINT>(Num(f[5]));
      mi.dwTypeData = const_cast<wchar_t*>(text.c_str());
      HMENU sub = nullptr;
      if (Num(f[2])) {
        sub = CreatePopupMenu();
        mi.fMask |= MIIM_SUBMENU;
        mi.hSubMenu = sub;
      }
      InsertMenuItemW(menus[depth], static_cast<UINT>(GetMenuItemCount(menus[depth])), TRUE, &mi);
      if (sub) menus.push_back(sub);
    } else if (kind == "font" && f.size() == 7) {
      fonts.push_back(CreateFontW(Num(f[2]), 0, 0, 0, Num(f[3]), FALSE, FALSE, FALSE, static_cast<DWORD>(Num(f[4])),
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, static_cast<DWORD>(Num(f[5])),
                                  DEFAULT_PITCH | FF_DONTCARE, Wide(Unescape(f[6])).c_str()));
    } else if (kind == "window" && f.size() == 12 && top) {
      if (!menus.empty() && !GetMenu(top)) SetMenu(top, menus[0]);
      const auto parent = static_cast<std::size_t>(Num(f[1]));
      const long font = Num(f[9]);
      HWND w = CreateWindowExW(Hex(f[4]), Wide(Unescape(f[2])).c_str(), Wide(Unescape(f[11])).c_str(), Hex(f[3]),
                               Num(f[5]), Num(f[6]), Num(f[7]), Num(f[8]), windows.at(parent),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(Num(f[10]))), inst, nullptr);
      if (w && font >= 0) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.at(static_cast<std::size_t>(font))), FALSE);
      windows.push_back(w);
    } else if ((kind == "item" || kind == "select" || kind == "check" || kind == "range" || kind == "tip") &&
               f.size() >= 3) {
      HWND w = windows.at(static_cast<std::size_t>(Num(f[1])));
      wchar_t cls[32] = {};
      GetClassNameW(w, cls, 32);
      const bool list = !lstrcmpiW(cls, L"ListBox");
      const std::wstring text = Wide(Unescape(f[2]));
      if (kind == "item") {
        SendMessageW(w, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      } else if (kind == "select") {
        SendMessageW(w, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(Num(f[2])), 0);
      } else if (kind == "check") {
        SendMessageW(w, BM_SETCHECK, static_cast<WPARAM>(Num(f[2])), 0);
      } else if (kind == "range" && f.size() == 5) {
        SendMessageW(w, UDM_SETRANGE32, static_cast<WPARAM>(Num(f[2])), Num(f[3]));
        SendMessageW(w, UDM_SETPOS32, 0, Num(f[4]));
      } else if (kind == "tip") {
        if (!tip) {
          tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, top, nullptr, inst, nullptr);
          if (!fonts.empty()) SendMessageW(tip, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[0]), FALSE);
        }
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = top;
        ti.uId = reinterpret_cast<UINT_PTR>(w);
        ti.lpszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
      }
    }
  }
  if (!top) return 1;
  if (!menus.empty() && !GetMenu(top)) SetMenu(top, menus[0]);
  ShowWindow(top, SW_SHOW);
  UpdateWindow(top);
  LocalFree(argv);

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(top, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
