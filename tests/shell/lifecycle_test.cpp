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

TEST(Program, CreatesTheSixWindowsInOrderAndRunsUntilTheMainWindowCloses) {
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
  EXPECT_EQ(p.Application.Title(), "ZEPX");
  EXPECT_TRUE(p.MainForm->Visible());
  EXPECT_EQ(p.MainForm->AboutForm, p.AboutForm.get());
  EXPECT_EQ(p.MainForm->DialogInitialDir, "C:\\ZEPX\\");
  EXPECT_EQ(fake.Texts({"RegisterHotKey"}),
            Texts{"RegisterHotKey(" + std::to_string(p.MainForm->HookHotKey2.MessageWindow()) + ",1,3,83)"});
  EXPECT_EQ(fake.drop_targets, std::vector<Hwnd>{p.MainForm->Handle()});
  EXPECT_TRUE(fake.boxes.empty());

  fake.At(5000, [&] { p.MainForm->BitBtn6.Click(); });
  EXPECT_EQ(p.Run(), 0);
  EXPECT_EQ(fake.now, 5000);
  EXPECT_TRUE(fake.hotkeys.empty());
  EXPECT_EQ(fake.registry[kZepxKey].size(), 47u);
  EXPECT_FALSE(fake.FindWindowByHandle(p.MainForm->Handle()));
}

// The main window appears where the settings put it and as translucent as
// they say: nothing is shown at the default place at full opacity first.
TEST(Program, TheMainWindowIsPlacedAndMadeTranslucentBeforeItShows) {
  FakePlatform fake;
  WriteSettingsKey(fake, [](TMainForm& f) {
    f.SetPosition(300, 200);
    f.settings.Layered = 128;
  });
  // What the window looked like when it could first be seen.
  struct Watch : INativeForm {
    std::unique_ptr<INativeForm> inner;
    FakePlatform* fake = nullptr;
    Rect rect_at_show{};
    std::optional<std::uint8_t> alpha_at_show;
    bool shown = false, concealed = false;
    void SetCaption(const std::string& c) override { inner->SetCaption(c); }
    void SetPosition(int l, int t) override { inner->SetPosition(l, t); }
    void Seen() {
      if (shown) return;
      const auto* w = fake->FindWindowByHandle(inner->Handle());
      rect_at_show = w->rect;
      alpha_at_show = w->alpha;
      shown = true;
    }
    void Show() override {
      Seen();
      inner->Show();
    }
    void ShowConcealed() override {
      concealed = true;
      inner->Show();
    }
    void Reveal() override {
      if (concealed) Seen();
      concealed = false;
    }
    void Hide() override { inner->Hide(); }
    void Destroy() override { inner->Destroy(); }
    Hwnd Handle() const override { return inner->Handle(); }
  };
  Watch* main = nullptr;
  std::vector<std::unique_ptr<INativeForm>> natives;
  Program p(fake.platform(), [&](TForm& f) {
    auto w = std::make_unique<Watch>();
    w->inner = MakeNativeForm(fake, "T" + f.Name);
    w->fake = &fake;
    if (!main) main = w.get();
    f.Bind(w.get());
    natives.push_back(std::move(w));
  });
  p.Start();
  ASSERT_TRUE(main && main->shown);
  EXPECT_EQ(main->rect_at_show.left, 300);
  EXPECT_EQ(main->rect_at_show.top, 200);
  EXPECT_EQ(main->alpha_at_show, 128);
  EXPECT_TRUE(p.MainForm->Visible());
}

