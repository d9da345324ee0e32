// The settings dialog's logic against a main window that writes down what it
// is asked, with the settings it sees at that moment: the confirmed values
// in their steps, the folder rule, filling at start-up and when shown, the
// slider, the letter check, revert, the Test buttons and the pickers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "settings/setting_dialog.h"

namespace zepx {
namespace {

using Texts = std::vector<std::string>;

class RecordingMainWindow : public ISettingDialogHost {
 public:
  explicit RecordingMainWindow(Settings& s) : s_(s) {}
  Texts log;

  void SetDialogInitialDir(const std::string& dir) override {
    log.push_back("dir " + dir + " | top " + std::to_string(s_.TopCheck));
  }
  void SetTopmost(bool topmost) override {
    log.push_back("topmost " + std::to_string(topmost) + " | slot " + std::to_string(s_.ECom1Index[2]));
  }
  void ApplyHotKeyLetters(int start, int stop) override {
    log.push_back("keys " + std::to_string(start) + " " + std::to_string(stop) + " | slot " +
                  std::to_string(s_.ECom1Index[2]) + " loop " + s_.Loop[1] + " autorun " +
                  std::to_string(s_.AutoRunChecked) + " min " + std::to_string(s_.MinChecked));
    s_.StartComboIndex = start;
    s_.EndComboIndex = stop;
  }
  void SetTranslucency(int alpha) override {
    log.push_back("alpha " + std::to_string(alpha));
    s_.Layered = alpha;
  }
  void SetTDCheckTimer(bool enabled) override { log.push_back("td check " + std::to_string(enabled)); }
  void ExecuteEventActions(int event) override {
    log.push_back("event " + std::to_string(event) + " | slots " + std::to_string(s_.ECom1Index[0]) +
                  std::to_string(s_.ECom2Index[4]) + " exec " + s_.Exec1 + "," + s_.Exec2);
  }

