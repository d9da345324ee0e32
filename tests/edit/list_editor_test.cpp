// List editing through the handlers the buttons and keys call: DelButton,
// ClearButton, UpButton and DownButton clicks, keys in SendList, rows
// clicked, and the send-method radio group.
#include <gtest/gtest.h>

#include "edit/edit_support.h"
#include "edit/list_editor.h"

namespace zepx {
namespace {

class ListEditorTest : public EditTest {};

// ---- delete ----------------------------------------------------------------------------

TEST_F(ListEditorTest, DeleteTakesADragPairAsAWhole) {
  const Lines six{"[A]", "[B]", "L_Drag:1x2", "L_Drop:3x4", "[E]", "[F]"};
  Load(six);
  ClickRow(3);  // the drop line: its drag line goes too
  form.DelButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"[A]", "[B]", "[E]", "[F]"}));
  EXPECT_EQ(form.batch.Selected(), 3) << "row S, the former row 5";

  Load(six);
  ClickRow(2);  // the drag line: its drop line goes too
  form.DelButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"[A]", "[B]", "[E]", "[F]"}));
  EXPECT_EQ(form.batch.Selected(), 2) << "the row after the pair";

  // The words alone decide: a text that says "Drag" takes its neighbour.
  Load({"[Text]~~Drag me", "[X]", "[Y]"});
  form.DelButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"[Y]"}));

  // A drop line with nothing above it and a drag line with nothing below.
  Load({"R_Drop:NoSet", "[X]", "R_Drag:NoSet"});
  form.DelButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"[X]", "R_Drag:NoSet"}));
  ClickRow(1);
  form.DelButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"[X]"}));
}

TEST_F(ListEditorTest, DeleteSelectsRowSOrTheLastAndEmptiesCleanly) {
  Load({"R_Click:640x480", "[F1]", "Wait=5"});
  ClickRow(2);
  form.DelButton.Click();
  EXPECT_EQ(form.batch.Selected(), 1) << "the new last row";
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_EQ(list_form.Caption(), "ZEPX Batch処理送信リスト <2行>");
  EXPECT_EQ(list_form.SendList2.Items(), BatchLines());
  EXPECT_TRUE(EditButtons(true));
  EXPECT_FALSE(CopyPaste(true)) << "[F1] carries no point";

  form.DelButton.Click();
  EXPECT_EQ(form.XLabel.Value(), 640);
  EXPECT_TRUE(CopyPaste(true));
  form.DelButton.Click();
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_EQ(form.batch.Selected(), -1);
  EXPECT_TRUE(EditButtons(false));
  EXPECT_TRUE(CopyPaste(false));
  EXPECT_EQ(list_form.Caption(), "ZEPX Batch処理送信リスト <0行>");

  form.DelButton.Click();  // nothing selected: nothing happens
  EXPECT_TRUE(form.batch.Empty());
}

// ---- clear -------------------------------------------------------------------------------

TEST_F(ListEditorTest, ClearAsksAndOnlyYesClears) {
  form.ClearButton.Click();  // an empty list: no question
  EXPECT_TRUE(fake.boxes.empty());

  Load({"[A]", "[B]"});
  fake.answers = {MsgResult::No};
  form.ClearButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"[A]", "[B]"}));
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text, "全ての行を削除します。よろしいですか？");
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::YesNo);
  EXPECT_EQ(form.Caption(), "ZEPX - list.mcr");

  fake.answers = {MsgResult::Yes};
  list_form.ClearButton.Click();  // the detached window's Clear is the same
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_EQ(fake.boxes.size(), 2u);
  EXPECT_TRUE(EditButtons(false));
  EXPECT_TRUE(CopyPaste(false));
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_TRUE(list_form.SendList2.Items().empty());
  EXPECT_EQ(list_form.Caption(), "Batch処理送信リスト (0行)");
}

// ---- move --------------------------------------------------------------------------------

