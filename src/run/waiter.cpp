#include "run/waiter.h"

#include <algorithm>

namespace zepx {

Waiter::Waiter(IMessageLoop& loop) : WaitTimer("WaitTimer", loop, 1000), loop_(loop) {
  WaitTimer.OnTimer = [this] { WaitTimerTimer(); };
  WaitTimer.Precise = true;
}

void Waiter::WaitMs(std::int32_t ms) {
  // A negative wait can only come from a hand-edited file: no wait at all.
  if (ms <= 0) {
    loop_.ProcessPendingMessages();
    return;
  }

  Pending wait{loop_.NowMs() + ms, false};
  waits_.push_back(&wait);
  WaitTimer.SetEnabled(false);
  WaitTimer.SetInterval(static_cast<std::uint32_t>(ms));
  WaitTimer.SetEnabled(true);

  // Hands the timer back to the wait this one interrupted, also when a
  // handler throws out of the message loop.
  struct Unwind {
    Waiter& w;
    Pending* p;
    ~Unwind() {
      w.waits_.erase(std::remove(w.waits_.begin(), w.waits_.end(), p), w.waits_.end());
      w.WaitTimer.SetEnabled(false);
      w.RearmOuter();
    }
  };
  {
    Unwind unwind{*this, &wait};
    while (!wait.elapsed) {
      if (!loop_.ProcessOneMessage()) {
        if (OnQuit) OnQuit();
        EndAll();
        break;
      }
    }
  }
  loop_.ProcessPendingMessages();
}

void Waiter::EndAll() {
  ++end_count_;
  WaitTimer.SetEnabled(false);
  for (Pending* p : waits_) p->elapsed = true;
}

void Waiter::RearmOuter() {
  if (waits_.empty()) return;
  Pending* outer = waits_.back();
  if (outer->elapsed) return;
  const std::int64_t left = outer->deadline - loop_.NowMs();
  if (left <= 0) {
    outer->elapsed = true;
    return;
  }
  WaitTimer.SetInterval(static_cast<std::uint32_t>(left));
  WaitTimer.SetEnabled(true);
}

void Waiter::WaitTimerTimer() {
  WaitTimer.SetEnabled(false);
  if (!waits_.empty()) waits_.back()->elapsed = true;
}

}  // namespace zepx
