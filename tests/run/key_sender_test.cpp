// Key and text lines, in each send method: the exact input calls and posts,
// and when they happen on the virtual clock (KeyAfterDelay 1200 and
// ShiftAltCtrlDelay 250 unless a test sets them).
#include <gtest/gtest.h>

#include "model/convert.h"
#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

using Calls = std::vector<std::string>;

class KeySender : public ::testing::Test {
 protected:
  void SetUp() override {
    // The send-method switch has its own tests; here only the index counts.
    form.PostRadioGroup.OnSelect = nullptr;
    form.PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
    desk = fake.AddWindow("Desk", "DeskClass", {0, 0, 800, 600});
    fake.foreground = desk;
  }
  void TearDown() override {
    EXPECT_TRUE(fake.keys_down.empty()) << "a key was left down";
    EXPECT_TRUE(form.engine.Keys().InputRecords.empty());
  }
  void Method(int m) {
    form.PostRadioGroup.SetItemIndex(m);
    form.settings.PostMouseChecked = m == kSendWinMessage;
  }
  // Runs one line as row 0 and returns the interesting calls with times.
  Calls Run(const std::string& line, Hwnd target = 0) {
    form.batch.SetLines({line});
    form.batch.SetTarget(0, target);
    fake.ClearCalls();
    fake.now = 0;
    form.engine.Keys().SendKeyCommand(0);
    return fake.Timed({"keybd_event", "SendInput", "PostMessageA", "GetForegroundWindow",
                       "SetForegroundWindow", "SetActiveWindow", "SetFocus", "FindWindowA",
                       "Sleep"});
  }

  FakePlatform fake;
  TApplication app;
  TMainForm form{fake.platform(), app};
  Hwnd desk = 0;
};

std::string N(Hwnd h) { return std::to_string(h); }

TEST_F(KeySender, ModifiersArePressedAltCtrlShiftAndReleasedInReverseAroundTheKey) {
  const std::string fg = "0:GetForegroundWindow()=" + N(desk);
  Method(kSendEvent);
  EXPECT_EQ(Run("[A]+Shift+Alt+Ctrl"),
            (Calls{fg, "0:SetForegroundWindow(0)", "0:Sleep(10)",
                   "10:keybd_event(18,56,0,0)", "10:keybd_event(17,29,0,0)",
                   "10:keybd_event(16,42,0,0)",
                   "260:keybd_event(65,0,0,0)", "260:keybd_event(65,0,2,0)",
                   "260:keybd_event(16,42,2,0)", "260:keybd_event(17,29,2,0)",
                   "260:keybd_event(18,56,2,0)", "260:SetForegroundWindow(" + N(desk) + ")"}));
  EXPECT_EQ(fake.now, 1460);

  Method(kSendInput);
  EXPECT_EQ(Run("[A]+Alt+Ctrl"),
            (Calls{fg, "0:SetForegroundWindow(0)", "0:Sleep(10)", "10:SendInput(18,56,0)",
                   "10:SendInput(17,29,0)", "260:SendInput(65,30,0;65,30,2)",
                   "260:SendInput(17,29,2)", "260:SendInput(18,56,2)",
                   "260:SetForegroundWindow(" + N(desk) + ")"}));

  // WinMessage brings the target forward for the modifiers and gives the
  // front back to the window that had it.
  Method(kSendWinMessage);
  const Hwnd game = fake.AddWindow("Game", "GameClass");
  EXPECT_EQ(Run("[F1]+Shift|>Game <" + N(game) + ">", game),
            (Calls{fg, "0:SetForegroundWindow(" + N(game) + ")", "0:Sleep(10)",
                   "10:SendInput(16,42,0)", "260:PostMessageA(" + N(game) + ",256,112,1)",
                   "260:SendInput(16,42,2)", "260:SetForegroundWindow(" + N(desk) + ")"}));
  EXPECT_EQ(fake.foreground, desk);
  EXPECT_EQ(fake.now, 1460);
}

TEST_F(KeySender, TheDelayBoxesShowBlueWhileTheirWaitRuns) {
  Method(kSendEvent);
  form.ShiftAltCtrlDelay.SetValue(300);
  form.KeyAfterDelay.SetValue(500);
  std::vector<std::uint32_t> seen;
  auto look = [&] {
    seen.push_back(form.ShiftAltCtrlDelay.FontColor());
    seen.push_back(form.KeyAfterDelay.FontColor());
  };
  fake.At(100, look);  // modifiers held
  fake.At(600, look);  // after the key
  Run("[Tab]+Ctrl");
  look();
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{kColorBlue, kColorWindowText, kColorWindowText,
                                              kColorBlue, kColorWindowText, kColorWindowText}));
  EXPECT_EQ(fake.now, 810);  // 10 + 300 + 500
}

