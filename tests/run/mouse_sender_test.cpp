// Mouse lines against a small desktop: where the cursor goes, what is
// clipped, which button events or messages are sent to which window, and
// when (ClickAfterDelay 1000 and DragDelay 1200 unless a test sets them).
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

using Calls = std::vector<std::string>;

std::string N(Hwnd h) { return std::to_string(h); }

// The entries of a call list that name the given call.
Calls Only(const Calls& calls, const char* name) {
  Calls out;
  for (const std::string& s : calls)
    if (s.find(name) != std::string::npos) out.push_back(s);
  return out;
}

class MouseSender : public ::testing::Test {
 protected:
  void SetUp() override {
    form.PostRadioGroup.OnSelect = nullptr;
    form.PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
    // Two windows side by side; the cursor rests below them.
    left = fake.AddWindow("Left", "LeftClass", {100, 40, 300, 200});
    right = fake.AddWindow("Right", "RightClass", {300, 0, 700, 400});
    fake.cursor = {400, 500};
  }
  void TearDown() override {
    EXPECT_TRUE(fake.buttons_down.empty()) << "a button was left down";
    EXPECT_FALSE(fake.clip.has_value()) << "the cursor was left confined";
  }
  void Method(int m) {
    form.PostRadioGroup.SetItemIndex(m);
    form.settings.PostMouseChecked = m == kSendWinMessage;
  }
  void Lines(std::vector<std::string> lines) {
    
    form.batch.SetLines(std::move(lines));
  }
  // What the run loop does for row i: select it, then send it. Returns the
  // calls this line made, with their times.
  Calls Send(int i) {
    fake.ClearCalls();
    form.batch.Select(i);
    form.engine.Mouse().SendMouseCommand(i);
    return fake.Timed({"SetActiveWindow", "Sleep", "GetCursorPos", "SetCursorPos", "ClipCursor",
                       "mouse_event", "PostMessageA", "WindowFromPoint", "ScreenToClient"});
  }
  std::string Post(const char* t, Hwnd w, int msg, std::intptr_t lparam) {
    return std::string(t) + ":PostMessageA(" + N(w) + "," + std::to_string(msg) + ",0," +
           std::to_string(lparam) + ")";
  }

  FakePlatform fake;
  TApplication app;
  TMainForm form{fake.platform(), app};
  Hwnd left = 0, right = 0;
};

constexpr std::intptr_t Packed(int x, int y) { return (static_cast<std::intptr_t>(y) << 16) | x; }

TEST_F(MouseSender, LeftClickMovesTheCursorThereClicksAndPutsItBack) {
  Method(kSendEvent);
  Lines({"L_Click:120x45"});
  std::vector<std::string> during;
  fake.At(500, [&] {
    during.push_back(std::to_string(fake.cursor.x) + "," + std::to_string(fake.cursor.y));
    during.push_back(fake.clip ? "clipped" : "free");
    during.push_back(form.ClickAfterDelay.FontColor() == kColorBlue ? "blue" : "plain");
  });
  EXPECT_EQ(Send(0), (Calls{"0:SetActiveWindow(0)", "0:Sleep(50)", "50:GetCursorPos()=400,500",
                            "50:SetCursorPos(120,45)", "50:ClipCursor(120,45,120,45)",
                            "50:mouse_event(2,0,0,0,0)", "50:mouse_event(4,0,0,0,0)",
                            "1050:ClipCursor(null)", "1050:SetCursorPos(400,500)"}));
  EXPECT_EQ(during, (Calls{"120,45", "clipped", "blue"}));
  EXPECT_EQ(form.ClickAfterDelay.FontColor(), kColorWindowText);
  EXPECT_EQ(fake.cursor, (Point{400, 500}));
  EXPECT_EQ(form.XLabel.Value(), 120);
  EXPECT_EQ(form.YLabel.Value(), 45);
}

