// The smaller readers of outside text, on any bytes: the loader's line
// recogniser, the coordinate reader and writer, target descriptors, the
// unset-drag search, integer conversion, file-name parts and cp932
// truncation. The input is one text (and, split at LF, a list of lines);
// its first bytes also give the numbers some readers take.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/text.h"
#include "fuzz_check.h"
#include "model/command_line.h"
#include "model/convert.h"
#include "model/macro_file.h"

namespace zepx {
namespace {

using fuzz::Shown;

// ---- integers ---------------------------------------------------------------

std::string Hex(std::uint64_t v) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s;
  do {
    s.insert(s.begin(), kDigits[v % 16]);
    v /= 16;
  } while (v);
  return s;
}

// The conversion's grammar read with the C library: blanks, a sign, then
// decimal digits, or hex digits after "$" or "0x"; only the shape is
// checked here, the value comes from strtoull.
std::optional<std::int32_t> Reference(const std::string& s) {
  std::size_t i = s.find_first_not_of(' ');
  if (i == std::string::npos) return std::nullopt;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') negative = s[i++] == '-';
  int base = 10;
  if (s.compare(i, 1, "$") == 0) {
    base = 16;
    i += 1;
  } else if (s.compare(i, 2, "0x") == 0 || s.compare(i, 2, "0X") == 0) {
    base = 16;
    i += 2;
  }
  const std::string digits = s.substr(i);
  const char* allowed = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
  if (digits.empty() || digits.find_first_not_of(allowed) != std::string::npos) return std::nullopt;
  errno = 0;
  const unsigned long long m = std::strtoull(digits.c_str(), nullptr, base);
  if (errno == ERANGE) return std::nullopt;
  if (m > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(m) : static_cast<std::int64_t>(m));
}

void CheckConvert(const std::string& s) {
  const std::optional<std::int32_t> v = TryStrToInt(s);
  FUZZ_CHECK(v == Reference(s), Shown(s));
  try {
    const std::int32_t w = StrToInt(s);
    FUZZ_CHECK(v && *v == w, Shown(s));
  } catch (const ConvertError& e) {
    FUZZ_CHECK(!v, Shown(s));
    // what() ends at a zero byte the text may hold, as the message box would.
    const std::string message = "'" + s + "' は整数ではありません";
    FUZZ_CHECK(std::string(e.what()) == message.c_str(), Shown(e.what()));
  }
  if (!v) return;
  // What the program writes for a number reads back as that number.
  FUZZ_CHECK(TryStrToInt(std::to_string(*v)) == v, Shown(s));
  const std::uint64_t magnitude = *v < 0 ? -static_cast<std::int64_t>(*v) : *v;
  const std::string sign = *v < 0 ? "-" : "";
  FUZZ_CHECK(TryStrToInt(sign + "$" + Hex(magnitude)) == v, Shown(s));
  FUZZ_CHECK(TryStrToInt(" " + sign + "0x" + Hex(magnitude)) == v, Shown(s));
}

// ---- cp932 boundaries ----------------------------------------------------------

// Where each character of a cp932 text starts; a lead byte at the very end
// stands alone.
std::vector<bool> CharStarts(const std::string& s) {
  std::vector<bool> start(s.size() + 1, false);
  std::size_t i = 0;
  while (i < s.size()) {
    start[i] = true;
    i += IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
  }
  start[s.size()] = true;
  return start;
}

void CheckTruncate(const std::string& s, std::size_t max) {
  const std::string t = TruncateCp932(s, max);
  const std::vector<bool> start = CharStarts(s);
  FUZZ_CHECK(t.size() <= max && s.compare(0, t.size(), t) == 0, Shown(s) + " at " + std::to_string(max));
  FUZZ_CHECK(start[t.size()], Shown(s) + " cut inside a character at " + std::to_string(max));
  // The longest such prefix: the next character would not fit.
  if (t.size() < s.size()) {
    std::size_t next = t.size() + 1;
    while (!start[next]) ++next;
    FUZZ_CHECK(next > max, Shown(s) + " cut short at " + std::to_string(max));
  }
}

void CheckFileNameParts(const std::string& path) {
  const std::vector<bool> start = CharStarts(path);
  auto is_delimiter_at = [&](std::size_t i, const char* delims) {
    return start[i] && path[i] != '\0' && std::strchr(delims, path[i]) != nullptr;
  };
  const std::string name = ExtractFileName(path);
  const std::size_t from = path.size() - name.size();
  FUZZ_CHECK(name.size() <= path.size() && path.compare(from, name.size(), name) == 0, Shown(path));
  // The name is everything after the last delimiter that is a character of
  // its own, not the second byte of a double-byte one.
  FUZZ_CHECK(from == 0 || is_delimiter_at(from - 1, "\\/:"), Shown(path));
  for (std::size_t i = from; i < path.size(); ++i) FUZZ_CHECK(!is_delimiter_at(i, "\\/:"), Shown(path));

  const std::string ext = ExtractFileExt(path);
  FUZZ_CHECK(ext.size() <= name.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0,
             Shown(path));
  if (!ext.empty()) {
    const std::size_t dot = path.size() - ext.size();
    FUZZ_CHECK(is_delimiter_at(dot, "."), Shown(path));
    for (std::size_t i = dot + 1; i < path.size(); ++i) FUZZ_CHECK(!is_delimiter_at(i, "."), Shown(path));
  } else {
    for (std::size_t i = from; i < path.size(); ++i) FUZZ_CHECK(!is_delimiter_at(i, "."), Shown(path));
  }
  FUZZ_CHECK(IsShortcutPath(path) == (ext == ".lnk" || ext == ".LNK"), Shown(path));
}

// ---- coordinates ------------------------------------------------------------------

void CheckCoordinates(const std::string& line, std::int32_t x, std::int32_t y) {
  const std::optional<Coordinates> c = ReadCoordinates(line);
  const std::size_t colon = line.find(':');
  if (Contains(line, ":NoSet")) {
    FUZZ_CHECK(c && c->x == 0 && c->y == 0, Shown(line));
  } else {
    // A point only where both parts are integers, the first "x" after the
    // first ":"; a ":" of a text or title never shows one.
    const std::size_t xpos = line.find('x');
    const bool both = colon != std::string::npos && xpos != std::string::npos && xpos > colon &&
                      TryStrToInt(line.substr(colon + 1, xpos - colon - 1)) && TryStrToInt(line.substr(xpos + 1));
    FUZZ_CHECK(c.has_value() == both, Shown(line));
    if (c) FUZZ_CHECK(*TryStrToInt(line.substr(xpos + 1)) == c->y, Shown(line));
  }

  const std::string moved = WithCoordinates(line, x, y);
  if (colon == std::string::npos) {
    FUZZ_CHECK(moved == line, Shown(line));
    return;
  }
  FUZZ_CHECK(moved.compare(0, colon + 1, line, 0, colon + 1) == 0, Shown(line));
  // The picker's point is what the display then shows, unless the part
  // before the ":" holds an "x" of its own.
  if (line.find('x') < colon) return;
  const std::optional<Coordinates> back = ReadCoordinates(moved);
  FUZZ_CHECK(back && back->x == x && back->y == y,
             Shown(moved) + " from " + std::to_string(x) + "," + std::to_string(y));
}

// ---- target descriptors ---------------------------------------------------------

void CheckTargetDescriptor(const std::string& s, std::uint32_t handle) {
  const TargetDescriptor d = ReadTargetDescriptor(s);
  const std::size_t at = s.find(kAppMark);
  switch (d.form) {
    case TargetDescriptor::Title:
      FUZZ_CHECK(at == std::string::npos && !Contains(s, "<") && d.title == s && !d.handle, Shown(s));
      break;
    case TargetDescriptor::TitleHandle:
      FUZZ_CHECK(at == std::string::npos && Contains(s, "<") && s.compare(0, d.title.size(), d.title) == 0,
                 Shown(s));
      break;
    case TargetDescriptor::Child:
      FUZZ_CHECK(at != std::string::npos && d.title == s.substr(0, at), Shown(s));
      FUZZ_CHECK(s.compare(at + 2, d.class_name.size(), d.class_name) == 0, Shown(s));
      break;
  }
  if (d.form != TargetDescriptor::Title) {
    const std::optional<std::int32_t> h = TryStrToInt(d.handle_text);
    FUZZ_CHECK(d.handle.has_value() == h.has_value(), Shown(s));
    if (h) FUZZ_CHECK(*d.handle == static_cast<std::uint32_t>(*h), Shown(s));
  }

  // What the application list writes reads back as its parts: the text as
  // title, or split at its first LF as title "@@" class.
  const std::int32_t h = static_cast<std::int32_t>(handle & 0x7FFFFFFF);
  const std::size_t lf = s.find('\n');
  if (lf == std::string::npos) {
    if (Contains(s, "<") || Contains(s, kAppMark)) return;
    const TargetDescriptor back = ReadTargetDescriptor(ComposeTargetDescriptor(s, static_cast<std::uintptr_t>(h)));
    FUZZ_CHECK(back.form == TargetDescriptor::TitleHandle && back.title == s && back.handle == static_cast<std::uint32_t>(h),
               Shown(s));
    return;
  }
  const std::string title = s.substr(0, lf);
  const std::string cls = s.substr(lf + 1);
  if (Contains(title, kAppMark) || (!title.empty() && title.back() == '@') || Contains(cls, " <")) return;
  const std::string written = title + kAppMark + ComposeTargetDescriptor(cls, static_cast<std::uintptr_t>(h));
  const TargetDescriptor back = ReadTargetDescriptor(written);
  FUZZ_CHECK(back.form == TargetDescriptor::Child && back.title == title && back.class_name == cls &&
                 back.handle == static_cast<std::uint32_t>(h),
             Shown(written));
}

// ---- unset drag lines --------------------------------------------------------------

void CheckUnsetDrag(const std::vector<std::string>& lines) {
  static const char* const kUnset[] = {"L_Drag:NoSet", "L_Drop:NoSet", "R_Drag:NoSet", "R_Drop:NoSet"};
  auto word_of = [&](const std::string& line) {
    for (int k = 0; k < 4; ++k)
      if (EqualsIgnoreAsciiCase(line, kUnset[k])) return k;
    return -1;
  };
  // The run refuses on the first unset word in that order, whichever row
  // holds it; within one word the first row.
  int best = -1;
  int best_word = 4;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int w = word_of(lines[i]);
    if (w >= 0 && w < best_word) {
      best = static_cast<int>(i);
      best_word = w;
    }
  }
  FUZZ_CHECK(FindUnsetDragLine(lines) == best, std::to_string(best));
}

}  // namespace
}  // namespace zepx

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zepx;
  const std::string text(reinterpret_cast<const char*>(data), size);
  FuzzedDataProvider in(data, size);
  const std::int32_t x = in.ConsumeIntegral<std::int32_t>();
  const std::int32_t y = in.ConsumeIntegral<std::int32_t>();
  const std::size_t max = in.ConsumeIntegralInRange<std::size_t>(0, size + 2);

  (void)IsCommandLine(text);
  CheckConvert(text);
  CheckTruncate(text, max);
  CheckFileNameParts(text);
  CheckTargetDescriptor(text, static_cast<std::uint32_t>(x));
  const std::vector<std::string> lines = fuzz::SplitAtLf(text);
  CheckUnsetDrag(lines);
  for (const std::string& line : lines) {
    (void)IsCommandLine(line);
    CheckCoordinates(line, x, y);
    CheckConvert(line);
  }
  return 0;
}
