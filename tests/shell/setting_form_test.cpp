// The settings dialog with the main window on the substitute desktop: shown
// modally from the menu and the two buttons, confirmed or cancelled, created
// at start-up; and the autorun of a dropped macro file that its option
// promises.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/macro_file.h"
#include "shell/life_support.h"
#include "shell/program.h"
#include "shell/setting_form.h"

namespace zepx {
namespace {

using Texts = std::vector<std::string>;
constexpr std::uint32_t kCtrlAlt = win::MOD_CONTROL | win::MOD_ALT;

class SettingForm : public LifeFixture, public ::testing::Test {
 protected:
  // The dialog made as the program makes it, after the main window's start.
  void StartWithDialog() {
    Start();
    dialog = std::make_unique<TSettingForm>(fake.platform(), form);
    dialog->Bind(dialog_native.get());
    form.SettingForm = dialog.get();
  }
  // What the user does while the dialog is shown next.
  void WhileOpen(std::function<void(TSettingForm&)> user) {
    fake.on_modal = [this, user](const std::string&) { user(*dialog); };
  }
  bool Holds(const THookHotKey& key, char letter) const {
    for (const auto& h : fake.hotkeys)
      if (h.window == key.MessageWindow() && h.modifiers == kCtrlAlt && h.vk == static_cast<unsigned>(letter))
        return true;
    return false;
  }
  std::size_t TopmostCalls() const {
    std::size_t n = 0;
    for (const std::string& c : fake.Texts({"SetWindowPos"}))
      if (c.find("," + std::to_string(static_cast<std::intptr_t>(win::HWND_TOPMOST)) + ",") != std::string::npos) ++n;
    return n;
  }

  std::unique_ptr<INativeForm> dialog_native = MakeNativeForm(fake, "TSettingForm");
  std::unique_ptr<TSettingForm> dialog;
};

TEST_F(SettingForm, ConfirmedFromTheMenuTheKeysCaptionsWindowAndFolderFollow) {
  fake.directories.insert("D:\\macros");
  StartWithDialog();
  WhileOpen([&](TSettingForm& d) {
    d.StartKeyCombo.FromNativeSelect(16);  // Q
    d.EndKeyCombo.FromNativeSelect(22);    // W
    d.OnTopCheck.FromNativeClick();
    d.RadioGroup1.FromNativeSelect(1);
    fake.folder_dialog_results = {std::string("D:\\macros")};
    d.BitBtn4.Click();
    d.BitBtn1.Click();  // OK
  });
  fake.ClearCalls();
  form.mSetting.Click();

  EXPECT_EQ(fake.Texts({"SHBrowseForFolder"}),
            Texts{"SHBrowseForFolder(" + std::to_string(dialog->Handle()) + ",フォルダーの選択,)"});
  EXPECT_EQ(form.DialogInitialDir, "D:\\macros");
  EXPECT_EQ(TopmostCalls(), 1u);
  EXPECT_EQ(form.BitBtn1.Caption(), "実行\r\n(Ctrl+Alt+Q)");
  EXPECT_EQ(form.BitBtn3.Caption(), "待機\r\n(Ctrl+Alt+W)");
  EXPECT_TRUE(Holds(form.HookHotKey2, 'Q'));
  EXPECT_TRUE(Holds(form.HookHotKey1, 'W'));  // registered though no run goes on
  EXPECT_FALSE(fake.PressHotKey(kCtrlAlt, 'S'));
  EXPECT_FALSE(dialog->Visible());
}

TEST_F(SettingForm, CancelKeepsOnlyWhatActedAtOnce) {
  StartWithDialog();
  WhileOpen([&](TSettingForm& d) {
    d.StartKeyCombo.FromNativeSelect(16);  // Q, stored at once
    d.LayerBar.FromNativePosition(100);    // applied at once
    d.ECombo12.FromNativeSelect(10);
    d.Exec1Edit.FromNativeText("C:\\tested.bat");
    d.Button1.Click();  // Test, answered OK: stores the slots and files
    d.LoopEdit1.FromNativeText("C:\\chain.mcr");
    d.OnTopCheck.FromNativeClick();
    d.MinCheck.FromNativeClick();
    d.AutoRunCheck.FromNativeClick();
    d.CloseRequested();  // Escape
  });
  form.mSetting.Click();

  EXPECT_EQ(form.BitBtn1.Caption(), "実行\r\n(Ctrl+Alt+S)");
  EXPECT_TRUE(Holds(form.HookHotKey2, 'S'));
  EXPECT_FALSE(fake.PressHotKey(kCtrlAlt, 'Q'));
  EXPECT_EQ(form.settings.StartComboIndex, 16);
  EXPECT_EQ(fake.FindWindowByHandle(form.Handle())->alpha, std::optional<std::uint8_t>(100));
  EXPECT_EQ(form.settings.Layered, 100);
  EXPECT_EQ(form.settings.ECom1Index[1], 10);
  EXPECT_EQ(form.settings.Exec1, "C:\\tested.bat");
  EXPECT_EQ(form.settings.Loop[0], "");
  EXPECT_FALSE(form.settings.TopCheck || form.settings.MinChecked || form.settings.AutoRunChecked);
  EXPECT_EQ(TopmostCalls(), 0u);

  // The changed letter is saved and takes effect at the next start.
  form.SaveSettings();
  EXPECT_EQ(fake.RegDword(kZepxKey, "StartComboIndex"), 16u);
  // Reopened, the dialog shows the settings again, not what was cancelled.
  Texts seen;
  WhileOpen([&](TSettingForm& d) {
    seen = {d.LoopEdit1.Text(), d.StartKeyCombo.Item(d.StartKeyCombo.ItemIndex()),
            std::to_string(d.LayerBar.Position())};
    d.BitBtn2.Click();
  });
  form.mSetting.Click();
  EXPECT_EQ(seen, (Texts{"", "Q", "100"}));
}

TEST_F(SettingForm, TheEventButtonOpensTheEventPageAndTheMacroFileButtonTheLoopPage) {
  StartWithDialog();
  std::vector<int> pages;
  WhileOpen([&](TSettingForm& d) {
    pages.push_back(d.PageControl1.ActivePageIndex());
    d.BitBtn2.Click();
  });
  form.mSetting.Click();  // the first page
  form.Button7.Click();
  EXPECT_FALSE(dialog->ShowEventPage);
  form.Button6.Click();
  form.mSetting.Click();  // the page last shown
  form.Button7.Click();
  EXPECT_EQ(pages, (std::vector<int>{0, 1, 2, 2, 1}));
}

// At start-up translucency has been decided by the main window: with the
// game client running it stays off and the game-client check does not run.
// The dialog, filled right after, must not change that; opening it starts
// the check.
TEST(SettingFormStartUp, FillingTheDialogTurnsNoWindowAndStartsNoCheck) {
  for (bool game_running : {true, false}) {
    SCOPED_TRACE(game_running ? "game client running" : "no game client");
    FakePlatform fake;
    WriteSettingsKey(fake, [](TMainForm& f) { f.settings.Layered = 120; });
    if (game_running) fake.AddWindow("UO", "Ultima Online Third Dawn");
    std::vector<std::unique_ptr<INativeForm>> natives;
    Program program(fake.platform(), [&](TForm& f) {
      natives.push_back(MakeNativeForm(fake, "T" + f.Name));
      f.Bind(natives.back().get());
    });
    program.Start();
    TMainForm& form = *program.MainForm;
    EXPECT_EQ(program.SettingForm->LayerBar.Position(), 120);
    EXPECT_EQ(fake.Texts({"SetLayeredWindowAttributes"}).size(), game_running ? 0u : 1u);
    EXPECT_EQ(form.TDCheckTimer.Enabled(), !game_running);
    fake.RunUntil(30000);
    EXPECT_FALSE(form.Closed());
    EXPECT_TRUE(fake.boxes.empty());
    if (!game_running) continue;

    fake.on_modal = [&](const std::string&) { program.SettingForm->BitBtn2.Click(); };
    form.mSetting.Click();
    EXPECT_TRUE(form.TDCheckTimer.Enabled());
    EXPECT_TRUE(fake.Texts({"SetLayeredWindowAttributes"}).empty());
    fake.RunUntil(fake.now + 5001);
    EXPECT_TRUE(form.Closed());
  }
}

// ---- autorun of a dropped file ------------------------------------------------------------

class DropAutorun : public LifeFixture, public ::testing::Test {
 protected:
  void MacroFile(const std::string& path, const std::string& line) {
    MacroSettings s;
    s.loop = 1;
    s.send_api = kSendInput;
    fake.files[path] = WriteMacroFile({line}, s);
  }
  // Every run start seen on the status label.
  int Runs() const { return runs_; }
  void StartWith(bool autorun) {
    WriteSettingsKey(fake, [autorun](TMainForm& f) { f.settings.AutoRunChecked = autorun; });
    Start();
    form.StatusLabel.OnChange = [this] {
      if (form.StatusLabel.Caption().rfind("実行中", 0) == 0) ++runs_;
    };
    fake.RunUntil(1000);  // the deferred start-up: nothing to run
  }