TEST_F(MouseSender, WinMessageClicksGoToTheWindowUnderThePointInItsClientCoordinates) {
  Method(kSendWinMessage);
  Lines({"L_Click:120x45"});
  const std::string l = N(left);
  EXPECT_EQ(Send(0), (Calls{"0:SetActiveWindow(0)", "0:Sleep(50)", "50:GetCursorPos()=400,500",
                            "50:WindowFromPoint(120,45)=" + l, "50:ScreenToClient(" + l + ",120,45)",
                            "50:SetCursorPos(120,45)", "50:ClipCursor(120,45,120,45)",
                            Post("50", left, 0x201, Packed(20, 5)),
                            Post("50", left, 0x202, Packed(20, 5)), "1050:ClipCursor(null)",
                            "1050:SetCursorPos(400,500)"}));
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{left}));

  Lines({"R_DClick:350x100"});
  fake.now = 0;
  EXPECT_EQ(Only(Send(0), "PostMessageA"), (Calls{Post("50", right, 0x204, Packed(50, 100)), Post("50", right, 0x205, Packed(50, 100)),
                          Post("50", right, 0x206, Packed(50, 100)), Post("50", right, 0x205, Packed(50, 100))}));
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{right}));
}

TEST_F(MouseSender, DoubleClickInTheEventMethodIsTwoPressesAtOnce) {
  Method(kSendInput);  // the mouse is the same in _event and SendInput
  Lines({"R_DClick:350x100"});
  EXPECT_EQ(Only(Send(0), "mouse_event"), (Calls{"50:mouse_event(8,0,0,0,0)", "50:mouse_event(16,0,0,0,0)",
                           "50:mouse_event(8,0,0,0,0)", "50:mouse_event(16,0,0,0,0)"}));
}

TEST_F(MouseSender, APointOnTheTopRowCountsAsNoPoint) {
  Method(kSendEvent);
  Lines({"L_Click:300x0"});
  EXPECT_EQ(Send(0), (Calls{"0:SetActiveWindow(0)", "0:Sleep(50)", "50:mouse_event(2,0,0,0,0)",
                            "50:mouse_event(4,0,0,0,0)", "1050:ClipCursor(null)"}));
  EXPECT_EQ(fake.cursor, (Point{400, 500}));

  // Mouse lines carry no target: in WinMessage the click reaches no window.
  Method(kSendWinMessage);
  fake.now = 0;
  EXPECT_EQ(Send(0), (Calls{"0:SetActiveWindow(0)", "0:Sleep(50)", Post("50", 0, 0x201, 0),
                            Post("50", 0, 0x202, 0), "1050:ClipCursor(null)"}));
}

TEST_F(MouseSender, DragPressesHoldsReleasesAtTheDropPointAndTheDropLineOnlyMoves) {
  Method(kSendEvent);
  Lines({"L_Drag:10x20", "L_Drop:300x20", "[Enter]"});
  std::vector<std::string> held;
  fake.At(800, [&] {
    held.push_back(std::to_string(fake.cursor.x) + "," + std::to_string(fake.cursor.y));
    held.push_back(fake.buttons_down.count(win::MOUSEEVENTF_LEFTDOWN) ? "down" : "up");
    held.push_back(form.DragDelay.FontColor() == kColorBlue ? "blue" : "plain");
  });
  EXPECT_EQ(Send(0), (Calls{"0:SetActiveWindow(0)", "100:GetCursorPos()=400,500",
                            "100:SetCursorPos(10,20)", "200:ClipCursor(10,20,10,20)",
                            "200:mouse_event(2,0,0,0,0)", "1400:ClipCursor(null)",
                            "1400:SetCursorPos(300,20)", "1400:ClipCursor(300,20,300,20)",
                            "1400:mouse_event(4,0,0,0,0)", "2400:ClipCursor(null)",
                            "2400:SetCursorPos(400,500)"}));
  EXPECT_EQ(held, (Calls{"10,20", "down", "blue"}));
  EXPECT_EQ(form.DragDelay.FontColor(), kColorWindowText);
  EXPECT_EQ(form.SendList.ItemIndex(), 1);
  EXPECT_EQ(form.XLabel.Value(), 300);

  EXPECT_EQ(Send(1), (Calls{"2400:SetActiveWindow(0)", "2400:Sleep(50)", "2450:GetCursorPos()=400,500",
                            "2450:SetCursorPos(300,20)", "2450:ClipCursor(300,20,300,20)",
                            "3450:ClipCursor(null)", "3450:SetCursorPos(400,500)"}));
}