TEST_F(KeySender, F5AloneWaitsThreeSecondsBeforeItsKey) {
  for (int m : {kSendEvent, kSendInput, kSendWinMessage}) {
    Method(m);
    Calls f5 = Run("[F5]");
    EXPECT_EQ(fake.now, 4200) << m;
    ASSERT_FALSE(f5.empty());
    EXPECT_EQ(f5.back().substr(0, 5), "3000:") << f5.back();
    Run("[F10]");
    EXPECT_EQ(fake.now, 1200) << m;
  }
  Method(kSendEvent);
  EXPECT_EQ(Run("[F10]"), (Calls{"0:keybd_event(121,0,0,0)", "0:keybd_event(121,0,2,0)"}));
  EXPECT_EQ(Run("[F12]"), (Calls{"0:keybd_event(123,0,0,0)", "0:keybd_event(123,0,2,0)"}));
}

TEST_F(KeySender, OneCharacterKeysAndTextTypeUnshiftedKeys) {
  Method(kSendEvent);
  EXPECT_EQ(Run("[A]"), (Calls{"0:keybd_event(65,0,0,0)", "0:keybd_event(65,0,2,0)"}));
  EXPECT_EQ(Run("[Text]~~Ab!"),
            (Calls{"0:keybd_event(65,0,0,0)", "0:keybd_event(65,0,2,0)",
                   "0:keybd_event(66,0,0,0)", "0:keybd_event(66,0,2,0)",
                   "0:keybd_event(49,0,0,0)", "0:keybd_event(49,0,2,0)"}));
  EXPECT_EQ(fake.now, 1200);

  Method(kSendInput);
  EXPECT_EQ(Run("[Text]~~Ab!"),
            (Calls{"0:SendInput(65,30,0;65,30,2)", "0:SendInput(66,48,0;66,48,2)",
                   "0:SendInput(49,2,0;49,2,2)"}));

  Method(kSendWinMessage);
  const Hwnd pad = fake.AddWindow("Pad", "Edit");
  const std::string p = "0:PostMessageA(" + N(pad);
  EXPECT_EQ(Run("[Text]~~Ab!|>Pad <" + N(pad) + ">", pad),
            (Calls{"0:SetActiveWindow(" + N(pad) + ")", p + ",258,65,0)", p + ",258,98,0)",
                   p + ",258,33,0)"}));
}

TEST_F(KeySender, AModifierFoundInsideTheTextHoldsShiftForIt) {
  Method(kSendEvent);
  Calls c = Run("[Text]~~a+Sb");
  Calls keys;
  for (const std::string& s : c)
    if (s.find("keybd_event") != std::string::npos) keys.push_back(s.substr(s.find(':') + 1));
  EXPECT_EQ(keys, (Calls{"keybd_event(16,42,0,0)", "keybd_event(65,0,0,0)", "keybd_event(65,0,2,0)",
                         "keybd_event(187,0,0,0)", "keybd_event(187,0,2,0)",
                         "keybd_event(83,0,0,0)", "keybd_event(83,0,2,0)",
                         "keybd_event(66,0,0,0)", "keybd_event(66,0,2,0)",
                         "keybd_event(16,42,2,0)"}));
}

TEST_F(KeySender, WinMessagePostsOneKeyDownButInjectsTheSystemKeys) {
  Method(kSendWinMessage);
  const Hwnd game = fake.AddWindow("Game", "GameClass");
  const std::string t = "|>Game <" + N(game) + ">";
  EXPECT_EQ(Run("[Enter]" + t, game),
            (Calls{"0:SetActiveWindow(" + N(game) + ")", "0:PostMessageA(" + N(game) + ",256,13,1)"}));
  ASSERT_EQ(fake.posted.size(), 1u);

  // PrtSc goes to whatever has the focus, not to the target.
  EXPECT_EQ(Run("[PrtSc]" + t, game),
            (Calls{"0:SetActiveWindow(" + N(game) + ")", "0:SendInput(44,55,0;44,55,2)"}));
  EXPECT_EQ(fake.posted.size(), 1u);

  // Arrow keys are two-byte names; the name decides whatever follows it.
  EXPECT_EQ(Run("[↓]" + t, game).back(), "0:PostMessageA(" + N(game) + ",256,40,1)");
  EXPECT_EQ(Run("[Enter and more" + t, game).back(), "0:PostMessageA(" + N(game) + ",256,13,1)");

  // Each line has its own target: the second, never resolved, has none.
  form.batch.SetLines({"[Esc]" + t, "[Esc]" + t});
  form.batch.SetTarget(0, game);
  fake.ClearCalls();
  form.engine.Keys().SendKeyCommand(1);
  EXPECT_EQ(fake.Texts({"PostMessageA"}), (Calls{"PostMessageA(0,256,27,1)"}));
}

