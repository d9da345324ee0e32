// Where a point bound to a top-level window's client area is on the screen
// now, and the other way round for the picker. The point is kept in 96-DPI
// client units, so that it stays where it was in the window when the
// window moves, or opens on a screen of another scale.
#pragma once

#include <optional>
#include <string>

#include "model/command_line.h"
#include "platform/platform.h"

namespace zepx {

struct BoundLocation {
  Hwnd window = 0;  // the top-level window found
  Point screen;     // the point on the screen, in the system's pixels
};

// The stored handle while it still names a visible window with the stored
// title and class; else the first visible top-level window in z-order with
// exactly that title and class. A minimised window is restored first.
// Nothing when no such window exists.
std::optional<BoundLocation> LocateBoundPoint(IWindows& windows, const BoundPoint& p);

// A screen point as a bound point of the top-level window under it (title,
// class, handle, and the point in 96-DPI client units); nothing when no
// window is there.
std::optional<BoundPoint> BoundPointAt(IWindows& windows, Point screen);

// The first visible top-level window in z-order with exactly this title
// and, unless class_name is null, this class; 0 when there is none. The
// system's own search ignores case and finds hidden windows too.
Hwnd FindExactWindow(IWindows& windows, const std::string& title, const std::string* class_name);
bool IsExactWindow(IWindows& windows, Hwnd w, const std::string& title, const std::string* class_name);

// How a status names the window of a bound point: "title@@class".
std::string BoundWindowName(const BoundPoint& p);

}  // namespace zepx
