// WaitMs: the one pause of a run. A window timer plus blocking message
// processing, so that while a run waits the window, the hot keys, the tray
// menu and every other timer stay live, and a Stop ends the wait at once.
//
// Waits may nest (a handler that runs during a wait may wait itself): each
// has its own end flag and deadline, the one WaitTimer serves the innermost
// and is handed back to the outer one when it ends, so no wait is ever left
// without its timer.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/platform.h"
#include "ui/controls.h"

namespace zepx {

class Waiter {
 public:
  explicit Waiter(IMessageLoop& loop);

  TTimer WaitTimer;

  // Waits `ms` milliseconds while processing messages; 0 or less only
  // processes what is pending.
  void WaitMs(std::int32_t ms);
  // Ends every wait in progress, nested ones included.
  void EndAll();
  // How often EndAll ran: a caller whose wait was cut short sees it change.
  unsigned EndCount() const { return end_count_; }
  // The application was told to quit while a wait was blocked.
  std::function<void()> OnQuit;

 private:
  struct Pending {
    std::int64_t deadline;  // on the message loop's clock
    bool elapsed;
  };
  void WaitTimerTimer();
  void RearmOuter();

  IMessageLoop& loop_;
  std::vector<Pending*> waits_;  // innermost last
  unsigned end_count_ = 0;
};

}  // namespace zepx
