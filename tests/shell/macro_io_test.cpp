// Macro files through the File menu, the command line and drops: what a
// load leaves in the window, what a refused file leaves untouched, and a
// save that never costs the old file.
#include <gtest/gtest.h>

#include "model/macro_file.h"
#include "shell/life_support.h"

namespace zepx {
namespace {

class MacroIo : public LifeFixture, public ::testing::Test {
 protected:
  // Loads bytes from a path; the messages shown.
  Texts Load(const std::string& bytes, const std::string& path = "C:\\m\\a.mcr") {
    fake.boxes.clear();
    fake.files[path] = bytes;
    form.LoadMacro(path);
    return BoxTexts();
  }
  // Saves through the File menu to a path kept as `old`; the messages shown.
  Texts Save(const std::string& path, const std::string& old = "") {
    fake.boxes.clear();
    fake.files[path] = old;
    fake.save_dialog_results.push_back(path);
    form.SetCaption("ZEPX");
    form.mSaveClick();
    return BoxTexts();
  }
  // What a load leaves in the window, in one line: caption, lines and the
  // selected row, the editing buttons, the send method (and the one the
  // switch compares with) with its target controls, the save dialog's name.
  std::string Window() const {
    const bool on = form.DelButton.Enabled() && form.UpButton.Enabled() && form.DownButton.Enabled() && form.ClearButton.Enabled();
    const bool off = !form.DelButton.Enabled() && !form.UpButton.Enabled() && !form.DownButton.Enabled() && !form.ClearButton.Enabled();
    return form.Caption() + " | " + std::to_string(form.SendList.Count()) + " lines, row " + std::to_string(form.SendList.ItemIndex()) +
           " | buttons " + (on ? "on" : off ? "off" : "mixed") + " | method " + std::to_string(form.PostRadioGroup.ItemIndex()) + "/" +
           std::to_string(form.PreviousSendMethod) + (form.WinMessageFlag() ? " win" : "") + (form.AppComboBox.Enabled() ? " target" : "") +
           (form.XYCopy.Enabled() ? " | copy" : "") + " | " + form.SaveDialogFileName;
  }
};

// A file as ZEPX writes it, with double-byte and half-width katakana text.
const std::string kWritten =
    "//ZEP Version 4.51\r\n[Text]~~こんにちは表示|>メモ帳 <1234>\r\n【ZEP Event 1】\r\n[ｱﾌﾟﾘを前面に]@@ソフト\r\n"
    "[↑]+Shift+Ctrl\r\nL_Drag:10x20\r\nL_Drop:300x20\r\nWait=1500\r\n"
    "Key:800\r\nClick:900\r\nDrag:1100\r\nSftAltCtl:50\r\nLoop:3\r\nSendAPI:2\r\n";

TEST_F(MacroIo, LoadThenSaveGivesTheSameBytes) {
  EXPECT_EQ(Load(kWritten, "C:\\m\\ソフト.mcr"), Texts{});
  EXPECT_EQ(Window(), "ZEPX - ソフト.mcr | 7 lines, row 0 | buttons on | method 2/2 win target | C:\\m\\ソフト.mcr");
  EXPECT_EQ(form.LoopSpinEdit.Value() * 100000 + form.KeyAfterDelay.Value(), 300800);

  EXPECT_EQ(Save("C:\\out\\b.mcr"), Texts{});
  ASSERT_EQ(fake.dialogs_shown.size(), 1u);
  const auto& d = fake.dialogs_shown[0];  // named after the file last loaded
  EXPECT_EQ(d.file_name + "|" + d.filter + "|" + d.default_ext + (d.overwrite_prompt ? "|asks" : ""),
            "C:\\m\\ソフト.mcr|ZEP SendBatch List (*.mcr)|*.mcr|mcr|asks");
  EXPECT_EQ(fake.files["C:\\out\\b.mcr"], kWritten);
  EXPECT_EQ(form.Caption(), "ZEPX - b.mcr");

  // Huge files and lines, NUL bytes and a lone lead byte come back whole.
  const Texts odd{std::string("[F1]\0tail", 9), "[Text]~~あ\x82", "[Text]~~" + std::string(1 << 20, 'a')};
  const std::string file = WriteMacroFile(odd, MacroSettings{});
  EXPECT_EQ(Load(file), Texts{});
  EXPECT_EQ(form.batch.Texts(), odd);
  Save("C:\\m\\copy.mcr");
  EXPECT_EQ(fake.files["C:\\m\\copy.mcr"], file);
  EXPECT_EQ(Load(WriteMacroFile(Texts(100000, "[F1]"), MacroSettings{})), Texts{});
  EXPECT_EQ(form.SendList.Count(), 100000);

  // An empty list keeps the buttons as they were.
  form.SetEditButtonsEnabled(false);
  EXPECT_EQ(Load("//ZEP Version 4.51\r\nSftAltCtl:4\r\n", "C:\\e.mcr"), Texts{});
  EXPECT_EQ(Window(), "ZEPX - e.mcr | 0 lines, row -1 | buttons off | method 1/1 | C:\\e.mcr");
}

// A file that is no macro empties the list but keeps the settings read
// before the line that stopped it, and the message names that line.
TEST_F(MacroIo, AFileThatIsNoMacroEmptiesTheListAndSaysWhere) {
  const std::string not_macro = "マクロファイルが正しい形式ではありません";
  const struct {
    std::string bytes;
    std::string message;
  } cases[] = {
      {"//ZEP Version 4.51\r\n; c\r\n\r\nKey:5\r\nSendAPI:0\r\n[F1]\r\nLoops:5\r\n",
       "\r\n\r\nErrorLine = 7\r\nErrorString = Loops:5"},
      {"SendAPI:0\r\nKey:5\r\nKey:abc\r\n", ".(ウエイトの数値が整数ではない)\r\n読み込みを中止します.\r\n\r\nErrorLine = Key:abc"},
      {"Key:5\r\nSendAPI:0\r\n" + std::string(4096, '\x9f'), not_macro},
  };
  for (const auto& c : cases) {
    Load(kWritten, "C:\\ok.mcr");
    const Texts shown = Load(c.bytes, "C:\\bad.mcr");
    ASSERT_EQ(shown.size(), 1u) << "no send-method question during a load";
    EXPECT_NE(shown[0].find(not_macro), std::string::npos) << shown[0];
    EXPECT_NE(shown[0].find(c.message), std::string::npos) << shown[0];
    EXPECT_EQ(fake.boxes[0].kind, MsgKind::Info);
    EXPECT_EQ(Window(), "ZEPX | 0 lines, row -1 | buttons off | method 0/0 | C:\\ok.mcr");
    EXPECT_EQ(form.KeyAfterDelay.Value(), 5);
  }
  // Numbers out of range in the settings lines: as the fields take them.
  EXPECT_EQ(Load("[F1]\r\nLoop:-5\r\nSendAPI:7\r\n"), Texts{});
  EXPECT_EQ(form.LoopSpinEdit.Value(), 0) << "a negative count: endless";
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendWinMessage);
  Load("[F1]\r\nSendAPI:-1\r\n");
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendEvent);
}