TEST_F(MouseSender, WinMessageDragPostsThePressAndTheReleaseToTheirOwnWindows) {
  Method(kSendWinMessage);
  Lines({"L_Drag:150x100", "L_Drop:500x300"});
  EXPECT_EQ(Only(Send(0), "PostMessageA"), (Calls{Post("200", left, 0x201, Packed(50, 60)), Post("1400", right, 0x202, Packed(200, 300))}));
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{left, right}));
  EXPECT_EQ(fake.cursor, (Point{400, 500}));
}

TEST_F(MouseSender, StopDuringTheDragStillReleasesAndWaitsTheClickDelayInFull) {
  Method(kSendEvent);
  Lines({"L_Drag:10x20", "L_Drop:300x20"});
  fake.At(700, [&] { form.StopMacro(); });
  Calls c = Send(0);
  EXPECT_EQ(Calls(c.begin() + 4, c.end()),
            (Calls{"200:mouse_event(2,0,0,0,0)", "700:ClipCursor(null)", "700:SetCursorPos(300,20)",
                   "700:ClipCursor(300,20,300,20)", "700:mouse_event(4,0,0,0,0)",
                   "1700:ClipCursor(null)", "1700:SetCursorPos(400,500)"}));
  EXPECT_EQ(form.DragDelay.FontColor(), kColorWindowText);
}

TEST_F(MouseSender, AHandlerThrowingDuringTheDragReleasesTheButtonAndTheCursor) {
  Method(kSendEvent);
  Lines({"R_Drag:10x20", "R_Drop:300x20"});
  fake.At(700, [] { throw std::runtime_error("handler failed"); });
  EXPECT_THROW(Send(0), std::runtime_error);
  EXPECT_EQ(Only(fake.Texts(), "mouse_event"), (Calls{"mouse_event(8,0,0,0,0)", "mouse_event(16,0,0,0,0)"}));
  EXPECT_EQ(fake.cursor, (Point{400, 500}));
}

TEST_F(MouseSender, DragOnTheLastRowReleasesAtThePressPointWithoutGrowingTheList) {
  Method(kSendWinMessage);
  Lines({"[Enter]", "R_Drag:150x100"});
  EXPECT_EQ(Only(Send(1), "PostMessageA"), (Calls{Post("200", left, 0x204, Packed(50, 60)), Post("1400", left, 0x205, Packed(50, 60))}));
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{0, left}));
  EXPECT_EQ(form.SendList.ItemIndex(), -1);
  EXPECT_EQ(fake.cursor, (Point{400, 500}));

  Method(kSendEvent);
  fake.now = 0;
  const Calls c = Send(1);
  EXPECT_EQ(Only(c, "mouse_event"), (Calls{"200:mouse_event(8,0,0,0,0)", "1400:mouse_event(16,0,0,0,0)"}));
  EXPECT_EQ(Only(c, "SetCursorPos"),
            (Calls{"100:SetCursorPos(150,100)", "1400:SetCursorPos(150,100)", "2400:SetCursorPos(400,500)"}));
}

// Left double click and right click sent by a real run from the Run button,
// in _event and in WinMessage. Times are counted from the start of the
// run's first line (ClickAfterDelay 1000).
class MouseRun : public MouseSender {
 protected:
  void SetUp() override {
    MouseSender::SetUp();
    form.LoopSpinEdit.SetValue(1);
  }
  void TearDown() override {
    MouseSender::TearDown();
    EXPECT_EQ(fake.cursor, (Point{400, 500})) << "the cursor was not put back";
    EXPECT_TRUE(fake.boxes.empty()) << "no question or message expected";
  }
  // The method first, on an empty list, so that the switch has nothing to ask.
  void SetUpRun(int method, const std::vector<std::string>& lines) {
    form.batch.SetLines({});
    Method(method);
    form.batch.SetLines(lines);
  }
  // Runs the list once; the mouse-related calls, timed from the first line.
  Calls RunMouse() {
    fake.ClearCalls();
    const std::int64_t first_line = fake.now + 1000;
    form.BitBtn1Click();
    Calls out;
    for (const FakePlatform::Call& c : fake.calls) {
      for (const char* name : {"GetCursorPos(", "SetCursorPos(", "ClipCursor(", "mouse_event(",
                               "PostMessageA(", "WindowFromPoint(", "ScreenToClient("})
        if (c.text.rfind(name, 0) == 0) out.push_back(std::to_string(c.t - first_line) + ":" + c.text);
    }
    return out;
  }
  std::string RunPost(Hwnd w, int msg, std::intptr_t lparam) { return Post("50", w, msg, lparam); }
};

