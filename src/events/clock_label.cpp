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
  for (std::size_t i = 0; i < EventList.size(); ++i) {
    if (EventList[i].compare(0, 5, minute) != 0) continue;
    if (OnAlarm) OnAlarm(*this, static_cast<int>(i));
    break;
  }

  const int m = clock_.GetLocalTime().minute;
  if (m % 5 == 0 && TimeCast.test(static_cast<std::size_t>(m / 5)) && OnTimeCast) OnTimeCast(*this, m / 5);
}

}  // namespace zepx
