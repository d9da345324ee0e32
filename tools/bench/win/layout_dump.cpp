// layout_dump.exe: writes down the main window exactly as the program makes
// it, for bare_window.exe to make the same window without any of the
// program's code. It starts the program as zepx.exe does (the real
// platform, the native windows, the main window shown) and reads back from
// the system what was made: the window, its menu bar, every child window in
// creation order (class, styles, bounds in the parent's client area, font,
// text, items, check state) and the tool tips. Reading the real windows
// rather than the program's own tables leaves nothing to keep in step.
//
//   layout_dump.exe FILE
//
// FILE: UTF-8, one record a line, fields separated by tabs; texts with
// "\\", "\t", "\r" and "\n" escaped. Windows are numbered from 0 (the main
// window) in the order of the "window" lines:
//   form  CLASS STYLE EXSTYLE WIDTH HEIGHT TEXT        (the outer size)
//   menu  DEPTH POPUP TYPE STATE ID TEXT               (depth first)
//   font  N HEIGHT WEIGHT CHARSET QUALITY FACE
//   window PARENT CLASS STYLE EXSTYLE X Y W H FONT ID TEXT   (FONT -1: none)
//   item  WINDOW TEXT                                  (list and combo rows)
//   select WINDOW INDEX
//   check WINDOW STATE
//   range WINDOW LOW HIGH POS                          (up-down controls)
//   tip   WINDOW TEXT                                  (the main window's tool tip)
// Styles are hexadecimal; WS_VISIBLE and WS_EX_LAYERED of the form are
// left out (the program shows it concealed first).
#include "desktop_program.h"

#include <windows.h>

#include <commctrl.h>

#include "bench_support.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string Field(const std::wstring& w) {
  std::string out;
  for (char c : Utf8(w)) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

std::wstring TextOf(HWND w) {
  const int n = GetWindowTextLengthW(w);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  s.resize(static_cast<std::size_t>(std::max(GetWindowTextW(w, s.data(), n + 1), 0)));
  return s;
}

std::wstring ClassOf(HWND w) {
  wchar_t c[128] = {};
  GetClassNameW(w, c, 128);
  return c;
}

class Dump {
 public:
  explicit Dump(FILE* f) : f_(f) {}

