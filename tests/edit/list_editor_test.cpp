// List editing through the handlers the buttons and keys call: DelButton,
// ClearButton, UpButton and DownButton clicks, keys in SendList, rows
// clicked, the send-method radio group and the detached list window.
#include "edit/edit_support.h"
#include "run/run_support.h"

namespace zepx {
namespace {

class ListEditorTest : public EditTest {
 protected:
  // What both windows show of the list: its lines with the selected row
  // marked, and the two captions; the detached copy must equal the list.
  std::string Lists() const {
    std::string s;
    for (int i = 0; i < form.batch.Count(); ++i) s += (i == form.batch.Selected() ? "*" : "") + form.batch.Text(i) + " ";
    if (list_form.SendList2.Items() != form.SendList.Items()) s += "(the detached copy differs) ";
    return s + "| " + form.Caption() + " | " + list_form.Caption();
  }
};

// The words alone decide: a drag line takes the line below it along, a drop
// line the one above, and a pair cut at the list's ends loses one line.
TEST_F(ListEditorTest, DeleteTakesADragPairAsAWhole) {
  const Texts six{"[A]", "[B]", "L_Drag:1x2", "L_Drop:3x4", "[E]", "R_Click:7x8"};
  const std::tuple<Texts, int, std::string> cases[] = {
      {six, 3, "[A] [B] [E] *R_Click:7x8 | ZEPX | ZEPX Batch処理送信リスト <4行>"},
      {six, 2, "[A] [B] *[E] R_Click:7x8 | ZEPX | ZEPX Batch処理送信リスト <4行>"},
      {six, 5, "[A] [B] L_Drag:1x2 L_Drop:3x4 *[E] | ZEPX | ZEPX Batch処理送信リスト <5行>"},
      {{"[Text]~~Drag me", "[X]", "R_Drop:NoSet"}, 0, "*R_Drop:NoSet | ZEPX | ZEPX Batch処理送信リスト <1行>"},
      {{"R_Drop:NoSet", "R_Drag:NoSet"}, 0, "*R_Drag:NoSet | ZEPX | ZEPX Batch処理送信リスト <1行>"},
      {{"[A]", "R_Drag:NoSet"}, 1, "*[A] | ZEPX | ZEPX Batch処理送信リスト <1行>"}};
  for (const auto& [list, row, want] : cases) {
    Load(list);
    ClickRow(row);
    form.DelButton.Click();
    EXPECT_EQ(Lists(), want) << "deleting " << list[static_cast<std::size_t>(row)];
  }
  form.DelButton.Click();
  EXPECT_TRUE(form.batch.Empty() && EditButtons(false));
}

// Either window's Clear asks first, and only Yes clears.
TEST_F(ListEditorTest, ClearAsksAndOnlyYesClears) {
  form.ClearButton.Click();  // an empty list: no question
  Load({"L_Click:1x2", "[B]"});
  fake.answers = {MsgResult::No, MsgResult::Yes};
  form.ClearButton.Click();
  EXPECT_EQ(Lists(), "*L_Click:1x2 [B] | ZEPX - list.mcr | ZEPX Batch処理送信リスト (0行)");
  list_form.ClearButton.Click();
  EXPECT_EQ(Lists(), "| ZEPX | Batch処理送信リスト (0行)");
  EXPECT_EQ(BoxTexts(), Texts(2, "全ての行を削除します。よろしいですか？"));
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::YesNo);
  EXPECT_TRUE(EditButtons(false) && CopyPaste(false));
}

// Up and Down swap with the neighbour, pairs not looked at, and the target
// goes with its line; the caption stays.
TEST_F(ListEditorTest, MoveSwapsWithTheNeighbourAndKeepsTargets) {
  Load({"L_Drag:1x1", "L_Drop:2x2", "[C]"});
  form.batch.SetTarget(2, 303);
  form.SetCaption("ZEPX - kept");
  ClickRow(1);
  form.UpButton.Click();
  form.UpButton.Click();  // no row above: nothing
  EXPECT_EQ(list_form.SendList2.ItemIndex(), 0);
  ClickRow(2);
  form.DownButton.Click();  // no row below
  form.UpButton.Click();
  EXPECT_EQ(Lists(), "L_Drop:2x2 *[C] L_Drag:1x1 | ZEPX - kept | ZEPX Batch処理送信リスト (0行)");
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{0, 303, 0}));
  form.batch.Select(-1);
  form.UpButton.Click();
  EXPECT_EQ(form.batch.Text(1), "[C]");
}

