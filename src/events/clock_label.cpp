#include "events/clock_label.h"

#include "events/date_time_format.h"

namespace zepx {

namespace {

// The pictures of the styles, quotes as they stand: in the date formats the
// quote before the last character is never closed, which makes that
// character (and the closing bracket of the weekday ones) plain text.
const char* TimePicture(TTimeStyle s) {
  switch (s) {
    case ts12Hours: return "AM/PM hh:nn:ss";
    case ts12HoursJ: return "ampmhh\"時\"nn\"分\"ss\"秒\"";
    case ts24Hours: return "hh:nn:ss";
    case ts24HoursJ: return "hh\"時\" nn\"分\" ss\"秒\"";
    case tsCustom: break;
  }
  return nullptr;
}

const char* DatePicture(TDateStyle s) {
  switch (s) {
    case dsShort: return "yy/mm/dd";
    case dsJap: return "yyyy\"年\"m\"月\"d\"日";
    case dsJapW: return "yyyy\"年\"m\"月\"d\"日(\"aaa\")\"";
    case dsGengo: return "ggge\"年\"m\"月\"d\"日";
    case dsGengoW: return "ggge\"年\"m\"月\"d\"日(\"aaa\")\"";
  }
  return "yy/mm/dd";
}

constexpr std::int64_t kMinutesPerDay = 24 * 60;
constexpr std::int64_t kLatestCatchUp = 60;  // minutes

// Minutes since 1970-01-01 of a local date and time (days from the civil
// calendar, valid for every Gregorian date).
std::int64_t MinuteNumber(const SystemTime& t) {
  const std::int64_t m = t.month, y = t.year - (m <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + t.day - 1;
  const std::int64_t days = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
  return days * kMinutesPerDay + t.hour * 60 + t.minute;
}

// The minute of the day an entry names, or -1 when its "hh:nn" is no time.
std::int64_t EntryMinute(const std::string& entry) {
  if (entry.size() < 5 || entry[2] != ':') return -1;
  for (std::size_t i : {0u, 1u, 3u, 4u})
    if (entry[i] < '0' || entry[i] > '9') return -1;
  const int h = (entry[0] - '0') * 10 + (entry[1] - '0'), m = (entry[3] - '0') * 10 + (entry[4] - '0');
  return h < 24 && m < 60 ? h * 60 + m : -1;
}

}  // namespace

TClockLabel::TClockLabel(std::string name, IMessageLoop& loop, IClock& clock)
    : TLabel(std::move(name)), clock_(clock), timer_(Name + ".Timer", loop, 0) {
  timer_.OnTimer = [this] { Tick(); };
  Tick();
}

void TClockLabel::SetInterval(std::uint32_t ms) {
  if (ms == timer_.Interval()) return;
  timer_.SetInterval(ms);
  timer_.SetEnabled(ms > 0);
}

void TClockLabel::SetStyle(TTimeStyle s) {
  if (s == style_) return;
  style_ = s;
  Tick();
}

void TClockLabel::SetFormat(const std::string& f) {
  if (f == format_) return;
  format_ = f;
  Tick();
}

void TClockLabel::Tick() {
  const char* time_picture = TimePicture(style_);
  SetCaption(FormatDateTime(time_picture ? time_picture : format_, clock_.GetLocalTime(), clock_));

  if (DateLabel) DateLabel->SetCaption(FormatDateTime(DatePicture(DateStyle), clock_.GetLocalTime(), clock_));

  const std::string minute = FormatDateTime("hh:nn", clock_.GetLocalTime(), clock_);
  if (minute == last_minute_) return;
  last_minute_ = minute;
  const std::int64_t previous = last_checked_, now = MinuteNumber(clock_.GetLocalTime());
  last_checked_ = now;
  // Two days back are kept: a clock set back across midnight comes over
  // yesterday's minutes again.
  raised_.erase(raised_.begin(), raised_.lower_bound(now - 2 * kMinutesPerDay));
  for (std::size_t i = 0; i < EventList.size(); ++i) {
    if (EventList[i].compare(0, 5, minute) != 0) continue;
    raised_.insert(now);
    if (OnAlarm) OnAlarm(*this, static_cast<int>(i));
    break;
  }
  // The minute of construction has nothing before it to catch up on.
  if (previous >= 0 && OnMissedAlarm) RaiseMissed(previous, now);

  const int m = clock_.GetLocalTime().minute;
  if (m % 5 == 0 && TimeCast.test(static_cast<std::size_t>(m / 5)) && OnTimeCast) OnTimeCast(*this, m / 5);
}

void TClockLabel::RaiseMissed(std::int64_t previous, std::int64_t now) {
  for (std::size_t i = 0; i < EventList.size(); ++i) {
    const std::int64_t of_day = EntryMinute(EventList[i]);
    if (of_day < 0) continue;
    // The entry's latest minute before this one, today or yesterday.
    std::int64_t at = now - now % kMinutesPerDay + of_day;
    if (at >= now) at -= kMinutesPerDay;
    if (at <= previous || now - at > kLatestCatchUp || !raised_.insert(at).second) continue;
    OnMissedAlarm(*this, static_cast<int>(i), EventList[i].substr(0, 5));
    break;
  }
}

}  // namespace zepx
