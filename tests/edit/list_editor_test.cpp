// List editing through the handlers the buttons and keys call: DelButton,
// ClearButton, UpButton and DownButton clicks, keys in SendList, rows
// clicked, and the send-method radio group.
#include <gtest/gtest.h>

#include "edit/edit_support.h"

namespace zepx {
namespace {

class ListEditorTest : public EditTest {};

TEST_F(ListEditorTest, DeleteTakesADragPairAsAWhole) {
  const Lines six{"[A]", "[B]", "L_Drag:1x2", "L_Drop:3x4", "[E]", "[F]"};
  Load(six);
  ClickRow(3);  // the drop line: its drag line goes too
  form.DelButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"[A]", "[B]", "[E]", "[F]"}));
  EXPECT_EQ(form.batch.Selected(), 3) << "row S, the former row 5";
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_EQ(list_form.Caption(), "ZEPX Batch処理送信リスト <4行>");
  Load(six);
  ClickRow(2);  // the drag line: its drop line goes too
  form.DelButton.Click();
  EXPECT_EQ(form.batch.Text(2), "[E]");

  // The words alone decide; a pair cut at the list's ends loses one line.
  Load({"[Text]~~Drag me", "[X]", "R_Drop:NoSet", "R_Drag:NoSet"});
  form.DelButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"R_Drop:NoSet", "R_Drag:NoSet"}));
  ClickRow(1);
  form.DelButton.Click();
  EXPECT_EQ(form.batch.Selected(), 0) << "the new last row";
  form.DelButton.Click();
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_TRUE(EditButtons(false));
  form.DelButton.Click();  // nothing selected: nothing happens
}

TEST_F(ListEditorTest, ClearAsksAndOnlyYesClears) {
  form.ClearButton.Click();  // an empty list: no question
  EXPECT_TRUE(fake.boxes.empty());
  Load({"[A]", "[B]"});
  fake.answers = {MsgResult::No, MsgResult::Yes};
  form.ClearButton.Click();
  EXPECT_EQ(form.batch.Count(), 2);
  EXPECT_EQ(form.Caption(), "ZEPX - list.mcr");
  list_form.ClearButton.Click();  // the detached window's Clear is the same
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_EQ(BoxTexts(), Lines(2, "全ての行を削除します。よろしいですか？"));
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::YesNo);
  EXPECT_TRUE(EditButtons(false));
  EXPECT_TRUE(CopyPaste(false));
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_EQ(list_form.Caption(), "Batch処理送信リスト (0行)");
}

TEST_F(ListEditorTest, MoveSwapsWithTheNeighbourAndKeepsTargets) {
  Load({"L_Drag:1x1", "L_Drop:2x2", "[C]"});
  form.batch.SetTarget(2, 303);
  form.SetCaption("ZEPX - kept");
  ClickRow(1);
  form.UpButton.Click();  // pairs are not looked at
  form.UpButton.Click();  // no row above: nothing
  EXPECT_EQ(BatchLines(), (Lines{"L_Drop:2x2", "L_Drag:1x1", "[C]"}));
  EXPECT_EQ(form.SendList.ItemIndex(), 0);
  EXPECT_EQ(list_form.SendList2.ItemIndex(), 0);
  ClickRow(2);
  form.DownButton.Click();  // no row below
  form.UpButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"L_Drop:2x2", "[C]", "L_Drag:1x1"}));
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{0, 303, 0}));
  EXPECT_EQ(list_form.SendList2.Items(), BatchLines());
  EXPECT_EQ(form.Caption(), "ZEPX - kept") << "a move leaves the caption";
  form.batch.Select(-1);
  form.UpButton.Click();
  EXPECT_EQ(form.batch.Text(1), "[C]");
}

