// The settings dialog with the main window on the substitute desktop: shown
// modally from the menu and the two buttons, confirmed or cancelled, created
// at start-up, showing the slots an event runs; and the autorun of a
// dropped macro file that its option promises.
#include <gtest/gtest.h>

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
  SettingForm() {
    Start();
    dialog = std::make_unique<TSettingForm>(fake.platform(), form);
    dialog->Bind(dialog_native.get());
    form.SettingForm = dialog.get();
  }
  // Opens the dialog from the menu with what the user does while it is shown.
  void Open(std::function<void(TSettingForm&)> user) {
    fake.on_modal = [this, user](const std::string&) { user(*dialog); };
    form.mSetting.Click();
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
      n += c.find("," + std::to_string(static_cast<std::intptr_t>(win::HWND_TOPMOST)) + ",") != std::string::npos;
    return n;
  }
  // The status a run shows at its start.
  std::string RunStatus() {
    std::string shown;
    form.batch.SetLines({"Wait=500"});
    form.LoopSpinEdit.SetValue(1);
    form.StatusLabel.OnChange = [&] { if (shown.empty()) shown = form.StatusLabel.Caption(); };
    form.BitBtn1Click();
    return shown;
  }

  std::unique_ptr<INativeForm> dialog_native = MakeNativeForm(fake, "TSettingForm");
  std::unique_ptr<TSettingForm> dialog;
};

TEST_F(SettingForm, ConfirmedWithEnterTheKeysCaptionsWindowAndFolderFollow) {
  EXPECT_EQ(dialog->Caption() + "|" + dialog->BitBtn1.Caption() + "|" + dialog->BitBtn2.Caption(), "ZEPX設定|OK|キャンセル");
  EXPECT_TRUE(dialog->BitBtn1.Default) << "Enter confirms the dialog";
  EXPECT_FALSE(dialog->BitBtn2.Default || dialog->BitBtn3.Default);
  fake.directories.insert("D:\\macros");
  fake.ClearCalls();
  Open([&](TSettingForm& d) {
    d.StartKeyCombo.FromNativeSelect(16);  // Q
    d.EndKeyCombo.FromNativeSelect(22);    // W
    d.OnTopCheck.FromNativeClick();
    d.RadioGroup1.FromNativeSelect(1);
    fake.folder_dialog_results = {std::string("D:\\macros")};
    d.BitBtn4.Click();
    d.BitBtn1.Click();  // OK
  });
  EXPECT_EQ(fake.Texts({"SHBrowseForFolder"}),
            Texts{"SHBrowseForFolder(" + std::to_string(dialog->Handle()) + ",フォルダーの選択,)"});
  EXPECT_EQ(form.DialogInitialDir, "D:\\macros");
  EXPECT_EQ(TopmostCalls(), 1u);
  EXPECT_EQ(form.BitBtn1.Caption() + "|" + form.BitBtn3.Caption(), "実行\r\n(Ctrl+Alt+Q)|待機\r\n(Ctrl+Alt+W)");
  EXPECT_TRUE(Holds(form.HookHotKey2, 'Q') && Holds(form.HookHotKey1, 'W')) << "the stop key though no run goes on";
  EXPECT_FALSE(fake.PressHotKey(kCtrlAlt, 'S'));
  EXPECT_FALSE(dialog->Visible());
  Open([&](TSettingForm& d) {
    d.OnTopCheck.FromNativeClick();
    d.BitBtn1.Click();
  });
  const std::string not_topmost = "," + std::to_string(static_cast<std::intptr_t>(win::HWND_NOTOPMOST)) + ",";
  EXPECT_NE(fake.Texts({"SetWindowPos"}).back().find(not_topmost), std::string::npos) << "unchecked: no longer topmost";
  EXPECT_EQ(RunStatus(), "実行中 (SendInput) - Ctrl+Alt+Wで中断できます");
}

TEST_F(SettingForm, CancelKeepsOnlyWhatActedAtOnceAndTheRunNamesTheKeyThatWorks) {
  Open([&](TSettingForm& d) {
    d.StartKeyCombo.FromNativeSelect(16);  // Q, stored at once
    d.EndKeyCombo.FromNativeSelect(22);    // W, stored at once
    d.LayerBar.FromNativePosition(100);    // applied at once
    d.ECombo12.FromNativeSelect(10);
    d.Exec1Edit.FromNativeText("C:\\tested.bat");
    d.Button1.Click();  // Test, answered OK: stores the slots and files
    d.LoopEdit1.FromNativeText("C:\\chain.mcr");
    for (TCheckBox* c : {&d.OnTopCheck, &d.MinCheck, &d.AutoRunCheck}) c->FromNativeClick();
    d.CloseRequested();  // Escape
  });
  EXPECT_EQ(form.BitBtn1.Caption(), "実行\r\n(Ctrl+Alt+S)");
  EXPECT_TRUE(Holds(form.HookHotKey2, 'S'));
  EXPECT_FALSE(fake.PressHotKey(kCtrlAlt, 'Q'));
  EXPECT_EQ(fake.FindWindowByHandle(form.Handle())->alpha, std::optional<std::uint8_t>(100));
  const Settings& s = form.settings;
  EXPECT_EQ(std::to_string(s.StartComboIndex) + " " + std::to_string(s.Layered) + " " + std::to_string(s.ECom1Index[1]) +
                " " + s.Exec1 + " " + s.Loop[0],
            "16 100 10 C:\\tested.bat ");
  EXPECT_FALSE(s.TopCheck || s.MinChecked || s.AutoRunChecked);
  EXPECT_EQ(TopmostCalls(), 0u);
  EXPECT_EQ(RunStatus(), "実行中 (SendInput) - Ctrl+Alt+Xで中断できます") << "X is still the registered stop key";
  // The changed letters are saved and take effect at the next start; reopened,
  // the dialog shows the settings again, not what was cancelled.
  form.SaveSettings();
  EXPECT_EQ(fake.RegDword(kZepxKey, "StartComboIndex"), 16u);
  Texts seen;
  Open([&](TSettingForm& d) {
    seen = {d.LoopEdit1.Text(), d.StartKeyCombo.Item(d.StartKeyCombo.ItemIndex()), std::to_string(d.LayerBar.Position())};
    d.BitBtn2.Click();
  });
  EXPECT_EQ(seen, (Texts{"", "Q", "100"}));
}