// Insert and Delete only while their buttons are enabled; the function keys
// choose their kind and add whatever AddButton says; any key shows the
// selected line's point.
TEST_F(ListEditorTest, KeysInTheList) {
  Method(kSendWinMessage);
  PickTarget("Game <1234>");
  form.ShiftCheck.SetChecked(true);
  Load({"L_Drag:NoSet", "R_Click:640x480"});
  for (bool enabled : {false, true}) {
    form.AddButton.SetEnabled(enabled);
    form.DelButton.SetEnabled(enabled);
    Key(win::VK_INSERT);  // the kind in CommandBox, a wait, inserted at row 0
    ClickRow(0);
    Key(win::VK_DELETE);
    EXPECT_EQ(Lists(), enabled ? "*L_Drag:NoSet R_Click:640x480 | ZEPX | ZEPX Batch処理送信リスト <2行>"
                               : "*L_Drag:NoSet R_Click:640x480 | ZEPX - list.mcr | ZEPX Batch処理送信リスト (0行)");
  }
  form.batch.Select(1);
  Key(0x41);
  EXPECT_EQ(Xy(), "640,480");
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
  const Texts lines{"R_Click:640x480", "L_Drag:NoSet", "[F1]", "[Text]~~at 12:30x4", "[Text]~~a:1x2",
                    "[A]|>C:1x2", "L_Click:abc", "my Drop:5x6", "L_Drop:[1x2"};
  form.batch.SetLines(lines);
  for (int row = -1; row < static_cast<int>(lines.size()); ++row) {
    form.XLabel.SetValue(77);
    form.YLabel.SetValue(77);
    ClickRow(row);
    const std::string at = row < 0 ? "no row" : lines[static_cast<std::size_t>(row)];
    EXPECT_TRUE(CopyPaste(row == 0 || row == 1)) << at;
    EXPECT_EQ(Xy(), row == 0 ? "640,480" : row == 1 ? "0,0" : "77,77") << at;
  }
  EXPECT_EQ(BatchLines(), lines);
  Load({"[A]"});
  form.XLabel.SetValue(120);
  Add("R_Click");
  EXPECT_TRUE(CopyPaste(true)) << "after an add, the added click line's";
  Load({"[A]", "R_Click:640x480", "L_Click:3x4", "[D]"});
  ClickRow(1);
  form.DelButton.Click();
  EXPECT_EQ(Xy(), "3,4") << "after a delete, the point of the line now at the deleted row";
  form.DelButton.Click();
  EXPECT_TRUE(CopyPaste(false)) << "[D] is no mouse line";
}

// Between WinMessage and the other two the line forms differ: the switch
// asks to clear a list with a row selected, Cancel puts the method back;
// between _event and SendInput, or with no row selected, nothing is asked.
TEST_F(ListEditorTest, SwitchingToOrFromWinMessageAsksToClear) {
  const std::string clear = "する必要があります\r\nクリアしてもよろしいですか？";
  const std::string from_win = "WinMessageから_event、SendInputに変更するには、Batch処理送信リストをクリア" + clear;
  const std::string to_win = "_event、SendInputからWinMessageに変更するには、Batch処理送信リストをクリア" + clear;
  const auto method = [&] {
    return std::to_string(form.PostRadioGroup.ItemIndex()) + std::to_string(form.PreviousSendMethod) +
           (form.WinMessageFlag() ? " win" : " ") + (form.AppComboBox.Enabled() ? " target" : "") +
           (form.AutoHandleCheckBox.Enabled() ? " auto" : "") + " " + std::to_string(form.batch.Count());
  };
  const struct { int from; Texts lines; int to; MsgResult answer; std::string box, after; } cases[] = {
      {kSendInput, {}, kSendWinMessage, MsgResult::Ok, "", "22 win target auto 0"},
      {kSendWinMessage, {"[A]|>a <1>", "[B]|>b <2>"}, kSendInput, MsgResult::Cancel, from_win, "22 win target auto 2"},
      {kSendWinMessage, {"[A]|>a <1>"}, kSendEvent, MsgResult::Ok, from_win, "00  0"},
      {kSendEvent, {"[A]", "[B]"}, kSendWinMessage, MsgResult::Cancel, to_win, "00  2"},
      {kSendEvent, {"[A]", "[B]"}, kSendInput, MsgResult::Cancel, "", "11  2"},
      {kSendInput, {"[A]"}, kSendWinMessage, MsgResult::Ok, to_win, "22 win target auto 0"}};
  for (const auto& c : cases) {
    form.batch.Clear();
    Method(c.from);
    Load(c.lines);
    fake.answers = {c.answer};
    Method(c.to);
    EXPECT_EQ(BoxTexts(), c.box.empty() ? Texts{} : Texts{c.box}) << c.from << " to " << c.to;
    if (!c.box.empty()) EXPECT_EQ(fake.boxes[0].kind, MsgKind::OkCancel);
    EXPECT_EQ(method(), c.after) << c.from << " to " << c.to;
  }
  EXPECT_EQ(Lists(), "| ZEPX | Batch処理送信リスト (0行)") << "a list cleared by the switch";
  Load({"[A]"});
  form.batch.Select(-1);
  Method(kSendEvent);
  EXPECT_TRUE(fake.boxes.empty() && form.batch.Count() == 1) << "no row selected: no question";
}

// ---- the detached list window ------------------------------------------------