TEST_F(KeySender, CtrlAloneIsOnePressAndRelease) {
  Method(kSendEvent);
  EXPECT_EQ(Run("[Ctrl]"), (Calls{"0:keybd_event(17,0,0,0)", "0:keybd_event(17,0,2,0)"}));
  Method(kSendWinMessage);
  EXPECT_EQ(Run("[Ctrl]"), (Calls{"0:SetActiveWindow(0)", "0:SendInput(17,29,0;17,29,2)"}));
}

TEST_F(KeySender, AKeyboardLayoutSwitchedBetweenLinesTakesEffectOnTheNextLine) {
  Method(kSendInput);
  const Calls us{"0:SendInput(81,16,0;81,16,2)", "0:SendInput(65,30,0;65,30,2)",
                 "0:SendInput(81,16,0;81,16,2)"};
  EXPECT_EQ(Run("[Text]~~qaq"), us);
  // French: A and Q trade places.
  fake.layout_keys = {{'q', 'A'}, {'a', 'Q'}};
  EXPECT_EQ(Run("[Text]~~qaq"), (Calls{"0:SendInput(65,30,0;65,30,2)", "0:SendInput(81,16,0;81,16,2)",
                                       "0:SendInput(65,30,0;65,30,2)"}));
  Method(kSendEvent);
  EXPECT_EQ(Run("[q]"), (Calls{"0:keybd_event(65,0,0,0)", "0:keybd_event(65,0,2,0)"}));
  fake.layout_keys.clear();
  Method(kSendInput);
  EXPECT_EQ(Run("[Text]~~qaq"), us);
}

TEST_F(KeySender, JapaneseTextReachesTheTargetByteByByteOnlyAsMessages) {
  Method(kSendWinMessage);
  const Hwnd pad = fake.AddWindow("メモ帳", "Edit");
  Run("[Text]~~あい|>メモ帳 <" + N(pad) + ">", pad);
  std::vector<std::uintptr_t> chars;
  for (const auto& p : fake.posted) {
    EXPECT_EQ(p.hwnd, pad);
    EXPECT_EQ(p.msg, win::WM_CHAR);
    chars.push_back(p.wparam);
  }
  EXPECT_EQ(chars, (std::vector<std::uintptr_t>{0x82, 0xA0, 0x82, 0xA2}));

  // No key produces these bytes: the key methods type nothing for them.
  Method(kSendEvent);
  EXPECT_EQ(Run("[Text]~~あ"), (Calls{"0:keybd_event(255,0,0,0)", "0:keybd_event(255,0,2,0)",
                                      "0:keybd_event(255,0,0,0)", "0:keybd_event(255,0,2,0)"}));
}

TEST_F(KeySender, FrontAppLineActivatesTheWindowInEveryMethod) {
  const Hwnd pad = fake.AddWindow("Notepad", "Edit");
  const std::string h = N(pad);
  for (int m : {kSendEvent, kSendInput}) {
    Method(m);
    EXPECT_EQ(Run("[ｱﾌﾟﾘを前面に]@@Notepad"),
              (Calls{"0:FindWindowA(null,\"Notepad\")=" + h, "0:SetActiveWindow(" + h + ")",
                     "0:SetForegroundWindow(" + h + ")", "0:SetFocus(" + h + ")", "0:Sleep(10)"}));
    EXPECT_EQ(fake.now, 1210);
    EXPECT_EQ(fake.foreground, pad);
    fake.foreground = desk;
  }
  Method(kSendWinMessage);
  EXPECT_EQ(Run("[ｱﾌﾟﾘを前面に]@@Nowhere")[1], "0:FindWindowA(null,\"Nowhere\")=0");
}

TEST_F(KeySender, AHandlerThrowingDuringTheModifierWaitLeavesNoKeyDown) {
  Method(kSendWinMessage);
  fake.At(100, [] { throw std::runtime_error("handler failed"); });
  EXPECT_THROW(Run("[F5]+Alt+Ctrl"), std::runtime_error);
  EXPECT_EQ(fake.Texts({"SendInput"}), (Calls{"SendInput(18,56,0)", "SendInput(17,29,0)",
                                              "SendInput(17,29,2)", "SendInput(18,56,2)"}));
}

TEST_F(KeySender, AFunctionKeyNumberThatIsNoNumberFailsBeforeAnythingIsPressed) {
  Method(kSendEvent);
  form.batch.SetLines({"[Fx]+Ctrl"});
  fake.ClearCalls();
  EXPECT_THROW(form.engine.Keys().SendKeyCommand(0), ConvertError);
  EXPECT_TRUE(fake.Texts({"keybd_event", "SendInput"}).empty());
}

}  // namespace
}  // namespace zepx
