// What the fuzz targets share. A failed check prints the condition and the
// text involved (bytes outside printable ASCII as \xHH, since the text is
// cp932) and aborts; libFuzzer reports that as a crash and keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace zepx::fuzz {

inline std::string Shown(const std::string& s) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out + "\"";
}

[[noreturn]] inline void Fail(const char* file, int line, const char* condition, const std::string& detail) {
  std::fprintf(stderr, "\n%s:%d: check failed: %s\n  %s\n", file, line, condition, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

// Splits at every LF, keeping empty pieces ("a\n" gives "a" and "").
inline std::vector<std::string> SplitAtLf(const std::string& s) {
  std::vector<std::string> parts(1);
  for (char c : s) {
    if (c == '\n') parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

}  // namespace zepx::fuzz

// `detail` is only built when the check fails.
#define FUZZ_CHECK(condition, detail)                                                    \
  do {                                                                                   \
    if (!(condition)) ::zepx::fuzz::Fail(__FILE__, __LINE__, #condition, (detail));      \
  } while (0)
