// The date-time picture language of the clock labels' captions, as the
// program's toolkit knows it: hh hour, nn minute, ss second, zzz
// milliseconds, yy or yyyy year, m or mm month (a minute right after an
// hour), d or dd day, ddd/dddd or aaa/aaaa the weekday's name, mmm/mmmm the
// month's name, ggg the Japanese era, e the year in that era, AM/PM and A/P
// the English markers and ampm the locale's morning or afternoon word (any
// of the three makes the hour a 12-hour one), and text in double or single
// quotes copied as it is; an unclosed quote runs to the end. Anything else
// is copied. Names and eras come from the system.
#pragma once

#include <string>

#include "platform/platform.h"

namespace zepx {

std::string FormatDateTime(const std::string& picture, const SystemTime& t, IClock& system);

}  // namespace zepx