TEST_F(MouseRun, LeftDoubleClickWithEventIsTwoLeftPressesAtThePoint) {
  SetUpRun(kSendEvent, {"L_DClick:120x45"});
  EXPECT_EQ(RunMouse(), (Calls{"50:GetCursorPos()=400,500", "50:SetCursorPos(120,45)",
                               "50:ClipCursor(120,45,120,45)", "50:mouse_event(2,0,0,0,0)",
                               "50:mouse_event(4,0,0,0,0)", "50:mouse_event(2,0,0,0,0)",
                               "50:mouse_event(4,0,0,0,0)", "1050:ClipCursor(null)",
                               "1050:SetCursorPos(400,500)"}));
  EXPECT_TRUE(fake.posted.empty());
}

TEST_F(MouseRun, RightClickWithEventIsOneRightPressAtThePoint) {
  SetUpRun(kSendEvent, {"R_Click:350x100"});
  EXPECT_EQ(RunMouse(), (Calls{"50:GetCursorPos()=400,500", "50:SetCursorPos(350,100)",
                               "50:ClipCursor(350,100,350,100)", "50:mouse_event(8,0,0,0,0)",
                               "50:mouse_event(16,0,0,0,0)", "1050:ClipCursor(null)",
                               "1050:SetCursorPos(400,500)"}));
  EXPECT_TRUE(fake.posted.empty());
}

TEST_F(MouseRun, LeftDoubleClickWithWinMessagePostsDownUpDblclkUpToTheWindowUnderThePoint) {
  SetUpRun(kSendWinMessage, {"L_DClick:120x45"});
  const std::string l = N(left);
  const std::intptr_t at = Packed(20, 5);  // (120, 45) in Left's client area
  EXPECT_EQ(RunMouse(), (Calls{"50:GetCursorPos()=400,500", "50:WindowFromPoint(120,45)=" + l,
                               "50:ScreenToClient(" + l + ",120,45)", "50:SetCursorPos(120,45)",
                               "50:ClipCursor(120,45,120,45)", RunPost(left, 0x201, at),
                               RunPost(left, 0x202, at), RunPost(left, 0x203, at), RunPost(left, 0x202, at),
                               "1050:ClipCursor(null)", "1050:SetCursorPos(400,500)"}));
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{left}));
  EXPECT_TRUE(fake.Texts({"mouse_event"}).empty());
}

TEST_F(MouseRun, RightClickWithWinMessagePostsDownUpToTheWindowUnderThePoint) {
  SetUpRun(kSendWinMessage, {"R_Click:350x100"});
  const std::string r = N(right);
  const std::intptr_t at = Packed(50, 100);  // (350, 100) in Right's client area
  EXPECT_EQ(RunMouse(), (Calls{"50:GetCursorPos()=400,500", "50:WindowFromPoint(350,100)=" + r,
                               "50:ScreenToClient(" + r + ",350,100)", "50:SetCursorPos(350,100)",
                               "50:ClipCursor(350,100,350,100)", RunPost(right, 0x204, at),
                               RunPost(right, 0x205, at), "1050:ClipCursor(null)",
                               "1050:SetCursorPos(400,500)"}));
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{right}));
  EXPECT_TRUE(fake.Texts({"mouse_event"}).empty());
}

}  // namespace
}  // namespace zepx
