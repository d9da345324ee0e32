#include <gtest/gtest.h>

#include "model/command_line.h"
#include "model/macro_file.h"
#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"

namespace zepx {

namespace {

using Lines = std::vector<std::string>;

class MacroIo : public ::testing::Test {
 protected:
  MacroIo() { fake.boxes.clear(); }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> t;
    for (const auto& b : fake.boxes) t.push_back(b.text);
    return t;
  }
  void Buttons(bool enabled) {
    form.SetEditButtonsEnabled(enabled);
  }
  bool ButtonsEnabled() const {
    return form.DelButton.Enabled() && form.UpButton.Enabled() && form.DownButton.Enabled() &&
           form.ClearButton.Enabled();
  }
  bool ButtonsDisabled() const {
    return !form.DelButton.Enabled() && !form.UpButton.Enabled() && !form.DownButton.Enabled() &&
           !form.ClearButton.Enabled();
  }

  TApplication app;
  FakePlatform fake;
  TMainForm form{fake.platform(), app};
};

// A file as ZEPX writes it, with double-byte and half-width katakana text.
const std::string kWritten =
    "//ZEP Version 4.51\r\n"
    "[Text]~~こんにちは表示|>メモ帳 <1234>\r\n"
    "【ZEP Event 1】\r\n"
    "[ｱﾌﾟﾘを前面に]@@ソフト\r\n"
    "[↑]+Shift+Ctrl\r\n"
    "L_Drag:10x20\r\nL_Drop:300x20\r\n"
    "Wait=1500\r\n"
    "Key:800\r\nClick:900\r\nDrag:1100\r\nSftAltCtl:50\r\nLoop:3\r\nSendAPI:2\r\n";

}  // namespace

TEST_F(MacroIo, LoadThenSaveGivesTheSameBytes) {
  fake.files["C:\\m\\ソフト.mcr"] = kWritten;
  form.LoadMacro("C:\\m\\ソフト.mcr");
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(form.SendList.Count(), 7);
  EXPECT_EQ(form.SendList.ItemIndex(), 0);
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_EQ(form.Caption(), "ZEPX - ソフト.mcr");
  EXPECT_EQ(form.SaveDialogFileName, "C:\\m\\ソフト.mcr");
  EXPECT_EQ(form.LoopSpinEdit.Value(), 3);
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendWinMessage);
  EXPECT_EQ(form.PreviousSendMethod, kSendWinMessage);
  EXPECT_TRUE(form.WinMessageFlag());
  EXPECT_TRUE(form.AppComboBox.Enabled());

  fake.save_dialog_results.push_back(std::string("C:\\out\\b.mcr"));
  form.mSaveClick();
  ASSERT_EQ(fake.dialogs_shown.size(), 1u);
  EXPECT_EQ(fake.dialogs_shown[0].file_name, "C:\\m\\ソフト.mcr");
  EXPECT_EQ(fake.dialogs_shown[0].filter, "ZEP SendBatch List (*.mcr)|*.mcr");
  EXPECT_EQ(fake.dialogs_shown[0].default_ext, "mcr");
  EXPECT_TRUE(fake.dialogs_shown[0].overwrite_prompt);
  EXPECT_EQ(fake.files["C:\\out\\b.mcr"], kWritten);
  EXPECT_EQ(form.Caption(), "ZEPX - b.mcr");
}

TEST_F(MacroIo, LfOnlyFileWithoutHeaderLoadsWaitsAsSeconds) {
  fake.files["C:\\old.mcr"] = "[F1]\nWait=5\n\nLoop:2\n\x1A garbage";
  form.LoadMacro("C:\\old.mcr");
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(form.SendList.Items(), (Lines{"[F1]", "Wait=5000"}));
  EXPECT_EQ(form.LoopSpinEdit.Value(), 2);
}

