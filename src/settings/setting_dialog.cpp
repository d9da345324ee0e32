#include "settings/setting_dialog.h"

#include "settings/event_slots.h"

#include <array>

namespace zepx {

namespace {

const char kSameLettersMessage[] =
    "マクロ開始ホットキーとマクロ終了ホットキーを同じにすることはできません.";

std::vector<std::string> Letters() {
  std::vector<std::string> l;
  for (char c = 'A'; c <= 'Z'; ++c) l.emplace_back(1, c);
  return l;
}

}  // namespace

SettingDialog::SettingDialog(Settings& settings, Platform& platform, ISettingDialogHost& host)
    : FolderDialog1(platform.dialogs, platform.files),
      settings_(settings),
      platform_(platform),
      host_(host) {
  BitBtn3.SetCaption("元に戻す");
  PageControl1.AddPage(TabSheet1);
  PageControl1.AddPage(TabSheet2);
  PageControl1.AddPage(TabSheet3);
  PageControl1.AddPage(TabSheet4);

  OnTopCheck.SetCaption("ZEPXを最前面に表示");
  MinCheck.SetCaption("最小化時タスクトレイに入れる");
  AutoRunCheck.SetCaption("起動時/ドロップ時にmcrファイルが渡された場合マクロを即実行");
  StartKeyLabel.SetCaption("マクロ開始ホットキー =");
  StartKeyCtrlAlt.SetCaption("Ctrl + Alt +");
  StartKeyCombo.SetItems(Letters());
  StartKeyCombo.SetItemIndex(18);  // S
  EndKeyLabel.SetCaption("マクロ停止ホットキー =");
  EndKeyCtrlAlt.SetCaption("Ctrl + Alt +");
  EndKeyCombo.SetItems(Letters());
  EndKeyCombo.SetItemIndex(23);  // X
  RadioGroup1.SetText("ZEPXマクロファイル(*.mcr)初期フォルダ");
  RadioGroup1.SetItems({"カレントフォルダ", "指定フォルダ"});
  DefMCREdit.max_length = 256;
  DefMCREdit.Hint = "マクロセーブ/ロード時に最初に開くフォルダを指定します";
  DefMCREdit.SetEnabled(false);
  BitBtn4.SetCaption("参照...");
  BitBtn4.SetEnabled(false);
  LayerCaption.SetCaption("Windowの透過度 (Windows2000以降)");
  LayeredLabel.SetCaption("255");
  LayerNote.SetCaption("(255に設定すると次回ZEPX起動時から透過が無効になります)");
  RecordMinLabel.SetCaption("記録Wait≧");
  RecordMinEdit.Hint = "記録中、この時間(ミリ秒)より短い間はWaitにしません";
  RecordMaxLabel.SetCaption("記録Wait≦");
  RecordMaxEdit.Hint = "記録中、この時間(ミリ秒)より長い間はWaitにしません";
  RecordMergeCheck.SetCaption("記録で続けて打った文字を[Text]にまとめる");
  RecordMinimizeCheck.SetCaption("記録中は最小化");

  EventHeading.SetCaption("ZEP Eventが発行されたときの動作を指定します");
  Event1Group.SetCaption("ZEP Event 1");
  Event2Group.SetCaption("ZEP Event 2");
  TLabel* slot_labels[2][5] = {
      {&SlotLabel11, &SlotLabel12, &SlotLabel13, &SlotLabel14, &SlotLabel15},
      {&SlotLabel21, &SlotLabel22, &SlotLabel23, &SlotLabel24, &SlotLabel25}};
  for (int e = 1; e <= 2; ++e) {
    for (int s = 0; s < 5; ++s) {
      slot_labels[e - 1][s]->SetCaption(std::to_string(s + 1));
      ECombo(e, s).SetItems(EventActionItems(e, s));
      ECombo(e, s).SetItemIndex(0);
    }
  }
  Button1.SetCaption("Test");
  Button2.SetCaption("Test");
  Exec1Label.SetCaption("「ファイル実行 1」 ファイル指定");
  BitBtn5.SetCaption("参照...");
  Exec2Label.SetCaption("「ファイル実行 2」 ファイル指定");
  BitBtn6.SetCaption("参照...");
  for (TCheckBox* late : {&LateCheck1, &LateCheck2}) {
    late->SetCaption("遅れても実行");
    late->Hint = "スリープ中などで時刻を過ぎた場合、60分以内なら遅れて実行します(電源とダイヤルアップの動作は除く)";
  }

  LoopHeading.SetCaption("Loop終了時に次のマクロファイルを順番に実行します");
  LoopNote.SetCaption("(Loop値に0を指定しているファイルがあると、次のマクロには移りません)");
  TLabel* loop_labels[5] = {&LoopLabel1, &LoopLabel2, &LoopLabel3, &LoopLabel4, &LoopLabel5};
  TButton* loop_buttons[5] = {&BitBtn7, &BitBtn8, &BitBtn9, &BitBtn10, &BitBtn11};
  for (int i = 0; i < 5; ++i) {
    loop_labels[i]->SetCaption("Loop " + std::to_string(i + 1));
    loop_buttons[i]->SetCaption("参照...");
    loop_buttons[i]->OnClick = [this, i] { LoopFileClick(i); };
  }
  LoopOfLoopCheck.SetCaption("これらのマクロファイルを「Loop回数(全体)」分Loopさせる");

  KeysHeading.SetCaption("_event、SendInputでキーとテキストを送信するときの動作を指定します");
  ScanCodeCheck.SetCaption("スキャンコードを付けて送信する (ゲーム、リモートデスクトップ向け)");
  KeyHoldLabel.SetCaption("キーを押している時間 (ミリ秒, 0-1000)");
  UnicodeTextCheck.SetCaption("テキストをそのまま送信 (大文字、記号、日本語)");

  OpenDialog1.file_name = "*.*";
  OpenDialog1.filter = "すべてのファイル (*.*)|*.*";
  OpenDialog2.file_name = "*.mcr";
  OpenDialog2.filter = "ZEP SendBatch File (*.mcr)|*.mcr";

  BitBtn3.OnClick = [this] { BitBtn3Click(); };
  RadioGroup1.OnSelect = [this] { RadioGroup11Click(); };
  BitBtn4.OnClick = [this] { BitBtn44Click(); };
  BitBtn5.OnClick = [this] { BitBtn5Click(); };
  BitBtn6.OnClick = [this] { BitBtn6Click(); };
  StartKeyCombo.OnSelect = [this] { StartKeyComboChange(); };
  EndKeyCombo.OnSelect = [this] { EndKeyComboChange(); };
  LayerBar.OnChange = [this] {
    if (!quiet_slider_) LayerBar1Change();
  };
  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
}

TComboBox& SettingDialog::ECombo(int event, int slot) {
  TComboBox* combos[2][5] = {{&ECombo11, &ECombo12, &ECombo13, &ECombo14, &ECombo15},
                             {&ECombo21, &ECombo22, &ECombo23, &ECombo24, &ECombo25}};
  return *combos[event == 2 ? 1 : 0][slot];
}

TEdit& SettingDialog::LoopEdit(int i) {
  TEdit* edits[5] = {&LoopEdit1, &LoopEdit2, &LoopEdit3, &LoopEdit4, &LoopEdit5};
  return *edits[i];
}

// ---- filling ------------------------------------------------------------------------

void SettingDialog::FormCreate() { Fill(Occasion::Creation); }

void SettingDialog::FormShow() { Fill(Occasion::Show); }

void SettingDialog::BitBtn3Click() { FillFields(); }

void SettingDialog::FillFields() {
  RadioGroup1.SetItemIndex(settings_.Radio1Index);  // a change enables or disables the folder
  DefMCREdit.SetText(settings_.DefMCRPath);
  OnTopCheck.SetChecked(settings_.TopCheck);

  for (int s = 0; s < 5; ++s) {
    ECombo(1, s).SetItemIndex(settings_.ECom1Index[static_cast<std::size_t>(s)]);
    ECombo(2, s).SetItemIndex(settings_.ECom2Index[static_cast<std::size_t>(s)]);
  }
  Exec1Edit.SetText(settings_.Exec1);
  Exec2Edit.SetText(settings_.Exec2);
  for (int i = 0; i < 5; ++i) LoopEdit(i).SetText(settings_.Loop[static_cast<std::size_t>(i)]);
  LoopOfLoopCheck.SetChecked(settings_.LoopOfLoopChecked);
  AutoRunCheck.SetChecked(settings_.AutoRunChecked);
  StartKeyCombo.SetItemIndex(settings_.StartComboIndex);
  EndKeyCombo.SetItemIndex(settings_.EndComboIndex);
  MinCheck.SetChecked(settings_.MinChecked);
  FillAddedOptions();
}

void SettingDialog::FillAddedOptions() {
  RecordMinEdit.SetValue(settings_.RecordWaitMin);
  RecordMaxEdit.SetValue(settings_.RecordWaitMax);
  RecordMergeCheck.SetChecked(settings_.RecordMergeText);
  RecordMinimizeCheck.SetChecked(settings_.RecordMinimize);
  LateCheck1.SetChecked(settings_.DCutLateCheck);
  LateCheck2.SetChecked(settings_.DCutLateCheck2);
  ScanCodeCheck.SetChecked(settings_.ScanCodeChecked);
  KeyHoldSpin.SetValue(settings_.KeyHoldTime);
  UnicodeTextCheck.SetChecked(settings_.UnicodeTextChecked);
}

void SettingDialog::StoreAddedOptions() {
  settings_.RecordWaitMin = static_cast<std::int32_t>(RecordMinEdit.Value());
  settings_.RecordWaitMax = static_cast<std::int32_t>(RecordMaxEdit.Value());
  settings_.RecordMergeText = RecordMergeCheck.Checked();
  settings_.RecordMinimize = RecordMinimizeCheck.Checked();
  settings_.DCutLateCheck = LateCheck1.Checked();
  settings_.DCutLateCheck2 = LateCheck2.Checked();
  settings_.ScanCodeChecked = ScanCodeCheck.Checked();
  settings_.KeyHoldTime = static_cast<std::int32_t>(KeyHoldSpin.CheckValue(KeyHoldSpin.Value()));
  settings_.UnicodeTextChecked = UnicodeTextCheck.Checked();
}

void SettingDialog::Fill(Occasion occasion) {
  FillFields();

  if (platform_.shell.WindowsMajorVersion() < 5) {
    LayerCaption.SetEnabled(false);
    LayeredLabel.SetEnabled(false);
    LayerBar.SetEnabled(false);
    host_.SetTDCheckTimer(false);
  } else {
    LayeredLabel.SetCaption(std::to_string(settings_.Layered));
    if (occasion == Occasion::Show) {
      host_.SetTDCheckTimer(true);
      LayerBar.SetPosition(settings_.Layered);  // a change of position applies it
    } else {
      // At start-up the dialog only takes the stored opacity. Acting on it
      // here would make the main window translucent although its start-up
      // refused that (the game client is running) and would start the
      // check that then closes the program, translucency or not.
      quiet_slider_ = true;
      LayerBar.SetPosition(settings_.Layered);
      quiet_slider_ = false;
    }
  }

  if (occasion == Occasion::Show && ShowEventPage) PageControl1.SetActivePageIndex(kEventPage);
}

// ---- the controls' own actions -----------------------------------------------------------

void SettingDialog::RadioGroup11Click() {
  // Only the choice switches the field; its text stays for a later switch back.
  const bool specified = RadioGroup1.ItemIndex() == 1;
  DefMCREdit.SetEnabled(specified);
  BitBtn4.SetEnabled(specified);
}

void SettingDialog::BitBtn44Click() {
  if (FolderDialog1.Execute(DialogWindow())) DefMCREdit.SetText(FolderDialog1.Folder);
}

void SettingDialog::PickFile(const FileDialogOptions& dialog, TEdit& field) {
  if (auto path = platform_.dialogs.OpenFileDialog(dialog)) field.SetText(*path);
}

void SettingDialog::BitBtn5Click() { PickFile(OpenDialog1, Exec1Edit); }

void SettingDialog::BitBtn6Click() { PickFile(OpenDialog1, Exec2Edit); }

void SettingDialog::LoopFileClick(int i) { PickFile(OpenDialog2, LoopEdit(i)); }

void SettingDialog::LetterPicked(const TComboBox& changed, std::int32_t& setting) {
  if (StartKeyCombo.ItemIndex() == EndKeyCombo.ItemIndex())
    platform_.dialogs.MessageBox(kSameLettersMessage, MsgKind::Info);
  // Stored at once, confirmed or not: the keys follow at the next OK, or at
  // the next start of the program, which loads the saved letters.
  setting = changed.ItemIndex();
}

void SettingDialog::StartKeyComboChange() { LetterPicked(StartKeyCombo, settings_.StartComboIndex); }

void SettingDialog::EndKeyComboChange() { LetterPicked(EndKeyCombo, settings_.EndComboIndex); }

void SettingDialog::LayerBar1Change() {
  LayeredLabel.SetCaption(std::to_string(LayerBar.Position()));
  // The label is shown before the window turns.
  platform_.loop.ProcessPendingMessages();
  if (platform_.shell.WindowsMajorVersion() >= 5) host_.SetTranslucency(LayerBar.Position());
}

void SettingDialog::StoreSlotsAndFiles() {
  for (int s = 0; s < 5; ++s) {
    settings_.ECom1Index[static_cast<std::size_t>(s)] = ECombo(1, s).ItemIndex();
    settings_.ECom2Index[static_cast<std::size_t>(s)] = ECombo(2, s).ItemIndex();
  }
  settings_.Exec1 = Exec1Edit.Text();
  settings_.Exec2 = Exec2Edit.Text();
}

void SettingDialog::TestEvent(int event) {
  const std::string question =
      "ZEP Event " + std::to_string(event) + "を即時テスト実行します。よろしいですか？";
  if (platform_.dialogs.MessageBox(question, MsgKind::OkCancel) != MsgResult::Ok) return;
  // The actions read the settings; what the test ran with stays in force
  // even if the dialog is cancelled afterwards.
  StoreSlotsAndFiles();
  host_.ExecuteEventActions(event);
}

// ---- confirmed --------------------------------------------------------------------------

void SettingDialog::Apply() {
  settings_.Radio1Index = RadioGroup1.ItemIndex();
  settings_.DefMCRPath = DefMCREdit.Text();
  // The choice only enables the field: an existing folder is where the
  // macro-file dialogs start whichever is chosen; one that is gone is
  // dropped without a word.
  if (platform_.files.DirectoryExists(settings_.DefMCRPath)) {
    host_.SetDialogInitialDir(settings_.DefMCRPath);
  } else {
    settings_.DefMCRPath.clear();
    settings_.Radio1Index = 0;
    host_.SetDialogInitialDir("");
  }

  settings_.TopCheck = OnTopCheck.Checked();
  host_.SetTopmost(settings_.TopCheck);

  StoreSlotsAndFiles();
  for (int i = 0; i < 5; ++i) settings_.Loop[static_cast<std::size_t>(i)] = LoopEdit(i).Text();
  settings_.LoopOfLoopChecked = LoopOfLoopCheck.Checked();
  settings_.AutoRunChecked = AutoRunCheck.Checked();

  // Both keys are registered afresh even when the letters did not change.
  host_.ApplyHotKeyLetters(StartKeyCombo.ItemIndex(), EndKeyCombo.ItemIndex());

  settings_.MinChecked = MinCheck.Checked();
  StoreAddedOptions();
}

}  // namespace zepx
