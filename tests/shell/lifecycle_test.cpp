// The program's life: start-up order, command line and autorun, dropped
// files, further instances, help and About, and every way out, including a
// close that arrives while a run holds keys or a mouse button down.
#include <gtest/gtest.h>

#include <set>

#include "model/macro_file.h"
#include "shell/life_support.h"
#include "shell/program.h"

namespace zepx {
namespace {

using Texts = std::vector<std::string>;

class Life : public LifeFixture, public ::testing::Test {
 protected:
  void MacroFile(const std::string& path, const std::vector<std::string>& lines, int send_api) {
    MacroSettings s;
    s.loop = 1;
    s.send_api = send_api;
    fake.files[path] = WriteMacroFile(lines, s);
  }
  // Every status text shown, to tell whether a run started.
  Texts& WatchStatus() {
    form.StatusLabel.OnChange = [this] { status_.push_back(form.StatusLabel.Caption()); };
    return status_;
  }
  Texts status_;
};

TEST(Program, CreatesTheSixWindowsInOrderAndRunsUntilTheMainWindowCloses) {
  FakePlatform fake;
  std::vector<std::unique_ptr<INativeForm>> natives;
  Texts order;
  {
    Program p(fake.platform(), [&](TForm& f) {
      natives.push_back(fake.MakeNativeForm("T" + f.Name));
      f.Bind(natives.back().get());
      order.push_back(f.Name);
    });
    p.Start();
    EXPECT_EQ(order, (Texts{"MainForm", "SettingForm", "CutLineForm", "AboutForm", "SendListForm", "InputForm"}));
    EXPECT_EQ(p.Application.Title(), "ZEPX");
    EXPECT_TRUE(p.MainForm->Visible());
    EXPECT_FALSE(p.AboutForm->Visible());
    EXPECT_EQ(p.MainForm->AboutForm, p.AboutForm.get());
    EXPECT_EQ(p.MainForm->TrayIcon.tip, "ZEPX");
    EXPECT_EQ(p.MainForm->DialogInitialDir, "C:\\ZEPX\\");  // the program's folder
    const std::string start_key =
        "RegisterHotKey(" + std::to_string(p.MainForm->HookHotKey2.MessageWindow()) + ",1,3,83)";
    EXPECT_EQ(fake.Texts({"RegisterHotKey"}), Texts{start_key});
    EXPECT_EQ(fake.drop_targets, std::vector<Hwnd>{p.MainForm->Handle()});
    EXPECT_TRUE(fake.boxes.empty());  // no key yet: a silent first start

    fake.At(5000, [&] { p.MainForm->BitBtn6.Click(); });
    EXPECT_EQ(p.Run(), 0);
    EXPECT_EQ(fake.now, 5000);
    EXPECT_TRUE(p.MainForm->Closed());
    EXPECT_TRUE(fake.hotkeys.empty());
    EXPECT_EQ(fake.registry[kZepxKey].size(), 47u);
    EXPECT_FALSE(fake.FindWindowByHandle(p.MainForm->Handle()));
  }
  EXPECT_EQ(fake.Texts({"CreateWindowEx(message)"}).size(), fake.Texts({"DestroyWindow("}).size());
}

TEST(Program, AQuitFromOutsideStillSavesTheSettings) {
  FakePlatform fake;
  Program p(fake.platform());
  p.Start();
  fake.At(100, [&] { fake.Quit(); });
  p.Run();
  EXPECT_TRUE(p.MainForm->Closed());
  EXPECT_EQ(fake.registry[kZepxKey].size(), 47u);
}

TEST_F(Life, TheFirstMacroFileIsLoadedWithItsSendMethodAndTheOthersGetInstancesOfTheirOwn) {
  WriteSettingsKey(fake, [](TMainForm& f) {
    f.settings.AutoRunChecked = true;
    f.PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
    f.PostRadioGroup.SetItemIndex(kSendEvent);
  });
  MacroFile("C:\\m\\first.mcr", {"Wait=10"}, kSendWinMessage);
  fake.arguments = {"C:\\m\\first.mcr", "C:\\m\\notes.txt", "D:\\x y\\third.MCR", "C:\\m\\odd.Mcr"};
  Texts& status = WatchStatus();
  Start();
  EXPECT_EQ(form.SendList.Items(), Texts{"Wait=10"});
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendWinMessage);
  EXPECT_TRUE(form.settings.PostMouseChecked);
  ASSERT_EQ(fake.processes.size(), 1u);
  EXPECT_EQ(fake.processes[0].command_line, "C:\\ZEPX\\zepx.exe \"D:\\x y\\third.MCR\"");
  EXPECT_EQ(fake.processes[0].current_dir, "D:\\x y\\");

