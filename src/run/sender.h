// What the key and mouse senders share: the system services they call, the
// wait of the run, the batch list (line text and resolved target) and the
// window's view of the run settings.
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
  IRunView& view;

  // Waits one of the after-command delays, its box shown in blue meanwhile.
  void WaitShowing(Delay d) {
    view.ShowDelayActive(d, true);
    waiter.WaitMs(view.DelayMs(d));
    view.ShowDelayActive(d, false);
  }
};

}  // namespace zepx
