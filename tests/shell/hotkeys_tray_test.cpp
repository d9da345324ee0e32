// The global hot keys, the tray icon with its menu, and translucency with
// the game-client check, on the substitute desktop.
#include <gtest/gtest.h>

#include <stdexcept>

#include "shell/life_support.h"

namespace zepx {
namespace {

using Texts = std::vector<std::string>;

constexpr std::uint32_t kCtrlAlt = win::MOD_CONTROL | win::MOD_ALT;

TEST(HookHotKey, RegistersOnItsOwnWindowAndRaisesItsEvent) {
  FakePlatform fake;
  const Hwnd owner = fake.AddWindow("ZEPX", "TMainForm");
  const Hwnd other = fake.AddWindow("Notepad", "Notepad");
  fake.foreground = other;
  {
    THookHotKey key(fake.platform(), [&] { return owner; });
    const std::string w = std::to_string(key.MessageWindow());
    EXPECT_TRUE(key.RegisterKey(7, 0xE041));  // Ctrl+Alt+Shift+A
    EXPECT_FALSE(key.RegisterKey(8, 0xC000)); // no key: never reaches the system
    EXPECT_EQ(fake.Texts({"RegisterHotKey"}), Texts{"RegisterHotKey(" + w + ",7,7,65)"});

    std::vector<std::string> seen;
    key.Activate = false;
    key.OnHotKey = [&](THookHotKey& sender, int index) {
      EXPECT_EQ(&sender, &key);
      seen.push_back(std::to_string(index) + (fake.foreground == owner ? " front" : " behind"));
    };
    fake.PressHotKey(kCtrlAlt | win::MOD_SHIFT, 'A');
    fake.ProcessPendingMessages();
    key.Activate = true;
    fake.PressHotKey(kCtrlAlt | win::MOD_SHIFT, 'A');
    fake.ProcessPendingMessages();
    EXPECT_EQ(seen, (Texts{"7 behind", "7 front"}));

    // A failing handler is reported and goes no further than the message.
    key.OnHotKey = [](THookHotKey&, int) { throw std::runtime_error("broken"); };
    fake.PressHotKey(kCtrlAlt | win::MOD_SHIFT, 'A');
    EXPECT_NO_THROW(fake.ProcessPendingMessages());
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "broken");

    EXPECT_TRUE(key.UnregisterKey(7));
    EXPECT_FALSE(fake.PressHotKey(kCtrlAlt | win::MOD_SHIFT, 'A'));
  }
  EXPECT_EQ(fake.Texts({"DestroyWindow"}).size(), 1u);
}

class HotKeys : public LifeFixture, public ::testing::Test {};

TEST_F(HotKeys, ConfirmedLettersMoveBothKeysAndTheStopKeyLetsGoWhenPressed) {
  Start();
  EXPECT_EQ(TMainForm::LetterFromIndex(0), "A");
  EXPECT_EQ(TMainForm::LetterFromIndex(25), "Z");
  EXPECT_EQ(TMainForm::LetterFromIndex(26), "");
  EXPECT_EQ(TMainForm::LetterFromIndex(-1), "");

  form.ApplyHotKeyLetters(2, 3);  // C and D
  EXPECT_EQ(form.BitBtn1.Caption(), "実行\r\n(Ctrl+Alt+C)");
  EXPECT_EQ(form.BitBtn3.Caption(), "待機\r\n(Ctrl+Alt+D)");
  EXPECT_EQ(form.settings.StartComboIndex, 2);
  EXPECT_FALSE(fake.PressHotKey(kCtrlAlt, 'S'));
  EXPECT_TRUE(StopKeyHeld());  // registered while idle, until the next stop

  fake.foreground = fake.AddWindow("Notepad", "Notepad");
  EXPECT_TRUE(fake.PressHotKey(kCtrlAlt, 'D'));
  fake.ProcessPendingMessages();
  EXPECT_EQ(fake.foreground, form.Handle());  // the stop key brings ZEPX to the front
  EXPECT_FALSE(StopKeyHeld());
  EXPECT_EQ(fake.hotkeys.size(), 1u);
}

TEST_F(HotKeys, EqualLettersActAsTheStartKeyAndAnUnknownLetterRegistersNothing) {
  Start();
  form.ApplyHotKeyLetters(5, 5);
  EXPECT_FALSE(StopKeyHeld());
  fake.PressHotKey(kCtrlAlt, 'F');
  fake.RunUntil(2000);  // Run with an empty list: refused after its second
  EXPECT_EQ(BoxTexts(), Texts{"送信コマンドを追加して下さい."});

  fake.ClearCalls();
  form.ApplyHotKeyLetters(30, 23);
  EXPECT_EQ(form.BitBtn1.Caption(), "実行\r\n(Ctrl+Alt+)");
  EXPECT_EQ(fake.Texts({"RegisterHotKey"}).size(), 1u);  // the stop key only
  EXPECT_EQ(fake.hotkeys.size(), 1u);
}

TEST_F(HotKeys, TheStartKeyStartsARun) {
  Start();
  form.SendList.SetItems({"Wait=3000"});
  form.LoopSpinEdit.SetValue(1);
  std::string during;
  fake.At(10, [&] { fake.PressHotKey(kCtrlAlt, 'S'); });
  fake.At(2000, [&] { during = form.StatusLabel.Caption() + "|" + (StopKeyHeld() ? "stop key" : "-"); });
  fake.RunUntil(10000);
  EXPECT_EQ(during, "実行中 (SendInput) - Ctrl+Alt+Xで中断できます|stop key");
  EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
}

// ---- tray ---------------------------------------------------------------------------

class Tray : public LifeFixture, public ::testing::Test {
 protected:
  void Minimize() { app.FromNativeMinimized(); }
  std::string Tip() const { return fake.tray.empty() ? "(none)" : fake.tray.front().tip; }
};

TEST_F(Tray, MinimisingGoesToTheTrayOnlyWhenAskedAndOnlyALeftClickRestores) {
  Start();
  Minimize();
  EXPECT_TRUE(fake.tray.empty());
  EXPECT_FALSE(form.InTray);
  form.TrayCallback(win::WM_LBUTTONDOWN);  // no icon, nothing to restore
  EXPECT_TRUE(fake.Texts({"Shell_NotifyIconA"}).empty());

  form.settings.MinChecked = true;
  Minimize();
  ASSERT_EQ(fake.tray.size(), 1u);
  EXPECT_EQ(fake.tray[0].owner, form.Handle());
  EXPECT_EQ(fake.tray[0].callback_message, 1124u);
  EXPECT_EQ(Tip(), "ZEPX");
  EXPECT_TRUE(app.Minimized());

  fake.cursor = {1200, 1000};
  form.UserMessage(kMsgTrayCallback, 0, win::WM_RBUTTONDOWN);
  EXPECT_EQ(fake.Texts({"TrackPopupMenu"}), Texts{"TrackPopupMenu(1200,1000)"});
  EXPECT_TRUE(form.InTray);
  form.TrayCallback(win::WM_MBUTTONDBLCLK);
  EXPECT_FALSE(form.InTray);
  EXPECT_TRUE(fake.tray.empty());
  EXPECT_FALSE(app.Minimized());

  Minimize();
  fake.popup_choices = {0};  // "元のサイズに戻す"
  form.TrayCallback(win::WM_RBUTTONDOWN);
  EXPECT_TRUE(fake.tray.empty());
}

TEST_F(Tray, TheTipFollowsTheRunAndIsCutOnlyBetweenCharacters) {
  Start();
  form.settings.MinChecked = true;
  form.SendList.SetItems({"Wait=3000"});
  form.LoopSpinEdit.SetValue(1);
  Minimize();
  std::string during;
  fake.At(2000, [&] { during = Tip(); });
  fake.popup_choices = {1};  // "マクロを実行"
  form.TrayCallback(win::WM_RBUTTONDOWN);
  EXPECT_EQ(during, "ZEPX - 実行中");
  EXPECT_EQ(Tip(), "ZEPX");
  EXPECT_EQ(fake.tray.size(), 1u);

  // Refused for an empty list: the tip does not go on claiming a run.
  form.SendList.Clear();
  fake.popup_choices = {1};
  form.TrayCallback(win::WM_RBUTTONDOWN);
  EXPECT_EQ(Tip(), "ZEPX");

  form.SetTrayTip(std::string(61, 'a') + "実行");
  EXPECT_EQ(Tip(), std::string(61, 'a') + "実");
  form.SetTrayTip(std::string(62, 'a') + "実");
  EXPECT_EQ(Tip(), std::string(62, 'a'));
  form.SetTrayTip(std::string(70, 'b'));
  EXPECT_EQ(Tip().size(), 63u);

  form.Close();
  EXPECT_TRUE(fake.tray.empty());
}

// ---- translucency ---------------------------------------------------------------------

class Translucency : public LifeFixture, public ::testing::Test {
 protected:
  void StartWithLayered(int alpha) {
    WriteSettingsKey(fake, [&](TMainForm& f) { f.settings.Layered = alpha; });
    Start();
  }
  std::optional<std::uint8_t> Alpha() { return fake.FindWindowByHandle(form.Handle())->alpha; }
};

TEST_F(Translucency, AppliedAtStartOnlyWhenStoredAndAllowed) {
  StartWithLayered(255);
  EXPECT_TRUE(fake.Texts({"LoadLibraryA"}).empty());
  EXPECT_FALSE(form.TDCheckTimer.Enabled());

  for (int c = 0; c < 3; ++c) {
    FakePlatform f2;
    TApplication a2;
    auto n2 = f2.MakeNativeForm("TMainForm");
    TMainForm m{f2.platform(), a2};
    m.Bind(n2.get());
    WriteSettingsKey(f2, [](TMainForm& f) { f.settings.Layered = 200; });
    if (c == 1) f2.AddWindow("UO", "Ultima Online Third Dawn");
    if (c == 2) f2.major_version = 4;
    m.FormCreate();
    m.FormShow();
    EXPECT_EQ(m.TranslucencyInitialised, c == 0) << c;
    EXPECT_EQ(f2.FindWindowByHandle(m.Handle())->alpha, c == 0 ? std::optional<std::uint8_t>(200) : std::nullopt);
    EXPECT_EQ(m.TDCheckTimer.Enabled(), c == 0);
  }
}

TEST_F(Translucency, TheSliderInitialisesOnceAndTheLibraryGoesWithTheWindow) {
  StartWithLayered(255);
  form.SetTranslucency(120);
  form.SetTranslucency(90);
  EXPECT_EQ(Alpha(), 90);
  EXPECT_EQ(form.settings.Layered, 90);
  EXPECT_EQ(fake.Texts({"LoadLibraryA"}), Texts{"LoadLibraryA(user32.dll)"});
  EXPECT_TRUE(fake.FindWindowByHandle(form.Handle())->ex_style & static_cast<std::int32_t>(win::WS_EX_LAYERED));
  form.Close();
  EXPECT_TRUE(fake.loaded_libraries.empty());
  EXPECT_EQ(fake.RegDword(kZepxKey, "Layered"), 90u);
}

TEST_F(Translucency, WithoutTheFunctionNothingIsAppliedButTheValueIsKept) {
  fake.has_layered_function = false;
  StartWithLayered(150);
  EXPECT_TRUE(fake.loaded_libraries.empty());  // released at once
  form.SetTranslucency(100);
  EXPECT_EQ(Alpha(), std::nullopt);
  EXPECT_EQ(form.settings.Layered, 100);
}

TEST_F(Translucency, TheGameClientAppearingEndsTheProgram) {
  StartWithLayered(180);
  form.SendList.SetItems({"Wait=60000"});
  fake.At(7000, [&] { fake.AddWindow("UO", "Ultima Online Third Dawn"); });
  form.BitBtn1Click();  // the check stops the run, then closes
  EXPECT_EQ(fake.now, 10000);
  EXPECT_EQ(BoxTexts(), Texts{"UO:TD起動中は半透明Windowが使用できません\r\nOKをクリックするとZEPを終了しますので\r\n"
                              "再度ZEPを起動し直してください"});
  EXPECT_TRUE(form.Closed());
  EXPECT_TRUE(fake.quit_requested);
  EXPECT_EQ(fake.ActiveTimers(), 0u);
}

}  // namespace
}  // namespace zepx
