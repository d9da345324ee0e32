// The action a timed event's slot stores, by index: the entries of the
// settings dialog's selectors, and what the event executor runs. Indices
// 13 and 14 repeat 2 and 4: an action is known by its text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zepx {

inline constexpr int kEventActionEntryCount = 15;
extern const char* const kEventActionEntries[kEventActionEntryCount];

// The entries of the selector of one slot (event 1 or 2, slot 0..4): slot
// 0 of event 1 lacks the two repeated entries at the end.
std::vector<std::string> EventActionItems(int event, int slot);
// The text a slot's stored index chooses; empty outside its selector.
std::string EventActionText(int event, int slot, std::int32_t index);

}  // namespace zepx
