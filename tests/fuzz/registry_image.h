// The settings target's input: a registry key written as bytes, so that the
// fuzzer can change any value's presence, type and data, and the corpus maker
// can write down a key the program saved.
//
//   flags   one byte: 1 the key exists, 2 it cannot be opened, 4 it cannot be
//           created (the save fails), 8 a macro file came on the command
//           line, 16 the folder DefMCRPath names exists
//   then values until the end, each
//     name  one byte: an index into ValueNames() (taken modulo its size)
//     kind  one byte: the low four bits pick the type from Types() (modulo),
//           bits 6 and 7 both set make the data a repetition (below)
//     data  plain: a length byte, then that many bytes
//           repeated: a two-byte little-endian count, a length byte, then
//           that many bytes, repeated count times (at most 64 KiB a
//           value, 512 KiB for the whole key)
// A truncated input ends where it ends; a value cut short keeps what came.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/settings_store.h"

namespace zepx::fuzz {

// The names the store reads, LogoutDateTime, and one it does not know.
inline const std::vector<std::string>& ValueNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (const SettingsEntry& e : kSettingsValues) n.push_back(e.name);
    n.push_back("LogoutDateTime");
    n.push_back("Unknown");
    return n;
  }();
  return names;
}

inline const std::vector<RegType>& Types() {
  static const std::vector<RegType> types = {
      RegType::Dword,  RegType::Sz,    RegType::ExpandSz, RegType::Binary, RegType::MultiSz,
      RegType::Qword,  RegType::None,  static_cast<RegType>(5) /* big-endian DWORD */,
      static_cast<RegType>(0xFFFF)};
  return types;
}

struct RegistryImage {
  enum Flag : std::uint8_t {
    kKeyExists = 1,
    kKeyUnopenable = 2,
    kCreateFails = 4,
    kFromCommandLine = 8,
    kFolderExists = 16,
  };
  std::uint8_t flags = kKeyExists;
  struct Value {
    std::string name;
    RegType type;
    std::string data;
  };
  std::vector<Value> values;  // in order; a later one of the same name wins
};

inline constexpr std::size_t kMaxRepeatedBytes = 64u << 10;
inline constexpr std::size_t kMaxImageBytes = 512u << 10;

inline RegistryImage DecodeRegistryImage(const std::uint8_t* p, std::size_t size) {
  RegistryImage image;
  std::size_t i = 0;
  auto next = [&]() -> int { return i < size ? p[i++] : -1; };
  const int flags = next();
  if (flags < 0) return image;
  image.flags = static_cast<std::uint8_t>(flags);
  std::size_t total = 0;
  for (;;) {
    const int name = next();
    const int kind = next();
    if (name < 0 || kind < 0) break;
    RegistryImage::Value v;
    v.name = ValueNames()[static_cast<std::size_t>(name) % ValueNames().size()];
    v.type = Types()[static_cast<std::size_t>(kind & 0x0F) % Types().size()];
    if ((kind & 0xC0) == 0xC0) {
      const int lo = next(), hi = next(), len = next();
      if (lo < 0 || hi < 0 || len < 0) break;
      const std::size_t count = static_cast<std::size_t>(lo | (hi << 8));
      const std::size_t n = std::min(static_cast<std::size_t>(len), size - i);
      const std::string chunk(reinterpret_cast<const char*>(p + i), n);
      i += n;
      // The repetition is built by doubling: a long value costs a few
      // copies, not one append per repeat.
      const std::size_t room = std::min(kMaxRepeatedBytes, kMaxImageBytes - total);
      const std::size_t want = chunk.empty() ? 0 : std::min(count, room / chunk.size()) * chunk.size();
      if (want > 0) {
        v.data = chunk;
        while (v.data.size() * 2 <= want) v.data += v.data;
        v.data.append(v.data, 0, want - v.data.size());
      }
    } else {
      const int len = next();
      if (len < 0) break;
      const std::size_t n = std::min(static_cast<std::size_t>(len), size - i);
      v.data.assign(reinterpret_cast<const char*>(p + i), n);
      i += n;
    }
    total += v.data.size();
    image.values.push_back(std::move(v));
  }
  return image;
}

// The bytes of an image whose values have names of ValueNames() and types
// of Types(); data longer than 255 bytes goes as one repeated chunk when it
// is one byte repeated, and is cut to 255 bytes otherwise.
inline std::string EncodeRegistryImage(const RegistryImage& image) {
  std::string out(1, static_cast<char>(image.flags));
  for (const RegistryImage::Value& v : image.values) {
    std::size_t name = 0, type = 0;
    while (name < ValueNames().size() && ValueNames()[name] != v.name) ++name;
    while (type < Types().size() && Types()[type] != v.type) ++type;
    if (name == ValueNames().size() || type == Types().size()) continue;
    out += static_cast<char>(name);
    const bool one_byte = !v.data.empty() && v.data.find_first_not_of(v.data[0]) == std::string::npos;
    if (v.data.size() > 255 && one_byte && v.data.size() <= 0xFFFF) {
      out += static_cast<char>(0xC0 | type);
      out += static_cast<char>(v.data.size() & 0xFF);
      out += static_cast<char>(v.data.size() >> 8);
      out += '\x01';
      out += v.data[0];
    } else {
      const std::string data = v.data.substr(0, 255);
      out += static_cast<char>(type);
      out += static_cast<char>(data.size());
      out += data;
    }
  }
  return out;
}

}  // namespace zepx::fuzz
