// The clock label in virtual time: its captions in every style, the date
// label, the picture language, and the alarms it raises as the minutes pass
// on the substitute's clock, which tests set forward and back at will.
#include <gtest/gtest.h>

#include "run/run_support.h"
#include "events/clock_label.h"
#include "events/date_time_format.h"
#include "platform/fake/fake_platform.h"

namespace zepx {
namespace {

// A time on Sunday 2026-12-06.
SystemTime Sunday(std::uint16_t h, std::uint16_t m, std::uint16_t s, std::uint16_t ms = 0) {
  return {2026, 12, 0, 6, h, m, s, ms};
}

class Clock : public ::testing::Test {
 protected:
  // A label made at `at`, ticking every second, its alarms noted "hh:mm:ss#index".
  TClockLabel& Make(SystemTime at, Texts entries) {
    fake.SetLocalTime(at);
    label = std::make_unique<TClockLabel>("ClockLabel1", fake, fake);
    label->SetInterval(1000);
    label->EventList = std::move(entries);
    label->OnAlarm = [this](TClockLabel& sender, int index) {
      EXPECT_EQ(&sender, label.get());
      alarms.push_back(FormatDateTime("hh:nn:ss", fake.LocalTime(), fake) + "#" + std::to_string(index));
    };
    return *label;
  }
  void RunFor(std::int64_t ms) { fake.RunUntil(fake.now + ms); }

