// The program's life: start-up order, command line and autorun, dropped
// files, further instances, the global hot keys and the tray icon,
// and every way out, including a close that arrives while a run holds keys
// or a mouse button down.
#include <gtest/gtest.h>

#include <stdexcept>

#include "model/macro_file.h"
#include "shell/life_support.h"
#include "shell/program.h"

namespace zepx {
namespace {

// The six windows in order, the start key and the drop target; the settings
// saved by every way the message loop ends, the exit button or a quit from
// outside. Without a key the open dialog starts in the program's folder.
TEST(Program, StartsSixWindowsAndSavesAtTheEnd) {
  for (bool from_outside : {false, true}) {
    FakePlatform fake;
    std::vector<std::unique_ptr<INativeForm>> natives;
    Texts order;
    Program p(fake.platform(), [&](TForm& f) {
      natives.push_back(MakeNativeForm(fake, "T" + f.Name));
      f.Bind(natives.back().get());
      order.push_back(f.Name);
    });
    p.Start();
    EXPECT_EQ(order, (Texts{"MainForm", "SettingForm", "CutLineForm", "AboutForm", "SendListForm", "InputForm"}));
    EXPECT_EQ(p.MainForm->DialogInitialDir, "C:\\ZEPX\\");
    EXPECT_EQ(fake.Texts({"RegisterHotKey"}),
              Texts{"RegisterHotKey(" + std::to_string(p.MainForm->HookHotKey2.MessageWindow()) + ",1,3,83)"});
    EXPECT_EQ(fake.drop_targets, std::vector<Hwnd>{p.MainForm->Handle()});
    fake.At(5000, [&] { from_outside ? fake.Quit() : p.MainForm->BitBtn6.Click(); });
    EXPECT_EQ(p.Run(), 0);
    EXPECT_TRUE(fake.now == 5000 && fake.hotkeys.empty() && p.MainForm->Closed());
    EXPECT_EQ(fake.registry[kZepxKey].size(), 57u) << (from_outside ? "a quit from outside" : "the exit button");
  }
}

class Life : public LifeFixture, public ::testing::Test {
 protected:
  Life() { form.StatusLabel.OnChange = [this] { status.push_back(form.StatusLabel.Caption()); }; }
  void MacroFile(const std::string& path, const std::string& line, int send_api) {
    fake.files[path] = WriteMacroFile({line}, MacroSettings{1200, 1000, 1200, 250, 1, send_api});
  }
  Texts status;  // every caption the status label has shown
};

// The first argument is loaded with its send method; each further macro
// file starts another instance (a blank in the program's path quoted).
// Autorun runs the first file once: the flag is spent by the first start,
// whatever is dropped later.
TEST_F(Life, TheFirstMacroFileIsLoadedWithItsSendMethodAndRunsOnceWhenAutorunIsSet) {
  WriteSettingsKey(fake, [&](TMainForm& f) {
    f.settings.AutoRunChecked = true;
    f.PostRadioGroup.SetItemIndex(kSendEvent);
  });
  MacroFile("C:\\m\\first.mcr", "Wait=10", kSendWinMessage);
  fake.program_path = "C:\\Program Files\\ZEPX\\zepx.exe";
  fake.arguments = {"C:\\m\\first.mcr", "C:\\m\\notes.txt", "D:\\x y\\third.MCR", "C:\\m\\odd.Mcr"};
  Start();
  EXPECT_EQ(form.SendList.Items(), Texts{"Wait=10"});
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendWinMessage) << "the file's, not the stored _event";
  ASSERT_EQ(fake.processes.size(), 1u);
  EXPECT_EQ(fake.processes[0].command_line + "|" + fake.processes[0].current_dir,
            "\"C:\\Program Files\\ZEPX\\zepx.exe\" \"D:\\x y\\third.MCR\"|D:\\x y\\");
  fake.RunUntil(3000);
  ASSERT_EQ(status.size(), 2u);
  EXPECT_EQ(status[0].rfind("実行中 (WinMessage)", 0), 0u);
  form.DropFiles({"C:\\m\\notes.txt"});
  form.DropFiles({"C:\\m\\first.mcr", "C:\\m\\notes.txt"});
  fake.RunUntil(6000);
  EXPECT_EQ(status.size(), 2u) << "a second run after the first start";
}

// Shortcuts are refused aloud only alone; the first of several files is
// loaded and the other macro files start instances; a single dropped file
// that loads runs with autorun, one that fails, several files or a file
// dropped during a run do not. Further instances
// run as administrator from version 6 on. The Help menu opens the guide
// beside the program.
TEST_F(Life, DroppedFilesAndFurtherInstances) {
  Start();
  fake.foreground = fake.AddWindow("Explorer", "CabinetWClass");
  for (const Texts& files : {Texts{"C:\\d\\link.LNK"}, {"C:\\d\\readme.txt"}, {"C:\\d\\x.lnk", "C:\\d\\y.lnk"}})
    form.DropFiles(files);
  EXPECT_EQ(fake.foreground, form.Handle());
  EXPECT_EQ(BoxTexts(), Texts{"ショートカット(*.lnk)は読み込めません."});
  MacroFile("C:\\d\\1.mcr", "Wait=500", kSendInput);
  form.DropFiles({"C:\\d\\1.mcr", "C:\\d\\2.MCR", "C:\\d\\n.txt", "C:\\d\\3.mcr"});
  form.DropFiles({"C:\\d\\1.mcr"});
  fake.RunUntil(fake.now + 3000);
  EXPECT_EQ(form.SendList.Items(), Texts{"Wait=500"});
  ASSERT_EQ(fake.processes.size(), 2u);
  EXPECT_EQ(fake.processes[1].command_line, "C:\\ZEPX\\zepx.exe \"C:\\d\\3.mcr\"");
  form.settings.AutoRunChecked = true;
  form.DropFiles({"C:\\d\\missing.mcr"});
  form.DropFiles({"C:\\d\\1.mcr", "C:\\d\\n.txt"});
  fake.RunUntil(fake.now + 100);
  EXPECT_TRUE(status.empty()) << "nothing runs without autorun, a loaded file or with several files";
  form.DropFiles({"C:\\d\\1.mcr"});
  MacroFile("C:\\d\\3.mcr", "Wait=3", kSendInput);
  fake.At(fake.now + 1200, [&] { form.DropFiles({"C:\\d\\3.mcr"}); });  // in its Wait=500
  fake.RunUntil(fake.now + 5000);
  EXPECT_EQ(status.size(), 2u) << "one run, and none for the file dropped during it";
  EXPECT_EQ(form.SendList.Items(), Texts{"Wait=3"});

  fake.major_version = 5;
  form.mNewZep.Click();
  fake.major_version = 6;
  form.mNewZep.Click();
  EXPECT_EQ(fake.processes.at(2).command_line + "|" + fake.processes[2].current_dir, "C:\\ZEPX\\zepx.exe|C:\\ZEPX\\");
  EXPECT_EQ(fake.Texts({"ShellExecuteExA"}), Texts{"ShellExecuteExA(runas,C:\\ZEPX\\zepx.exe,)"});
  form.mGuide.Click();  // the guide opens only when it is beside the program
  fake.files["C:\\ZEPX\\guide-ja.html"] = "";
  form.mGuide.Click();
  EXPECT_EQ(fake.Texts({"ShellExecuteFile"}), Texts{"ShellExecuteFile(C:\\ZEPX\\guide-ja.html,1)"});
}

// A lone lead byte at the end of a text is posted as it is, and nothing is
// read past the line. (A target no run can read: the run's refusals.)
TEST_F(Life, ALineThatEndsInALeadByte) {
  form.PostRadioGroup.SetItemIndex(kSendWinMessage);
  form.LoopSpinEdit.SetValue(1);
  form.batch.SetLines({"[Text]~~あ\x82|>"});
  form.BitBtn1Click();
  std::vector<std::uintptr_t> chars;
  for (const auto& p : fake.posted) chars.push_back(p.wparam);
  EXPECT_EQ(chars, (std::vector<std::uintptr_t>{0x82, 0xA0, 0x82}));
}

// ---- hot keys and the tray icon ---------------------------------------------

using Shell = Life;

// A key without a letter never reaches the system; a failing handler is
// reported and goes no further than the message; the key goes with its owner.
TEST_F(Shell, AHotKeyRegistersOnItsOwnWindowAndReportsAFailingHandler) {
  {
    THookHotKey key(fake.platform(), [] { return Hwnd{0}; });
    EXPECT_TRUE(key.RegisterKey(7, 0xE041));   // Ctrl+Alt+Shift+A
    EXPECT_FALSE(key.RegisterKey(8, 0xC000));  // no key
    EXPECT_EQ(fake.Texts({"RegisterHotKey"}), Texts{"RegisterHotKey(" + std::to_string(key.MessageWindow()) + ",7,7,65)"});
    key.OnHotKey = [](THookHotKey&, int) { throw std::runtime_error("broken"); };
    fake.PressHotKey(kCtrlAlt | win::MOD_SHIFT, 'A');
    EXPECT_NO_THROW(fake.ProcessPendingMessages());
    EXPECT_EQ(BoxTexts(), Texts{"broken"});
  }
  EXPECT_TRUE(fake.hotkeys.empty()) << "its window went with it";
}

// The confirmed letters move both keys and both captions; the stop key,
// held while idle, brings the window to the front and lets go; equal
// letters leave only the start key, which starts a run; no letter, no key.
TEST_F(Shell, TheStartAndStopKeys) {
  Start();
  form.ApplyHotKeyLetters(2, 3);  // C and D
  EXPECT_EQ(form.BitBtn1.Caption() + "|" + form.BitBtn3.Caption(), "実行\r\n(Ctrl+Alt+C)|待機\r\n(Ctrl+Alt+D)");
  EXPECT_FALSE(fake.PressHotKey(kCtrlAlt, 'S'));
  EXPECT_TRUE(Holds(form.HookHotKey1)) << "while idle, until the next stop";
  const Hwnd notepad = fake.foreground = fake.AddWindow("Notepad", "Notepad");
  fake.PressHotKey(kCtrlAlt, 'D');
  fake.ProcessPendingMessages();
  EXPECT_EQ(fake.foreground, form.Handle());
  EXPECT_FALSE(Holds(form.HookHotKey1));
  form.ApplyHotKeyLetters(5, 5);
  EXPECT_FALSE(Holds(form.HookHotKey1)) << "equal letters: only the start key";
  fake.foreground = notepad;
  fake.PressHotKey(kCtrlAlt, 'F');
  fake.RunUntil(fake.now + 2000);
  EXPECT_EQ(BoxTexts(), Texts{"送信コマンドを追加して下さい."});
  EXPECT_EQ(fake.foreground, notepad) << "the start key leaves the window behind";
  form.ApplyHotKeyLetters(26, 23);  // no such letter: nothing registered for it
  EXPECT_EQ(form.BitBtn1.Caption(), "実行\r\n(Ctrl+Alt+)");
  EXPECT_EQ(fake.hotkeys.size(), 1u);
}

// Minimising goes to the tray only when asked; a restarted shell gets the
// icon back only while in the tray; the right button opens the menu where
// the cursor is; a left press or a left or middle double click restores.
TEST_F(Shell, TheTrayIconAndItsTip) {
  auto Tip = [&] { return fake.tray.empty() ? "(none)" : fake.tray.front().tip; };
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
  // The tip says a run is going on while it is, and is cut only between
  // characters; the icon goes with the window.
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

// ---- closing during a run ------------------------------------------------------

// Every way out; a logoff has the settings on disk before the system can
// end the process.
TEST(CloseDuringRun, ClosesOnlyAfterTheRunHasLetGoOfEverything) {
  const std::pair<const char*, void (*)(TMainForm&)> exits[] = {
      {"from outside", [](TMainForm& f) { f.CloseRequested(); }}, {"button", [](TMainForm& f) { f.BitBtn6.Click(); }},
      {"menu", [](TMainForm& f) { f.mExit.Click(); }},            {"tray", [](TMainForm& f) { f.ZEPX1.Click(); }},
      {"logoff", [](TMainForm& f) { f.SessionEnding(); }}};
  for (const auto& [way, exit] : exits)
    for (bool drag : {false, true}) {
      SCOPED_TRACE(std::string(way) + (drag ? ", in a drag" : ", with Shift held"));
      LifeFixture life;
      FakePlatform& fake = life.fake;
      TMainForm& form = life.form;
      life.Start();
      form.PostRadioGroup.SetItemIndex(kSendEvent);
      form.LoopSpinEdit.SetValue(0);
      const Point before = fake.cursor;
      // In DragDelay with the button held, or in ShiftAltCtrlDelay with Shift.
      form.batch.SetLines(drag ? Texts{"L_Drag:10x20", "L_Drop:300x20"} : Texts{"[A]+Shift+Ctrl", "Wait=5000"});
      std::size_t saves_at_exit = 0;
      bool closed_under_run = true;
      fake.At(drag ? 1700 : 1100, [&, exit = exit] {
        EXPECT_TRUE(drag ? fake.buttons_down.size() == 1 && fake.clip : fake.keys_down.count(win::VK_SHIFT) > 0);
        exit(form);
        saves_at_exit = life.Saves();
        closed_under_run = form.Closed();
      });
      form.BitBtn1Click();
      EXPECT_FALSE(closed_under_run);
      EXPECT_TRUE(form.Closed() && fake.hotkeys.empty() && fake.cursor == before);
      EXPECT_TRUE(fake.keys_down.empty() && fake.buttons_down.empty() && !fake.clip.has_value());
      EXPECT_EQ(std::string(way) == "logoff" ? saves_at_exit : life.Saves(), 1u);
      EXPECT_EQ(fake.Texts({"PostQuitMessage"}).size(), 1u);
    }
}

}  // namespace
}  // namespace zepx