  void Form(HWND top) {
    RECT r{};
    GetWindowRect(top, &r);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE)) & ~WS_VISIBLE;
    const DWORD ex = static_cast<DWORD>(GetWindowLongW(top, GWL_EXSTYLE)) & ~WS_EX_LAYERED;
    std::fprintf(f_, "form\t%s\t%lx\t%lx\t%ld\t%ld\t%s\n", Field(ClassOf(top)).c_str(), style, ex,
                 r.right - r.left, r.bottom - r.top, Field(TextOf(top)).c_str());
    index_[top] = 0;
    if (HMENU m = GetMenu(top)) Menu(m, 0);
    EnumChildWindows(top, Child, reinterpret_cast<LPARAM>(this));
    Tips(top);
  }

 private:
  void Menu(HMENU m, int depth) {
    for (int i = 0, n = GetMenuItemCount(m); i < n; ++i) {
      wchar_t text[256] = {};
      MENUITEMINFOW mi{};
      mi.cbSize = sizeof mi;
      mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
      mi.dwTypeData = text;
      mi.cch = 255;
      if (!GetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &mi)) continue;
      std::fprintf(f_, "menu\t%d\t%d\t%x\t%x\t%u\t%s\n", depth, mi.hSubMenu ? 1 : 0, mi.fType,
                   mi.fState, mi.wID, Field(text).c_str());
      if (mi.hSubMenu) Menu(mi.hSubMenu, depth + 1);
    }
  }

  static BOOL CALLBACK Child(HWND w, LPARAM self) {
    reinterpret_cast<Dump*>(self)->Window(w);
    return TRUE;
  }

  int FontIndex(HWND w) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
    if (!font) return -1;
    auto it = fonts_.find(font);
    if (it != fonts_.end()) return it->second;
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    const int n = static_cast<int>(fonts_.size());
    fonts_[font] = n;
    std::fprintf(f_, "font\t%d\t%ld\t%ld\t%d\t%d\t%s\n", n, lf.lfHeight, lf.lfWeight, lf.lfCharSet,
                 lf.lfQuality, Field(lf.lfFaceName).c_str());
    return n;
  }

  void Window(HWND w) {
    // A combo box's edit is its own; only the windows of the program count.
    const auto parent = index_.find(GetParent(w));
    if (parent == index_.end() || !lstrcmpiW(ClassOf(GetParent(w)).c_str(), L"ComboBox")) return;
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    const int font = FontIndex(w);
    const int me = static_cast<int>(index_.size());
    index_[w] = me;
    const std::wstring cls = ClassOf(w);
    std::fprintf(f_, "window\t%d\t%s\t%lx\t%lx\t%ld\t%ld\t%ld\t%ld\t%d\t%ld\t%s\n", parent->second,
                 Field(cls).c_str(), static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)),
                 static_cast<DWORD>(GetWindowLongW(w, GWL_EXSTYLE)), r.left, r.top, r.right - r.left,
                 r.bottom - r.top, font, static_cast<long>(GetDlgCtrlID(w)), Field(TextOf(w)).c_str());
    const bool list = !lstrcmpiW(cls.c_str(), L"ListBox");
    const bool combo = !lstrcmpiW(cls.c_str(), L"ComboBox");
    if (list || combo) {
      const LRESULT n = SendMessageW(w, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < n; ++i) {
        std::wstring row(static_cast<std::size_t>(SendMessageW(w, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        row.resize(static_cast<std::size_t>(std::max<LRESULT>(
            SendMessageW(w, list ? LB_GETTEXT : CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(row.data())), 0)));
        std::fprintf(f_, "item\t%d\t%s\n", me, Field(row).c_str());
      }
      const LRESULT sel = SendMessageW(w, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
      if (sel >= 0) std::fprintf(f_, "select\t%d\t%ld\n", me, static_cast<long>(sel));
    } else if (!lstrcmpiW(cls.c_str(), L"Button")) {
      const LRESULT c = SendMessageW(w, BM_GETCHECK, 0, 0);
      if (c) std::fprintf(f_, "check\t%d\t%ld\n", me, static_cast<long>(c));
    } else if (!lstrcmpiW(cls.c_str(), UPDOWN_CLASSW)) {
      int lo = 0, hi = 0;
      SendMessageW(w, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
      std::fprintf(f_, "range\t%d\t%d\t%d\t%ld\n", me, lo, hi,
                   static_cast<long>(SendMessageW(w, UDM_GETPOS32, 0, 0)));
    }
  }

  struct TipSearch {
    HWND owner;
    HWND tip = nullptr;
  };
  static BOOL CALLBACK FindTip(HWND w, LPARAM lp) {
    auto& s = *reinterpret_cast<TipSearch*>(lp);
    if (GetWindow(w, GW_OWNER) != s.owner || lstrcmpiW(ClassOf(w).c_str(), TOOLTIPS_CLASSW)) return TRUE;
    s.tip = w;
    return FALSE;
  }

  void Tips(HWND top) {
    TipSearch s{top};
    EnumThreadWindows(GetCurrentThreadId(), FindTip, reinterpret_cast<LPARAM>(&s));
    if (!s.tip) return;
    for (LRESULT i = 0, n = SendMessageW(s.tip, TTM_GETTOOLCOUNT, 0, 0); i < n; ++i) {
      wchar_t text[1024] = {};
      TTTOOLINFOW ti{};
      ti.cbSize = sizeof ti;
      ti.lpszText = text;
      if (!SendMessageW(s.tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&ti))) continue;
      const auto it = index_.find(reinterpret_cast<HWND>(ti.uId));
      if (it != index_.end()) std::fprintf(f_, "tip\t%d\t%s\n", it->second, Field(text).c_str());
    }
  }

  FILE* f_;
  std::map<HWND, int> index_;
  std::map<HFONT, int> fonts_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fwprintf(stderr, L"usage: layout_dump FILE\n");
    return 2;
  }
  zepx::win32::DesktopProgram desktop;
  desktop.program.Start();
  Pump();
  zepx::TMainForm& form = *desktop.program.MainForm;
  FILE* f = _wfopen(argv[1], L"wb");
  if (!f) return 1;
  Dump(f).Form(reinterpret_cast<HWND>(form.Handle()));
  const bool ok = std::fclose(f) == 0;
  form.Close();
  Pump();
  return ok ? 0 : 1;
}
