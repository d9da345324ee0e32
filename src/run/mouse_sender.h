// Mouse sending: clicks, double clicks and drag and drop at the point of a
// mouse line. _event and SendInput press the real buttons with mouse_event
// after moving the real cursor there; WinMessage posts the button messages
// to the window under the point (in its client coordinates) and moves the
// real cursor too. The cursor is confined to the point while the buttons
// act, so that a user's hand on the mouse cannot spoil a drag, and is put
// back where it was afterwards.
//
// A point bound to a window is found where that window is now. With
// _event and SendInput the window is brought to the front first, and a
// point that another window still covers stops the run; WinMessage posts
// to the deepest child window under the point. A window that is not there
// stops the run too: nothing is clicked into whatever else is at the point.
#pragma once

#include <optional>

#include "model/command_line.h"
#include "run/bound_point.h"
#include "run/sender.h"

namespace zepx {

class MouseSender {
 public:
  explicit MouseSender(SendContext& ctx) : ctx_(ctx) {}

  // Sends the mouse line `cmd` of `row`, which the run has selected, at the
  // point the display shows for it; with WinMessage the window under the
  // point becomes the row's target. Returns after its last wait.
  void SendMouseCommand(const CommandLine& cmd, int row);

 private:
  void Drag(int row, bool left);
  // Where a window-bound row's point is now; nothing for a screen point.
  // Throws RunHalted, the row selected, when its window is missing.
  std::optional<BoundLocation> Locate(int row);
  void BringToFront(const std::optional<BoundLocation>& at);
  // Throws RunHalted when another top-level window covers the point.
  void CheckUncovered(int row, const std::optional<BoundLocation>& at);
  SendContext& ctx_;
};

}  // namespace zepx