  fake.RunUntil(3000);  // the autorun: one pass of the file, then idle
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.front().rfind("実行中 (WinMessage)", 0), 0u);
  EXPECT_EQ(status.back(), "待機中");
  EXPECT_FALSE(form.LoadedFromCommandLine);

  // A later drop never runs anything by itself.
  status.clear();
  MacroFile("C:\\m\\b.mcr", {"Wait=20"}, kSendInput);
  form.DropFiles({"C:\\m\\b.mcr"});
  fake.RunUntil(6000);
  EXPECT_EQ(form.SendList.Items(), Texts{"Wait=20"});
  EXPECT_TRUE(status.empty());
}

TEST_F(Life, WithoutAutorunTheLoadedFileWaitsAndABlankInTheProgramPathIsQuoted) {
  WriteSettingsKey(fake, [](TMainForm&) {});
  MacroFile("C:\\m\\first.mcr", {"Wait=10"}, kSendEvent);
  fake.program_path = "C:\\Program Files\\ZEPX\\zepx.exe";
  fake.arguments = {"C:\\m\\first.mcr", "second.mcr"};
  Texts& status = WatchStatus();
  Start();
  fake.RunUntil(3000);
  EXPECT_TRUE(status.empty());
  ASSERT_EQ(fake.processes.size(), 1u);
  EXPECT_EQ(fake.processes[0].command_line, "\"C:\\Program Files\\ZEPX\\zepx.exe\" \"second.mcr\"");
  EXPECT_EQ(fake.processes[0].current_dir, "");
}

TEST_F(Life, DroppedFiles) {
  Start();
  fake.foreground = fake.AddWindow("Explorer", "CabinetWClass");
  form.DropFiles({"C:\\d\\link.LNK"});
  EXPECT_EQ(fake.foreground, form.Handle());
  EXPECT_EQ(BoxTexts(), Texts{"ショートカット(*.lnk)は読み込めません."});
  form.DropFiles({"C:\\d\\readme.txt"});
  form.DropFiles({"C:\\d\\x.lnk", "C:\\d\\y.lnk"});  // several: no message for shortcuts
  EXPECT_EQ(fake.boxes.size(), 1u);

  MacroFile("C:\\d\\1.mcr", {"Wait=1"}, kSendInput);
  form.DropFiles({"C:\\d\\1.mcr", "C:\\d\\2.MCR", "C:\\d\\n.txt", "C:\\d\\3.mcr"});
  EXPECT_EQ(form.SendList.Items(), Texts{"Wait=1"});
  ASSERT_EQ(fake.processes.size(), 2u);
  EXPECT_EQ(fake.processes[1].command_line, "C:\\ZEPX\\zepx.exe \"C:\\d\\3.mcr\"");
}

TEST_F(Life, SecondInstanceAsAdministratorOnlyFromVersionSix) {
  fake.major_version = 5;
  EXPECT_FALSE(form.RunAsAdministrator("C:\\ZEPX\\zepx.exe", ""));
  form.mNewZep.Click();
  ASSERT_EQ(fake.processes.size(), 1u);
  EXPECT_FALSE(fake.processes[0].runas);
  EXPECT_EQ(fake.processes[0].command_line, "C:\\ZEPX\\zepx.exe");
  EXPECT_EQ(fake.processes[0].current_dir, "C:\\ZEPX\\");

  fake.major_version = 6;
  form.mNewZep.Click();
  ASSERT_EQ(fake.processes.size(), 2u);
  EXPECT_TRUE(fake.processes[1].runas);
  EXPECT_EQ(fake.Texts({"ShellExecuteExA"}), Texts{"ShellExecuteExA(runas,C:\\ZEPX\\zepx.exe,)"});
}