TEST_F(MacroIo, FailedLoadEmptiesListButKeepsSettingsReadBefore) {
  fake.files["C:\\ok.mcr"] = kWritten;
  form.LoadMacro("C:\\ok.mcr");
  form.PostRadioGroup.SetItemIndex(kSendInput);  // list selected: asks, answered OK, clears
  ASSERT_EQ(fake.boxes.size(), 1u);
  fake.boxes.clear();
  fake.files["C:\\ok.mcr"] = kWritten;
  form.LoadMacro("C:\\ok.mcr");
  ASSERT_TRUE(ButtonsEnabled());

  fake.files["C:\\bad.mcr"] = "//ZEP Version 4.51\r\n; c\r\n\r\nKey:5\r\nSendAPI:0\r\n[F1]\r\nLoops:5\r\n";
  form.LoadMacro("C:\\bad.mcr");
  ASSERT_EQ(fake.boxes.size(), 1u);  // no send-method question during a load
  EXPECT_NE(fake.boxes[0].text.find("\r\n\r\nErrorLine = 7\r\nErrorString = Loops:5"),
            std::string::npos);
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::Info);
  EXPECT_EQ(form.SendList.Count(), 0);
  EXPECT_TRUE(ButtonsDisabled());
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_EQ(form.SaveDialogFileName, "C:\\ok.mcr");
  EXPECT_EQ(form.KeyAfterDelay.Value(), 5);
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendEvent);
  EXPECT_EQ(form.PreviousSendMethod, kSendEvent);
  EXPECT_FALSE(form.WinMessageFlag());
  EXPECT_FALSE(form.GetAppButton.Enabled());
  EXPECT_FALSE(form.XYCopy.Enabled());
}

TEST_F(MacroIo, NumberFailureQuotesTheLine) {
  fake.files["C:\\n.mcr"] = "SendAPI:2\r\nKey:abc\r\n";
  form.LoadMacro("C:\\n.mcr");
  EXPECT_EQ(BoxTexts(), (Lines{"マクロファイルが正しい形式ではありません.(ウエイトの数値が整数ではない)\r\n"
                               "読み込みを中止します.\r\n\r\nErrorLine = Key:abc"}));
  EXPECT_TRUE(form.WinMessageFlag());
  EXPECT_EQ(form.Caption(), "ZEPX");
}

TEST_F(MacroIo, MissingShortcutAndUnreadableFilesChangeNothing) {
  form.batch.Add("[F1]");
  form.batch.Select(0);
  form.SetCaption("ZEPX - keep.mcr");
  fake.files["C:\\a.lnk"] = "[F2]\r\n";
  fake.files["C:\\a.LNK"] = "[F2]\r\n";
  fake.files["C:\\locked.mcr"] = "[F2]\r\n";
  fake.unreadable.insert("C:\\locked.mcr");

  form.LoadMacro("C:\\none.mcr");
  form.LoadMacro("C:\\a.lnk");
  form.LoadMacro("C:\\a.LNK");
  form.LoadMacro("C:\\locked.mcr");
  const Lines texts = BoxTexts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], "ファイルが見つかりません.\r\nC:\\none.mcr");
  EXPECT_EQ(texts[1], "ショートカット(*.lnk)は読み込めません.");
  EXPECT_EQ(texts[2], "ショートカット(*.lnk)は読み込めません.");
  EXPECT_NE(texts[3].find("C:\\locked.mcr"), std::string::npos);
  EXPECT_EQ(form.SendList.Items(), (Lines{"[F1]"}));
  EXPECT_EQ(form.Caption(), "ZEPX - keep.mcr");

  fake.files["C:\\b.Lnk"] = "[F2]\r\n";  // only the two exact spellings are refused
  form.LoadMacro("C:\\b.Lnk");
  EXPECT_EQ(form.SendList.Items(), (Lines{"[F2]"}));
  EXPECT_EQ(form.Caption(), "ZEPX - b.Lnk");
}

TEST_F(MacroIo, EmptyListFileKeepsButtonStates) {
  Buttons(false);
  fake.files["C:\\e.mcr"] = "//ZEP Version 4.51\r\nKey:1\r\nClick:2\r\nDrag:3\r\nSftAltCtl:4\r\nLoop:5\r\nSendAPI:1\r\n";
  form.LoadMacro("C:\\e.mcr");
  EXPECT_TRUE(ButtonsDisabled());
  EXPECT_EQ(form.SendList.ItemIndex(), -1);
  EXPECT_EQ(form.Caption(), "ZEPX - e.mcr");
  EXPECT_EQ(form.ShiftAltCtrlDelay.Value(), 4);
}

