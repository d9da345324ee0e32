// The settings dialog with the main window on the substitute desktop: shown
// modally from the menu and the two buttons, confirmed or cancelled, created
// at start-up, showing the slots an event runs.
#include <gtest/gtest.h>

#include "model/macro_file.h"
#include "shell/life_support.h"
#include "shell/setting_form.h"

namespace zepx {
namespace {

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
  // The main window's SetWindowPos call that puts it above others (-1) or not (-2).
  std::string Topmost(int z) const {
    return "SetWindowPos(" + std::to_string(form.Handle()) + "," + std::to_string(z) + ",0,0,0,0,3)";
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

TEST_F(SettingForm, ConfirmedWithEnterTheKeysWindowAndFolderFollow) {
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
    d.DefMCREdit.FromNativeText("D:\\macros");
    d.BitBtn1.Click();  // OK
  });
  EXPECT_EQ(form.DialogInitialDir, "D:\\macros");
  EXPECT_EQ(form.BitBtn1.Caption() + "|" + form.BitBtn3.Caption(), "実行\r\n(Ctrl+Alt+Q)|待機\r\n(Ctrl+Alt+W)");
  EXPECT_TRUE(Holds(form.HookHotKey2, 'Q') && Holds(form.HookHotKey1, 'W')) << "the stop key though no run goes on";
  EXPECT_FALSE(fake.PressHotKey(kCtrlAlt, 'S'));
  EXPECT_FALSE(dialog->Visible());
  Open([&](TSettingForm& d) {
    d.OnTopCheck.FromNativeClick();
    d.BitBtn1.Click();
  });
  EXPECT_EQ(fake.Texts({"SetWindowPos"}), (Texts{Topmost(-1), Topmost(-2)})) << "topmost, then no longer";
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
  EXPECT_EQ(std::to_string(s.ECom1Index[1]) + " " + s.Exec1 + " " + s.Loop[0], "10 C:\\tested.bat ");
  EXPECT_FALSE(s.TopCheck || s.MinChecked || s.AutoRunChecked);
  EXPECT_TRUE(fake.Texts({"SetWindowPos"}).empty());
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

}  // namespace
}  // namespace zepx
