// List editing through the handlers the buttons and keys call: DelButton,
// ClearButton, UpButton and DownButton clicks, keys in SendList, rows
// clicked, and the send-method radio group.
#include "edit/edit_support.h"
#include "shell/input_form.h"

namespace zepx {
namespace {

class ListEditorTest : public EditTest {};

// The words alone decide: a drag line takes the line below it along, a drop
// line the one above, and a pair cut at the list's ends loses one line.
TEST_F(ListEditorTest, DeleteTakesADragPairAsAWhole) {
  const Lines six{"[A]", "[B]", "L_Drag:1x2", "L_Drop:3x4", "[E]", "R_Click:7x8"};
  const struct {
    Lines list;
    int row;
    Lines want;
    int selected;
  } cases[] = {
      {six, 3, {"[A]", "[B]", "[E]", "R_Click:7x8"}, 3},
      {six, 2, {"[A]", "[B]", "[E]", "R_Click:7x8"}, 2},
      {six, 5, {"[A]", "[B]", "L_Drag:1x2", "L_Drop:3x4", "[E]"}, 4},
      {{"[Text]~~Drag me", "[X]", "R_Drop:NoSet"}, 0, {"R_Drop:NoSet"}, 0},
      {{"R_Drop:NoSet", "R_Drag:NoSet"}, 0, {"R_Drag:NoSet"}, 0},
      {{"[A]", "R_Drag:NoSet"}, 1, {"[A]"}, 0},
  };
  for (const auto& c : cases) {
    Load(c.list);
    ClickRow(c.row);
    form.SetCaption("ZEPX - list.mcr");
    form.DelButton.Click();
    EXPECT_EQ(BatchLines(), c.want) << c.list[static_cast<std::size_t>(c.row)];
    EXPECT_EQ(form.batch.Selected(), c.selected) << c.list[static_cast<std::size_t>(c.row)];
    EXPECT_EQ(form.Caption(), "ZEPX");
    EXPECT_EQ(list_form.Caption(), "ZEPX Batch処理送信リスト <" + std::to_string(c.want.size()) + "行>");
    EXPECT_EQ(list_form.SendList2.Items(), c.want);
  }
  form.DelButton.Click();
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_TRUE(EditButtons(false));
  form.DelButton.Click();  // nothing selected: nothing happens
}

TEST_F(ListEditorTest, ClearAsksAndOnlyYesClears) {
  form.ClearButton.Click();  // an empty list: no question
  EXPECT_TRUE(fake.boxes.empty());
  Load({"L_Click:1x2", "[B]"});
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
  EXPECT_TRUE(list_form.SendList2.Items().empty());
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
  EXPECT_EQ(Shown(), "640,480");

  // The function keys choose their kind and add, whatever AddButton says.
  form.AddButton.SetEnabled(false);
  for (int k = 0; k < 12; ++k) {
    Key(win::VK_F1 + k);
    EXPECT_EQ(form.CommandBox.ItemIndex(), 8 + k);
    EXPECT_EQ(BatchLines().back(), "[F" + std::to_string(k + 1) + "]+Shift|>Game <1234>");
  }
  EXPECT_EQ(form.batch.Count(), 14);
}

// Only a mouse line shows its point and offers coordinate copy and paste;
// any other line leaves the boxes as they were. Clicking a row, adding
// and deleting all refresh the display.
TEST_F(ListEditorTest, TheSelectedLinesPointIsShown) {
  const Lines lines{"R_Click:640x480", "L_Drag:NoSet", "[F1]", "[Text]~~at 12:30x4", "[Text]~~a:1x2",
                    "[A]|>C:1x2", "L_Click:abc", "my Drop:5x6", "L_Drop:[1x2"};
  form.batch.SetLines(lines);
  for (int row = -1; row < static_cast<int>(lines.size()); ++row) {
    form.XLabel.SetValue(77);
    form.YLabel.SetValue(77);
    ClickRow(row);
    const std::string at = row < 0 ? "no row" : lines[static_cast<std::size_t>(row)];
    EXPECT_TRUE(CopyPaste(row == 0 || row == 1)) << at;
    EXPECT_EQ(Shown(), row == 0 ? "640,480" : row == 1 ? "0,0" : "77,77") << at;
  }
  EXPECT_EQ(BatchLines(), lines);
  // After an add the new line's point shows; after a delete the next line's.
  Load({"[A]"});
  form.XLabel.SetValue(120);
  Add("R_Click");
  EXPECT_TRUE(CopyPaste(true)) << "the added click line is selected";
  Load({"[A]", "R_Click:640x480", "L_Click:3x4", "[D]"});
  ClickRow(1);
  form.DelButton.Click();
  EXPECT_EQ(Shown(), "3,4") << "the line now at the deleted row";
  form.DelButton.Click();
  EXPECT_TRUE(CopyPaste(false)) << "[D] is no mouse line";
}

TEST_F(ListEditorTest, SwitchingToOrFromWinMessageAsksToClear) {
  const std::string from_win = "WinMessageから_event、SendInputに変更するには、Batch処理送信リストを"
                               "クリアする必要があります\r\nクリアしてもよろしいですか？";
  const std::string to_win = "_event、SendInputからWinMessageに変更するには、Batch処理送信リストを"
                             "クリアする必要があります\r\nクリアしてもよろしいですか？";
  Method(kSendWinMessage);  // an empty list: no question
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_TRUE(form.WinMessageFlag() && form.AppComboBox.Enabled() && form.AutoHandleCheckBox.Enabled());
  Load({"[A]|>a <1>", "[B]|>b <2>"});
  fake.answers = {MsgResult::Cancel};
  Method(kSendInput);
  EXPECT_EQ(BoxTexts(), Lines{from_win});
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::OkCancel);
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendWinMessage) << "Cancel puts it back";
  EXPECT_EQ(form.PreviousSendMethod, kSendWinMessage);
  EXPECT_TRUE(form.WinMessageFlag());
  EXPECT_EQ(form.batch.Count(), 2);
  fake.answers = {MsgResult::Ok};
  Method(kSendEvent);
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_FALSE(form.WinMessageFlag());
  EXPECT_FALSE(form.AppComboBox.Enabled());
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_EQ(list_form.Caption(), "Batch処理送信リスト (0行)");