TEST_F(ListEditorTest, KeysInTheList) {
  Method(kSendWinMessage);
  PickTarget("Game <1234>");
  form.ShiftCheck.SetChecked(true);
  Load({"L_Drag:NoSet", "R_Click:640x480"});
  // Insert and Delete only while their buttons are enabled.
  form.AddButton.SetEnabled(false);
  form.DelButton.SetEnabled(false);
  Key(win::VK_INSERT);
  Key(win::VK_DELETE);
  EXPECT_EQ(form.batch.Count(), 2);
  form.AddButton.SetEnabled(true);
  form.DelButton.SetEnabled(true);
  Key(win::VK_INSERT);  // the kind in CommandBox, a wait, inserted at row 0
  EXPECT_EQ(form.batch.Text(0), "Wait=1000");
  ClickRow(0);
  Key(win::VK_DELETE);
  EXPECT_EQ(form.batch.Count(), 2);

  // Any key shows the selection's point, moved there by the program.
  form.batch.Select(1);
  Key(0x41);
  EXPECT_EQ(form.XLabel.Value(), 640);

  // The function keys choose their kind and add, whatever AddButton says.
  form.AddButton.SetEnabled(false);
  for (int k = 0; k < 12; ++k) {
    Key(win::VK_F1 + k);
    EXPECT_EQ(form.CommandBox.ItemIndex(), 8 + k);
    EXPECT_EQ(BatchLines().back(), "[F" + std::to_string(k + 1) + "]+Shift|>Game <1234>");
  }
  EXPECT_EQ(form.batch.Count(), 14);
}

// Decided here: a line whose ":" is no point (a text, an application
// name, a title) leaves the fields and offers no coordinate copy or paste.
TEST_F(ListEditorTest, TheSelectedLinesPointIsShown) {
  Load({"R_Click:640x480", "L_Drag:NoSet", "[F1]", "[Text]~~at 12:30x4"});
  EXPECT_EQ(form.XLabel.Value(), 640);
  EXPECT_EQ(form.YLabel.Value(), 480);
  EXPECT_TRUE(CopyPaste(true));
  ClickRow(1);
  EXPECT_EQ(form.XLabel.Value(), 0);
  EXPECT_TRUE(CopyPaste(true));
  form.XLabel.SetValue(77);
  for (int row : {2, 3, -1}) {
    ClickRow(row);
    EXPECT_TRUE(CopyPaste(false)) << row;
    EXPECT_EQ(form.XLabel.Value(), 77) << row;
  }
  EXPECT_EQ(form.batch.Text(3), "[Text]~~at 12:30x4");
}

TEST_F(ListEditorTest, SwitchingToOrFromWinMessageAsksToClear) {
  Method(kSendWinMessage);  // an empty list: no question
  EXPECT_TRUE(fake.boxes.empty());
  Load({"[A]|>a <1>", "[B]|>b <2>"});
  fake.answers = {MsgResult::Cancel};
  Method(kSendInput);
  EXPECT_EQ(BoxTexts(), (Lines{"WinMessageから_event、SendInputに変更するには、Batch処理送信リストを"
                               "クリアする必要があります\r\nクリアしてもよろしいですか？"}));
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::OkCancel);
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendWinMessage) << "Cancel puts it back";
  EXPECT_TRUE(form.WinMessageFlag());
  EXPECT_EQ(form.batch.Count(), 2);
  fake.answers = {MsgResult::Ok};
  Method(kSendEvent);
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_FALSE(form.WinMessageFlag());
  EXPECT_FALSE(form.AppComboBox.Enabled());
  EXPECT_EQ(list_form.Caption(), "Batch処理送信リスト (0行)");

  Load({"[A]", "[B]"});
  fake.boxes.clear();
  fake.answers = {MsgResult::Cancel};
  Method(kSendWinMessage);
  EXPECT_EQ(BoxTexts(), (Lines{"_event、SendInputからWinMessageに変更するには、Batch処理送信リストを"
                               "クリアする必要があります\r\nクリアしてもよろしいですか？"}));
  Method(kSendInput);  // between the other two: never a question
  form.batch.Select(-1);
  Method(kSendWinMessage);  // no row selected: no question either
  EXPECT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(form.batch.Count(), 2);
}

}  // namespace
}  // namespace zepx
