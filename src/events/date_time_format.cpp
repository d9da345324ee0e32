#include "events/date_time_format.h"

#include <cctype>
#include <cstddef>

#include "base/text.h"

namespace zepx {

namespace {

bool AtNoCase(const std::string& s, std::size_t pos, const char* word) {
  for (std::size_t k = 0; word[k]; ++k) {
    if (pos + k >= s.size()) return false;
    if (std::toupper(static_cast<unsigned char>(s[pos + k])) != word[k]) return false;
  }
  return true;
}

// Whether an AM/PM, A/P or ampm marker stands anywhere outside quotes.
bool HasDayHalfMarker(const std::string& p) {
  char quote = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char c = p[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (IsLeadByte(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (AtNoCase(p, i, "AM/PM") || AtNoCase(p, i, "A/P") || AtNoCase(p, i, "AMPM")) {
      return true;
    }
  }
  return false;
}

std::string Padded(int v, std::size_t width) {
  std::string s = std::to_string(v);
  while (s.size() < width) s.insert(s.begin(), '0');
  return s;
}

// The first character of a cp932 text.
std::string FirstCharacter(const std::string& s) {
  if (s.empty()) return s;
  return s.substr(0, IsLeadByte(static_cast<unsigned char>(s[0])) && s.size() > 1 ? 2 : 1);
}

}  // namespace

std::string FormatDateTime(const std::string& picture, const SystemTime& t, IClock& system) {
  const bool twelve_hours = HasDayHalfMarker(picture);
  std::string out;
  char last_token = 0;  // the last specifier letter, upper case
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < picture.size()) {
      out.append(picture, i, 2);
      i += 2;
      continue;
    }
    if (c == '"' || c == '\'') {
      const std::size_t end = picture.find(c, i + 1);
      const std::size_t stop = end == std::string::npos ? picture.size() : end;
      out.append(picture, i + 1, stop - i - 1);
      i = end == std::string::npos ? picture.size() : end + 1;
      continue;
    }
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      out += c;
      ++i;
      continue;
    }
    std::size_t n = 1;
    while (i + n < picture.size() && picture[i + n] == c) ++n;
    char token = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (token == 'M' && last_token == 'H') token = 'N';
    last_token = token;
    switch (token) {
      case 'Y':
        out += n <= 2 ? Padded(t.year % 100, 2) : Padded(t.year, 4);
        break;
      case 'M':
        if (n <= 2) out += Padded(t.month, n);
        else out += system.GetDateFormatA(t, n == 3 ? "MMM" : "MMMM", false);
        break;
      case 'D':
        if (n <= 2) out += Padded(t.day, n);
        else out += system.GetDateFormatA(t, n == 3 ? "ddd" : "dddd", false);
        break;
      case 'G': {
        const std::string era = system.GetDateFormatA(t, "gg", true);
        out += n == 1 ? FirstCharacter(era) : era;
        break;
      }
      case 'E':
        out += system.GetDateFormatA(t, n == 1 ? "y" : n == 2 ? "yy" : "yyyy", true);
        break;
      case 'H': {
        int h = t.hour;
        if (twelve_hours) h = h == 0 ? 12 : h > 12 ? h - 12 : h;
        out += Padded(h, n > 2 ? 2 : n);
        break;
      }
      case 'N':
        out += Padded(t.minute, n > 2 ? 2 : n);
        break;
      case 'S':
        out += Padded(t.second, n > 2 ? 2 : n);
        break;
      case 'Z':
        out += Padded(t.milliseconds, n > 3 ? 3 : n);
        break;
      case 'A':
        // The markers are words of their own, whatever the run of letters.
        if (AtNoCase(picture, i, "AM/PM")) {
          out.append(picture, t.hour >= 12 ? i + 3 : i, 2);
          i += 5;
        } else if (AtNoCase(picture, i, "A/P")) {
          out.append(picture, t.hour >= 12 ? i + 2 : i, 1);
          i += 3;
        } else if (AtNoCase(picture, i, "AMPM")) {
          out += system.GetTimeFormatA(t, "tt");
          i += 4;
        } else if (AtNoCase(picture, i, "AAAA")) {
          out += system.GetDateFormatA(t, "dddd", false);
          i += 4;
        } else if (AtNoCase(picture, i, "AAA")) {
          out += system.GetDateFormatA(t, "ddd", false);
          i += 3;
        } else {
          out += c;
          ++i;
        }
        continue;
      default:
        out.append(n, c);
        break;
    }
    i += n;
  }
  return out;
}

}  // namespace zepx