TEST_F(ListEditorTest, MoveSwapsWithTheNeighbourAndIgnoresPairs) {
  Load({"L_Drag:1x1", "L_Drop:2x2", "[C]"});
  form.SetCaption("ZEPX - kept");
  ClickRow(1);
  form.UpButton.Click();  // the drop line above its drag line
  EXPECT_EQ(BatchLines(), (Lines{"L_Drop:2x2", "L_Drag:1x1", "[C]"}));
  EXPECT_EQ(form.batch.Selected(), 0);
  EXPECT_EQ(form.SendList.ItemIndex(), 0);
  EXPECT_EQ(list_form.SendList2.Items(), BatchLines());
  EXPECT_EQ(list_form.SendList2.ItemIndex(), 0);

  form.UpButton.Click();  // no row above
  EXPECT_EQ(BatchLines(), (Lines{"L_Drop:2x2", "L_Drag:1x1", "[C]"}));
  ClickRow(2);
  form.DownButton.Click();  // no row below
  form.DownButton.Click();
  EXPECT_EQ(BatchLines().back(), "[C]");
  ClickRow(0);
  form.DownButton.Click();
  form.DownButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"L_Drag:1x1", "[C]", "L_Drop:2x2"}));
  EXPECT_EQ(form.batch.Selected(), 2);
  EXPECT_EQ(form.Caption(), "ZEPX - kept") << "a move leaves the caption";

  form.batch.Select(-1);
  form.UpButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"L_Drag:1x1", "[C]", "L_Drop:2x2"}));
}

TEST_F(ListEditorTest, AMovedLineKeepsItsResolvedTarget) {
  Load({"[A]|>a <1>", "[B]|>b <2>"});
  form.batch.SetTarget(0, 101);
  form.batch.SetTarget(1, 202);
  form.DownButton.Click();
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{202, 101}));
}

// ---- keys in the list ---------------------------------------------------------------------

TEST_F(ListEditorTest, InsertAndDeleteFollowTheirButtons) {
  Load({"[A]", "[B]"});
  ClickRow(0);
  form.AddButton.SetEnabled(false);
  form.DelButton.SetEnabled(false);
  Key(win::VK_INSERT);
  Key(win::VK_DELETE);
  EXPECT_EQ(BatchLines(), (Lines{"[A]", "[B]"}));

  form.AddButton.SetEnabled(true);
  form.DelButton.SetEnabled(true);
  Key(win::VK_INSERT);  // the kind in CommandBox, a wait
  EXPECT_EQ(BatchLines(), (Lines{"Wait=1000", "[A]", "[B]"}));
  ClickRow(2);
  Key(win::VK_DELETE);
  EXPECT_EQ(BatchLines(), (Lines{"Wait=1000", "[A]"}));
}

TEST_F(ListEditorTest, FunctionKeysChooseTheirKindAndAdd) {
  Method(kSendWinMessage);
  PickTarget("Game <1234>");
  form.ShiftCheck.SetChecked(true);
  Load({"Wait=1"});
  ClickRow(0);  // the last row: appended, with suffixes
  form.AddButton.SetEnabled(false);  // as during a run
  Key(win::VK_F1 + 4);  // F5
  EXPECT_EQ(BatchLines(), (Lines{"Wait=1", "[F5]+Shift|>Game <1234>"}));
  EXPECT_EQ(form.CommandBox.ItemIndex(), 12);
  for (int k = 0; k < 12; ++k) {
    Key(win::VK_F1 + k);
    EXPECT_EQ(form.CommandBox.ItemIndex(), 8 + k);
    EXPECT_EQ(BatchLines().back(), "[F" + std::to_string(k + 1) + "]+Shift|>Game <1234>");
  }
  EXPECT_EQ(form.batch.Count(), 14);
  EXPECT_EQ(form.batch.Selected(), 13);
}

TEST_F(ListEditorTest, AnyKeyRefreshesTheCoordinateDisplay) {
  Load({"L_Drag:NoSet", "R_Click:640x480"});
  form.batch.Select(1);  // moved by the program, not shown yet
  EXPECT_EQ(form.XLabel.Value(), 0);
  Key(0x41);  // "A": no action of its own
  EXPECT_EQ(form.XLabel.Value(), 640);
  EXPECT_EQ(form.YLabel.Value(), 480);
}

