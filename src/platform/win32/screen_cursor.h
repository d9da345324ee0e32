// The cursor the program shows over all of its windows while the picker
// runs (0: none, each window shows its own). The platform sets it; the
// native forms answer WM_SETCURSOR with it.
#pragma once

#include <cstdint>

namespace zepx::win32 {

std::uint32_t ScreenCursorId();

}  // namespace zepx::win32