TEST_F(SettingForm, TheEventButtonOpensTheEventPageAndTheMacroFileButtonTheLoopPage) {
  std::vector<int> pages;
  fake.on_modal = [&](const std::string&) {
    pages.push_back(dialog->PageControl1.ActivePageIndex());
    dialog->BitBtn2.Click();
  };
  form.mSetting.Click();  // the first page
  form.Button7.Click();
  EXPECT_FALSE(dialog->ShowEventPage);
  form.Button6.Click();
  form.mSetting.Click();  // the page last shown
  form.Button7.Click();
  EXPECT_EQ(pages, (std::vector<int>{0, 1, 2, 2, 1}));
}

TEST_F(SettingForm, EachSlotsSelectorShowsTheIndexTheSlotRunsWith) {
  form.settings.ECom1Index = {13, 2, 0, 0, 10};  // 13 is no entry of the first selector
  form.settings.ECom2Index = {3, 99, 0, 13, 11};
  for (int event : {1, 2}) form.ExecuteEventActions(event);
  std::vector<int> shown;
  for (int e = 1; e <= 2; ++e)
    for (int s = 0; s < 5; ++s) shown.push_back(dialog->ECombo(e, s).ItemIndex());
  EXPECT_EQ(shown, (std::vector<int>{-1, 2, 0, 0, 10, 3, -1, 0, 13, 11}));
  EXPECT_EQ(fake.Texts({"Sleep"}), (Texts{"Sleep(1000)", "Sleep(3000)"}));
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
    EXPECT_FALSE(form.Closed() || !fake.boxes.empty());
    if (!game_running) continue;
    fake.on_modal = [&](const std::string&) { program.SettingForm->BitBtn2.Click(); };
    form.mSetting.Click();
    EXPECT_TRUE(form.TDCheckTimer.Enabled());
    EXPECT_TRUE(fake.Texts({"SetLayeredWindowAttributes"}).empty());
    fake.RunUntil(fake.now + 5001);
    EXPECT_TRUE(form.Closed());
  }
}

// A single dropped macro file runs once when the option is set; several
// files, a failed load, or the option off run nothing.
TEST(DropAutorun, ASingleDroppedMacroFileRunsOnceWhenTheOptionIsSet) {
  struct Case {
    bool autorun;
    std::vector<Texts> drops;
    int runs;
    std::size_t boxes;
  } const cases[] = {{true, {{"C:\\m\\a.mcr"}}, 1, 0},
                     {false, {{"C:\\m\\a.mcr"}}, 0, 0},
                     {true, {{"C:\\m\\a.mcr", "C:\\m\\b.mcr"}, {"C:\\m\\missing.mcr"}, {"C:\\m\\bad.mcr"}}, 0, 2}};
  for (const Case& c : cases) {
    LifeFixture f;
    WriteSettingsKey(f.fake, [&](TMainForm& m) { m.settings.AutoRunChecked = c.autorun; });
    f.Start();
    int runs = 0;
    f.form.StatusLabel.OnChange = [&] { runs += f.form.StatusLabel.Caption().rfind("実行中", 0) == 0; };
    f.fake.RunUntil(1000);  // the deferred start-up: nothing to run
    MacroSettings s;
    s.loop = 1;
    s.send_api = kSendInput;
    f.fake.files["C:\\m\\a.mcr"] = WriteMacroFile({"Wait=500"}, s);
    f.fake.files["C:\\m\\b.mcr"] = WriteMacroFile({"Wait=3000"}, s);
    f.fake.files["C:\\m\\bad.mcr"] = "not a macro file";
    for (const Texts& drop : c.drops) f.form.DropFiles(drop);
    f.fake.RunUntil(10000);
    EXPECT_EQ(runs, c.runs) << "autorun " << c.autorun << ", " << c.drops.size() << " drops";
    EXPECT_EQ(f.fake.boxes.size(), c.boxes);
    EXPECT_EQ(f.form.SendList.Items(), c.drops.size() == 1 ? Texts{"Wait=500"} : Texts{});
    if (!c.autorun || c.runs == 0) continue;
    // Dropped while a run goes on: the list is replaced, no second run.
    f.fake.At(11200, [&] { f.form.DropFiles({"C:\\m\\b.mcr"}); });  // in its Wait=500
    f.form.BitBtn1Click();
    f.fake.RunUntil(30000);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(f.form.SendList.Items(), Texts{"Wait=3000"});
  }
}

}  // namespace
}  // namespace zepx