  Load({"[A]", "[B]"});
  fake.answers = {MsgResult::Cancel};
  Method(kSendWinMessage);
  EXPECT_EQ(BoxTexts(), Lines{to_win});
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendEvent);
  EXPECT_FALSE(form.WinMessageFlag());
  Method(kSendInput);  // between the other two: never a question
  form.batch.Select(-1);
  Method(kSendWinMessage);  // no row selected: no question either
  EXPECT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(form.batch.Count(), 2);
}

// ---- the detached list window ------------------------------------------------

TEST_F(ListEditorTest, TheDetachedWindowOpensBesideTheMainOneAndFollowsTheBatch) {
  Load({"L_Drag:NoSet", "L_Drop:NoSet", "[C]"});
  form.BitBtn4.Click();
  EXPECT_TRUE(list_form.Visible());
  EXPECT_TRUE(fake.Texts({"ShowModal"}).empty()) << "the main window is not held up";
  EXPECT_EQ(list_form.Caption(), "ZEPX Batch処理送信リスト (3行)");
  EXPECT_TRUE(list_form.UpButton.Enabled()) << "a main row is selected";
  form.batch.Replace(0, "L_Drag:10x20");  // whatever changes the batch, the copy follows
  ClickRow(2);
  Add("時間(ミリ秒)");
  EXPECT_EQ(list_form.SendList2.Items(), (Lines{"L_Drag:10x20", "L_Drop:NoSet", "[C]", "Wait=1000"}));
  list_form.CloseRequested();  // the close box only hides it
  EXPECT_FALSE(list_form.Visible());
  form.batch.Select(-1);
  list_form.UpButton.SetEnabled(false);
  form.BitBtn4.Click();
  EXPECT_FALSE(list_form.UpButton.Enabled()) << "nothing selected in the main list";
}

TEST_F(ListEditorTest, TheDetachedWindowsUpAndDownMoveTheBatchLineWithItsTarget) {
  Load({"[A]|>a <1>", "[B]|>b <2>", "[C]|>c <3>"});
  for (int row = 0; row < 3; ++row) form.batch.SetTarget(row, 11 * (row + 1));
  form.BitBtn4.Click();
  form.SetCaption("ZEPX - kept");
  list_form.DownButton.Click();  // no row of its own selected: nothing
  list_form.SendList2.FromNativeSelect(2);
  EXPECT_EQ(form.batch.Selected(), 0) << "its selection is its own";
  list_form.UpButton.Click();
  EXPECT_EQ(BatchLines(), (Lines{"[A]|>a <1>", "[C]|>c <3>", "[B]|>b <2>"}));
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{11, 33, 22}));
  EXPECT_EQ(list_form.SendList2.Items(), BatchLines());
  EXPECT_EQ(list_form.SendList2.ItemIndex(), 1);
  EXPECT_EQ(form.SendList.ItemIndex(), 1) << "the main list selects the same row";
  list_form.UpButton.Click();
  list_form.UpButton.Click();  // at the top: nothing
  list_form.DownButton.Click();
  list_form.DownButton.Click();
  list_form.DownButton.Click();  // at the bottom: nothing
  EXPECT_EQ(BatchLines(), (Lines{"[A]|>a <1>", "[B]|>b <2>", "[C]|>c <3>"}));
  EXPECT_EQ(form.Caption(), "ZEPX - kept");
}

// The bars of the detached window and of the palette: each sets its own
// window's opacity from 100 up, and opaque ends the blending; without the
// system function the window stays unlayered and the library goes back.
TEST_F(ListEditorTest, TheLayerBarsSetTheirOwnWindowsOpacity) {
  auto palette_native = fake.MakeNativeForm("TInputForm");
  TInputForm palette{fake.platform(), form};
  palette.Bind(palette_native.get());
  const auto alpha = [&](Hwnd h) {
    const auto* w = fake.FindWindowByHandle(h);
    return (w->ex_style & win::WS_EX_LAYERED) ? static_cast<int>(w->alpha.value_or(0)) : -1;
  };
  fake.has_layered_function = false;
  auto bare_native = fake.MakeNativeForm("TInputForm");
  TInputForm bare{fake.platform(), form};
  bare.Bind(bare_native.get());
  bare.LayerBar.FromNativePosition(150);
  EXPECT_EQ(alpha(bare.Handle()), -1) << "a layered window without attributes would not be drawn";
  EXPECT_TRUE(fake.loaded_libraries.empty()) << "the library was given back";
  fake.has_layered_function = true;
  for (auto [bar, window] : {std::pair<TTrackBar*, TForm*>{&list_form.LayerBar, &list_form}, {&palette.LayerBar, &palette}}) {
    for (auto [position, want] : {std::pair{254, 254}, {40, 100}, {180, 180}, {255, -1}}) {
      bar->FromNativePosition(position);
      EXPECT_EQ(alpha(window->Handle()), want) << window->Name << " at " << position;
    }
  }
  EXPECT_EQ(alpha(form.Handle()), -1) << "the main window's own";
}

}  // namespace
}  // namespace zepx
