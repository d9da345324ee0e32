// The composer through the main window's own handlers: AddButton's click,
// the picks in CommandBox and ComboBoxEx1, the text field taking the focus.
#include <gtest/gtest.h>

#include "edit/edit_support.h"

namespace zepx {
namespace {

class ComposerTest : public EditTest {};

// Every one of the 85 kinds appended with all three modifier boxes checked,
// in WinMessage and in _event: the line each must give, by family.
TEST_F(ComposerTest, EveryKindAppendedWithAllModifiers) {
  for (int method : {kSendWinMessage, kSendEvent}) {
    form.batch.Clear();  // the switch would ask otherwise
    Method(method);
    PickTarget("Ultima Online <1234>");
    const std::string to = method == kSendWinMessage ? "|>Ultima Online <1234>" : "";
    for (TCheckBox* b : {&form.ShiftCheck, &form.AltCheck, &form.CtrlCheck}) b->SetChecked(true);
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
      else if (kind == 7) want = {"[Text]~~hello: 1x2" + to};
      else if (kind == 77 || kind == 82 || kind == 83) want = {caption};  // [Windows], events
      else if (kind == 84) want = {"[ｱﾌﾟﾘを前面に]@@hello: 1x2"};
      else want = {caption + "+Shift+Alt+Ctrl" + to};
      form.batch.Clear();
      Kind(kind);
      form.AddButton.Click();
      EXPECT_EQ(BatchLines(), want) << "method " << method << ", kind " << kind;
    }
  }
  EXPECT_TRUE(fake.boxes.empty());
}

// Inserted inside the list, texts and applications carry the modifiers
// after their key word and "[Windows]" is composed like any key; events
// stay bare. Below a drop line, never between a drag and its drop.
TEST_F(ComposerTest, InsertedLinesAndWhereTheyGo) {
  Method(kSendWinMessage);
  PickTarget("Game <5>");
  form.AltCheck.SetChecked(true);
  form.SendTextEdit.SetText("hi");
  Load({"[Z]", "[Y]"});  // row 0 selected: every add is inserted at it
  for (const char* k : {"[Text]", "[ｱﾌﾟﾘを前面に]", "[Windows]", "【ZEP Event 2】"}) Add(k);
  EXPECT_EQ(BatchLines(), (Lines{"[Text]+Alt~~hi|>Game <5>", "[ｱﾌﾟﾘを前面に]+Alt@@hi",
                                 "[Windows]+Alt|>Game <5>", "【ZEP Event 2】", "[Z]", "[Y]"}));
  EXPECT_EQ(form.batch.Selected(), 4) << "the row that was selected";

  const Lines list{"[A]", "L_Drag:NoSet", "L_Drop:NoSet", "[B]"};
  Load(list);
  ClickRow(2);
  Add("[C]");
  EXPECT_EQ(BatchLines(), (Lines{"[A]", "L_Drag:NoSet", "L_Drop:NoSet", "[C]+Alt|>Game <5>", "[B]"}));
  EXPECT_EQ(form.batch.Selected(), 3) << "the new line";
  Load(list);
  ClickRow(2);
  Add("R_Drag&Drop");
  EXPECT_EQ(BatchLines(), (Lines{"[A]", "L_Drag:NoSet", "L_Drop:NoSet", "R_Drag:NoSet",
                                 "R_Drop:NoSet", "[B]"}));
  Load(list);
  ClickRow(0);
  Add("L_Drag&Drop");  // inserted at S: the selection lands on the new drop line
  EXPECT_EQ(form.batch.Selected(), 1);
  EXPECT_EQ(form.batch.Text(1), "L_Drop:NoSet");
  EXPECT_EQ(form.SendList.Items(), BatchLines());

  form.batch.Clear();
  Add("時間(ミリ秒)");
  EXPECT_EQ(form.batch.Selected(), 0) << "appended to an empty list";
}

TEST_F(ComposerTest, TheThreeRefusals) {
  // The text is asked for before the target, and nothing is added.
  Method(kSendWinMessage);
  Add("[Text]");
  EXPECT_EQ(BoxTexts(), (Lines{"送信文字列を入力して下さい"}));
  EXPECT_TRUE(form.SendTextEdit.Focused());

  // Appended keys, events, applications need a chosen target in every
  // method; waits, clicks, drags and anything inserted never do.
  for (int method : {kSendEvent, kSendInput, kSendWinMessage}) {
    Method(method);
    form.AppComboBox.SetItems({"Other <1>"});
    form.AppComboBox.SetText("typed <9>");
    form.batch.Clear();
    fake.boxes.clear();
    for (const char* kind : {"[F1]", "[Windows]", "【ZEP Event 1】", "[ｱﾌﾟﾘを前面に]"}) Add(kind);
    EXPECT_EQ(BoxTexts(), Lines(4, "キー送信先アプリケーションを選択指定して下さい")) << method;
    // The field is pointed at only where it can be used.
    EXPECT_EQ(form.AppComboBox.DroppedDown(), method == kSendWinMessage);
    fake.boxes.clear();
    for (const char* kind : {"時間(ミリ秒)", "R_DClick", "R_Drag&Drop"}) Add(kind);
    ClickRow(0);
    Add("[F1]");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(form.batch.Text(0), method == kSendWinMessage ? "[F1]|>typed <9>" : "[F1]");
    form.AppComboBox.SetDroppedDown(false);
  }

  // A refusal still leaves the window as an add does, and selects row
  // S + 1 when there is one.
  Load({"Wait=1", "Wait=2"});
  form.batch.Select(-1);
  Add("[F2]");
  EXPECT_EQ(BatchLines(), (Lines{"Wait=1", "Wait=2"}));
  EXPECT_EQ(form.batch.Selected(), 0);
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_TRUE(EditButtons(true));
  EXPECT_EQ(list_form.Caption(), "ZEPX Batch処理送信リスト <2行>");

  // 998 lines still take a pair; then, and in a longer loaded file, the
  // limit ends Add at once.
  Load(Lines(998, "Wait=1"));
  ClickRow(997);
  Add("L_Drag&Drop");
  EXPECT_EQ(form.batch.Count(), 1000);
  fake.boxes.clear();
  form.SetCaption("ZEPX - kept");
  Add("時間(ミリ秒)");
  Load(Lines(1200, "Wait=1"));
  ClickRow(5);
  Add("L_Click");
  EXPECT_EQ(form.batch.Count(), 1200);
  EXPECT_EQ(BoxTexts(), Lines(1, "登録できるコマンドは最大999個までです"));
}

TEST_F(ComposerTest, TheReactionsOfTheInputArea) {
  form.CommandBox.FromNativeSelect(0);
  EXPECT_TRUE(form.SpinEdit1.Focused());
  form.CommandBox.FromNativeSelect(kKindFrontApp);
  EXPECT_EQ(form.ComboBoxEx1.ItemIndex(), 1);
  EXPECT_EQ(form.SendTextEdit.Color(), 0x00F0CAA6u);
  EXPECT_TRUE(form.GetAppButton2.Enabled());
  EXPECT_TRUE(form.SendTextEdit.Focused());
  form.ComboBoxEx1.FromNativeSelect(0);
  EXPECT_EQ(form.SendTextEdit.Color(), kColorWindow);
  EXPECT_FALSE(form.GetAppButton2.Enabled());

  for (const char* kind : {"[+]", "[-]", "[*]", "[A]"}) form.CommandBox.FromNativeSelect(KindOf(kind));
  EXPECT_EQ(BoxTexts(), Lines(2, "[+]と[*]キーはテンキーコマンドの為、テンキーが無いPCの場合\r\n"
                                 "Shiftと同時押ししないと正しく出力されません。"));

  // Entering the text field chooses the kind of its mode, without the
  // reactions of a kind the user picked.
  form.ComboBoxEx1.SetItemIndex(1);
  form.SendTextEdit.FromNativeFocus(false);
  form.SendTextEdit.FromNativeFocus(true);
  EXPECT_EQ(form.CommandBox.ItemIndex(), kKindFrontApp);
  form.ComboBoxEx1.SetItemIndex(0);
  form.SendTextEdit.FromNativeFocus(false);
  form.SendTextEdit.FromNativeFocus(true);
  EXPECT_EQ(form.CommandBox.ItemIndex(), kKindText);
  EXPECT_EQ(fake.boxes.size(), 2u);

  std::vector<std::pair<std::string, bool>> mirrored;
  form.composer.MirrorModifier = [&](const std::string& name, bool on) { mirrored.push_back({name, on}); };
  form.ShiftCheck.FromNativeClick();
  form.CtrlCheck.FromNativeClick();
  form.ShiftCheck.FromNativeClick();
  EXPECT_EQ(mirrored, (std::vector<std::pair<std::string, bool>>{
                          {"ShiftCheck", true}, {"CtrlCheck", true}, {"ShiftCheck", false}}));
}

}  // namespace
}  // namespace zepx
