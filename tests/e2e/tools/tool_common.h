// Helpers shared by the end-to-end tool programs (probe, zepxctl, lifectl).
// Header-only on purpose: every .cpp in this folder becomes a program of
// its own.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace tool {

// A busy target (a run sending input, a modal loop) must not hang a test.
constexpr DWORD kSendTimeoutMs = 3000;

inline std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr,
                      nullptr);
  return s;
}

// One WriteFile per line, so lines of several processes never interleave
// and nothing waits in a buffer when the process is ended.
inline void WriteLine(DWORD std_handle, const std::string& s) {
  std::string line = s + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(std_handle), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
}
inline void Out(const std::string& s) { WriteLine(STD_OUTPUT_HANDLE, s); }

inline std::string Handle(HWND h) {
  return std::to_string(static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(h)));
}

// Arguments name line breaks and tabs as "\r", "\n", "\t"; "\\" is a
// backslash.
inline std::wstring Unescape(const std::wstring& s) {
  std::wstring r;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'\\' && i + 1 < s.size()) {
      wchar_t c = s[++i];
      if (c == L'r') r += L'\r';
      else if (c == L'n') r += L'\n';
      else if (c == L't') r += L'\t';
      else r += c;
    } else {
      r += s[i];
    }
  }
  return r;
}

// The window's text through WM_GETTEXT (marshalled across processes), with a
// timeout; the text the window manager keeps when the owner does not answer.
inline std::wstring WindowText(HWND h) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &len)) {
    wchar_t buf[1024];
    int n = InternalGetWindowText(h, buf, 1024);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
  }
  std::wstring w(len + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(&w[0]), SMTO_ABORTIFHUNG,
                      kSendTimeoutMs, &got);
  w.resize(got);
  return w;
}

// Item i of a list or combo box: LEN_MSG and TEXT_MSG are LB_GETTEXTLEN and
// LB_GETTEXT, or CB_GETLBTEXTLEN and CB_GETLBTEXT. Empty on error.
inline std::wstring ItemText(HWND box, UINT len_msg, UINT text_msg, DWORD_PTR i) {
  DWORD_PTR len = 0;
  SendMessageTimeoutW(box, len_msg, i, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &len);
  if (static_cast<LONG_PTR>(len) < 0) return {};
  std::wstring w(len + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(box, text_msg, i, reinterpret_cast<LPARAM>(&w[0]), SMTO_ABORTIFHUNG,
                      kSendTimeoutMs, &got);
  if (static_cast<LONG_PTR>(got) < 0) got = 0;
  w.resize(got);
  return w;
}

inline std::wstring ClassOf(HWND h) {
  wchar_t buf[256];
  int n = GetClassNameW(h, buf, 256);
  return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

// Window classes compare without regard to case ("Static", "STATIC").
inline bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

inline DWORD PidOf(HWND h) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  return pid;
}

inline BOOL CALLBACK CollectWindow(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

inline std::vector<HWND> TopLevels() {
  std::vector<HWND> r;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&r));
  return r;
}

// Every descendant, in EnumChildWindows order.
inline std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> r;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&r));
  return r;
}

inline bool IsHandleArg(const std::wstring& which) { return !which.empty() && which[0] == L'#'; }

// "#<decimal handle>" when that window exists; nullptr otherwise.
inline HWND HandleArg(const std::wstring& which) {
  HWND h = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(wcstoull(which.c_str() + 1, nullptr, 10)));
  return IsWindow(h) ? h : nullptr;
}

// A top-level window named by "#<handle>" or by its exact caption (the
// first in z-order), without waiting.
inline HWND FindTopLevel(const std::wstring& which) {
  if (IsHandleArg(which)) return HandleArg(which);
  for (HWND h : TopLevels())
    if (WindowText(h) == which) return h;
  return nullptr;
}

}  // namespace tool