  FakePlatform fake;
  std::unique_ptr<TClockLabel> label;
  Texts alarms;
};

TEST_F(Clock, TimeStylesDateStylesAndTheSystemsWords) {
  const std::tuple<SystemTime, TTimeStyle, const char*> times[] = {
      {Sunday(19, 30, 5), ts12Hours, "PM 07:30:05"},   {Sunday(7, 30, 5), ts12Hours, "AM 07:30:05"},
      {Sunday(0, 5, 9), ts12Hours, "AM 12:05:09"},     {Sunday(12, 0, 0), ts12Hours, "PM 12:00:00"},
      {Sunday(19, 30, 5), ts12HoursJ, "午後07時30分05秒"}, {Sunday(9, 1, 2), ts12HoursJ, "午前09時01分02秒"},
      {Sunday(19, 30, 5), ts24Hours, "19:30:05"},      {Sunday(19, 30, 5), ts24HoursJ, "19時 30分 05秒"},
      {Sunday(0, 0, 0), ts24HoursJ, "00時 00分 00秒"}};
  for (const auto& [t, style, shown] : times) {
    fake.SetLocalTime(t);
    TClockLabel l("L", fake, fake);
    l.SetStyle(style);  // a change of style ticks at once
    EXPECT_EQ(l.Caption(), shown) << style;
  }
  fake.SetLocalTime(Sunday(19, 30, 5));
  TLabel date("DateLabel");
  TClockLabel l("L", fake, fake);
  EXPECT_EQ(l.Caption(), "PM 07:30:05") << "the construction tick, in the default style";
  l.SetStyle(tsCustom);
  EXPECT_EQ(l.Caption(), "");
  l.SetFormat("hh'h'nn");
  EXPECT_EQ(l.Caption(), "19h30");
  l.DateLabel = &date;
  const std::pair<TDateStyle, const char*> dates[] = {{dsShort, "26/12/06"}, {dsJap, "2026年12月6日"},
                                                      {dsJapW, "2026年12月6日(日)"}, {dsGengo, "令和8年12月6日"},
                                                      {dsGengoW, "令和8年12月6日(日)"}};
  for (const auto& [style, shown] : dates) {
    l.DateStyle = style;
    l.Tick();
    EXPECT_EQ(date.Caption(), shown) << style;
  }
  // Era, weekday and the afternoon word are the system's, not a table of ours.
  fake.era_name = "平成";
  fake.era_first_year = 1989;
  fake.short_day_names[0] = "Sun";
  fake.pm_word = "PMword";
  l.SetStyle(ts12HoursJ);
  EXPECT_EQ(date.Caption(), "平成38年12月6日(Sun)");
  EXPECT_EQ(l.Caption(), "PMword07時30分05秒");
}

TEST_F(Clock, ThePictureLanguage) {
  const std::pair<const char*, const char*> cases[] = {
      {"hh:mm", "19:04"},               // m right after an hour is the minute
      {"yyyy/m/d mm", "2026/12/6 12"},  // elsewhere the month
      {"h:n:s.z zzz", "19:4:5.7 007"},  {"am/pm h A/P a/p", "pm 7 P p"},
      {"ampm", "午後"},                 {"ddd dddd aaa aaaa", "日 日曜日 日 日曜日"},
      {"mmm", "12月"},                  {"g gg ggg e ee", "令 令和 令和 8 08"},
      {"yyyy年m月", "2026年12月"},      // unquoted kanji stay whole ("年" ends in 'N')
      {"'hh' \"nn\" 'x", "hh nn x"},    // an unclosed quote runs to the end
      {"\"", ""},                       {"[hh]-#", "[19]-#"},
      {"hh AM/PM", "07 PM"},            {"hh \"AM/PM\"", "19 AM/PM"}};  // quoted: text, and 24 hours
  for (const auto& [picture, shown] : cases)
    EXPECT_EQ(FormatDateTime(picture, Sunday(19, 4, 5, 7), fake), shown) << picture;
}

TEST_F(Clock, AnAlarmFiresOnceInItsMinuteButNotInTheMinuteOfConstruction) {
  TClockLabel& l = Make(Sunday(7, 29, 30, 500), {"07:29", "07:31 anything after the fifth character", "07:3", "7:32"});
  EXPECT_EQ(l.LastMinute(), "07:29");
  RunFor(4 * 60000 + 1);
  EXPECT_EQ(alarms, Texts{"07:31:00#1"}) << "\"07:3\" and \"7:32\" never match";
  EXPECT_EQ(l.Caption(), "AM 07:33:30");
  // The next day the construction minute's entry fires too, 00:00 included;
  // of two entries for one minute only the first.
  alarms.clear();
  l.EventList = {"07:29", "00:00", "07:29 second"};
  RunFor(24 * 3600000);
  EXPECT_EQ(alarms, (Texts{"00:00:00#1", "07:29:00#0"}));
}

TEST_F(Clock, AMinuteAlreadyCheckedWaitsForTheNextDayUnlessTheClockIsSetBack) {
  TClockLabel& l = Make(Sunday(7, 29, 58), {});
  RunFor(3000);  // 07:30:01: the minute has been checked with an empty list
  l.EventList = {"07:30"};
  RunFor(59000);
  EXPECT_TRUE(alarms.empty());
  RunFor(24 * 3600000);
  EXPECT_EQ(alarms, Texts{"07:30:00#0"});
  // Back by five minutes: 07:25 is new and 07:30 comes round again. Back
  // within the same minute: nothing new.
  fake.SetLocalTime(Sunday(7, 25, 10));
  RunFor(5 * 60000);
  EXPECT_EQ(alarms, (Texts{"07:30:00#0", "07:30:00#0"}));
  fake.SetLocalTime(Sunday(7, 30, 11));
  RunFor(3000);
  EXPECT_EQ(alarms.size(), 2u);
}

TEST_F(Clock, IntervalZeroStopsTheTicksAndTheTimeSignalKeepsItsMarks) {
  TClockLabel& l = Make(Sunday(7, 29, 58), {"07:30"});
  l.SetInterval(0);
  EXPECT_EQ(fake.ActiveTimers(), 0u);
  fake.At(fake.now + 5000, [] {});
  RunFor(5000);
  EXPECT_EQ(l.Caption(), "AM 07:29:58");
  EXPECT_TRUE(alarms.empty());

  TClockLabel& signal = Make(Sunday(7, 59, 30), {});
  std::vector<int> marks;
  signal.TimeCast.set(0).set(1).set(2);  // tc00, tc05 and tc10
  signal.OnTimeCast = [&](TClockLabel&, int mark) { marks.push_back(mark); };
  RunFor(16 * 60000);  // 07:59:30 .. 08:15:30
  EXPECT_EQ(marks, (std::vector<int>{0, 1, 2}));
}

}  // namespace
}  // namespace zepx
