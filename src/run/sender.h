// What the key and mouse senders share: the system services they call, the
// wait of the run, the batch list (the mouse sender writes the targets of
// its rows and selects a drag's drop row), the run settings and the display.
#pragma once

#include "model/batch.h"
#include "platform/platform.h"
#include "run/run_view.h"
#include "run/waiter.h"

namespace zepx {

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
