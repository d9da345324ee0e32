// The clock label in virtual time: its captions in every style, the date
// label, and the alarms it raises as the minutes pass on the substitute's
// clock, which tests set forward and back at will.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "events/clock_label.h"
#include "events/date_time_format.h"
#include "platform/fake/fake_platform.h"

namespace zepx {
namespace {

using Texts = std::vector<std::string>;

// A time on Sunday 2026-12-06.
SystemTime Sunday(int h, int m, int s, int ms = 0) {
  return SystemTime{2026, 12, 0, 6, static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(m),
                    static_cast<std::uint16_t>(s), static_cast<std::uint16_t>(ms)};
}

class Clock : public ::testing::Test {
 protected:
  // A label made at the given time and ticking every second, with every
  // alarm noted as "hh:mm:ss#index".
  TClockLabel& Make(SystemTime at) {
    fake.SetLocalTime(at);
    label = std::make_unique<TClockLabel>("ClockLabel1", fake, fake);
    label->SetInterval(1000);
    label->OnAlarm = [this](TClockLabel& sender, int index) {
      EXPECT_EQ(&sender, label.get());
      const SystemTime t = fake.LocalTime();
      alarms.push_back(FormatDateTime("hh:nn:ss", t, fake) + "#" + std::to_string(index));
    };
    return *label;
  }
  void RunFor(std::int64_t ms) { fake.RunUntil(fake.now + ms); }

