// Left double click and right click, sent by a real run from the Run button
// in _event and in WinMessage: the button events or the posted messages with
// their client-coordinate parameter, and the cursor put back afterwards.
// Times are counted from the start of the run's first line (ClickAfterDelay
// 1000).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

using Calls = std::vector<std::string>;

std::string N(std::intptr_t v) { return std::to_string(v); }

// A client point as the parameter of a mouse message: X low, Y high.
std::intptr_t Packed(int x, int y) { return (static_cast<std::intptr_t>(y) << 16) | x; }

class MouseButtons : public ::testing::Test {
 protected:
  MouseButtons() {
    form.LoopSpinEdit.SetValue(1);
    // Two windows whose client areas do not start at the screen origin, so
    // that screen and client coordinates differ; the cursor rests outside.
    left = fake.AddWindow("Left", "LeftClass", {100, 40, 300, 200});
    right = fake.AddWindow("Right", "RightClass", {300, 0, 700, 400});
    fake.cursor = {400, 500};
  }
  void TearDown() override {
    EXPECT_TRUE(fake.buttons_down.empty()) << "a button was left down";
    EXPECT_FALSE(fake.clip.has_value()) << "the cursor was left confined";
    EXPECT_EQ(fake.cursor, (Point{400, 500})) << "the cursor was not put back";
    EXPECT_TRUE(fake.boxes.empty()) << "no question or message expected";
  }

  // The one place that decides how a test's list and send method reach the
  // main window: the method through its radio group (on an empty list, so
  // the switch has nothing to ask), then the lines.
  void SetUpRun(int method, const std::vector<std::string>& lines) {
    form.batch.SetLines({});
    form.PostRadioGroup.SetItemIndex(method);
    form.batch.SetLines(lines);
  }

  // Runs the list once; returns the mouse-related calls with their times
  // relative to the first line.
  Calls RunMouse() {
    fake.ClearCalls();
    const std::int64_t first_line = fake.now + 1000;
    form.BitBtn1Click();
    Calls out;
    for (const FakePlatform::Call& c : fake.calls) {
      for (const char* name : {"GetCursorPos(", "SetCursorPos(", "ClipCursor(", "mouse_event(",
                               "PostMessageA(", "WindowFromPoint(", "ScreenToClient("})
        if (c.text.rfind(name, 0) == 0) out.push_back(N(c.t - first_line) + ":" + c.text);
    }
    return out;
  }

  std::string Post(Hwnd w, int msg, std::intptr_t lparam) {
    return "50:PostMessageA(" + N(static_cast<std::intptr_t>(w)) + "," + N(msg) + ",0," + N(lparam) + ")";
  }

  FakePlatform fake;
  TApplication app;
  TMainForm form{fake.platform(), app};
  Hwnd left = 0, right = 0;
};

TEST_F(MouseButtons, LeftDoubleClickWithEventIsTwoLeftPressesAtThePoint) {
  SetUpRun(kSendEvent, {"L_DClick:120x45"});
  EXPECT_EQ(RunMouse(), (Calls{"50:GetCursorPos()=400,500", "50:SetCursorPos(120,45)",
                               "50:ClipCursor(120,45,120,45)", "50:mouse_event(2,0,0,0,0)",
                               "50:mouse_event(4,0,0,0,0)", "50:mouse_event(2,0,0,0,0)",
                               "50:mouse_event(4,0,0,0,0)", "1050:ClipCursor(null)",
                               "1050:SetCursorPos(400,500)"}));
  EXPECT_TRUE(fake.posted.empty());
}

TEST_F(MouseButtons, RightClickWithEventIsOneRightPressAtThePoint) {
  SetUpRun(kSendEvent, {"R_Click:350x100"});
  EXPECT_EQ(RunMouse(), (Calls{"50:GetCursorPos()=400,500", "50:SetCursorPos(350,100)",
                               "50:ClipCursor(350,100,350,100)", "50:mouse_event(8,0,0,0,0)",
                               "50:mouse_event(16,0,0,0,0)", "1050:ClipCursor(null)",
                               "1050:SetCursorPos(400,500)"}));
  EXPECT_TRUE(fake.posted.empty());
}

TEST_F(MouseButtons, LeftDoubleClickWithWinMessagePostsDownUpDblclkUpToTheWindowUnderThePoint) {
  SetUpRun(kSendWinMessage, {"L_DClick:120x45"});
  const std::string l = N(static_cast<std::intptr_t>(left));
  const std::intptr_t at = Packed(20, 5);  // (120, 45) in Left's client area
  EXPECT_EQ(RunMouse(), (Calls{"50:GetCursorPos()=400,500", "50:WindowFromPoint(120,45)=" + l,
                               "50:ScreenToClient(" + l + ",120,45)", "50:SetCursorPos(120,45)",
                               "50:ClipCursor(120,45,120,45)", Post(left, 0x201, at),
                               Post(left, 0x202, at), Post(left, 0x203, at), Post(left, 0x202, at),
                               "1050:ClipCursor(null)", "1050:SetCursorPos(400,500)"}));
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{left}));
  EXPECT_TRUE(fake.Texts({"mouse_event"}).empty());
}

TEST_F(MouseButtons, RightClickWithWinMessagePostsDownUpToTheWindowUnderThePoint) {
  SetUpRun(kSendWinMessage, {"R_Click:350x100"});
  const std::string r = N(static_cast<std::intptr_t>(right));
  const std::intptr_t at = Packed(50, 100);  // (350, 100) in Right's client area
  EXPECT_EQ(RunMouse(), (Calls{"50:GetCursorPos()=400,500", "50:WindowFromPoint(350,100)=" + r,
                               "50:ScreenToClient(" + r + ",350,100)", "50:SetCursorPos(350,100)",
                               "50:ClipCursor(350,100,350,100)", Post(right, 0x204, at),
                               Post(right, 0x205, at), "1050:ClipCursor(null)",
                               "1050:SetCursorPos(400,500)"}));
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{right}));
  EXPECT_TRUE(fake.Texts({"mouse_event"}).empty());
}

}  // namespace
}  // namespace zepx
