// TClockLabel: a label that shows the time, refreshed by a timer of its own,
// and raises OnAlarm in the first tick of a minute that one of the entries
// of its alarm list EventList names ("hh:mm", anything after the fifth
// character ignored). The main window has two, the schedulers of the two
// timed events.
//
// A tick (the timer, construction, or a change of Style or the custom
// format): the caption, then the date label when there is one, then the
// alarms, and the five-minute time signal. The alarms are looked at once
// per minute: the minute is stored as checked before OnAlarm runs, so a
// tick that arrives while the alarm's handler is still busy (inside a modal
// dialog it shows, or a run it starts) does not raise it again; and only
// the first entry that names the minute fires. The minute of construction
// counts as checked. A clock set back makes an earlier minute new again.
//
// OnMissedAlarm, when set, catches up on what a sleeping or busy machine
// let pass: at a tick, an entry whose minute lies after the last checked
// date and minute, before the current one and at most 60 minutes back is
// raised late, once for that day and minute, and never for a day and minute
// that has raised an alarm already.
#pragma once

#include <bitset>
#include <set>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "ui/controls.h"

namespace zepx {

enum TTimeStyle { ts12Hours, ts12HoursJ, ts24Hours, ts24HoursJ, tsCustom };
enum TDateStyle { dsShort, dsJap, dsJapW, dsGengo, dsGengoW };

class TClockLabel : public TLabel {
 public:
  TClockLabel(std::string name, IMessageLoop& loop, IClock& clock);

  // Milliseconds between ticks; 0 (the start value) stops the timer.
  std::uint32_t Interval() const { return timer_.Interval(); }
  void SetInterval(std::uint32_t ms);
  TTimeStyle Style() const { return style_; }
  void SetStyle(TTimeStyle s);
  // The picture of tsCustom.
  const std::string& Format() const { return format_; }
  void SetFormat(const std::string& f);

  TDateStyle DateStyle = dsShort;
  TLabel* DateLabel = nullptr;  // shows the date when set

  std::vector<std::string> EventList;
  std::function<void(TClockLabel& sender, int index)> OnAlarm;
  // `minute` is the entry's "hh:nn".
  std::function<void(TClockLabel& sender, int index, const std::string& minute)> OnMissedAlarm;
  // tc00 .. tc55: the five-minute marks that raise OnTimeCast(sender, mark).
  std::bitset<12> TimeCast;
  std::function<void(TClockLabel& sender, int mark)> OnTimeCast;

  // "hh:nn" of the minute whose alarms were checked last.
  const std::string& LastMinute() const { return last_minute_; }

  void Tick();

 private:
  void RaiseMissed(std::int64_t previous, std::int64_t now);
  IClock& clock_;
  TTimer timer_;
  TTimeStyle style_ = ts12Hours;
  std::string format_;
  std::string last_minute_;
  std::int64_t last_checked_ = -1;  // the same minute counted from 1970-01-01, local
  std::set<std::int64_t> raised_;   // the minutes that raised an alarm, on and late
};

}  // namespace zepx