TEST_F(MacroIo, FailedSaveIsReportedAndNotClaimed) {
  form.batch.Add("[F1]");
  form.SetCaption("ZEPX");
  fake.unwritable.insert("C:\\ro.mcr");
  fake.save_dialog_results.push_back(std::string("C:\\ro.mcr"));
  form.mSaveClick();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_NE(fake.boxes[0].text.find("C:\\ro.mcr"), std::string::npos);
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_EQ(fake.files.count("C:\\ro.mcr"), 0u);

  fake.save_dialog_results.push_back(std::nullopt);  // cancelled: nothing at all
  form.mSaveClick();
  EXPECT_EQ(fake.boxes.size(), 1u);
}

// A save never costs the old file: a disk that fills keeps it whole, and a
// folder where only an overwrite in place is possible asks first.
TEST_F(MacroIo, SavesThatCannotFinishKeepTheOldFile) {
  const std::string old = "//ZEP Version 4.51\r\n[F1]\r\n";
  const std::string path = "C:\\locked\\old.mcr";
  form.batch.SetLines({"[F2]", "[Text]~~" + std::string(300, 'x')});
  auto save = [&] {
    fake.boxes.clear();
    fake.files[path] = old;
    fake.save_dialog_results.push_back(path);
    form.SetCaption("ZEPX");
    form.mSaveClick();
  };

  fake.disk_free = 100;  // the new file is larger than what is left
  save();
  EXPECT_EQ(fake.files[path], old);
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_NE(fake.boxes[0].text.find("ファイルを保存できませんでした"), std::string::npos);
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_TRUE(fake.Texts({"WriteFileInPlace"}).empty()) << "never risked without asking";

  fake.disk_free.reset();
  fake.no_new_files.insert("C:\\locked");
  fake.answers.push_back(MsgResult::No);
  save();
  ASSERT_EQ(fake.boxes.size(), 1u) << "the question, and nothing after No";
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::YesNo);
  EXPECT_NE(fake.boxes[0].text.find(path), std::string::npos);
  EXPECT_EQ(fake.files[path], old);
  EXPECT_EQ(form.Caption(), "ZEPX");

  fake.answers.push_back(MsgResult::Yes);
  save();
  EXPECT_EQ(fake.files[path], WriteMacroFile(form.batch.Texts(), MacroSettings{1200, 1000, 1200, 250, 0, 1}));
  EXPECT_EQ(form.Caption(), "ZEPX - old.mcr");

  // Yes on a disk that then fills: the loss the question warned of is
  // reported, and the caption does not claim the file.
  fake.disk_free = 50;
  fake.answers.push_back(MsgResult::Yes);
  save();
  ASSERT_EQ(fake.boxes.size(), 2u);
  EXPECT_NE(fake.boxes[1].text.find("マクロは保存されていません"), std::string::npos);
  EXPECT_EQ(form.Caption(), "ZEPX");

  // A new file in such a folder cannot be made at all; nothing is asked.
  fake.boxes.clear();
  fake.disk_free.reset();
  fake.save_dialog_results.push_back(std::string("C:\\locked\\new.mcr"));
  form.mSaveClick();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::Info);
  EXPECT_EQ(fake.files.count("C:\\locked\\new.mcr"), 0u);
}

TEST_F(MacroIo, OpenDialogAndFileMenu) {
  form.DialogInitialDir = "C:\\macros";
  fake.files["C:\\macros\\x.mcr"] = "[F1]\r\n";
  fake.open_dialog_results.push_back(std::string("C:\\macros\\x.mcr"));
  form.mLoadClick();
  ASSERT_EQ(fake.dialogs_shown.size(), 1u);
  EXPECT_EQ(fake.dialogs_shown[0].file_name, "*.mcr");
  EXPECT_EQ(fake.dialogs_shown[0].initial_dir, "C:\\macros");
  EXPECT_EQ(form.SendList.Count(), 1);
  form.mFileClick();
  EXPECT_TRUE(form.mSave.Enabled());
  form.batch.Select(-1);
  form.mFileClick();
  EXPECT_FALSE(form.mSave.Enabled());
}