TEST(Program, TheModifierBoxesOfTheMainWindowAndThePaletteFollowEachOther) {
  FakePlatform fake;
  Program p(fake.platform());
  p.Start();
  p.MainForm->AltCheck.FromNativeClick();
  EXPECT_TRUE(p.InputForm->AltCheck.Checked());
  p.InputForm->AltCheck.FromNativeClick();
  EXPECT_FALSE(p.MainForm->AltCheck.Checked());
  EXPECT_FALSE(p.InputForm->AltCheck.Checked());
  p.InputForm->CtrlCheck.FromNativeClick();
  EXPECT_TRUE(p.MainForm->CtrlCheck.Checked());
  EXPECT_FALSE(p.MainForm->ShiftCheck.Checked());
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

class Life : public LifeFixture, public ::testing::Test {
 protected:
  void MacroFile(const std::string& path, const std::string& line, int send_api) {
    MacroSettings s;
    s.loop = 1;
    s.send_api = send_api;
    fake.files[path] = WriteMacroFile({line}, s);
  }
  Texts& WatchStatus() {
    form.StatusLabel.OnChange = [this] { status_.push_back(form.StatusLabel.Caption()); };
    return status_;
  }
  Texts status_;
};

TEST_F(Life, TheFirstMacroFileIsLoadedWithItsSendMethodAndRunsWhenAutorunIsSet) {
  WriteSettingsKey(fake, [](TMainForm& f) {
    f.settings.AutoRunChecked = true;
    f.PostRadioGroup.SetItemIndex(kSendEvent);
  });
  MacroFile("C:\\m\\first.mcr", "Wait=10", kSendWinMessage);
  fake.arguments = {"C:\\m\\first.mcr", "C:\\m\\notes.txt", "D:\\x y\\third.MCR", "C:\\m\\odd.Mcr"};
  Texts& status = WatchStatus();
  Start();
  EXPECT_EQ(form.SendList.Items(), Texts{"Wait=10"});
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendWinMessage);  // the file's, not the stored _event
  EXPECT_TRUE(form.settings.PostMouseChecked);
  ASSERT_EQ(fake.processes.size(), 1u);
  EXPECT_EQ(fake.processes[0].command_line, "C:\\ZEPX\\zepx.exe \"D:\\x y\\third.MCR\"");
  EXPECT_EQ(fake.processes[0].current_dir, "D:\\x y\\");

  fake.RunUntil(3000);
  ASSERT_EQ(status.size(), 2u);
  EXPECT_EQ(status[0].rfind("実行中 (WinMessage)", 0), 0u);
}

TEST_F(Life, WithoutAutorunNothingRunsAndABlankInTheProgramPathIsQuoted) {
  WriteSettingsKey(fake, [](TMainForm&) {});
  MacroFile("C:\\m\\first.mcr", "Wait=10", kSendEvent);
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

TEST_F(Life, DroppedFilesAndFurtherInstances) {
  Start();
  fake.foreground = fake.AddWindow("Explorer", "CabinetWClass");
  form.DropFiles({"C:\\d\\link.LNK"});
  EXPECT_EQ(fake.foreground, form.Handle());
  form.DropFiles({"C:\\d\\readme.txt"});
  form.DropFiles({"C:\\d\\x.lnk", "C:\\d\\y.lnk"});  // several: shortcuts pass silently
  EXPECT_EQ(BoxTexts(), Texts{"ショートカット(*.lnk)は読み込めません."});

  MacroFile("C:\\d\\1.mcr", "Wait=1", kSendInput);
  form.DropFiles({"C:\\d\\1.mcr", "C:\\d\\2.MCR", "C:\\d\\n.txt", "C:\\d\\3.mcr"});
  EXPECT_EQ(form.SendList.Items(), Texts{"Wait=1"});
  ASSERT_EQ(fake.processes.size(), 2u);
  EXPECT_EQ(fake.processes[1].command_line, "C:\\ZEPX\\zepx.exe \"C:\\d\\3.mcr\"");

  // As administrator from version 6 on; before that a plain new process.
  fake.major_version = 5;
  EXPECT_FALSE(form.RunAsAdministrator("C:\\ZEPX\\zepx.exe", ""));
  form.mNewZep.Click();
  fake.major_version = 6;
  form.mNewZep.Click();
  ASSERT_EQ(fake.processes.size(), 4u);
  EXPECT_EQ(fake.processes[2].command_line + "|" + fake.processes[2].current_dir, "C:\\ZEPX\\zepx.exe|C:\\ZEPX\\");
  EXPECT_EQ(fake.Texts({"ShellExecuteExA"}), Texts{"ShellExecuteExA(runas,C:\\ZEPX\\zepx.exe,)"});
}

TEST_F(Life, HelpTextsAndTheAboutBox) {
  for (TButton* b : {&form.Button1, &form.Button2, &form.Button3, &form.Button4, &form.Button5, &form.Button8})
    b->Click();
  const Texts texts = BoxTexts();
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()).size(), 6u);
  EXPECT_EQ(texts[2].rfind("ドラッグを送信後、実際にオブジェクトを掴む", 0), 0u);
  EXPECT_EQ(texts[5].rfind("[_event]\r\n_eventコマンドを発行し", 0), 0u);

  std::string shown;
  fake.on_modal = [&](const std::string& cls) {
    shown = cls + "|" + about.Caption() + "|" + about.VersionLabel.Caption() + "|" + about.OKButton.Caption();
    about.OKButton.Click();
  };
  form.mAbout.Click();
  EXPECT_EQ(shown, "TAboutForm|ZEPXについて|ZEPX Version 1.51|OK");
}

