// Window-bound mouse lines in a run: found where their window is now,
// brought to the front or posted to the child under the point, and a run
// that stops, the line selected, where the window is missing or covered.
#include <functional>

#include "run/bound_point.h"
#include "run/run_fixture.h"

namespace zepx {
namespace {

class BoundRun : public RunTest {
 protected:
  std::string At(const char* action, int x, int y, const std::string& window = "Probe@@ProbeClass") {
    return std::string("Win:") + action + ":" + N(x) + "x" + N(y) + "|" + window + " <" + N(probe) + ">";
  }
  Texts Sent(int row) { return fake.now = 0, Send(row, {"SetForegroundWindow", "ShowWindow", "SetCursorPos", "mouse_event", "PostMessageA"}); }
  Hwnd other = fake.AddWindow("Other", "OtherClass", {0, 0, 50, 50});
  Hwnd probe = fake.AddWindow("Probe", "ProbeClass", {100, 50, 500, 450});
};

TEST_F(BoundRun, AClickLandsAtTheWindowsPointWhereverItIsNow) {
  w.method = kSendEvent;
  FakePlatform::Window& p = *fake.FindWindowByHandle(probe);
  p.rect = {300, -98, 700, 302}, p.client = {4, 30}, p.dpi = 144, p.minimised = true;
  batch.SetLines({At("LClick", 120, 45)});  // minimised, at DPI 144, moved to where the point is on the top row
  const std::string front = "0:SetForegroundWindow(" + N(probe) + ")", up = "1050:SetCursorPos(400,300)";
  EXPECT_EQ(Sent(0), (Texts{"0:ShowWindow(" + N(probe) + ",9)", front, "50:SetCursorPos(484,0)",
                            "50:mouse_event(2,0,0,0,0)", "50:mouse_event(4,0,0,0,0)", up}));
  p.rect = {100, 50, 500, 450};
  p.dpi = 96;
  batch.SetLines({At("LDrag", 10, 10), "Win:LDrop:20x20|Other@@OtherClass"});  // from one window to another
  EXPECT_EQ(Sent(0), (Texts{"0:SetForegroundWindow(" + N(other) + ")", front, "100:SetCursorPos(114,90)",
                            "200:mouse_event(2,0,0,0,0)", "1400:SetCursorPos(20,20)", "1400:mouse_event(4,0,0,0,0)",
                            "2400:SetCursorPos(400,300)"}));
  batch.SetLines({At("RDrag", 10, 10), "Wait=1"});  // no point below: released where pressed
  EXPECT_EQ(Sent(0)[3], "1400:SetCursorPos(114,90)");
  // WinMessage: the deepest child under the point, in its own client
  // coordinates, whatever covers it; nothing brought to the front.
  w.method = kSendWinMessage;
  const Hwnd edit = fake.AddWindow("", "Edit", {104, 100, 500, 450}, probe);
  const Hwnd inner = fake.AddWindow("", "Inner", {400, 350, 450, 400}, edit);
  const Hwnd cover = fake.AddWindow("Cover", "CoverClass", {0, 0, 800, 800});
  batch.SetLines({At("LClick", 120, 45), At("RClick", 300, 300)});
  const std::string post = "50:PostMessageA(" + N(edit) + ",51", at = ",0," + N(25 << 16 | 120) + ")";
  EXPECT_EQ(Sent(0), (Texts{"50:SetCursorPos(224,125)", post + "3" + at, post + "4" + at, up}));
  EXPECT_EQ(Sent(1)[1], "50:PostMessageA(" + N(inner) + ",516,0," + N(30 << 16 | 4) + ")");
  // Injected again, under a window that goes within the second the click
  // allows another program to come forward: the click waits for it.
  w.method = kSendEvent;
  fake.now = 0;
  fake.At(280, [&] { fake.DestroyWindow(cover); });
  EXPECT_EQ(Sent(0)[1], "300:SetCursorPos(224,125)");
}

TEST_F(BoundRun, AMissingOrCoveredWindowStopsTheRunOnItsLine) {
  const std::tuple<std::vector<std::string>, std::function<void()>, const char*> cases[] = {
      {{"Wait=10", At("LClick", 120, 45)}, [this] { fake.DestroyWindow(probe); },
       "中断 (2行目) - ウインドウが見つかりません: Probe@@ProbeClass"},
      {{"Wait=10", At("LClick", 120, 45)}, [this] { fake.AddWindow("Cover", "C", {200, 50, 300, 200}); },
       "中断 (2行目) - 他のウインドウに隠れています: Probe@@ProbeClass"},
      {{At("LDrag", 1, 1), At("LDrop", 2, 2, "Gone@@G"), "Wait=10"}, [] {},  // nothing pressed for half a pair
       "中断 (2行目) - ウインドウが見つかりません: Gone@@G"}};
  for (const auto& [lines, change, status] : cases) {
    fake.DestroyWindow(probe);
    probe = fake.AddWindow("Probe", "ProbeClass", {100, 50, 500, 450});  // above the last case's cover
    change();
    Run(lines);
    EXPECT_EQ(w.log.back(), std::string("status ") + status + "@" + N(fake.now)) << "after the idle display";
    EXPECT_TRUE(batch.Selected() == 1 && fake.Timed({"mouse_event", "SetCursorPos"}).empty()) << "nothing pressed";
  }
}

// Which window a bound point names: the stored handle, else the first of
// exactly that title and class in z-order. (Moved, minimised, at 144 DPI or
// missing: the runs above.)
TEST(BoundPoint, FoundByItsHandleOrElseTheUpperWindowOfThatTitleAndClass) {
  // Each case changes the desktop and names the window expected (0: none).
  using F = FakePlatform;
  const std::tuple<const char*, std::function<Hwnd(F&, Hwnd)>, Point> cases[] = {
      {"a newer one of that name above: the stored handle",
       [](F& f, Hwnd w) { return f.AddWindow("Probe [1]", "ProbeClass"), w; }, {224, 125}},
      {"stale, two of that name: the upper one", [](F& f, Hwnd w) {
         f.DestroyWindow(w);
         f.AddWindow("Probe [1]", "ProbeClass", {9, 9, 50, 50});
         return f.AddWindow("Probe [1]", "ProbeClass", {300, 200, 700, 600}); }, {420, 245}},
      {"the handle now names another title", [](F& f, Hwnd w) { return f.FindWindowByHandle(w)->title = "P", Hwnd{0}; }, {}},
      {"hidden, or of another class", [](F& f, Hwnd w) {
         return f.FindWindowByHandle(w)->visible = false, f.AddWindow("Probe [1]", "Other"), Hwnd{0}; }, {}}};
  for (const auto& [name, change, at] : cases) {
    FakePlatform f;
    const Hwnd probe = f.AddWindow("Probe [1]", "ProbeClass", {100, 50, 500, 450});
    f.FindWindowByHandle(probe)->client = {4, 30};
    const Hwnd want = change(f, probe);
    const auto got = LocateBoundPoint(f, BoundPoint{120, 45, "Probe [1]", "ProbeClass", probe});
    EXPECT_EQ(got ? got->window : 0, want) << name;
    if (got) EXPECT_TRUE(got->screen == at) << name << " " << got->screen.x << "x" << got->screen.y;
  }
}

}  // namespace
}  // namespace zepx
