// Integer conversion as the program reads every number in a command line
// or a macro file: leading blanks, an optional sign, then decimal digits,
// or hexadecimal digits after "$" or "0x". Anything else is an error.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace zepx {

std::optional<std::int32_t> TryStrToInt(const std::string& s);

// Thrown by StrToInt; what() is the user-facing message
// "'<text>' は整数ではありません" in cp932.
class ConvertError : public std::runtime_error {
 public:
  explicit ConvertError(const std::string& text);
};

std::int32_t StrToInt(const std::string& s);

}  // namespace zepx
