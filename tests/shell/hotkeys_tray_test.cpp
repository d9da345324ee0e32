// The global hot keys, the tray icon with its menu, and translucency with
// the game-client check, on the substitute desktop.
#include <gtest/gtest.h>

#include <stdexcept>

#include "shell/life_support.h"

namespace zepx {
namespace {

using Texts = std::vector<std::string>;
constexpr std::uint32_t kCtrlAlt = win::MOD_CONTROL | win::MOD_ALT;

// A key without a letter never reaches the system; a failing handler is
// reported and goes no further than the message; the key goes with it.
TEST(HookHotKey, RegistersOnItsOwnWindowAndReportsAFailingHandler) {
  FakePlatform fake;
  {
    THookHotKey key(fake.platform(), [] { return Hwnd{0}; });
    EXPECT_TRUE(key.RegisterKey(7, 0xE041));   // Ctrl+Alt+Shift+A
    EXPECT_FALSE(key.RegisterKey(8, 0xC000));  // no key
    EXPECT_EQ(fake.Texts({"RegisterHotKey"}), Texts{"RegisterHotKey(" + std::to_string(key.MessageWindow()) + ",7,7,65)"});
    key.OnHotKey = [](THookHotKey&, int) { throw std::runtime_error("broken"); };
    fake.PressHotKey(kCtrlAlt | win::MOD_SHIFT, 'A');
    EXPECT_NO_THROW(fake.ProcessPendingMessages());
    EXPECT_EQ(LifeFixture::TextsOf(fake), Texts{"broken"});
  }
  EXPECT_TRUE(fake.hotkeys.empty()) << "its window went with it";
}

class Shell : public LifeFixture, public ::testing::Test {
 protected:
  std::string Tip() const { return fake.tray.empty() ? "(none)" : fake.tray.front().tip; }
};

// The confirmed letters move both keys and both captions; the stop key,
// held while idle, brings the window to the front and lets go; the start
// key runs; equal letters leave only the start key; no letter, no key.
TEST_F(Shell, TheStartAndStopKeys) {
  Start();
  form.ApplyHotKeyLetters(2, 3);  // C and D
  EXPECT_EQ(form.BitBtn1.Caption() + "|" + form.BitBtn3.Caption(), "実行\r\n(Ctrl+Alt+C)|待機\r\n(Ctrl+Alt+D)");
  EXPECT_FALSE(fake.PressHotKey(kCtrlAlt, 'S'));
  EXPECT_TRUE(StopKeyHeld()) << "while idle, until the next stop";
  fake.foreground = fake.AddWindow("Notepad", "Notepad");
  fake.PressHotKey(kCtrlAlt, 'D');
  fake.ProcessPendingMessages();
  EXPECT_EQ(fake.foreground, form.Handle());
  EXPECT_FALSE(StopKeyHeld());
  form.batch.SetLines({"Wait=3000"});
  form.LoopSpinEdit.SetValue(1);
  std::string during;
  fake.At(fake.now + 10, [&] { fake.PressHotKey(kCtrlAlt, 'C'); });
  const Hwnd notepad = fake.foreground = fake.AddWindow("Notepad", "Notepad");
  fake.At(fake.now + 2000, [&] { during = form.StatusLabel.Caption() + (StopKeyHeld() ? "|stop key" : ""); });
  fake.RunUntil(fake.now + 10000);
  EXPECT_EQ(during, "実行中 (SendInput) - Ctrl+Alt+Dで中断できます|stop key");
  EXPECT_EQ(fake.foreground, notepad) << "the start key leaves the window behind";
  form.ApplyHotKeyLetters(5, 5);
  EXPECT_FALSE(StopKeyHeld()) << "equal letters: only the start key";
  form.batch.Clear();
  fake.PressHotKey(kCtrlAlt, 'F');
  fake.RunUntil(fake.now + 2000);
  EXPECT_EQ(BoxTexts(), Texts{"送信コマンドを追加して下さい."});
  form.ApplyHotKeyLetters(26, 23);  // no such letter: nothing registered for it
  EXPECT_EQ(form.BitBtn1.Caption(), "実行\r\n(Ctrl+Alt+)");
  EXPECT_EQ(fake.hotkeys.size(), 1u);
}

// Minimising goes to the tray only when asked; a restarted shell gets the
// icon back only while in the tray; the right button opens the menu where
// the cursor is; a left press or a left or middle double click restores.
TEST_F(Shell, TheTrayIcon) {
  Start();
  app.FromNativeMinimized();
  form.TrayCallback(win::WM_LBUTTONDOWN);
  form.ShellRestarted();
  EXPECT_TRUE(fake.Texts({"Shell_NotifyIconA"}).empty());
  form.settings.MinChecked = true;
  app.FromNativeMinimized();
  fake.tray.clear();  // a restarted shell knows no icon
  form.ShellRestarted();
  EXPECT_EQ(fake.tray.size() == 1 ? fake.tray[0].owner : 0, form.Handle());
  fake.cursor = {1200, 1000};
  form.UserMessage(kMsgTrayCallback, 0, win::WM_RBUTTONDOWN);
  EXPECT_EQ(fake.Texts({"TrackPopupMenu"}), Texts{"TrackPopupMenu(1200,1000)"});
  for (std::uint32_t m : {0x0200u /* a move */, win::WM_LBUTTONDOWN, win::WM_LBUTTONDBLCLK, win::WM_MBUTTONDBLCLK}) {
    app.FromNativeMinimized();
    form.TrayCallback(m);
    const bool in = m == 0x0200u;
    EXPECT_TRUE(form.InTray == in && fake.tray.empty() != in && app.Minimized() == in) << m;
  }
}

// The tip says a run is going on while it is, and is cut only between
// characters; the icon goes with the window.
TEST_F(Shell, TheTrayTip) {
  Start();
  form.settings.MinChecked = true;
  form.batch.SetLines({"Wait=3000"});
  form.LoopSpinEdit.SetValue(1);
  app.FromNativeMinimized();
  EXPECT_EQ(Tip(), "ZEPX");
  std::string during;
  fake.At(2000, [&] { during = Tip(); });
  fake.At(2500, [&] { fake.popup_choices = {2}, form.TrayCallback(win::WM_RBUTTONDOWN); });  // "待機": stops
  for (bool refused : {false, true}) {
    if (refused) form.batch.Clear();  // the tip must not go on claiming a run
    fake.popup_choices = {1};         // "マクロを実行"
    form.TrayCallback(win::WM_RBUTTONDOWN);
    EXPECT_EQ(Tip(), "ZEPX");
  }
  EXPECT_EQ(during, "ZEPX - 実行中");
  EXPECT_LT(fake.now, 4000) << "the menu's stop ends the run before its wait is over";
  form.SetTrayTip(std::string(61, 'a') + "実行");
  EXPECT_EQ(Tip(), std::string(61, 'a') + "実");
  form.SetTrayTip(std::string(62, 'a') + "実");
  EXPECT_EQ(Tip(), std::string(62, 'a'));
  form.Close();
  EXPECT_TRUE(fake.tray.empty());
}

}  // namespace
}  // namespace zepx