// ---- closing during a run ------------------------------------------------------

enum class Exit { FromOutside, Button, Menu, Tray };

class CloseDuringRun : public Life, public ::testing::WithParamInterface<Exit> {
 protected:
  void RunAndCloseAt(std::int64_t t, const std::function<bool()>& held) {
    Start();
    form.PostRadioGroup.SetItemIndex(kSendEvent);
    form.LoopSpinEdit.SetValue(0);
    bool closed_under_run = true;
    fake.At(t, [&] {
      EXPECT_TRUE(held()) << "nothing held at the close";
      switch (GetParam()) {
        case Exit::FromOutside: form.CloseRequested(); break;
        case Exit::Button: form.BitBtn6.Click(); break;
        case Exit::Menu: form.mExit.Click(); break;
        case Exit::Tray: form.ZEPX1.Click(); break;
      }
      closed_under_run = form.Closed();
    });
    form.BitBtn1Click();
    EXPECT_FALSE(closed_under_run);
    EXPECT_TRUE(form.Closed());
    EXPECT_TRUE(fake.keys_down.empty());
    EXPECT_TRUE(fake.buttons_down.empty());
    EXPECT_FALSE(fake.clip.has_value());
    EXPECT_TRUE(fake.hotkeys.empty());
    EXPECT_EQ(Saves(), 1u);
    EXPECT_EQ(fake.Texts({"PostQuitMessage"}).size(), 1u);
  }
};

TEST_P(CloseDuringRun, WhileModifiersAreHeld) {
  form.batch.SetLines({"[A]+Shift+Ctrl", "Wait=5000"});
  RunAndCloseAt(1100, [&] { return fake.keys_down.count(win::VK_SHIFT) > 0; });  // in ShiftAltCtrlDelay
}

TEST_P(CloseDuringRun, WhileADragHoldsTheButton) {
  form.batch.SetLines({"L_Drag:10x20", "L_Drop:300x20"});
  const Point before = fake.cursor;
  RunAndCloseAt(1700, [&] { return fake.buttons_down.size() == 1 && fake.clip; });  // in DragDelay
  EXPECT_EQ(fake.cursor, before);
}

TEST_F(Life, ALogoffDuringARunSavesAtOnceAndClosesAfterTheRun) {
  Start();
  form.batch.SetLines({"Wait=60000"});
  fake.At(2000, [&] {
    form.SessionEnding();
    EXPECT_EQ(Saves(), 1u) << "settings must be on disk before the system ends the process";
    EXPECT_FALSE(form.Closed());
  });
  form.BitBtn1Click();
  EXPECT_EQ(fake.now, 2000);
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(fake.Texts({"PostQuitMessage"}).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(AllExits, CloseDuringRun,
                         ::testing::Values(Exit::FromOutside, Exit::Button, Exit::Menu, Exit::Tray));

}  // namespace
}  // namespace zepx