TEST_F(MacroIo, SendMethodSwitchAsksAcrossWinMessageAndCancelRestores) {
  ASSERT_EQ(form.PostRadioGroup.ItemIndex(), kSendInput);
  form.LoadedFromCommandLine = true;  // starting with a file: focus stays where it is
  form.PostRadioGroup.FromNativeFocus(false);
  form.PostRadioGroup.SetItemIndex(kSendEvent);
  EXPECT_FALSE(form.PostRadioGroup.Focused());
  form.LoadedFromCommandLine = false;
  form.PostRadioGroup.SetItemIndex(kSendWinMessage);  // empty list: no question
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_TRUE(form.WinMessageFlag());
  EXPECT_TRUE(form.AutoHandleCheckBox.Enabled());
  EXPECT_TRUE(form.PostRadioGroup.Focused());

  form.batch.Add("[F1]|>Ultima Online <1234>");
  form.batch.Select(0);
  fake.answers.push_back(MsgResult::Cancel);
  form.PostRadioGroup.SetItemIndex(kSendInput);
  EXPECT_EQ(BoxTexts(), (Lines{"WinMessageから_event、SendInputに変更するには、Batch処理送信リストをクリア"
                               "する必要があります\r\nクリアしてもよろしいですか？"}));
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::OkCancel);
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendWinMessage);
  EXPECT_EQ(form.PreviousSendMethod, kSendWinMessage);
  EXPECT_TRUE(form.WinMessageFlag());
  EXPECT_EQ(form.SendList.Count(), 1);

  fake.boxes.clear();
  form.SetCaption("ZEPX - a.mcr");
  form.PostRadioGroup.SetItemIndex(kSendEvent);  // answered OK
  EXPECT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(form.SendList.Count(), 0);
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_FALSE(form.WinMessageFlag());
  EXPECT_FALSE(form.AppComboBox.Enabled());

  form.batch.Add("[F1]");
  form.batch.Select(0);
  fake.boxes.clear();
  form.PostRadioGroup.SetItemIndex(kSendInput);  // same line forms: no question
  EXPECT_TRUE(fake.boxes.empty());
  fake.answers.push_back(MsgResult::Cancel);
  form.PostRadioGroup.SetItemIndex(kSendWinMessage);
  EXPECT_EQ(BoxTexts(), (Lines{"_event、SendInputからWinMessageに変更するには、Batch処理送信リストをクリア"
                               "する必要があります\r\nクリアしてもよろしいですか？"}));
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendInput);
  EXPECT_FALSE(form.WinMessageFlag());
}

TEST_F(MacroIo, CoordinateDisplayFollowsTheSelectedLine) {
  form.batch.SetLines({"L_Drag:NoSet", "R_Click:640x480", "[F1]", "[Text]~~12:30x"});
  form.batch.Select(1);
  form.RefreshCoordinateDisplay();
  EXPECT_EQ(form.XLabel.Value(), 640);
  EXPECT_EQ(form.YLabel.Value(), 480);
  EXPECT_TRUE(form.XYPaste.Enabled() && form.mXYCopy.Enabled());
  form.batch.Select(0);
  form.RefreshCoordinateDisplay();
  EXPECT_EQ(form.XLabel.Value(), 0);
  EXPECT_EQ(form.YLabel.Value(), 0);
  form.batch.Select(2);
  form.RefreshCoordinateDisplay();
  EXPECT_FALSE(form.XYCopy.Enabled() || form.mXYPaste.Enabled());
  form.batch.Select(3);
  form.RefreshCoordinateDisplay();
  EXPECT_EQ(form.XLabel.Value(), 0);
  EXPECT_EQ(form.SendList.Item(3), "[Text]~~12:30x");
}

}  // namespace zepx
