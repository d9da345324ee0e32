// The settings dialog's logic against a main window that writes down what it
// is asked, with the settings it sees at that moment: the texts the user
// reads, the confirmed values in their steps, the folder rule, filling at
// start-up and when shown, the slider, the letter check, revert, the Test
// buttons and the pickers.
#include <gtest/gtest.h>

#include "run/run_support.h"
#include "platform/fake/fake_platform.h"
#include "settings/setting_dialog.h"

namespace zepx {
namespace {


// Each request is noted with the settings the main window sees by then.
struct RecordingMainWindow : ISettingDialogHost {
  explicit RecordingMainWindow(Settings& s) : s(s) {}
  void Note(const std::string& what) {
    log.push_back(what + " | top " + N(s.TopCheck) + " slot " + N(s.ECom1Index[2]) + " loop " + s.Loop[1] + " exec " +
                  s.Exec1 + " autorun " + N(s.AutoRunChecked) + " min " + N(s.MinChecked));
  }
  void SetDialogInitialDir(const std::string& dir) override { Note("dir " + dir); }
  void SetTopmost(bool top) override { Note("topmost " + N(top)); }
  void ApplyHotKeyLetters(int start, int stop) override {
    Note("keys " + N(s.StartComboIndex = start) + " " + N(s.EndComboIndex = stop));
  }
  void SetTranslucency(int alpha) override { log.push_back("alpha " + N(s.Layered = alpha)); }
  void SetTDCheckTimer(bool enabled) override { log.push_back("td check " + N(enabled)); }
  void ExecuteEventActions(int event) override { Note("event " + N(event) + " " + N(s.ECom2Index[4]) + s.Exec2); }
  Settings& s;
  Texts log;
};

class Dialog : public ::testing::Test {
 protected:
  // What the fields show, one line per group: the first four are what
  // revert restores.
  Texts Fields(std::size_t from = 0, std::size_t to = 6) {
    SettingDialog& d = dialog;
    std::string slots, loops;
    for (int e = 1; e <= 2; ++e)
      for (int s = 0; s < 5; ++s) slots += N(d.ECombo(e, s).ItemIndex()) + " ";
    for (int i = 0; i < 5; ++i) loops += d.LoopEdit(i).Text() + ";";
    const Texts all = {"folder " + N(d.RadioGroup1.ItemIndex()) + " " + d.DefMCREdit.Text() + " on " + N(d.DefMCREdit.Enabled()),
            "top " + N(d.OnTopCheck.Checked()) + " min " + N(d.MinCheck.Checked()) + " autorun " +
                N(d.AutoRunCheck.Checked()) + " loops " + N(d.LoopOfLoopCheck.Checked()),
            "slots " + slots + d.Exec1Edit.Text() + "," + d.Exec2Edit.Text(), "loops " + loops,
            "keys " + N(d.StartKeyCombo.ItemIndex()) + " " + N(d.EndKeyCombo.ItemIndex()),
            "layer " + N(d.LayerBar.Position()) + " " + d.LayeredLabel.Caption() + " page " +
                N(d.PageControl1.ActivePageIndex())};
    return Texts(all.begin() + static_cast<std::ptrdiff_t>(from), all.begin() + static_cast<std::ptrdiff_t>(to));
  }
  FakePlatform fake;
  Settings settings;
  RecordingMainWindow main{settings};
  SettingDialog dialog{settings, fake.platform(), main};
};

TEST_F(Dialog, TheTextsTheUserReads) {
  SettingDialog& d = dialog;
  const std::pair<const TTextControl*, const char*> texts[] = {
      {&d.BitBtn3, "元に戻す"}, {&d.OnTopCheck, "ZEPXを最前面に表示"}, {&d.MinCheck, "最小化時タスクトレイに入れる"},
      {&d.AutoRunCheck, "起動時/ドロップ時にmcrファイルが渡された場合マクロを即実行"},
      {&d.StartKeyLabel, "マクロ開始ホットキー ="}, {&d.StartKeyCtrlAlt, "Ctrl + Alt +"},
      {&d.EndKeyLabel, "マクロ停止ホットキー ="}, {&d.EndKeyCtrlAlt, "Ctrl + Alt +"}, {&d.BitBtn4, "参照..."},
      {&d.RadioGroup1, "ZEPXマクロファイル(*.mcr)初期フォルダ"}, {&d.LayerCaption, "Windowの透過度 (Windows2000以降)"},
      {&d.LayerNote, "(255に設定すると次回ZEPX起動時から透過が無効になります)"},
      {&d.EventHeading, "ZEP Eventが発行されたときの動作を指定します"}, {&d.Event1Group, "ZEP Event 1"},
      {&d.Event2Group, "ZEP Event 2"}, {&d.Button1, "Test"}, {&d.Button2, "Test"}, {&d.BitBtn5, "参照..."},
      {&d.Exec1Label, "「ファイル実行 1」 ファイル指定"}, {&d.Exec2Label, "「ファイル実行 2」 ファイル指定"},
      {&d.BitBtn6, "参照..."}, {&d.LoopHeading, "Loop終了時に次のマクロファイルを順番に実行します"},
      {&d.LoopNote, "(Loop値に0を指定しているファイルがあると、次のマクロには移りません)"},
      {&d.LoopLabel1, "Loop 1"}, {&d.LoopLabel5, "Loop 5"}, {&d.BitBtn7, "参照..."}, {&d.BitBtn11, "参照..."},
      {&d.LoopOfLoopCheck, "これらのマクロファイルを「Loop回数(全体)」分Loopさせる"}};
  for (const auto& [control, text] : texts) EXPECT_EQ(control->Text(), text) << control->Name;
  EXPECT_EQ(d.DefMCREdit.Hint, "マクロセーブ/ロード時に最初に開くフォルダを指定します");
  EXPECT_EQ(d.DefMCREdit.max_length, 256) << "the folder text holds at most 256 characters";
  EXPECT_EQ(d.RadioGroup1.Items(), (Texts{"カレントフォルダ", "指定フォルダ"}));
  Texts tabs, letters;
  for (int i = 0; i < d.PageControl1.PageCount(); ++i) tabs.push_back(d.PageControl1.Page(i).Caption());
  EXPECT_EQ(tabs, (Texts{"全般", "ZEP Event", "Loop", "キー送信"}));
  for (char c = 'A'; c <= 'Z'; ++c) letters.emplace_back(1, c);
  EXPECT_TRUE(d.StartKeyCombo.Items() == letters && d.EndKeyCombo.Items() == letters);
  EXPECT_EQ(Fields()[4], "keys 18 23") << "S and X";
  EXPECT_EQ(N(d.LayerBar.Min()) + ".." + N(d.LayerBar.Max()), "50..255");
  EXPECT_EQ(d.OpenDialog1.filter + " " + d.OpenDialog1.file_name, "すべてのファイル (*.*)|*.* *.*");
  EXPECT_EQ(d.OpenDialog2.filter + " " + d.OpenDialog2.file_name, "ZEP SendBatch File (*.mcr)|*.mcr *.mcr");
}

// The options added after the first version (late events, key sending,
// recording): shown from the settings, kept only by OK.
TEST_F(Dialog, TheNewerOptionsAreTakenOnlyOnOk) {
  SettingDialog& d = dialog;
  const std::vector<TCheckBox*> checks = {&d.LateCheck1,       &d.LateCheck2,       &d.ScanCodeCheck,
                                          &d.UnicodeTextCheck, &d.RecordMergeCheck, &d.RecordMinimizeCheck};
  settings.DCutLateCheck2 = true;
  settings.RecordMergeText = false;
  settings.KeyHoldTime = 40;
  for (bool ok : {false, true}) {
    d.FormShow();
    for (TCheckBox* c : checks) c->SetChecked(!c->Checked());
    d.KeyHoldSpin.FromNativeText("5000");
    d.RecordMinEdit.FromNativeText("250");
    d.RecordMaxEdit.FromNativeText("9000");
    if (ok) d.Apply();
    d.FormShow();
    std::string shown;
    for (TCheckBox* c : checks) shown += N(c->Checked());
    EXPECT_EQ(shown + " " + d.KeyHoldSpin.Text() + " " + d.RecordMinEdit.Text() + " " + d.RecordMaxEdit.Text(),
              ok ? "101111 1000 250 9000" : "010000 40 100 60000");
  }
}

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
  dialog.Exec2Edit.SetText("C:\\b.txt");
  for (int i = 0; i < 5; ++i) dialog.LoopEdit(i).SetText("C:\\" + N(i) + ".mcr");
  for (TCheckBox* c : {&dialog.LoopOfLoopCheck, &dialog.AutoRunCheck, &dialog.MinCheck}) c->SetChecked(true);
  dialog.StartKeyCombo.SetItemIndex(16);  // Q, set by the program: not stored by itself
  dialog.EndKeyCombo.SetItemIndex(22);    // W
  settings.Layered = 90;                  // as if the slider had moved; OK leaves it alone
  EXPECT_EQ(settings.StartComboIndex, 18);
  const Texts confirmed = Fields(0, 4);
  dialog.Apply();
  EXPECT_EQ(main.log, (Texts{"dir D:\\macros | top 0 slot 0 loop  exec  autorun 0 min 0",
                             "topmost 1 | top 1 slot 0 loop  exec  autorun 0 min 0",
                             "keys 16 22 | top 1 slot 8 loop C:\\1.mcr exec C:\\a.txt autorun 1 min 0"}));
  EXPECT_EQ(settings.Layered, 90);
  main.log.clear();
  dialog.FormShow();  // the settings fill the dialog as it was confirmed
  EXPECT_EQ(Fields(0, 4), confirmed);
  EXPECT_EQ(settings.ECom2Index[4], 14);
  dialog.Apply();  // confirmed again unchanged: the keys are registered again
  EXPECT_EQ(main.log.back(), "keys 16 22 | top 1 slot 8 loop C:\\1.mcr exec C:\\a.txt autorun 1 min 1");
}

TEST_F(Dialog, AFolderThatIsGoneIsDroppedAndAnExistingOneCountsWhateverTheChoice) {
  dialog.FormShow();
  dialog.RadioGroup1.FromNativeSelect(1);
  EXPECT_TRUE(dialog.DefMCREdit.Enabled() && dialog.BitBtn4.Enabled());
  dialog.DefMCREdit.SetText("D:\\gone");
  dialog.Apply();
  EXPECT_EQ(main.log.at(1).substr(0, 6), "dir  |");
  dialog.FormShow();  // reopened
  EXPECT_EQ(Fields()[0], "folder 0  on 0");
  EXPECT_FALSE(dialog.BitBtn4.Enabled());
  // "Current folder" with an existing folder still in the field: the choice
  // only disabled the field, the dialogs start there.
  fake.directories.insert("D:\\kept");
  dialog.RadioGroup1.FromNativeSelect(1);
  dialog.DefMCREdit.SetText("D:\\kept");
  dialog.RadioGroup1.FromNativeSelect(0);
  main.log.clear();
  dialog.Apply();
  EXPECT_EQ(main.log.front().substr(0, 11), "dir D:\\kept");
  EXPECT_EQ(settings.DefMCRPath + "|" + N(settings.Radio1Index), "D:\\kept|0");
}

TEST_F(Dialog, FillingAtStartUpActsOnNothingShowingAppliesOnlyAChangeAndTheSliderActsAtOnce) {
  settings.Layered = 120;
  settings.Radio1Index = 1;
  settings.DefMCRPath = "D:\\m";
  settings.TopCheck = settings.MinChecked = settings.AutoRunChecked = settings.LoopOfLoopChecked = true;
  settings.ECom1Index = {13, 1, 2, 3, 4};  // 13 is not among the first slot's entries
  settings.ECom2Index = {13, 0, 0, 0, 12};
  settings.Exec1 = "C:\\1.bat";
  settings.Exec2 = "C:\\2.bat";
  settings.Loop = {"a", "", "", "", "C:\\5.mcr"};
  settings.StartComboIndex = settings.EndComboIndex = 5;  // equal: no message while filling
  dialog.FormCreate();
  EXPECT_TRUE(main.log.empty() && fake.boxes.empty());
  EXPECT_EQ(Fields(), (Texts{"folder 1 D:\\m on 1", "top 1 min 1 autorun 1 loops 1",
                             "slots -1 1 2 3 4 13 0 0 0 12 C:\\1.bat,C:\\2.bat", "loops a;;;;C:\\5.mcr;", "keys 5 5",
                             "layer 120 120 page 0"}));
  dialog.FormShow();
  EXPECT_EQ(main.log, Texts{"td check 1"});  // the slider is there already
  dialog.LayerBar.SetPosition(200);
  settings.Layered = 120;  // stored apart from the dialog, say
  main.log.clear();
  dialog.FormShow();
  EXPECT_EQ(main.log, (Texts{"td check 1", "alpha 120"}));
  // The slider shows its position, lets waiting messages through, then turns the window.
  main.log.clear();
  fake.platform().loop.PostTask([&] { main.log.push_back("waiting message"); });
  dialog.LayerBar.FromNativePosition(80);
  dialog.LayerBar.FromNativePosition(10);  // below the range
  EXPECT_EQ(main.log, (Texts{"waiting message", "alpha 80", "alpha 50"}));
  EXPECT_EQ(dialog.LayeredLabel.Caption(), "50");
  // Before Windows 2000 there is no translucency: its controls are off and
  // the check is stopped, at start-up too.
  fake.major_version = 4;
  main.log.clear();
  dialog.FormCreate();
  dialog.FormShow();
  dialog.LayerBar.SetPosition(60);
  EXPECT_EQ(main.log, (Texts{"td check 0", "td check 0"}));
  EXPECT_FALSE(dialog.LayerBar.Enabled() || dialog.LayeredLabel.Enabled() || dialog.LayerCaption.Enabled());
  EXPECT_EQ(dialog.LayeredLabel.Caption(), "60");
}

TEST_F(Dialog, RevertRestoresTheFieldsButNotTheSliderTheLettersOrThePage) {
  settings.Exec2 = "C:\\two.exe";
  settings.Loop[0] = "C:\\1.mcr";
  dialog.FormShow();
  const Texts stored = Fields(0, 4);
  dialog.PageControl1.FromNativeSelect(SettingDialog::kLoopPage);
  dialog.RadioGroup1.SetItemIndex(1);
  dialog.DefMCREdit.SetText("D:\\x");
  dialog.Exec2Edit.SetText("C:\\other.exe");
  dialog.LoopEdit1.SetText("");
  for (TCheckBox* c : {&dialog.LoopOfLoopCheck, &dialog.AutoRunCheck, &dialog.MinCheck, &dialog.OnTopCheck})
    c->SetChecked(true);
  dialog.ECombo14.SetItemIndex(7);
  dialog.LayerBar.SetPosition(70);
  dialog.StartKeyCombo.FromNativeSelect(0);  // A, stored at once
  main.log.clear();
  dialog.BitBtn3.Click();
  EXPECT_EQ(Fields(0, 4), stored);
  EXPECT_EQ(Fields(4, 6), (Texts{"keys 0 23", "layer 70 70 page 2"}));
  EXPECT_EQ(main.log, Texts{}) << "revert acts on nothing";
}

TEST_F(Dialog, EqualLettersAreToldAndBothStayStored) {
  dialog.FormShow();
  dialog.EndKeyCombo.FromNativeSelect(2);
  EXPECT_TRUE(fake.boxes.empty());
  dialog.StartKeyCombo.FromNativeSelect(2);
  EXPECT_EQ(fake.boxes.at(0).text, "マクロ開始ホットキーとマクロ終了ホットキーを同じにすることはできません.");
  EXPECT_EQ(N(settings.StartComboIndex) + N(settings.EndComboIndex), "22");
  dialog.EndKeyCombo.FromNativeSelect(2);  // picked again: still equal, told again
  EXPECT_EQ(fake.boxes.size(), 2u);
  EXPECT_EQ(main.log, Texts{"td check 1"}) << "no keys moved yet";
}

TEST_F(Dialog, TestAsksFirstThenStoresEverySlotAndBothFilesBeforeTheEventRuns) {
  dialog.FormShow();
  main.log.clear();
  dialog.ECombo13.SetItemIndex(6);
  dialog.ECombo25.SetItemIndex(9);
  dialog.Exec1Edit.SetText("C:\\1.bat");
  dialog.Exec2Edit.SetText("C:\\2.bat");
  dialog.LoopEdit2.SetText("C:\\not stored by a test.mcr");
  fake.answers = {MsgResult::Cancel};
  dialog.Button2.Click();
  EXPECT_TRUE(main.log.empty());
  dialog.Button2.Click();
  dialog.Button1.Click();
  EXPECT_EQ(main.log, (Texts{"event 2 9C:\\2.bat | top 0 slot 6 loop  exec C:\\1.bat autorun 0 min 0",
                             "event 1 9C:\\2.bat | top 0 slot 6 loop  exec C:\\1.bat autorun 0 min 0"}));
  ASSERT_EQ(fake.boxes.size(), 3u);
  EXPECT_EQ(fake.boxes[1].text, "ZEP Event 2を即時テスト実行します。よろしいですか？");
  EXPECT_EQ(fake.boxes[2].text, "ZEP Event 1を即時テスト実行します。よろしいですか？");
  EXPECT_EQ(fake.boxes[2].kind, MsgKind::OkCancel);
}

TEST_F(Dialog, EachPickerFillsItsOwnFieldAndACancelLeavesIt) {
  dialog.FormShow();
  TButton* const buttons[] = {&dialog.BitBtn5, &dialog.BitBtn6, &dialog.BitBtn7, &dialog.BitBtn8,
                              &dialog.BitBtn9, &dialog.BitBtn10, &dialog.BitBtn11};
  for (std::size_t i = 0; i < 7; ++i) {
    fake.open_dialog_results = {"C:\\" + N(i), std::nullopt};
    buttons[i]->Click();
    buttons[i]->Click();  // cancelled
    std::string loops = "loops ";
    for (std::size_t j = 2; j < 7; ++j) loops += (j <= i ? "C:\\" + N(j) : "") + ";";
    const std::string files = std::string("C:\\0,") + (i >= 1 ? "C:\\1" : "");
    EXPECT_EQ(Fields(2, 4), (Texts{"slots 0 0 0 0 0 0 0 0 0 0 " + files, loops}))
        << buttons[i]->Name << " filled another field";
    EXPECT_EQ(fake.dialogs_shown.back().filter, (i < 2 ? dialog.OpenDialog1 : dialog.OpenDialog2).filter);
  }
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
