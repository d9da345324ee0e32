// Where a window-bound point is found on the substitute's desktop: by the
// stored handle, else by exact title and class in z-order, restored when
// minimised, scaled by the window's DPI.
#include <gtest/gtest.h>

#include <functional>

#include "platform/fake/fake_platform.h"
#include "run/bound_point.h"

namespace zepx {

TEST(BoundPoint, FoundByHandleOrTitleAndClassRestoredAndScaled) {
  // Each case changes the desktop and names the window expected (0: none).
  using F = FakePlatform;
  const std::tuple<const char*, std::function<Hwnd(F&, Hwnd)>, Point> cases[] = {
      {"moved", [](F& f, Hwnd w) { return f.FindWindowByHandle(w)->rect = {300, 200, 700, 600}, w; }, {424, 275}},
      {"minimised", [](F& f, Hwnd w) { return f.FindWindowByHandle(w)->minimised = true, w; }, {224, 125}},
      {"DPI 144", [](F& f, Hwnd w) { return f.FindWindowByHandle(w)->dpi = 144, w; }, {284, 148}},
      {"a newer one of that name above: the stored handle",
       [](F& f, Hwnd w) { return f.AddWindow("Probe [1]", "ProbeClass"), w; }, {224, 125}},
      {"stale, two of that name: the upper one", [](F& f, Hwnd w) {
         f.DestroyWindow(w);
         f.AddWindow("Probe [1]", "ProbeClass", {9, 9, 50, 50});
         return f.AddWindow("Probe [1]", "ProbeClass", {300, 200, 700, 600}); }, {420, 245}},
      {"the handle now names another title", [](F& f, Hwnd w) { return f.FindWindowByHandle(w)->title = "P", Hwnd{0}; }, {}},
      {"hidden, or of another class", [](F& f, Hwnd w) {
         return f.FindWindowByHandle(w)->visible = false, f.AddWindow("Probe [1]", "Other"), Hwnd{0}; }, {}},
      {"missing", [](F& f, Hwnd w) { return f.DestroyWindow(w), Hwnd{0}; }, {}}};
  for (const auto& [name, change, at] : cases) {
    FakePlatform f;
    const Hwnd probe = f.AddWindow("Probe [1]", "ProbeClass", {100, 50, 500, 450});
    f.FindWindowByHandle(probe)->client = {4, 30};
    const Hwnd want = change(f, probe);
    const auto got = LocateBoundPoint(f, BoundPoint{120, 45, "Probe [1]", "ProbeClass", probe});
    EXPECT_EQ(got ? got->window : 0, want) << name;
    if (got) EXPECT_TRUE(got->screen == at && !f.IsIconic(want)) << name << " " << got->screen.x << "x" << got->screen.y;
  }
}

}  // namespace zepx
