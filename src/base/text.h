// Byte-string helpers shared by every reader of command lines, paths and
// captions. All text is cp932: a search is a plain byte search, and only
// splitting and cutting need to know about double-byte characters.
#pragma once

#include <cstddef>
#include <string>

namespace zepx {

inline bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

inline bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// True when `text` stands in `s` at byte `pos`.
inline bool At(const std::string& s, std::size_t pos, const char* text) {
  const std::size_t n = std::char_traits<char>::length(text);
  return s.size() >= pos + n && s.compare(pos, n, text) == 0;
}

// First byte of a cp932 double-byte character (its second byte may be any
// of 0x40..0xFC, "\" and "|" included).
inline bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// ASCII-only case folding: folding the second byte of a double-byte
// character could make it look like a letter.
bool EqualsIgnoreAsciiCase(const std::string& a, const std::string& b);

// The longest prefix of `s` of at most `max_bytes` bytes that does not cut a
// double-byte character in two.
std::string TruncateCp932(const std::string& s, std::size_t max_bytes);

}  // namespace zepx
