// The dial-up countdown behind the countdown dialog: nine seconds counted
// down by CutTimer1, then the run stopped and every connection hung up; the
// disconnect button does that at once, cancel (also Escape and the close
// box) calls it all off. The dialog shows the count and closes itself when
// told.
#pragma once

#include <functional>

#include "events/dialup.h"
#include "platform/platform.h"
#include "ui/controls.h"

namespace zepx {

class CutLineCountdown {
 public:
  struct Hooks {
    std::function<void(int seconds)> show_count;
    std::function<void()> close_dialog;
    std::function<void()> stop_macro;  // safe when no run is active
  };

  CutLineCountdown(IMessageLoop& loop, IDialUp& ras, Hooks hooks);

  TTimer CutTimer1;  // 1000 ms, off until the dialog is shown
  DialUp dialup;

  int Count() const { return count_; }
  void Start();       // the dialog is shown: 9, and the timer on
  void Tick();        // CutTimer1Timer
  void Disconnect();  // BitBtn1Click
  void Cancel();      // BitBtn2Click

 private:
  Hooks hooks_;
  int count_ = 9;
};

}  // namespace zepx
