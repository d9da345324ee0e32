#include "events/cut_line.h"

namespace zepx {

CutLineCountdown::CutLineCountdown(IMessageLoop& loop, IDialUp& ras, Hooks hooks)
    : CutTimer1("CutTimer1", loop, 1000), dialup(ras), hooks_(std::move(hooks)) {
  CutTimer1.OnTimer = [this] { Tick(); };
}

void CutLineCountdown::Start() {
  count_ = 9;
  hooks_.show_count(count_);
  CutTimer1.SetEnabled(true);
}

void CutLineCountdown::Tick() {
  --count_;
  hooks_.show_count(count_);
  if (count_ > 0) return;
  CutTimer1.SetEnabled(false);
  hooks_.close_dialog();
  hooks_.stop_macro();
  dialup.HangUpAllConnections();
}

void CutLineCountdown::Disconnect() {
  CutTimer1.SetEnabled(false);
  dialup.HangUpAllConnections();
  hooks_.stop_macro();
  hooks_.close_dialog();
}

void CutLineCountdown::Cancel() {
  // The close box takes this way too: a countdown left running behind a
  // hidden dialog would hang up with nobody watching.
  CutTimer1.SetEnabled(false);
  hooks_.close_dialog();
}

}  // namespace zepx
