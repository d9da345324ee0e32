#include "base/text.h"

namespace zepx {

bool EqualsIgnoreAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string TruncateCp932(const std::string& s, std::size_t max_bytes) {
  std::size_t end = 0;
  while (end < s.size()) {
    const std::size_t len = IsLeadByte(static_cast<unsigned char>(s[end])) && end + 1 < s.size() ? 2 : 1;
    if (end + len > max_bytes) break;
    end += len;
  }
  return s.substr(0, end);
}

}  // namespace zepx
