#include "run/condition_wait.h"

#include <algorithm>
#include <cstdlib>

#include "run/bound_point.h"

namespace zepx {

namespace {

const std::string* ClassOf(const WaitCondition& c) { return c.class_name ? &*c.class_name : nullptr; }

bool CloseEnough(std::uint32_t a, std::uint32_t b, std::int32_t tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(d) > tolerance) return false;
  }
  return true;
}

// Short, for the status line beside the list: "「無題 - メモ帳」(Notepad)の出現待ち",
// "120x45の色待ち FF8800±16".
std::string ConditionText(const WaitCondition& c) {
  if (c.kind == WaitCondition::Color)
    return (c.bound ? "「" + c.bound->title + "」の" : std::string()) + std::to_string(c.x) + "x" +
           std::to_string(c.y) + "の色待ち " + RgbText(c.rgb) + "±" + std::to_string(c.tolerance);
  static const char* const kWhat[] = {"の出現待ち", "の前面待ち", "の消滅待ち"};
  return "「" + c.title + "」" + (c.class_name ? "(" + *c.class_name + ")" : std::string()) + kWhat[c.kind];
}

}  // namespace

bool ConditionHolds(const WaitCondition& c, IWindows& windows) {
  switch (c.kind) {
    case WaitCondition::WindowOpen:
      return FindExactWindow(windows, c.title, ClassOf(c)) != 0;
    case WaitCondition::WindowFront:
      return IsExactWindow(windows, windows.GetForegroundWindow(), c.title, ClassOf(c));
    case WaitCondition::WindowGone:
      return FindExactWindow(windows, c.title, ClassOf(c)) == 0;
    case WaitCondition::Color: {
      // A window's point is looked for at each look: the window may come,
      // move or go meanwhile.
      std::optional<BoundLocation> in_window;
      if (c.bound && !(in_window = LocateBoundPoint(windows, *c.bound))) return false;
      const std::optional<std::uint32_t> rgb = windows.GetPixel(in_window ? in_window->screen : Point{c.x, c.y});
      return rgb && CloseEnough(*rgb, c.rgb, c.tolerance);
    }
  }
  return false;
}

WaitOutcome PollCondition(const WaitCondition& c, IWindows& windows, IMessageLoop& loop, Waiter& waiter) {
  const std::int64_t start = loop.NowMs();
  const std::int64_t end = start + c.deadline_ms;
  const unsigned ends = waiter.EndCount();
  std::int64_t next = start;
  for (;;) {
    if (ConditionHolds(c, windows)) return WaitOutcome::Met;
    const std::int64_t now = loop.NowMs();
    if (now >= end) return WaitOutcome::Deadline;
    // On the steps from the start, so that a slow look does not stretch
    // the interval.
    while (next <= now) next += kPollMs;
    waiter.WaitMs(static_cast<std::int32_t>(std::min(next, end) - now));
    if (waiter.EndCount() != ends) return WaitOutcome::Stopped;
  }
}

std::string WaitingStatusText(const WaitCondition& c, const std::string& stop_letter) {
  return ConditionText(c) + " (最長" + std::to_string(c.deadline_ms) + "ms)" + StopHint(stop_letter);
}

std::string StopHint(const std::string& letter) { return " - Ctrl+Alt+" + letter + "で中断できます"; }

std::string DeadlineStopText(const WaitCondition& c) {
  return "時間切れで停止: " + ConditionText(c) + " (" + std::to_string(c.deadline_ms) + "ms)";
}

std::string DeadlineNextText(const WaitCondition& c, const std::string& stop_letter) {
  return "時間切れ、次の行へ: " + ConditionText(c) + StopHint(stop_letter);
}

}  // namespace zepx