TEST_F(Life, HelpTextsAndTheAboutBox) {
  for (TButton* b : {&form.Button1, &form.Button2, &form.Button3, &form.Button4, &form.Button5, &form.Button8})
    b->Click();
  ASSERT_EQ(fake.boxes.size(), 6u);
  for (const auto& b : fake.boxes) EXPECT_EQ(b.kind, MsgKind::Info);
  EXPECT_EQ(fake.boxes[2].text.rfind("ドラッグを送信後、実際にオブジェクトを掴む", 0), 0u);
  EXPECT_EQ(fake.boxes[5].text.rfind("[_event]\r\n_eventコマンドを発行し", 0), 0u);
  const Texts texts = BoxTexts();
  EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()).size(), 6u);

  std::string shown;
  fake.on_modal = [&](const std::string& cls) {
    shown = cls + "|" + about.Caption() + "|" + about.VersionLabel.Caption() + "|" + about.OKButton.Caption();
    about.OKButton.Click();
  };
  form.mAbout.Click();
  EXPECT_EQ(shown, "TAboutForm|ZEPXについて|ZEPX Version 1.51|OK");
  EXPECT_FALSE(about.Visible());
}

// ---- closing during a run ----------------------------------------------------------

enum class Exit { FromOutside, Button, Menu, Tray };

class CloseDuringRun : public Life, public ::testing::WithParamInterface<Exit> {
 protected:
  void CloseNow() {
    switch (GetParam()) {
      case Exit::FromOutside: form.CloseRequested(); break;
      case Exit::Button: form.BitBtn6.Click(); break;
      case Exit::Menu: form.mExit.Click(); break;
      case Exit::Tray: form.ZEPX1.Click(); break;
    }
    closed_under_run_ = form.Closed();
  }
  void ExpectCleanExit() {
    EXPECT_FALSE(closed_under_run_) << "torn down under the run";
    EXPECT_TRUE(form.Closed());
    EXPECT_TRUE(fake.quit_requested);
    EXPECT_TRUE(fake.keys_down.empty());
    EXPECT_TRUE(fake.buttons_down.empty());
    EXPECT_FALSE(fake.clip.has_value());
    EXPECT_TRUE(fake.hotkeys.empty());
    EXPECT_EQ(Saves(), 1u);
    EXPECT_EQ(fake.Texts({"PostQuitMessage"}).size(), 1u);
  }
  bool closed_under_run_ = true;
};

TEST_P(CloseDuringRun, WhileModifiersAreHeld) {
  Start();
  form.PostRadioGroup.SetItemIndex(kSendEvent);
  form.SendList.SetItems({"[A]+Shift+Ctrl", "Wait=5000"});
  form.LoopSpinEdit.SetValue(0);
  fake.At(1100, [&] {
    EXPECT_TRUE(fake.keys_down.count(win::VK_SHIFT));  // inside ShiftAltCtrlDelay
    CloseNow();
  });
  form.BitBtn1Click();
  ExpectCleanExit();
}

TEST_P(CloseDuringRun, WhileADragHoldsTheButton) {
  Start();
  form.PostRadioGroup.SetItemIndex(kSendEvent);
  form.SendList.SetItems({"L_Drag:10x20", "L_Drop:300x20"});
  form.LoopSpinEdit.SetValue(0);
  const Point before = fake.cursor;
  fake.At(1700, [&] {
    EXPECT_TRUE(fake.buttons_down.count(win::MOUSEEVENTF_LEFTDOWN));  // inside DragDelay
    EXPECT_TRUE(fake.clip.has_value());
    CloseNow();
  });
  form.BitBtn1Click();
  ExpectCleanExit();
  EXPECT_EQ(fake.cursor, before);
}

INSTANTIATE_TEST_SUITE_P(AllExits, CloseDuringRun,
                         ::testing::Values(Exit::FromOutside, Exit::Button, Exit::Menu, Exit::Tray));

}  // namespace
}  // namespace zepx