// Files that cannot be read change nothing at all; only the two exact
// spellings of a shortcut are refused.
TEST_F(MacroIo, MissingShortcutAndUnreadableFilesChangeNothing) {
  Load("[F1]\r\n", "C:\\keep.mcr");
  fake.unreadable.insert("C:\\locked.mcr");
  fake.directories.insert("C:\\folder.mcr");
  const std::pair<const char*, std::string> cases[] = {
      {"C:\\a.lnk", "ショートカット(*.lnk)は読み込めません."},
      {"C:\\a.LNK", "ショートカット(*.lnk)は読み込めません."},
      {"C:\\locked.mcr", "ファイルを読み込めませんでした.\r\nC:\\locked.mcr"}};
  for (const auto& [path, message] : cases) EXPECT_EQ(Load("[F2]\r\n", path), Texts{message});
  fake.boxes.clear();
  form.LoadMacro("C:\\folder.mcr");
  EXPECT_EQ(BoxTexts(), Texts{"ファイルが見つかりません.\r\nC:\\folder.mcr"});
  EXPECT_EQ(Window(), "ZEPX - keep.mcr | 1 lines, row 0 | buttons on | method 1/1 | C:\\keep.mcr");
  EXPECT_EQ(Load("[F2]\r\n", "C:\\b.Lnk"), Texts{});
}

// A save never costs the old file: a disk that fills keeps it whole, and a
// folder where only an overwrite in place is possible asks first.
TEST_F(MacroIo, SavesThatCannotFinishKeepTheOldFile) {
  const std::string old = "//ZEP Version 4.51\r\n[F1]\r\n", path = "C:\\locked\\old.mcr";
  const std::string failed = "ファイルを保存できませんでした.\r\n" + path + "\r\nマクロは保存されていません.";
  form.batch.SetLines({"[F2]", "[Text]~~" + std::string(300, 'x')});
  fake.save_dialog_results.push_back(std::nullopt);  // cancelled: nothing at all
  form.mSaveClick();
  EXPECT_TRUE(fake.boxes.empty());
  fake.disk_free = 100;  // the new file is larger than what is left
  EXPECT_EQ(Save(path, old), Texts{failed});
  EXPECT_EQ(fake.files[path], old);
  EXPECT_TRUE(fake.Texts({"WriteFileInPlace"}).empty()) << "never risked without asking";

  fake.disk_free.reset();
  fake.no_new_files.insert("C:\\locked");
  fake.answers = {MsgResult::No};
  ASSERT_EQ(Save(path, old).size(), 1u) << "the question, and nothing after No";
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::YesNo);
  EXPECT_NE(fake.boxes[0].text.find(path + "\r\n\r\n直接上書きしますか？"), std::string::npos);
  EXPECT_EQ(fake.files[path], old);
  EXPECT_EQ(form.Caption(), "ZEPX");
  fake.answers = {MsgResult::Yes};
  Save(path, old);
  EXPECT_EQ(fake.files[path], WriteMacroFile(form.batch.Texts(), MacroSettings{1200, 1000, 1200, 250, 0, 1}));
  EXPECT_EQ(form.Caption(), "ZEPX - old.mcr");
  fake.disk_free = 50;  // Yes on a disk that then fills: reported, not claimed
  fake.answers = {MsgResult::Yes};
  EXPECT_EQ(Save(path, old).back(), failed);
  EXPECT_EQ(form.Caption(), "ZEPX");
}

TEST_F(MacroIo, OpenDialogFileMenuAndWhereTheSendMethodSwitchPutsTheFocus) {
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
  EXPECT_FALSE(form.mSave.Enabled()) << "nothing selected: nothing to save";

  form.LoadedFromCommandLine = true;  // starting with a file: focus stays where it is
  form.PostRadioGroup.SetItemIndex(kSendEvent);
  EXPECT_FALSE(form.PostRadioGroup.Focused());
  form.LoadedFromCommandLine = false;
  form.PostRadioGroup.SetItemIndex(kSendWinMessage);
  EXPECT_TRUE(form.PostRadioGroup.Focused());
}

}  // namespace
}  // namespace zepx
