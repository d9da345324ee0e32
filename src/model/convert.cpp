// PLACEHOLDER
#include "model/convert.h"
namespace zepx {
std::optional<std::int32_t> TryStrToInt(const std::string&) { return std::nullopt; }
ConvertError::ConvertError(const std::string& text) : std::runtime_error("'" + text + "' は整数ではありません") {}
std::int32_t StrToInt(const std::string& s) { if (auto v = TryStrToInt(s)) return *v; throw ConvertError(s); }
}  // namespace zepx