  FakePlatform fake;
  std::unique_ptr<TClockLabel> label;
  Texts alarms;
};

TEST_F(Clock, EveryTimeStyleAndTheCustomFormat) {
  struct Case {
    SystemTime t;
    TTimeStyle style;
    const char* shown;
  };
  const Case cases[] = {
      {Sunday(19, 30, 5), ts12Hours, "PM 07:30:05"},
      {Sunday(7, 30, 5), ts12Hours, "AM 07:30:05"},
      {Sunday(0, 5, 9), ts12Hours, "AM 12:05:09"},  // midnight is twelve on a 12-hour clock
      {Sunday(12, 0, 0), ts12Hours, "PM 12:00:00"},
      {Sunday(19, 30, 5), ts12HoursJ, "午後07時30分05秒"},
      {Sunday(9, 1, 2), ts12HoursJ, "午前09時01分02秒"},
      {Sunday(19, 30, 5), ts24Hours, "19:30:05"},
      {Sunday(19, 30, 5), ts24HoursJ, "19時 30分 05秒"},
      {Sunday(0, 0, 0), ts24HoursJ, "00時 00分 00秒"},
  };
  for (const Case& c : cases) {
    fake.SetLocalTime(c.t);
    TClockLabel l("L", fake, fake);
    l.SetStyle(c.style);  // a change of style ticks at once
    EXPECT_EQ(l.Caption(), c.shown) << c.style;
  }

  // The construction tick shows the default style; a custom picture is
  // shown as soon as it is set, an empty one shows nothing.
  fake.SetLocalTime(Sunday(19, 30, 5));
  TClockLabel l("L", fake, fake);
  EXPECT_EQ(l.Caption(), "PM 07:30:05");
  l.SetStyle(tsCustom);
  EXPECT_EQ(l.Caption(), "");
  l.SetFormat("hh'h'nn");
  EXPECT_EQ(l.Caption(), "19h30");
  // The system's morning and afternoon words, not a table of ours.
  fake.pm_word = "PMword";
  l.SetStyle(ts12HoursJ);
  EXPECT_EQ(l.Caption(), "PMword07時30分05秒");
}

TEST_F(Clock, DateStylesWithTheSystemsEraAndWeekdayNames) {
  fake.SetLocalTime(Sunday(19, 30, 5));
  TLabel date("DateLabel");
  TClockLabel l("L", fake, fake);
  l.DateLabel = &date;
  const std::pair<TDateStyle, const char*> styles[] = {
      {dsShort, "26/12/06"},
      {dsJap, "2026年12月6日"},
      {dsJapW, "2026年12月6日(日)"},
      {dsGengo, "令和8年12月6日"},
      {dsGengoW, "令和8年12月6日(日)"},
  };
  for (const auto& [style, shown] : styles) {
    l.DateStyle = style;
    l.Tick();
    EXPECT_EQ(date.Caption(), shown) << style;
  }

  // Era, era year and weekday come from the system.
  fake.era_name = "平成";
  fake.era_first_year = 1989;
  fake.short_day_names[0] = "Sun";
  l.Tick();
  EXPECT_EQ(date.Caption(), "平成38年12月6日(Sun)");

  // Without a date label the date goes nowhere and the caption is the time.
  l.DateLabel = nullptr;
  date.SetCaption("");
  l.Tick();
  EXPECT_EQ(date.Caption(), "");
  EXPECT_EQ(l.Caption(), "PM 07:30:05");
}

TEST_F(Clock, ThePictureLanguage) {
  const SystemTime t = Sunday(19, 4, 5, 7);
  struct Case {
    const char* picture;
    const char* shown;
  };
  const Case cases[] = {
      {"hh:mm", "19:04"},                  // m right after an hour is the minute
      {"yyyy/m/d mm", "2026/12/6 12"},     // elsewhere the month
      {"h:n:s.z zzz", "19:4:5.7 007"},
      {"am/pm h A/P a/p", "pm 7 P p"},
      {"ampm", "午後"},
      {"ddd dddd aaa aaaa", "日 日曜日 日 日曜日"},
      {"mmm", "12月"},
      {"g gg ggg e ee", "令 令和 令和 8 08"},
      {"yyyy年m月", "2026年12月"},          // unquoted kanji stay whole ("年" ends in 'N')
      {"'hh' \"nn\" 'x", "hh nn x"},         // an unclosed quote runs to the end
      {"\"", ""},
      {"[hh]-#", "[19]-#"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDateTime(c.picture, t, fake), c.shown) << c.picture;
  }
  EXPECT_EQ(FormatDateTime("hh AM/PM", t, fake), "07 PM");
  EXPECT_EQ(FormatDateTime("hh \"AM/PM\"", t, fake), "19 AM/PM");  // quoted: text, and 24 hours
}

TEST_F(Clock, AnAlarmFiresOnceInItsMinuteButNotInTheMinuteOfConstruction) {
  TClockLabel& l = Make(Sunday(7, 29, 30, 500));
  l.EventList = {"07:29", "07:31 anything after the fifth character", "07:3", "7:32"};
  EXPECT_EQ(l.LastMinute(), "07:29");
  RunFor(4 * 60000 + 1);
  // 07:29 is the minute of construction; "07:3" and "7:32" never match.
  EXPECT_EQ(alarms, Texts{"07:31:00#1"});
  EXPECT_EQ(l.Caption(), "AM 07:33:30");

  // The next day the construction minute's entry fires too, 00:00 included.
  alarms.clear();
  l.EventList = {"07:29", "00:00"};
  RunFor(24 * 3600000);
  EXPECT_EQ(alarms, (Texts{"00:00:00#1", "07:29:00#0"}));
}

TEST_F(Clock, OfTwoEntriesForTheSameMinuteOnlyTheFirstFires) {
  TClockLabel& l = Make(Sunday(7, 29, 59));
  l.EventList = {"06:00", "07:30 first", "07:30 second"};
  RunFor(2 * 60000);
  EXPECT_EQ(alarms, Texts{"07:30:00#1"});
}

TEST_F(Clock, AnEntryAddedForAMinuteAlreadyCheckedWaitsForTheNextDay) {
  TClockLabel& l = Make(Sunday(7, 29, 58));
  RunFor(3000);  // 07:30:01: the minute has been checked with an empty list
  l.EventList = {"07:30"};
  RunFor(59000);
  EXPECT_TRUE(alarms.empty());
  RunFor(24 * 3600000);
  EXPECT_EQ(alarms, Texts{"07:30:00#0"});
}

TEST_F(Clock, TheClockSetBackMakesAMinuteNewAgain) {
  TClockLabel& l = Make(Sunday(7, 29, 50));
  l.EventList = {"07:30"};
  RunFor(20000);
  EXPECT_EQ(alarms, Texts{"07:30:00#0"});
  // Back by five minutes at 07:30:10: 07:25 is new, and 07:30 comes round
  // again, so it fires a second time the same day.
  fake.SetLocalTime(Sunday(7, 25, 10));
  RunFor(5 * 60000);
  EXPECT_EQ(alarms, (Texts{"07:30:00#0", "07:30:00#0"}));
  // Set back within the same minute: nothing new.
  fake.SetLocalTime(Sunday(7, 30, 11));
  RunFor(3000);
  EXPECT_EQ(alarms.size(), 2u);
}

TEST_F(Clock, TheMinuteCountsAsCheckedBeforeTheAlarmRuns) {
  TClockLabel& l = Make(Sunday(7, 29, 59));
  l.EventList = {"07:30"};
  int entered = 0;
  l.OnAlarm = [&](TClockLabel&, int) {
    ++entered;
    EXPECT_EQ(l.LastMinute(), "07:30");
    // A handler that keeps the message loop going (a modal dialog, a run)
    // for ten seconds: the label's own ticks reach it meanwhile.
    const std::int64_t until = fake.now + 10000;
    while (fake.now < until) fake.ProcessOneMessage();
  };
  RunFor(30000);
  EXPECT_EQ(entered, 1);
}

TEST_F(Clock, IntervalZeroStopsTheTicks) {
  TClockLabel& l = Make(Sunday(7, 29, 58));
  l.EventList = {"07:30"};
  l.SetInterval(0);
  EXPECT_EQ(fake.ActiveTimers(), 0u);
  fake.At(fake.now + 5000, [] {});
  RunFor(5000);
  EXPECT_EQ(l.Caption(), "AM 07:29:58");
  EXPECT_TRUE(alarms.empty());
  // The default is no timer at all.
  TClockLabel idle("L", fake, fake);
  EXPECT_EQ(idle.Interval(), 0u);
  EXPECT_EQ(fake.ActiveTimers(), 0u);
}

TEST_F(Clock, TheTimeSignalAtTheChosenFiveMinuteMarks) {
  TClockLabel& l = Make(Sunday(7, 59, 30));
  std::vector<int> marks;
  l.TimeCast.set(0).set(2);  // tc00 and tc10
  l.OnTimeCast = [&](TClockLabel&, int mark) { marks.push_back(mark); };
  RunFor(16 * 60000);  // 07:59:30 .. 08:15:30
  EXPECT_EQ(marks, (std::vector<int>{0, 2}));
}

}  // namespace
}  // namespace zepx