// ---- the coordinate display ----------------------------------------------------------------

TEST_F(ListEditorTest, TheSelectedLinesPointIsShown) {
  Load({"R_Click:640x480", "L_Drag:NoSet", "[F1]", "[Text]~~at 12:30x4", "R_Drop:-5x$10"});
  ClickRow(0);
  EXPECT_EQ(form.XLabel.Value(), 640);
  EXPECT_EQ(form.YLabel.Value(), 480);
  EXPECT_TRUE(CopyPaste(true));
  ClickRow(1);
  EXPECT_EQ(form.XLabel.Value(), 0);
  EXPECT_EQ(form.YLabel.Value(), 0);
  EXPECT_TRUE(CopyPaste(true));
  ClickRow(4);
  EXPECT_EQ(form.XLabel.Value(), -5);
  EXPECT_EQ(form.YLabel.Value(), 16);

  form.XLabel.SetValue(77);
  form.YLabel.SetValue(88);
  for (int row : {2, 3}) {
    ClickRow(row);
    EXPECT_TRUE(CopyPaste(false)) << row;
    EXPECT_EQ(form.XLabel.Value(), 77) << row;
    EXPECT_EQ(form.YLabel.Value(), 88) << row;
  }
  EXPECT_EQ(form.batch.Text(3), "[Text]~~at 12:30x4") << "the line itself is never touched";
  ClickRow(-1);
  EXPECT_TRUE(CopyPaste(false));
}

// ---- the send-method switch -----------------------------------------------------------------

TEST_F(ListEditorTest, SwitchingToOrFromWinMessageAsksToClear) {
  const std::string to_other =
      "WinMessageから_event、SendInputに変更するには、Batch処理送信リストをクリアする必要があります"
      "\r\nクリアしてもよろしいですか？";
  const std::string to_win =
      "_event、SendInputからWinMessageに変更するには、Batch処理送信リストをクリアする必要があります"
      "\r\nクリアしてもよろしいですか？";
  Method(kSendWinMessage);  // an empty list: no question
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_TRUE(form.WinMessageFlag());
  EXPECT_TRUE(form.AppComboBox.Enabled());

  Load({"[A]|>a <1>", "[B]|>b <2>"});
  fake.answers = {MsgResult::Cancel};
  Method(kSendInput);
  EXPECT_EQ(BoxTexts(), (Lines{to_other}));
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::OkCancel);
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendWinMessage) << "Cancel puts the method back";
  EXPECT_EQ(form.PreviousSendMethod, kSendWinMessage);
  EXPECT_TRUE(form.WinMessageFlag());
  EXPECT_TRUE(form.AutoHandleCheckBox.Enabled());
  EXPECT_EQ(BatchLines().size(), 2u);
  EXPECT_EQ(fake.boxes.size(), 1u) << "the switch back asks nothing";

  fake.answers = {MsgResult::Ok};
  Method(kSendEvent);
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_FALSE(form.WinMessageFlag());
  EXPECT_FALSE(form.AppComboBox.Enabled());
  EXPECT_FALSE(form.GetAppButton.Enabled());
  EXPECT_TRUE(EditButtons(false));
  EXPECT_EQ(list_form.Caption(), "Batch処理送信リスト (0行)");

  Load({"[A]", "[B]"});
  fake.answers = {MsgResult::Cancel};
  Method(kSendWinMessage);
  EXPECT_EQ(BoxTexts(), (Lines{to_win}));
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendEvent);

  fake.boxes.clear();
  Method(kSendInput);  // between the other two: never a question
  Method(kSendEvent);
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(BatchLines().size(), 2u);

  form.batch.Select(-1);  // lines, but no row selected: no question either
  Method(kSendWinMessage);
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(BatchLines().size(), 2u);
}

}  // namespace
}  // namespace zepx
