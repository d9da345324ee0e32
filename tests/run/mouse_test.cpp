// Mouse lines against a small desktop: where the cursor goes, what is
// clipped, which button events or messages reach which window, and when
// (click wait 1000, drag wait 1200).
#include "run/run_fixture.h"

#include <stdexcept>

namespace zepx {
namespace {

class Mouse : public RunTest {
 protected:
  Mouse() { fake.cursor = {400, 500}; }  // below both windows
  Texts SendRow(int row) {
    return Send(row, {"SetActiveWindow", "Sleep", "GetCursorPos", "SetCursorPos", "ClipCursor", "mouse_event",
                      "PostMessageA", "WindowFromPoint", "ScreenToClient"});
  }
  static std::string Post(std::int64_t t, Hwnd w, int msg, Point client) {
    return N(t) + ":PostMessageA(" + N(w) + "," + N(msg) + ",0," + N((client.y << 16) | client.x) + ")";
  }
  Hwnd left = fake.AddWindow("Left", "LeftClass", {100, 40, 300, 200});
  Hwnd right = fake.AddWindow("Right", "RightClass", {300, 0, 700, 400});
};

TEST_F(Mouse, ClicksActAtThePointShownAndPutTheCursorBack) {
  // With WinMessage the window under the point (the row's target) and the
  // point in it; the mouse_event flags or the messages posted.
  struct Case { int method; std::string line; Hwnd window; Point client; std::vector<int> buttons; };
  const Case cases[] = {
      {kSendEvent, "L_Click:120x45", 0, {}, {2, 4}},
      {kSendInput, "R_Click:350x100", 0, {}, {8, 16}},
      {kSendEvent, "L_DClick:120x45", 0, {}, {2, 4, 2, 4}},
      {kSendInput, "R_DClick:350x100", 0, {}, {8, 16, 8, 16}},
      {kSendWinMessage, "L_Click:120x45", left, {20, 5}, {0x201, 0x202}},
      {kSendWinMessage, "R_Click:350x100", right, {50, 100}, {0x204, 0x205}},
      {kSendWinMessage, "L_DClick:120x45", left, {20, 5}, {0x201, 0x202, 0x203, 0x202}},
      {kSendWinMessage, "R_DClick:350x100", right, {50, 100}, {0x204, 0x205, 0x206, 0x205}},
      // A point on the top row counts as none: the buttons act wherever the
      // cursor is; mouse lines carry no target, so WinMessage reaches none.
      {kSendEvent, "L_Click:300x0", 0, {}, {2, 4}},
      {kSendWinMessage, "L_Click:300x0", 0, {}, {0x201, 0x202}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line + " method " + N(c.method));
    w.method = c.method;
    w.log.clear();
    batch.SetLines({c.line});
    fake.now = 0;
    const bool post = c.method == kSendWinMessage, moved = c.line.compare(c.line.size() - 2, 2, "x0") != 0;
    Texts want{"0:SetActiveWindow(0)", "0:Sleep(50)"};
    const std::string at = c.line.substr(c.line.find(':') + 1), xy = at.substr(0, at.find('x')) + "," + at.substr(at.find('x') + 1);
    if (moved) want.push_back("50:GetCursorPos()=400,500");
    if (moved && post)
      want.insert(want.end(), {"50:WindowFromPoint(" + xy + ")=" + N(c.window), "50:ScreenToClient(" + N(c.window) + "," + xy + ")"});
    if (moved) want.insert(want.end(), {"50:SetCursorPos(" + xy + ")", "50:ClipCursor(" + xy + "," + xy + ")"});
    for (int b : c.buttons) want.push_back(post ? Post(50, c.window, b, c.client) : "50:mouse_event(" + N(b) + ",0,0,0,0)");
    want.push_back("1050:ClipCursor(null)");
    if (moved) want.push_back("1050:SetCursorPos(400,500)");
    EXPECT_EQ(SendRow(0), want);
    EXPECT_EQ(w.Seen("delay"), (Texts{"delay C+@50", "delay C-@1050"}));
  }
  // In a run (WinMessage, as the last case) the row sent is the row the run is at.
  Run({"Wait=100", "L_Click:120x45"});
  EXPECT_EQ(batch.Targets(), (std::vector<Hwnd>{0, left}));
}

TEST_F(Mouse, DragPressesHoldsAndReleasesAtTheDropPointEvenWhenStoppedOrFailing) {
  w.method = kSendEvent;
  batch.SetLines({"L_Drag:10x20", "L_Drop:300x20", "[Enter]"});
  EXPECT_EQ(Join(SendRow(0)),
            "0:SetActiveWindow(0) 100:GetCursorPos()=400,500 100:SetCursorPos(10,20) 200:ClipCursor(10,20,10,20) "
            "200:mouse_event(2,0,0,0,0) 1400:ClipCursor(null) 1400:SetCursorPos(300,20) 1400:ClipCursor(300,20,300,20) "
            "1400:mouse_event(4,0,0,0,0) 2400:ClipCursor(null) 2400:SetCursorPos(400,500)");
  EXPECT_EQ(w.Seen("delay"), (Texts{"delay D+@200", "delay D-@1400", "delay C+@1400", "delay C-@2400"}));
  EXPECT_EQ(batch.Selected(), 1);
  EXPECT_EQ(Join(SendRow(1)), "2400:SetActiveWindow(0) 2400:Sleep(50) 2450:GetCursorPos()=400,500 2450:SetCursorPos(300,20) "
                              "2450:ClipCursor(300,20,300,20) 3450:ClipCursor(null) 3450:SetCursorPos(400,500)");

  // WinMessage: the press and the release go to the windows under their points.
  w.method = kSendWinMessage;
  batch.SetLines({"L_Drag:150x100", "L_Drop:500x300"});
  fake.now = 0;
  EXPECT_EQ(Send(0, {"PostMessageA"}), (Texts{Post(200, left, 0x201, {50, 60}), Post(1400, right, 0x202, {200, 300})}));
  EXPECT_EQ(batch.Targets(), (std::vector<Hwnd>{left, right})) << "the release is the drop row's";
  // On the last row the release is at the press point.
  batch.SetLines({"[Enter]", "R_Drag:150x100"});
  fake.now = 0;
  EXPECT_EQ(Send(1, {"PostMessageA"}), (Texts{Post(200, left, 0x204, {50, 60}), Post(1400, left, 0x205, {50, 60})}));
  EXPECT_EQ(batch.Selected(), -1);

  // A Stop ends the drag's wait; the release and the click wait still come.
  // A failing handler leaves no button down and the cursor free.
  w.method = kSendEvent;
  batch.SetLines({"L_Drag:10x20", "L_Drop:300x20"});
  fake.now = 0;
  fake.At(700, [&] { engine.Stop(); });
  const Texts c = SendRow(0);
  EXPECT_EQ(Join(Texts(c.begin() + 4, c.end())),
            "200:mouse_event(2,0,0,0,0) 700:ClipCursor(null) 700:SetCursorPos(300,20) 700:ClipCursor(300,20,300,20) "
            "700:mouse_event(4,0,0,0,0) 1700:ClipCursor(null) 1700:SetCursorPos(400,500)");

  batch.SetLines({"R_Drag:10x20", "R_Drop:300x20"});
  fake.At(fake.now + 300, [] { throw std::runtime_error("handler failed"); });
  EXPECT_THROW(SendRow(0), std::runtime_error);
  EXPECT_EQ(fake.Texts({"mouse_event"}), (Texts{"mouse_event(8,0,0,0,0)", "mouse_event(16,0,0,0,0)"}));
  EXPECT_EQ(fake.cursor, (Point{400, 500}));
}

}  // namespace
}  // namespace zepx
