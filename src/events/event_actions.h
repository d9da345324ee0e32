// The actions of the two timed events: five slots per event, each the
// stored index of an entry of the settings dialog's action selectors, run
// in order. An action is known by its entry's text, so the two repeated
// entries at the end of the list act as the ones they repeat, and an index
// a selector does not have runs nothing.
//
// Called by a clock label's alarm, by a run that reaches an event line
// (the run goes on once the last slot has finished), and by the settings
// dialog's Test buttons. Every action runs to its end before the next: the
// countdown dialog is modal (its message loop runs, so clocks and a run's
// timers go on), a run started here returns when it ends, and the waits
// block the whole program without processing a message.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/event_slots.h"
#include "settings/settings.h"

namespace zepx {

class EventActions {
 public:
  struct Hooks {
    std::function<void()> run;        // the Run button's operation; returns when the run ends
    std::function<void()> stop;       // back to idle, safe when idle
    std::function<void()> countdown;  // the dial-up countdown dialog, modal
    std::function<void()> close;      // the main window's close
    std::function<void(const std::string&)> status;  // the main window's status line
  };

  EventActions(const Settings& settings, Platform& platform, Hooks hooks);

  // Runs the five slots of event 1 or 2, as the settings hold them now.
  void Execute(int event) { Run(event, false); }
  // The event's alarm at `minute` ("hh:nn") passed unseen: when the event
  // catches up, its slots run now, saying so on the status line, all but
  // the dial-up and power ones (a forced shutdown just after the machine
  // woke would lose the user's work).
  void ExecuteLate(int event, const std::string& minute);
  // 2 restart, 4 suspend, 5 hibernate.
  void PowerAction(int mode);
  // Forced shutdown; the calls that fail are named on standard output.
  void ForcedShutdown();

  // Told the index each slot is run with, so that an open settings dialog
  // can show it in the slot's selector.
  std::function<void(int event, int slot, std::int32_t index)> OnSlotRun;

 private:
  void Run(int event, bool late);
  void RunSlots(int event, bool late);
  void RunAction(const std::string& text, int event, int slot);
  IPower::Handle EnableShutdownPrivilege(bool report);

  const Settings& settings_;
  Platform& platform_;
  Hooks hooks_;
  int depth_ = 0;              // Execute calls on the stack (one may run inside another's dialog)
  bool close_after_ = false;   // a shutdown asked for the close
};

}  // namespace zepx