// Opened from BitBtn4 without holding up the main window; a copy of the
// batch after every change; its own Up and Down move the batch's lines with
// their targets; its close box hides it.
TEST_F(ListEditorTest, TheDetachedWindowFollowsTheBatchAndMovesItsLines) {
  Load({"[A]|>a <1>", "[B]|>b <2>", "[C]|>c <3>"});
  for (int row = 0; row < 3; ++row) form.batch.SetTarget(row, 11 * (row + 1));
  form.BitBtn4.Click();
  EXPECT_TRUE(list_form.Visible() && fake.Texts({"ShowModal"}).empty());
  EXPECT_EQ(Lists(), "*[A]|>a <1> [B]|>b <2> [C]|>c <3> | ZEPX - list.mcr | ZEPX Batch処理送信リスト (3行)");
  EXPECT_TRUE(list_form.UpButton.Enabled()) << "a main row is selected";
  list_form.DownButton.Click();  // no row of its own selected: nothing
  list_form.SendList2.FromNativeSelect(2);
  list_form.UpButton.Click();
  EXPECT_EQ(Lists(), "[A]|>a <1> *[C]|>c <3> [B]|>b <2> | ZEPX - list.mcr | ZEPX Batch処理送信リスト (3行)");
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{11, 33, 22}));
  EXPECT_EQ(list_form.SendList2.ItemIndex(), 1);
  for (int i = 0; i < 2; ++i) list_form.UpButton.Click();  // at the top: nothing
  for (int i = 0; i < 3; ++i) list_form.DownButton.Click();  // at the bottom: nothing
  form.batch.Replace(0, "L_Drag:10x20");
  ClickRow(1);
  Add("時間(ミリ秒)");
  EXPECT_EQ(list_form.SendList2.Items(), (Texts{"L_Drag:10x20", "Wait=1000", "[B]|>b <2>", "[C]|>c <3>"}));
  list_form.CloseRequested();
  EXPECT_FALSE(list_form.Visible());
  form.batch.Select(-1);
  list_form.UpButton.SetEnabled(false);
  form.BitBtn4.Click();
  EXPECT_FALSE(list_form.UpButton.Enabled()) << "nothing selected in the main list";
}

// ---- editing under a run ----------------------------------------------------
// The list stays editable while a run goes on: the function keys add, Up,
// Down and Clear work. The run must follow: a new line reaches its window,
// moved lines keep theirs, a cleared list ends the run.

// Topmost first, so that the run's refresh of the application list chooses
// its third entry, Probe C, for the target field.
TEST_F(EditTest, AddedAndMovedLinesOfAWinMessageRunReachTheirWindows) {
  form.AutoHandleCheckBox.SetChecked(true);
  form.KeyAfterDelay.SetValue(100);
  form.LoopSpinEdit.SetValue(0);  // endless until stopped
  Method(kSendWinMessage);
  const Hwnd c = fake.AddWindow("Probe C", "ProbeClass"), b = fake.AddWindow("Probe B", "ProbeClass"),
             a = fake.AddWindow("Probe A", "ProbeClass");
  Load({"[Text]~~a|>" + ComposeTargetDescriptor("Probe A", a), "[Text]~~b|>" + ComposeTargetDescriptor("Probe B", b),
        "Wait=800"});
  // In the wait of the first pass (1200 to 2000): the two text lines
  // swapped, and F3 pressed on the last row while AddButton is disabled.
  fake.At(1500, [&] {
    ClickRow(0);
    form.DownButton.Click();
    ClickRow(2);
    EXPECT_FALSE(form.AddButton.Enabled());
    Key(win::VK_F1 + 2);
  });
  fake.At(2900, [&] { form.BitBtn3Click(); });  // in the wait of the second pass
  form.BitBtn1Click();
  EXPECT_EQ(form.batch.Text(3), "[F3]|>" + ComposeTargetDescriptor("Probe C", c));
  std::string posted;  // the characters and keys, each after its window's letter
  for (const auto& p : fake.posted)
    posted += std::string(p.hwnd == a ? "A" : p.hwnd == b ? "B" : p.hwnd == c ? "C" : "?") + char(p.wparam);
  EXPECT_EQ(posted, "AaBbCrBbAa") << "the new line was sent to its window (F3 is 'r')";
}

TEST_F(EditTest, AListClearedUnderTheRunEndsIt) {
  // One pass, then a chain file: a cleared list must not count as a pass
  // and go on with the chain.
  form.LoopSpinEdit.SetValue(1);
  form.NextLoopCheck.SetChecked(true);
  form.settings.Loop[0] = "C:\\m\\next.mcr";
  fake.files["C:\\m\\next.mcr"] = Mcr({"Wait=1700"});
  Load({"Wait=700", "Wait=900"});
  fake.At(1300, [&] {
    fake.answers = {MsgResult::Yes};
    list_form.ClearButton.Click();
  });
  form.BitBtn1Click();
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{700})) << "nothing ran after the clear";
  EXPECT_EQ(form.Engine().PassCount, 0);
}

}  // namespace
}  // namespace zepx
