// The send method: how a run delivers its input. Its value is the item
// index of the radio group PostRadioGroup, stored in macro files
// ("SendAPI:") and in the registry.
#pragma once

#include <array>
#include <cstdint>

namespace zepx {

enum SendMethod : int {
  kSendEvent = 0,        // keybd_event / mouse_event, to the focused window
  kSendInput = 1,        // SendInput records, to the focused window
  kSendWinMessage = 2,   // window messages posted to each line's target
};
inline constexpr int kSendMethodCount = 3;
inline constexpr int kDefaultSendMethod = kSendInput;
extern const std::array<const char*, kSendMethodCount> kSendMethodCaptions;

bool IsValidSendMethod(int method);
// Limits a stored number to an existing method, as the radio group does
// with an index past its last button.
int ClampSendMethod(std::int64_t method);

// The question asked before a change of send method would leave lines of
// the other form in the list; nullptr when the change needs no question.
const char* SendMethodSwitchQuestion(int previous, int next);

}  // namespace zepx
