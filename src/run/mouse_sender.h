// Mouse sending: clicks, double clicks and drag and drop at the point of a
// mouse line. _event and SendInput press the real buttons with mouse_event
// after moving the real cursor there; WinMessage posts the button messages
// to the window under the point (in its client coordinates) and moves the
// real cursor too. The cursor is confined to the point while the buttons
// act, so that a user's hand on the mouse cannot spoil a drag, and is put
// back where it was afterwards.
#pragma once

#include "model/command_line.h"
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
  SendContext& ctx_;
};

}  // namespace zepx
