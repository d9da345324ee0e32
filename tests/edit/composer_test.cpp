// The composer through the main window's own handlers: AddButton's click,
// the picks in CommandBox and ComboBoxEx1, the text field taking the focus.
#include <gtest/gtest.h>

#include "edit/composer.h"
#include "edit/edit_support.h"

namespace zepx {
namespace {

class ComposerTest : public EditTest {};

// ---- what each kind writes -----------------------------------------------------

// Every one of the 85 kinds appended in WinMessage with all three modifier
// boxes checked: the line each must give, written out by family.
TEST_F(ComposerTest, EveryKindAppendedInWinMessageWithAllModifiers) {
  Method(kSendWinMessage);
  PickTarget("Ultima Online <1234>");
  form.ShiftCheck.SetChecked(true);
  form.AltCheck.SetChecked(true);
  form.CtrlCheck.SetChecked(true);
  form.SpinEdit1.SetValue(2500);
  form.XLabel.SetValue(120);
  form.YLabel.SetValue(45);
  form.SendTextEdit.SetText("hello: 1x2");

  for (int kind = 0; kind < static_cast<int>(kCommandKindCount); ++kind) {
    const std::string caption = kCommandKinds[static_cast<std::size_t>(kind)];
    Lines want;
    if (kind == 0) want = {"Wait=2500"};
    else if (kind <= 4) want = {caption + ":120x45"};
    else if (kind == 5) want = {"L_Drag:NoSet", "L_Drop:NoSet"};
    else if (kind == 6) want = {"R_Drag:NoSet", "R_Drop:NoSet"};
    else if (kind == 7) want = {"[Text]~~hello: 1x2|>Ultima Online <1234>"};
    else if (kind == 77 || kind == 82 || kind == 83) want = {caption};  // [Windows], events
    else if (kind == 84) want = {"[ｱﾌﾟﾘを前面に]@@hello: 1x2"};
    else want = {caption + "+Shift+Alt+Ctrl|>Ultima Online <1234>"};

    form.batch.Clear();
    Kind(kind);
    form.AddButton.Click();
    EXPECT_EQ(BatchLines(), want) << "kind " << kind << " " << caption;
  }
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(ComposerTest, OutsideWinMessageNoTargetAndTheMethodsWriteAlike) {
  for (int method : {kSendEvent, kSendInput}) {
    Method(method);
    PickTarget("Notepad <77>");
    form.CtrlCheck.SetChecked(true);
    form.SendTextEdit.SetText("abc");
    form.batch.Clear();
    Add("[F5]");
    Add("[Text]");
    Add("[Windows]");
    Add("[↑]");
    EXPECT_EQ(BatchLines(), (Lines{"[F5]+Ctrl", "[Text]~~abc", "[Windows]", "[↑]+Ctrl"}))
        << "method " << method;
  }
}

// Inserted inside the list, the modifiers go after the first "]" of texts
// and applications too, and "[Windows]" is composed like any key; events
// stay bare.
TEST_F(ComposerTest, MidListFormsCarryModifiersAfterTheKeyWord) {
  Method(kSendWinMessage);
  PickTarget("Game <5>");
  form.AltCheck.SetChecked(true);
  form.CtrlCheck.SetChecked(true);
  form.SendTextEdit.SetText("hi");
  Load({"[Z]", "[Y]"});  // row 0 selected: every add is mid-list
  Add("[Text]");
  Add("[ｱﾌﾟﾘを前面に]");
  Add("[Windows]");
  Add("【ZEP Event 2】");
  EXPECT_EQ(BatchLines(), (Lines{"[Text]+Alt+Ctrl~~hi|>Game <5>", "[ｱﾌﾟﾘを前面に]+Alt+Ctrl@@hi",
                                 "[Windows]+Alt+Ctrl|>Game <5>", "【ZEP Event 2】", "[Z]", "[Y]"}));
}

// ---- where the lines go ---------------------------------------------------------------

TEST_F(ComposerTest, PlacementAroundADragPair) {
  PickTarget("T <1>");
  const Lines list{"[A]", "L_Drag:NoSet", "L_Drop:NoSet", "[B]"};

  Load(list);
  ClickRow(2);  // the drop line: below it, never between the pair
  Add("[C]");
  EXPECT_EQ(BatchLines(), (Lines{"[A]", "L_Drag:NoSet", "L_Drop:NoSet", "[C]", "[B]"}));
  EXPECT_EQ(form.batch.Selected(), 3) << "the new line";

  Load(list);
  ClickRow(2);
  Add("L_Drag&Drop");
  EXPECT_EQ(BatchLines(), (Lines{"[A]", "L_Drag:NoSet", "L_Drop:NoSet", "L_Drag:NoSet",
                                 "L_Drop:NoSet", "[B]"}));
  EXPECT_EQ(form.batch.Selected(), 3) << "the new drag line";

  Load(list);
  ClickRow(1);  // the drag line: above it
  Add("[C]");
  EXPECT_EQ(BatchLines(), (Lines{"[A]", "[C]", "L_Drag:NoSet", "L_Drop:NoSet", "[B]"}));
  EXPECT_EQ(form.batch.Selected(), 2) << "the line that was selected";

  Load(list);
  ClickRow(0);
  Add("R_Drag&Drop");  // inserted at S: the selection lands on the new drop line
  EXPECT_EQ(BatchLines(), (Lines{"R_Drag:NoSet", "R_Drop:NoSet", "[A]", "L_Drag:NoSet",
                                 "L_Drop:NoSet", "[B]"}));
  EXPECT_EQ(form.batch.Selected(), 1);

  Load(list);
  ClickRow(3);  // the last row: appended
  Add("[C]");
  EXPECT_EQ(BatchLines().back(), "[C]");
  EXPECT_EQ(form.batch.Selected(), 4);
  EXPECT_EQ(form.SendList.Items(), BatchLines());
}

TEST_F(ComposerTest, AppendingToAnEmptyListOrWithNothingSelected) {
  Add("時間(ミリ秒)");
  EXPECT_EQ(form.batch.Selected(), 0);
  form.batch.Select(-1);
  Add("L_Click");
  EXPECT_EQ(BatchLines(), (Lines{"Wait=1000", "L_Click:0x0"}));
  EXPECT_EQ(form.batch.Selected(), 0) << "row S + 1 of S = -1";
}

// ---- refusals -----------------------------------------------------------------------------

TEST_F(ComposerTest, TheLineLimit) {
  Lines many(998, "Wait=1");
  Load(many);
  ClickRow(997);
  Add("L_Drag&Drop");  // 998 lines still take a pair
  EXPECT_EQ(form.batch.Count(), 1000);
  EXPECT_TRUE(fake.boxes.empty());
  form.SetCaption("ZEPX - kept");
  Add("時間(ミリ秒)");
  EXPECT_EQ(form.batch.Count(), 1000);
  EXPECT_EQ(BoxTexts(), (Lines{"登録できるコマンドは最大999個までです"}));
  EXPECT_EQ(form.Caption(), "ZEPX - kept") << "the limit ends Add at once";

  // A loaded file may be longer still; inserting is refused as well.
  Load(Lines(1200, "Wait=1"));
  ClickRow(5);
  Add("L_Click");
  EXPECT_EQ(form.batch.Count(), 1200);
  EXPECT_EQ(fake.boxes.size(), 1u);
}

TEST_F(ComposerTest, TheTextIsAskedForBeforeTheTarget) {
  Method(kSendWinMessage);
  form.SetCaption("ZEPX - a.mcr");
  Add("[Text]");
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_EQ(BoxTexts(), (Lines{"送信文字列を入力して下さい"}));
  EXPECT_TRUE(form.SendTextEdit.Focused());
  EXPECT_FALSE(form.AppComboBox.DroppedDown());
  // Refused, yet the window is left as after an add.
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_TRUE(EditButtons(true));
  EXPECT_EQ(list_form.Caption(), "ZEPX Batch処理送信リスト <0行>");
}

TEST_F(ComposerTest, AppendedKeysNeedAChosenTargetInEveryMethod) {
  for (int method : {kSendEvent, kSendInput, kSendWinMessage}) {
    Method(method);
    form.AppComboBox.SetItems({"Other <1>"});  // entries, none chosen
    form.AppComboBox.SetText("typed <9>");
    form.batch.Clear();
    fake.boxes.clear();
    for (const char* kind : {"[F1]", "[Windows]", "【ZEP Event 1】", "[ｱﾌﾟﾘを前面に]"}) Add(kind);
    EXPECT_TRUE(form.batch.Empty()) << "method " << method;
    EXPECT_EQ(BoxTexts(), Lines(4, "キー送信先アプリケーションを選択指定して下さい"));
    // The field points the user at the list only where it can be used.
    EXPECT_EQ(form.AppComboBox.DroppedDown(), method == kSendWinMessage);
    EXPECT_EQ(form.AppComboBox.Focused(), method == kSendWinMessage);

    // Waits, clicks and drags never ask; inserted keys neither.
    fake.boxes.clear();
    Add("時間(ミリ秒)");
    Add("R_DClick");
    Add("R_Drag&Drop");
    ClickRow(0);
    Add("[F1]");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(form.batch.Text(0), method == kSendWinMessage ? "[F1]|>typed <9>" : "[F1]");
    EXPECT_EQ(form.batch.Count(), 5);
    form.AppComboBox.SetDroppedDown(false);
  }
}

TEST_F(ComposerTest, ARefusalSelectsRowSPlusOneWhenThereIsOne) {
  Load({"Wait=1", "Wait=2"});
  form.batch.Select(-1);
  Add("[F2]");  // no target chosen: refused
  EXPECT_EQ(BatchLines(), (Lines{"Wait=1", "Wait=2"}));
  EXPECT_EQ(form.batch.Selected(), 0);
  ClickRow(1);
  Add("[F2]");
  EXPECT_EQ(form.batch.Selected(), 1) << "no row 2: the selection stays";
}

// ---- the reactions of the input area ---------------------------------------------------------

TEST_F(ComposerTest, PickingAKindPreparesTheField) {
  form.CommandBox.FromNativeSelect(0);
  EXPECT_TRUE(form.SpinEdit1.Focused());

  form.CommandBox.FromNativeSelect(kKindFrontApp);
  EXPECT_EQ(form.ComboBoxEx1.ItemIndex(), 1);
  EXPECT_EQ(form.SendTextEdit.Color(), kColorSkyBlue);
  EXPECT_EQ(kColorSkyBlue, 0x00F0CAA6u);
  EXPECT_TRUE(form.GetAppButton2.Enabled());
  EXPECT_TRUE(form.SendTextEdit.Focused());
  EXPECT_EQ(form.CommandBox.ItemIndex(), kKindFrontApp);

  form.CommandBox.FromNativeSelect(kKindText);
  EXPECT_EQ(form.ComboBoxEx1.ItemIndex(), 0);
  EXPECT_EQ(form.SendTextEdit.Color(), kColorWindow);
  EXPECT_FALSE(form.GetAppButton2.Enabled());
  EXPECT_EQ(form.CommandBox.ItemIndex(), kKindText);

  EXPECT_TRUE(fake.boxes.empty());
  for (const char* kind : {"[+]", "[-]", "[*]", "[/]", "[A]"}) form.CommandBox.FromNativeSelect(KindOf(kind));
  EXPECT_EQ(BoxTexts(), Lines(2, "[+]と[*]キーはテンキーコマンドの為、テンキーが無いPCの場合\r\n"
                                 "Shiftと同時押ししないと正しく出力されません。"));
  EXPECT_EQ(form.ComboBoxEx1.ItemIndex(), 0) << "other kinds leave the field";
}

TEST_F(ComposerTest, TheTextFieldModeAndEnteringTheField) {
  form.ComboBoxEx1.FromNativeSelect(1);
  EXPECT_EQ(form.SendTextEdit.Color(), kColorSkyBlue);
  EXPECT_TRUE(form.GetAppButton2.Enabled());
  EXPECT_TRUE(form.SendTextEdit.Focused());
  EXPECT_EQ(form.CommandBox.ItemIndex(), kKindFrontApp) << "entering the field chose the kind";

  form.ComboBoxEx1.FromNativeSelect(0);
  EXPECT_EQ(form.SendTextEdit.Color(), kColorWindow);
  EXPECT_FALSE(form.GetAppButton2.Enabled());

  // Entering the field chooses the kind without the kind's own reactions.
  Kind(KindOf("[*]"));
  form.SendTextEdit.FromNativeFocus(false);
  form.SendTextEdit.FromNativeFocus(true);
  EXPECT_EQ(form.CommandBox.ItemIndex(), kKindText);
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(ComposerTest, ModifierBoxesAreMirroredThroughTheHook) {
  std::vector<std::pair<std::string, bool>> seen;
  form.composer.MirrorModifier = [&](const std::string& name, bool on) { seen.push_back({name, on}); };
  form.ShiftCheck.FromNativeClick();
  form.CtrlCheck.FromNativeClick();
  form.ShiftCheck.FromNativeClick();
  form.AltCheck.SetChecked(false);  // no change, no click
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, bool>>{
                      {"ShiftCheck", true}, {"CtrlCheck", true}, {"ShiftCheck", false}}));
}

// ---- after an add ----------------------------------------------------------------------------------

TEST_F(ComposerTest, AnAddResetsTheCaptionAndRefreshesBothLists) {
  PickTarget("T <1>");
  Load({"R_Click:640x480", "[F1]"});
  EXPECT_EQ(form.Caption(), "ZEPX - list.mcr");
  ClickRow(0);
  form.XLabel.SetValue(7);
  form.YLabel.SetValue(8);
  Add("L_Click");  // inserted at 0; row 1 (the R_Click) stays selected
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_EQ(BatchLines(), (Lines{"L_Click:7x8", "R_Click:640x480", "[F1]"}));
  EXPECT_EQ(form.XLabel.Value(), 640) << "the selection's point is shown again";
  EXPECT_TRUE(CopyPaste(true));
  EXPECT_EQ(list_form.SendList2.Items(), BatchLines());
  EXPECT_EQ(list_form.Caption(), "ZEPX Batch処理送信リスト <3行>");
  EXPECT_TRUE(EditButtons(true));
}

}  // namespace
}  // namespace zepx
