#include "events/dialup.h"

#include <algorithm>

namespace zepx {

std::uint32_t DialUp::Enumerate() {
  buffer_[0].dwSize = sizeof(RasConnA);
  std::uint32_t size = sizeof buffer_;
  std::uint32_t count = 0;
  // The result code is not looked at: a failed enumeration counts nothing,
  // and with more connections than fit, the records that fit are used.
  ras_.RasEnumConnectionsA(buffer_.data(), size, count);
  return count;
}

std::uint32_t DialUp::CountConnections() { return Enumerate(); }

void DialUp::HangUpAllConnections() {
  if (CountConnections() == 0) return;
  const std::uint32_t count = Enumerate();
  const std::size_t n = std::min<std::size_t>(count, kRecords);
  for (std::size_t i = 0; i < n; ++i) ras_.RasHangUpA(buffer_[i].hrasconn);
}

}  // namespace zepx
