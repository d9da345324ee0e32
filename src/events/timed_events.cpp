#include "events/timed_events.h"

namespace zepx {

TimedEvents::TimedEvents(TimedEventControls event1, TimedEventControls event2,
                         std::function<void(int event)> fire,
                         std::function<void(int event, const std::string& minute)> fire_late)
    : events_{event1, event2}, fire_(std::move(fire)), fire_late_(std::move(fire_late)) {
  for (int event = 1; event <= 2; ++event) {
    TimedEventControls& e = Of(event);
    e.check.OnClick = [this, event] { CheckBoxClick(event); };
    e.hour.OnChange = [this, event] { TimeChange(event); };
    e.minute.OnChange = [this, event] { TimeChange(event); };
    e.clock.OnAlarm = [this, event](TClockLabel&, int) { fire_(event); };
    if (fire_late_)
      e.clock.OnMissedAlarm = [this, event](TClockLabel&, int, const std::string& minute) { fire_late_(event, minute); };
    e.clock.SetStyle(ts24HoursJ);
    e.hour.Hint = "24時間表記で指定";
    // Off until checked: no alarm, and the time fields with it.
    for (TControl* c : {static_cast<TControl*>(&e.hour), static_cast<TControl*>(&e.hour_label),
                        static_cast<TControl*>(&e.minute), static_cast<TControl*>(&e.minute_label)})
      c->SetEnabled(e.check.Checked());
  }
}

std::string TimedEvents::TwoDigits(std::int64_t v) {
  return v < 10 ? "0" + std::to_string(v) : std::to_string(v);
}

void TimedEvents::Arm(TimedEventControls& e) {
  if (!e.check.Checked()) {
    e.clock.EventList.clear();
    return;
  }
  // Read before the list is touched: reading a field that holds no number
  // puts its minimum there, which runs this again from its change handler.
  const std::string entry = TwoDigits(e.hour.Value()) + ":" + TwoDigits(e.minute.Value());
  e.clock.EventList.assign(1, entry);
}

void TimedEvents::CheckBoxClick(int event) {
  TimedEventControls& e = Of(event);
  const bool on = e.check.Checked();
  e.hour.SetEnabled(on);
  e.hour_label.SetEnabled(on);
  e.minute.SetEnabled(on);
  e.minute_label.SetEnabled(on);
  Arm(e);
}

void TimedEvents::TimeChange(int event) { Arm(Of(event)); }

void TimedEvents::StartClocks() {
  for (TimedEventControls& e : events_) e.clock.SetInterval(1000);
}

void TimedEvents::StopClocks() {
  for (TimedEventControls& e : events_) e.clock.SetInterval(0);
}

}  // namespace zepx
