// Arming the two timed events from the main window's controls: an enable
// check box, an hour and a minute field with their labels, and the clock
// label whose alarm list holds the event's one entry "hh:mm" while the
// check box is on and nothing while it is off. The fields and their labels
// are enabled only while the check box is on. The clock's alarm runs the
// event's actions, whatever entry matched.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "events/clock_label.h"
#include "ui/controls.h"

namespace zepx {

struct TimedEventControls {
  TCheckBox& check;
  TWinSpinEdit& hour;
  TLabel& hour_label;
  TWinSpinEdit& minute;
  TLabel& minute_label;
  TClockLabel& clock;
};

class TimedEvents {
 public:
  // Wires the controls of both events; fire(event) runs an event's actions,
  // fire_late(event, "hh:nn") those of an alarm the clock let pass.
  TimedEvents(TimedEventControls event1, TimedEventControls event2, std::function<void(int event)> fire,
              std::function<void(int event, const std::string& minute)> fire_late = nullptr);

  void CheckBoxClick(int event);  // CheckBox1Click, CheckBox2Click
  void TimeChange(int event);     // SpinEdit3Change, SpinEdit4Change; SpinEdit2Change, SpinEdit5Change
  // Both clocks tick every second from now on, or no more.
  void StartClocks();
  void StopClocks();

  // "07" for 7, "12" for 12.
  static std::string TwoDigits(std::int64_t v);

 private:
  TimedEventControls& Of(int event) { return events_[event == 2 ? 1 : 0]; }
  void Arm(TimedEventControls& e);
  std::array<TimedEventControls, 2> events_;
  std::function<void(int)> fire_;
  std::function<void(int, const std::string&)> fire_late_;
};

}  // namespace zepx
