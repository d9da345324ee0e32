// What the key and mouse senders share: the system services they call, the
// wait of the run, the batch list (the mouse sender writes the targets of
// its rows and selects a drag's drop row), the run settings and the display.
#pragma once

#include <stdexcept>

#include "model/batch.h"
#include "platform/platform.h"
#include "run/run_view.h"
#include "run/waiter.h"

namespace zepx {

// Thrown by a sender when a line cannot go where it means to: the run
// stops where it is, that line selected, and the status says why.
class RunHalted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct SendContext {
  IInput& input;
  IWindows& windows;
  IMessageLoop& loop;
  Waiter& waiter;
  Batch& batch;
  IRunSettings& settings;
  IRunDisplay& display;

  // Waits one of the after-command delays, its box shown in blue meanwhile.
  void WaitShowing(Delay d) {
    display.ShowDelayActive(d, true);
    waiter.WaitMs(settings.DelayMs(d));
    display.ShowDelayActive(d, false);
  }
};

}  // namespace zepx
