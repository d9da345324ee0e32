#include "run/condition_wait.h"

#include <algorithm>
#include <cstdlib>

#include "run/bound_point.h"

namespace zepx {

namespace {

// The system compares titles without regard to case, and a window that is
// hidden is found as well: both are checked again here.
bool IsTheWindow(IWindows& windows, Hwnd w, const WaitCondition& c) {
  return w && windows.IsWindowVisible(w) && windows.WindowText(w) == c.title &&
         (!c.class_name || windows.WindowClassName(w) == *c.class_name);
}

bool WindowThere(IWindows& windows, const WaitCondition& c) {
  const char* cls = c.class_name ? c.class_name->c_str() : nullptr;
  // Bounded: windows may reorder under the walk.
  Hwnd w = 0;
  for (int n = 0; n < 1000; ++n) {
    w = windows.FindWindowExA(0, w, cls, c.title.c_str());
    if (!w) return false;
    if (IsTheWindow(windows, w, c)) return true;
  }
  return false;
}

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

std::string StopHint(const std::string& letter) { return " - Ctrl+Alt+" + letter + "で中断できます"; }

}  // namespace

bool ConditionHolds(const WaitCondition& c, IWindows& windows) {
  switch (c.kind) {
    case WaitCondition::WindowOpen:
      return WindowThere(windows, c);
    case WaitCondition::WindowFront:
      return IsTheWindow(windows, windows.GetForegroundWindow(), c);
    case WaitCondition::WindowGone:
      return !WindowThere(windows, c);
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

std::string DeadlineStopText(const WaitCondition& c) {
  return "時間切れで停止: " + ConditionText(c) + " (" + std::to_string(c.deadline_ms) + "ms)";
}

std::string DeadlineNextText(const WaitCondition& c, const std::string& stop_letter) {
  return "時間切れ、次の行へ: " + ConditionText(c) + StopHint(stop_letter);
}

}  // namespace zepx
