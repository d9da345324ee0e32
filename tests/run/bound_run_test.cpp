// Window-bound mouse lines in a run: found where their window is now,
// brought to the front or posted to the child under the point, and a run
// that stops, the line selected, where the window is missing or covered.
#include "run/run_fixture.h"

namespace zepx {
namespace {

class BoundRun : public RunTest {
 protected:
  BoundRun() {
    fake.cursor = {5, 5};
    fake.FindWindowByHandle(probe)->client = {4, 30};
  }
  std::string At(const char* action, int x, int y, const std::string& window = "Probe@@ProbeClass") {
    return std::string("Win:") + action + ":" + N(x) + "x" + N(y) + "|" + window + " <" + N(probe) + ">";
  }
  void Reset() { *fake.FindWindowByHandle(probe) = FakePlatform::Window{probe, "ProbeClass", "Probe", 0, 0, {100, 50, 500, 450}}; fake.FindWindowByHandle(probe)->client = {4, 30}; }
  Calls Sent(int row) {
    return Send(row, {"SetForegroundWindow", "ShowWindow", "SetCursorPos", "mouse_event", "PostMessageA"});
  }
  Hwnd other = fake.AddWindow("Other", "OtherClass", {0, 0, 50, 50});
  Hwnd probe = fake.AddWindow("Probe", "ProbeClass", {100, 50, 500, 450});
};

TEST_F(BoundRun, ClicksLandAtTheWindowsPointWhereverItIsNow) {
  struct Case {
    const char* name;
    int method;
    std::function<void(FakePlatform::Window&)> change;
    const char* action;
    Calls want;  // after the foreground and restore calls
  };
  const Case cases[] = {
      {"moved to the top of the screen", kSendEvent, [](auto& w) { w.rect = {300, -75, 700, 325}; }, "LClick",
       {"50:SetCursorPos(424,0)", "50:mouse_event(2,0,0,0,0)", "50:mouse_event(4,0,0,0,0)"}},
      {"minimised", kSendInput, [](auto& w) { w.minimised = true; }, "RDClick",
       {"50:SetCursorPos(224,125)", "50:mouse_event(8,0,0,0,0)", "50:mouse_event(16,0,0,0,0)",
        "50:mouse_event(8,0,0,0,0)", "50:mouse_event(16,0,0,0,0)"}},
      {"DPI 144", kSendEvent, [](auto& w) { w.dpi = 144; }, "LDrop", {"50:SetCursorPos(284,148)"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    w.method = k.method;
    Reset();
    k.change(*fake.FindWindowByHandle(probe));
    batch.SetLines({At(k.action, 120, 45)});
    fake.now = 0;
    Calls want = k.want;
    want.insert(want.begin(), "0:SetForegroundWindow(" + N(probe) + ")");
    if (std::string(k.name) == "minimised") want.insert(want.begin(), "0:ShowWindow(" + N(probe) + ",9)");
    want.push_back("1050:SetCursorPos(5,5)");
    EXPECT_EQ(Sent(0), want);
  }
  // WinMessage: the deepest child under the point, in its own client
  // coordinates, whatever covers it; nothing brought to the front.
  w.method = kSendWinMessage;
  Reset();
  const Hwnd edit = fake.AddWindow("", "Edit", {104, 100, 500, 450}, probe);
  const Hwnd inner = fake.AddWindow("", "Inner", {400, 350, 450, 400}, edit);
  fake.AddWindow("Cover", "CoverClass", {0, 0, 800, 800});
  batch.SetLines({At("LClick", 120, 45), At("RClick", 300, 300)});
  fake.now = 0;
  EXPECT_EQ(Sent(0), (Calls{"50:SetCursorPos(224,125)", "50:PostMessageA(" + N(edit) + ",513,0," + N(25 << 16 | 120) + ")",
                            "50:PostMessageA(" + N(edit) + ",514,0," + N(25 << 16 | 120) + ")", "1050:SetCursorPos(5,5)"}));
  fake.now = 0;
  EXPECT_EQ(Sent(1)[1], "50:PostMessageA(" + N(inner) + ",516,0," + N(30 << 16 | 4) + ")");
  EXPECT_EQ(batch.Target(1), inner);
}

TEST_F(BoundRun, AMissingOrCoveredWindowStopsTheRunOnItsLine) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::function<void()> change;
    int selected;
    const char* status;
  };
  const Case cases[] = {
      {"missing", {"Wait=10", At("LClick", 120, 45)}, [this] { fake.DestroyWindow(probe); }, 1,
       "中断 (2行目) - ウインドウが見つかりません: Probe@@ProbeClass"},
      {"covered", {"Wait=10", At("LClick", 120, 45)},
       [this] { fake.AddWindow("Cover", "C", {200, 50, 300, 200}); }, 1,
       "中断 (2行目) - 他のウインドウに隠れています: Probe@@ProbeClass"},
      {"the drop's window missing", {At("LDrag", 1, 1), At("LDrop", 2, 2, "Gone@@G"), "Wait=10"}, nullptr, 1,
       "中断 (2行目) - ウインドウが見つかりません: Gone@@G"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    fake.DestroyWindow(probe);
    probe = fake.AddWindow("Probe", "ProbeClass", {100, 50, 500, 450});
    if (k.change) k.change();
    w.log.clear();
    Run(k.lines);
    EXPECT_EQ(batch.Selected(), k.selected);
    EXPECT_EQ(w.log.back(), std::string("status ") + k.status + "@" + N(fake.now));
    EXPECT_EQ(fake.Timed({"mouse_event", "SetCursorPos"}), Calls{}) << "nothing pressed, the cursor not moved";
    EXPECT_FALSE(engine.Running());
  }
}

TEST_F(BoundRun, ADragPairFromOneWindowToAnother) {
  w.method = kSendEvent;
  batch.SetLines({At("LDrag", 10, 10), "Win:LDrop:20x20|Other@@OtherClass"});
  fake.now = 0;
  EXPECT_EQ(Sent(0), (Calls{"0:SetForegroundWindow(" + N(other) + ")", "0:SetForegroundWindow(" + N(probe) + ")",
                            "100:SetCursorPos(114,90)", "200:mouse_event(2,0,0,0,0)", "1400:SetCursorPos(20,20)",
                            "1400:mouse_event(4,0,0,0,0)", "2400:SetCursorPos(5,5)"}));
}

}  // namespace
}  // namespace zepx
