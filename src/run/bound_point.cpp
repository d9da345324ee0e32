#include "run/bound_point.h"

namespace zepx {

namespace {

constexpr std::uint32_t kBaseDpi = 96;
// FindWindowEx walks the z-order as it stands at each call; a desktop
// that reorders under the walk must not keep it going for ever.
constexpr int kMaxCandidates = 4096;

// v * num / den, rounded half away from zero.
std::int32_t Scale(std::int32_t v, std::uint32_t num, std::uint32_t den) {
  const std::int64_t n = static_cast<std::int64_t>(v) * num;
  const std::int64_t half = den / 2;
  return static_cast<std::int32_t>(n >= 0 ? (n + half) / den : -((-n + half) / den));
}

std::uint32_t DpiOf(IWindows& windows, Hwnd w) {
  const std::uint32_t dpi = windows.GetDpiForWindow(w);
  return dpi ? dpi : kBaseDpi;
}

Hwnd FindBoundWindow(IWindows& windows, const BoundPoint& p) {
  const Hwnd stored = p.handle ? static_cast<Hwnd>(*p.handle) : 0;
  if (IsExactWindow(windows, stored, p.title, &p.class_name)) return stored;
  return FindExactWindow(windows, p.title, &p.class_name);
}

}  // namespace

std::optional<BoundLocation> LocateBoundPoint(IWindows& windows, const BoundPoint& p) {
  const Hwnd w = FindBoundWindow(windows, p);
  if (!w) return std::nullopt;
  if (windows.IsIconic(w)) windows.ShowWindow(w, win::SW_RESTORE);
  const std::uint32_t dpi = DpiOf(windows, w);
  Point at{Scale(p.x, dpi, kBaseDpi), Scale(p.y, dpi, kBaseDpi)};
  if (!windows.ClientToScreen(w, at)) return std::nullopt;
  return BoundLocation{w, at};
}

std::optional<BoundPoint> BoundPointAt(IWindows& windows, Point screen) {
  const Hwnd w = windows.GetAncestor(windows.WindowFromPoint(screen), win::GA_ROOT);
  Point client = screen;
  if (!w || !windows.ScreenToClient(w, client)) return std::nullopt;
  const std::uint32_t dpi = DpiOf(windows, w);
  BoundPoint p;
  p.x = Scale(client.x, kBaseDpi, dpi);
  p.y = Scale(client.y, kBaseDpi, dpi);
  p.title = windows.WindowText(w);
  p.class_name = windows.WindowClassName(w);
  p.handle = w;
  return p;
}

bool IsExactWindow(IWindows& windows, Hwnd w, const std::string& title, const std::string* class_name) {
  return w && windows.IsWindowVisible(w) && windows.WindowText(w) == title &&
         (!class_name || windows.WindowClassName(w) == *class_name);
}

Hwnd FindExactWindow(IWindows& windows, const std::string& title, const std::string* class_name) {
  Hwnd w = 0;
  for (int n = 0; n < kMaxCandidates; ++n) {
    w = windows.FindWindowExA(0, w, class_name ? class_name->c_str() : nullptr, title.c_str());
    if (!w || IsExactWindow(windows, w, title, class_name)) return w;
  }
  return 0;
}

std::string BoundWindowName(const BoundPoint& p) { return p.title + kAppMark + p.class_name; }

}  // namespace zepx
