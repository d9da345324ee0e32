// The active dial-up connections: counted and hung up through Remote
// Access, in one buffer of 32 connection records, as the countdown dialog
// needs them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace zepx {

class DialUp {
 public:
  static constexpr std::size_t kRecords = 32;

  explicit DialUp(IDialUp& ras) : ras_(ras) {}

  // The number of active connections; 0 when the enumeration fails.
  std::uint32_t CountConnections();
  // Hangs up the enumerated connections, from the first, at most the 32 the
  // buffer holds; does not wait for them to close.
  void HangUpAllConnections();

 private:
  std::uint32_t Enumerate();
  IDialUp& ras_;
  std::array<RasConnA, kRecords> buffer_{};
};

}  // namespace zepx
