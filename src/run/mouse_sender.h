// Mouse sending: clicks, double clicks and drag and drop at the point of a
// mouse line. _event and SendInput press the real buttons with mouse_event
// after moving the real cursor there; WinMessage posts the button messages
// to the window under the point (in its client coordinates) and moves the
// real cursor too. The cursor is confined to the point while the buttons
// act, so that a user's hand on the mouse cannot spoil a drag, and is put
// back where it was afterwards.
#pragma once

#include "run/sender.h"

namespace zepx {

class MouseSender {
 public:
  explicit MouseSender(SendContext& ctx) : ctx_(ctx) {}

  // Sends the line of `row`, which the run has selected; returns after its
  // last wait.
  void SendMouseCommand(int row);

 private:
  void Drag(int row, bool left);
  SendContext& ctx_;
};

}  // namespace zepx