 private:
  int runs_ = 0;
};

TEST_F(DropAutorun, ASingleDroppedMacroFileRunsOnceWhenTheOptionIsSet) {
  StartWith(true);
  MacroFile("C:\\m\\a.mcr", "Wait=500");
  form.DropFiles({"C:\\m\\a.mcr"});
  fake.RunUntil(10000);
  EXPECT_EQ(Runs(), 1);
  EXPECT_EQ(form.StatusLabel.Caption(), "待機中");

  // Dropped while a run goes on: the list is replaced, no second run.
  MacroFile("C:\\m\\b.mcr", "Wait=3000");
  fake.At(11200, [&] { form.DropFiles({"C:\\m\\b.mcr"}); });  // in its Wait=500
  form.BitBtn1Click();
  fake.RunUntil(30000);
  EXPECT_EQ(Runs(), 2);
  EXPECT_EQ(form.SendList.Items(), Texts{"Wait=3000"});
}

TEST_F(DropAutorun, NothingRunsForSeveralFilesOrAFailedLoad) {
  StartWith(true);
  MacroFile("C:\\m\\a.mcr", "Wait=500");
  form.DropFiles({"C:\\m\\a.mcr", "C:\\m\\b.mcr"});
  form.DropFiles({"C:\\m\\missing.mcr"});
  fake.files["C:\\m\\bad.mcr"] = "not a macro file";
  form.DropFiles({"C:\\m\\bad.mcr"});
  fake.RunUntil(10000);
  EXPECT_EQ(Runs(), 0);
  EXPECT_EQ(fake.boxes.size(), 2u);  // the missing file and the bad one
}

TEST_F(DropAutorun, NothingRunsWithoutTheOption) {
  StartWith(false);
  MacroFile("C:\\m\\a.mcr", "Wait=500");
  form.DropFiles({"C:\\m\\a.mcr"});
  fake.RunUntil(10000);
  EXPECT_EQ(form.SendList.Items(), Texts{"Wait=500"});
  EXPECT_EQ(Runs(), 0);
}

}  // namespace
}  // namespace zepx
