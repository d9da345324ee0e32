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
  // FindWindow compares titles without regard to case; the point is bound
  // to exactly this title and class.
  auto matches = [&](Hwnd w) {
    return w && windows.IsWindowVisible(w) && windows.WindowText(w) == p.title &&
           windows.WindowClassName(w) == p.class_name;
  };
  if (p.handle && matches(static_cast<Hwnd>(*p.handle))) return static_cast<Hwnd>(*p.handle);
  Hwnd w = 0;
  for (int n = 0; n < kMaxCandidates; ++n) {
    w = windows.FindWindowExA(0, w, p.class_name.c_str(), p.title.c_str());
    if (!w || matches(w)) return w;
  }
  return 0;
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

std::string BoundWindowName(const BoundPoint& p) { return p.title + kAppMark + p.class_name; }

}  // namespace zepx
