// Where a window-bound point is found on the substitute's desktop: by the
// stored handle, else by exact title and class in z-order, restored when
// minimised, scaled by the window's DPI; and the picker's way back.
#include <gtest/gtest.h>

#include <functional>

#include "platform/fake/fake_platform.h"
#include "run/bound_point.h"

namespace zepx {

TEST(BoundPoint, FoundByHandleOrTitleAndClassRestoredAndScaled) {
  struct Case {
    const char* name;
    std::function<Hwnd(FakePlatform&, Hwnd)> change;  // the window expected, 0 for none
    Point at;
  };
  auto add = [](FakePlatform& f, const char* title, const char* cls) {
    return f.AddWindow(title, cls, {300, 200, 700, 600});
  };
  const Case cases[] = {
      {"as picked", [](FakePlatform&, Hwnd w) { return w; }, {224, 125}},
      {"moved", [](FakePlatform& f, Hwnd w) { f.FindWindowByHandle(w)->rect = {300, 200, 700, 600}; return w; },
       {424, 275}},
      {"minimised", [](FakePlatform& f, Hwnd w) { f.FindWindowByHandle(w)->minimised = true; return w; },
       {224, 125}},
      {"DPI 144", [](FakePlatform& f, Hwnd w) { f.FindWindowByHandle(w)->dpi = 144; return w; }, {284, 148}},
      {"a newer window of the same name above it: the stored handle wins",
       [&](FakePlatform& f, Hwnd w) { add(f, "Probe [1]", "ProbeClass"); return w; }, {224, 125}},
      {"closed and opened again: the new one",
       [&](FakePlatform& f, Hwnd w) { f.DestroyWindow(w); return add(f, "Probe [1]", "ProbeClass"); }, {420, 245}},
      {"stale, two of that name: the upper one",
       [&](FakePlatform& f, Hwnd w) {
         f.DestroyWindow(w);
         const Hwnd lower = add(f, "Probe [1]", "ProbeClass");
         f.FindWindowByHandle(lower)->rect = {0, 0, 50, 50};
         return add(f, "Probe [1]", "ProbeClass");
       },
       {420, 245}},
      {"the handle now names another title, no other of that name",
       [](FakePlatform& f, Hwnd w) { f.FindWindowByHandle(w)->title = "Probe [2]"; return Hwnd{0}; }, {}},
      {"only a hidden one or one of another class",
       [&](FakePlatform& f, Hwnd w) {
         f.FindWindowByHandle(w)->visible = false;
         add(f, "Probe [1]", "Other");
         return Hwnd{0};
       },
       {}},
      {"missing", [](FakePlatform& f, Hwnd w) { f.DestroyWindow(w); return Hwnd{0}; }, {}},
  };
  for (const Case& k : cases) {
    FakePlatform f;
    const Hwnd w = f.AddWindow("Probe [1]", "ProbeClass", {100, 50, 500, 450});
    f.FindWindowByHandle(w)->client = {4, 30};
    const Hwnd want = k.change(f, w);
    const auto got = LocateBoundPoint(f, BoundPoint{120, 45, "Probe [1]", "ProbeClass", w});
    ASSERT_EQ(got.has_value(), want != 0) << k.name;
    if (!got) continue;
    EXPECT_EQ(got->window, want) << k.name;
    EXPECT_EQ(got->screen, k.at) << k.name << " " << got->screen.x << "x" << got->screen.y;
    EXPECT_FALSE(f.IsIconic(want)) << k.name;
  }
}

TEST(BoundPoint, APickGivesTheTopLevelWindowAndItsUnscaledClientPoint) {
  FakePlatform f;
  const Hwnd w = f.AddWindow("メモ帳", "Notepad", {100, 50, 500, 450});
  f.FindWindowByHandle(w)->client = {4, 30};
  f.FindWindowByHandle(w)->dpi = 144;
  f.AddWindow("", "Edit", {104, 80, 500, 450}, w);
  const auto p = BoundPointAt(f, {284, 148});
  ASSERT_TRUE(p);
  EXPECT_EQ(ComposeBoundPoint(*p), "120x45|メモ帳@@Notepad <" + std::to_string(w) + ">");
  EXPECT_EQ(LocateBoundPoint(f, *p)->screen, (Point{284, 148}));
  EXPECT_FALSE(BoundPointAt(f, {900, 900}));
}

}  // namespace zepx