 private:
  Settings& s_;
};

class Dialog : public ::testing::Test {
 protected:
  FakePlatform fake;
  Settings settings;
  RecordingMainWindow main{settings};
  SettingDialog dialog{settings, fake.platform(), main};
  Texts BoxTexts() const {
    Texts t;
    for (const auto& b : fake.boxes) t.push_back(b.text);
    return t;
  }
};

// ---- confirmed --------------------------------------------------------------------------

TEST_F(Dialog, OkTakesTheValuesStepByStepAndTheSlidersValueIsNotCopied) {
  fake.directories.insert("D:\\macros");
  dialog.FormShow();
  main.log.clear();
  dialog.RadioGroup1.SetItemIndex(1);
  dialog.DefMCREdit.SetText("D:\\macros");
  dialog.OnTopCheck.SetChecked(true);
  dialog.ECombo13.SetItemIndex(8);
  dialog.ECombo25.SetItemIndex(14);
  dialog.Exec1Edit.SetText("C:\\a.txt");
  dialog.LoopEdit2.SetText("C:\\next.mcr");
  dialog.LoopOfLoopCheck.SetChecked(true);
  dialog.AutoRunCheck.SetChecked(true);
  dialog.StartKeyCombo.SetItemIndex(16);  // Q, set by the program: not stored by itself
  dialog.EndKeyCombo.SetItemIndex(22);    // W
  dialog.MinCheck.SetChecked(true);
  settings.Layered = 90;  // as if the slider had moved; OK leaves it alone
  EXPECT_EQ(settings.StartComboIndex, 18);

  dialog.Apply();
  EXPECT_EQ(main.log, (Texts{"dir D:\\macros | top 0", "topmost 1 | slot 0",
                             "keys 16 22 | slot 8 loop C:\\next.mcr autorun 1 min 0"}));
  EXPECT_EQ(settings.Radio1Index, 1);
  EXPECT_EQ(settings.DefMCRPath, "D:\\macros");
  EXPECT_TRUE(settings.TopCheck);
  EXPECT_EQ(settings.ECom2Index[4], 14);
  EXPECT_EQ(settings.Exec1, "C:\\a.txt");
  EXPECT_TRUE(settings.LoopOfLoopChecked);
  EXPECT_TRUE(settings.MinChecked);
  EXPECT_EQ(settings.Layered, 90);

  // Confirming again with nothing changed registers the keys again.
  main.log.clear();
  dialog.FormShow();
  dialog.Apply();
  EXPECT_EQ(main.log.back(), "keys 16 22 | slot 8 loop C:\\next.mcr autorun 1 min 1");
}

TEST_F(Dialog, AFolderThatIsGoneIsDroppedAndAnExistingOneCountsWhateverTheChoice) {
  dialog.FormShow();
  main.log.clear();
  dialog.RadioGroup1.FromNativeSelect(1);
  EXPECT_TRUE(dialog.DefMCREdit.Enabled() && dialog.BitBtn4.Enabled());
  dialog.DefMCREdit.SetText("D:\\gone");
  dialog.Apply();
  EXPECT_EQ(main.log.front(), "dir  | top 0");
  EXPECT_EQ(settings.DefMCRPath, "");
  EXPECT_EQ(settings.Radio1Index, 0);
  dialog.FormShow();  // reopened
  EXPECT_EQ(dialog.RadioGroup1.ItemIndex(), 0);
  EXPECT_EQ(dialog.DefMCREdit.Text(), "");
  EXPECT_FALSE(dialog.DefMCREdit.Enabled() || dialog.BitBtn4.Enabled());

  // "Current folder" with an existing folder still in the field: the
  // choice only disabled the field, the dialogs start there.
  fake.directories.insert("D:\\kept");
  dialog.RadioGroup1.FromNativeSelect(1);
  dialog.DefMCREdit.SetText("D:\\kept");
  dialog.RadioGroup1.FromNativeSelect(0);
  EXPECT_EQ(dialog.DefMCREdit.Text(), "D:\\kept");
  main.log.clear();
  dialog.Apply();
  EXPECT_EQ(main.log.front(), "dir D:\\kept | top 0");
  EXPECT_EQ(settings.Radio1Index, 0);
  EXPECT_EQ(settings.DefMCRPath, "D:\\kept");
}

// ---- filling --------------------------------------------------------------------------

TEST_F(Dialog, FillingAtStartUpActsOnNothingShowingStartsTheCheckAndAppliesOnlyAChange) {
  settings.Layered = 120;
  settings.TopCheck = true;
  settings.ECom1Index = {13, 1, 2, 3, 4};  // 13 is not among the first slot's entries
  settings.ECom2Index = {13, 0, 0, 0, 12};
  settings.Loop[4] = "C:\\5.mcr";
  settings.StartComboIndex = settings.EndComboIndex = 5;  // equal: no message while filling
  dialog.FormCreate();
  EXPECT_TRUE(main.log.empty());
  EXPECT_EQ(dialog.LayerBar.Position(), 120);
  EXPECT_EQ(dialog.LayeredLabel.Caption(), "120");
  EXPECT_TRUE(dialog.OnTopCheck.Checked());
  EXPECT_EQ(dialog.ECombo11.ItemIndex(), -1);
  EXPECT_EQ(dialog.ECombo21.Item(dialog.ECombo21.ItemIndex()), "Windowsスリープ");
  EXPECT_EQ(dialog.ECombo25.Item(dialog.ECombo25.ItemIndex()), "１０秒ウエイト");
  EXPECT_EQ(dialog.LoopEdit5.Text(), "C:\\5.mcr");
  EXPECT_EQ(dialog.EndKeyCombo.ItemIndex(), 5);
  EXPECT_TRUE(fake.boxes.empty());

  dialog.FormShow();
  EXPECT_EQ(main.log, Texts{"td check 1"});  // the slider is there already
  dialog.LayerBar.SetPosition(200);
  settings.Layered = 120;  // stored apart from the dialog, say
  main.log.clear();
  dialog.FormShow();
  EXPECT_EQ(main.log, (Texts{"td check 1", "alpha 120"}));

  // Before Windows 2000 there is no translucency: its controls are off
  // and the check is stopped, at start-up too.
  fake.major_version = 4;
  for (bool show : {false, true}) {
    main.log.clear();
    show ? dialog.FormShow() : dialog.FormCreate();
    EXPECT_EQ(main.log, Texts{"td check 0"});
  }
  EXPECT_FALSE(dialog.LayerBar.Enabled() || dialog.LayeredLabel.Enabled() || dialog.LayerCaption.Enabled());
  dialog.LayerBar.SetPosition(60);
  EXPECT_EQ(dialog.LayeredLabel.Caption(), "60");
  EXPECT_EQ(main.log, Texts{"td check 0"});
}

TEST_F(Dialog, TheSliderShowsItsPositionLetsWaitingMessagesThroughThenTurnsTheWindow) {
  dialog.FormCreate();
  fake.platform().loop.PostTask([&] { main.log.push_back("waiting message"); });
  dialog.LayerBar.FromNativePosition(80);
  EXPECT_EQ(dialog.LayeredLabel.Caption(), "80");
  EXPECT_EQ(main.log, (Texts{"waiting message", "alpha 80"}));
  dialog.LayerBar.FromNativePosition(10);  // below the range
  EXPECT_EQ(main.log.back(), "alpha 50");
}

TEST_F(Dialog, RevertRestoresTheFieldsButNotTheSliderTheLettersOrThePage) {
  settings.Exec2 = "C:\\two.exe";
  settings.Loop[0] = "C:\\1.mcr";
  dialog.FormCreate();
  dialog.FormShow();
  dialog.PageControl1.FromNativeSelect(SettingDialog::kLoopPage);
  dialog.Exec2Edit.SetText("C:\\other.exe");
  dialog.LoopEdit1.SetText("");
  dialog.MinCheck.SetChecked(true);
  dialog.ECombo14.SetItemIndex(7);
  dialog.LayerBar.SetPosition(70);
  dialog.StartKeyCombo.FromNativeSelect(0);  // A, stored at once
  main.log.clear();

  dialog.BitBtn3.Click();
  EXPECT_EQ(dialog.Exec2Edit.Text(), "C:\\two.exe");
  EXPECT_EQ(dialog.LoopEdit1.Text(), "C:\\1.mcr");
  EXPECT_FALSE(dialog.MinCheck.Checked());
  EXPECT_EQ(dialog.ECombo14.ItemIndex(), 0);
  EXPECT_EQ(dialog.StartKeyCombo.ItemIndex(), 0);
  EXPECT_EQ(dialog.LayerBar.Position(), 70);
  EXPECT_EQ(dialog.PageControl1.ActivePageIndex(), SettingDialog::kLoopPage);
  EXPECT_TRUE(main.log.empty());
}

// ---- what acts at once ------------------------------------------------------------------

TEST_F(Dialog, EqualLettersAreToldAndBothStayStored) {
  dialog.FormShow();
  dialog.EndKeyCombo.FromNativeSelect(2);
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(settings.EndComboIndex, 2);
  dialog.StartKeyCombo.FromNativeSelect(2);
  EXPECT_EQ(BoxTexts(), Texts{"マクロ開始ホットキーとマクロ終了ホットキーを同じにすることはできません."});
  EXPECT_EQ(settings.StartComboIndex, 2);
  dialog.EndKeyCombo.FromNativeSelect(2);  // picked again: still equal, told again
  EXPECT_EQ(fake.boxes.size(), 2u);
  EXPECT_TRUE(main.log.size() == 1 && main.log[0] == "td check 1");  // no keys moved yet
}

TEST_F(Dialog, TestAsksFirstThenStoresEverySlotAndBothFilesBeforeTheEventRuns) {
  dialog.FormShow();
  main.log.clear();
  dialog.ECombo11.SetItemIndex(6);
  dialog.ECombo25.SetItemIndex(9);
  dialog.Exec1Edit.SetText("C:\\1.bat");
  dialog.Exec2Edit.SetText("C:\\2.bat");
  dialog.LoopEdit1.SetText("C:\\not stored by a test.mcr");
  fake.answers = {MsgResult::Cancel};
  dialog.Button2.Click();
  EXPECT_TRUE(main.log.empty());
  EXPECT_EQ(settings.ECom1Index[0], 0);

  dialog.Button2.Click();
  EXPECT_EQ(main.log, Texts{"event 2 | slots 69 exec C:\\1.bat,C:\\2.bat"});
  dialog.Button1.Click();
  EXPECT_EQ(main.log.back(), "event 1 | slots 69 exec C:\\1.bat,C:\\2.bat");
  ASSERT_EQ(fake.boxes.size(), 3u);
  EXPECT_EQ(fake.boxes[1].text, "ZEP Event 2を即時テスト実行します。よろしいですか？");
  EXPECT_EQ(fake.boxes[2].text, "ZEP Event 1を即時テスト実行します。よろしいですか？");
  EXPECT_EQ(fake.boxes[2].kind, MsgKind::OkCancel);
  EXPECT_EQ(settings.Loop[0], "");
}

TEST_F(Dialog, PickersFillTheirFieldsAndACancelLeavesThem) {
  dialog.FormShow();
  fake.open_dialog_results = {std::string("C:\\tools\\x.exe"), std::nullopt, std::string("C:\\m\\4.mcr")};
  dialog.BitBtn6.Click();
  dialog.BitBtn8.Click();  // cancelled
  dialog.BitBtn10.Click();
  EXPECT_EQ(dialog.Exec2Edit.Text(), "C:\\tools\\x.exe");
  EXPECT_EQ(dialog.LoopEdit2.Text(), "");
  EXPECT_EQ(dialog.LoopEdit4.Text(), "C:\\m\\4.mcr");
  ASSERT_EQ(fake.dialogs_shown.size(), 3u);
  EXPECT_EQ(fake.dialogs_shown[0].filter + " " + fake.dialogs_shown[0].file_name,
            "すべてのファイル (*.*)|*.* *.*");
  EXPECT_EQ(fake.dialogs_shown[2].filter + " " + fake.dialogs_shown[2].file_name,
            "ZEP SendBatch File (*.mcr)|*.mcr *.mcr");

  // The folder browser opens on the folder chosen last while it exists.
  dialog.RadioGroup1.FromNativeSelect(1);
  fake.folder_dialog_results = {std::string("D:\\a"), std::nullopt, std::string("D:\\b")};
  dialog.BitBtn4.Click();
  EXPECT_EQ(dialog.DefMCREdit.Text(), "D:\\a");
  dialog.DefMCREdit.SetText("typed");
  dialog.BitBtn4.Click();  // cancelled: the field keeps what was typed
  EXPECT_EQ(dialog.DefMCREdit.Text(), "typed");
  fake.directories.insert("D:\\a");
  dialog.BitBtn4.Click();
  EXPECT_EQ(dialog.FolderDialog1.Folder, "D:\\b");
  EXPECT_EQ(fake.Texts({"SHBrowseForFolder"}),
            (Texts{"SHBrowseForFolder(0,フォルダーの選択,)", "SHBrowseForFolder(0,フォルダーの選択,)",
                   "SHBrowseForFolder(0,フォルダーの選択,D:\\a)"}));
}

}  // namespace
}  // namespace zepx
