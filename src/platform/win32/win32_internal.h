// Shared by the Win32 platform's source files only.
#pragma once

// Our headers come first: platform/types.h names constants that
// <windows.h> defines as macros.
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"

#include <windows.h>

// <windows.h> renames MessageBox to MessageBoxA; the interface method keeps
// its plain name.
#undef MessageBox

#include <string>

namespace zepx::win32 {

inline HWND H(Hwnd w) { return reinterpret_cast<HWND>(w); }
inline Hwnd N(HWND w) { return reinterpret_cast<Hwnd>(w); }

// True when the system ANSI code page is cp932, so that the "A" functions
// read our bytes as they are meant.
inline bool AnsiIsCp932() { return ::GetACP() == 932; }

// Null stays null (the "any" of FindWindow).
inline const wchar_t* WideOrNull(const char* cp932, std::wstring& storage) {
  if (!cp932) return nullptr;
  storage = Wide(cp932);
  return storage.c_str();
}

// A function of a system library that only some paths need, looked up
// when first needed instead of imported, so that starting the program does
// not load the library (under Wine comdlg32 and ole32 bring combase, rpcrt4
// and winspool with them). They are known DLLs: the system's copies are
// the ones loaded, whatever the folder.
template <typename F>
F SystemProc(const wchar_t* dll, const char* name) {
  HMODULE m = LoadLibraryW(dll);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(m, name))) : nullptr;
}

// The class name of our hidden windows, registered once.
const wchar_t* SinkClassName();

}  // namespace zepx::win32
