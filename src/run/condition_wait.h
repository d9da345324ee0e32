// The waits for a condition ("WaitWindow:", "WaitColor:" lines): a window
// that opens, comes to the front or goes away, a colour at a point. The
// condition is looked at every kPollMs through the run's Waiter, so that
// between two looks the window, the hot keys and Stop stay live and no
// processor time is spent; the deadline ends the wait in any case.
#pragma once

#include <cstdint>
#include <string>

#include "model/command_line.h"
#include "platform/platform.h"
#include "run/waiter.h"

namespace zepx {

inline constexpr std::int32_t kPollMs = 50;

enum class WaitOutcome { Met, Deadline, Stopped };

// Whether the condition holds now. A window counts when it is a visible
// top-level window (owned ones, such as dialogs, included) with exactly
// the title, and the class when one is given.
bool ConditionHolds(const WaitCondition& c, IWindows& windows);

// Looks at once, then at each kPollMs step from the start, and once more
// at the deadline. Stopped when the waiter's waits were ended (Stop, the
// stop hot key, a quit) meanwhile.
WaitOutcome PollCondition(const WaitCondition& c, IWindows& windows, IMessageLoop& loop, Waiter& waiter);

// How every status of a run ends while Stop can end it.
std::string StopHint(const std::string& stop_letter);

// The status line while the wait goes on, and at its deadline.
std::string WaitingStatusText(const WaitCondition& c, const std::string& stop_letter);
std::string DeadlineStopText(const WaitCondition& c);
std::string DeadlineNextText(const WaitCondition& c, const std::string& stop_letter);

}  // namespace zepx
