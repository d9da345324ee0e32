// cp932 <-> UTF-16 at the Win32 display boundary. Code page 932 is named
// explicitly so that Japanese shows correctly whatever the system ANSI code
// page is.
#pragma once

#include <string>

namespace zepx::win32 {

std::wstring Wide(const std::string& cp932);
std::string Narrow(const std::wstring& utf16);

}  // namespace zepx::win32
