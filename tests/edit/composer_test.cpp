// The composer through the main window's own handlers: AddButton's click,
// the picks in CommandBox and ComboBoxEx1, the text field taking the focus.
#include "edit/composer.h"
#include "edit/edit_support.h"

namespace zepx {
namespace {

class ComposerTest : public EditTest {};

const char kNoText[] = "送信文字列を入力して下さい";
const char kNoTarget[] = "キー送信先アプリケーションを選択指定して下さい";
const char kTooMany[] = "登録できるコマンドは最大999個までです";

// Inserted inside the list, "[Windows]" is composed like any key; below a
// drop line, never between a drag and its drop.
TEST_F(ComposerTest, InsertedLinesAndWhereTheyGo) {
  Method(kSendWinMessage);
  PickTarget("Game <5>");
  form.AltCheck.SetChecked(true);
  form.SendTextEdit.SetText("hi");
  Load({"[Z]", "[Y]"});  // row 0 selected: the add is inserted at it
  Add("[Windows]");
  EXPECT_EQ(BatchLines(), (Texts{"[Windows]+Alt|>Game <5>", "[Z]", "[Y]"}));
  const char* d[] = {"L_Drag:NoSet", "L_Drop:NoSet"};
  const struct { int row; const char* kind; Texts want; int selected; } cases[] = {
      {2, "[C]", {"[A]", d[0], d[1], "[C]+Alt|>Game <5>", "[B]"}, 3},
      {2, "R_Drag&Drop", {"[A]", d[0], d[1], "R_Drag:NoSet", "R_Drop:NoSet", "[B]"}, 3},
      {1, "[C]", {"[A]", "[C]+Alt|>Game <5>", d[0], d[1], "[B]"}, 2},
      {0, "L_Drag&Drop", {d[0], d[1], "[A]", d[0], d[1], "[B]"}, 1},  // lands on the new drop line
      {3, "L_Click", {"[A]", d[0], d[1], "[B]", "L_Click:0x0"}, 4}};  // appended after the last row
  for (const auto& c : cases) {
    Load({"[A]", d[0], d[1], "[B]"});
    ClickRow(c.row);
    Add(c.kind);
    EXPECT_EQ(BatchLines(), c.want) << c.kind << " at row " << c.row;
    EXPECT_EQ(form.batch.Selected(), c.selected) << c.kind << " at row " << c.row;
    EXPECT_EQ(form.SendList.Items(), BatchLines());
  }
  form.batch.Clear();
  Add("時間(ミリ秒)");
  EXPECT_EQ(form.batch.Selected(), 0) << "appended to an empty list";
}

// What an appended line is refused for, in every method: the message, the
// focus, a list left as it was. Waits, clicks, drags and anything inserted
// are never checked; the text is asked for before the target.
TEST_F(ComposerTest, Refusals) {
  for (int method : {kSendEvent, kSendInput, kSendWinMessage}) {
    form.batch.Clear();
    Method(method);
    const struct { const char* kind; const char* text; bool target; const char* message; } cases[] = {
        {"[Text]", "", true, kNoText}, {"[Text]", "", false, kNoText}, {"[Text]", "a", false, kNoTarget},
        {"[F1]", "", false, kNoTarget}, {"[Windows]", "", false, kNoTarget}, {"【ZEP Event 1】", "", false, kNoTarget},
        {"[ｱﾌﾟﾘを前面に]", "a", false, kNoTarget}, {"[F1]", "", true, nullptr},
        {"時間(ミリ秒)", "", false, nullptr}, {"R_DClick", "", false, nullptr}, {"R_Drag&Drop", "", false, nullptr}};
    for (const auto& c : cases) {
      if (c.target) PickTarget("Game <5>");
      else form.AppComboBox.SetItems({"Other <1>"}), form.AppComboBox.SetText("typed <9>");
      form.SendTextEdit.SetText(c.text);
      form.SendTextEdit.FromNativeFocus(false);
      form.AppComboBox.SetDroppedDown(false);
      fake.boxes.clear();
      const Texts before = BatchLines();
      form.batch.Select(form.batch.Count() - 1);
      Add(c.kind);
      const std::string at = std::string(c.kind) + " in method " + std::to_string(method);
      EXPECT_EQ(BoxTexts(), c.message ? Texts{c.message} : Texts{}) << at;
      EXPECT_EQ(BatchLines().size() == before.size(), c.message != nullptr) << at << ": appended or refused";
      if (c.message == kNoText) EXPECT_TRUE(form.SendTextEdit.Focused()) << at;
      // The target field is pointed at only where it can be used.
      if (c.message == kNoTarget) EXPECT_EQ(form.AppComboBox.DroppedDown(), method == kSendWinMessage) << at;
    }
  }
  Load({"[A]", "[B]"});  // inserted, nothing is checked: the typed target goes with the key
  form.AppComboBox.SetItems({"Other <1>"});
  form.AppComboBox.SetText("typed <9>");
  Add("[F1]");
  EXPECT_EQ(form.batch.Text(0), "[F1]|>typed <9>");
  EXPECT_TRUE(fake.boxes.empty());
  // A refusal still leaves the window as an add does, and selects row
  // S + 1 when there is one.
  Load({"Wait=1", "Wait=2"});
  form.batch.Select(-1);
  Add("[F2]");
  EXPECT_EQ(BatchLines(), (Texts{"Wait=1", "Wait=2"}));
  EXPECT_TRUE(form.batch.Selected() == 0 && form.Caption() == "ZEPX" && EditButtons(true));
  EXPECT_EQ(list_form.Caption(), "ZEPX Batch処理送信リスト <2行>");
}

// 998 lines take one more, and a pair; 999 and more (a longer file) take
// nothing: the message, and the window left exactly as it was.
TEST_F(ComposerTest, TheListTakesNoLineBeyondLine999) {
  for (const char* kind : {"L_Click", "L_Drag&Drop"}) {
    Load(Texts(998, "Wait=1"));
    ClickRow(997);
    Add(kind);
    EXPECT_EQ(form.batch.Count(), kind[2] == 'C' ? 999 : 1000) << kind << " added to 998 lines";
    EXPECT_TRUE(fake.boxes.empty()) << kind << " added to 998 lines";
  }
  for (int lines : {999, 1000, 1200}) {
    Load(Texts(static_cast<std::size_t>(lines), "Wait=1"));
    ClickRow(lines == 1000 ? 5 : lines - 1);
    form.SetCaption("ZEPX - kept");
    Add("L_Click");
    EXPECT_EQ(form.batch.Count(), lines);
    EXPECT_EQ(BoxTexts(), Texts{kTooMany}) << lines << " lines";
    EXPECT_EQ(form.Caption(), "ZEPX - kept") << "the refusal at " << lines << " lines ends Add at once";
  }
}

// The reactions of the input area: each user action, the text mode it
// leaves (0 text, 1 application: sky blue, its list button on) and where the
// focus goes.
TEST_F(ComposerTest, TheReactionsOfTheInputArea) {
  const struct { const char* what; std::function<void()> act; int mode; const TControl* focus; } cases[] = {
      {"wait kind", [&] { form.CommandBox.FromNativeSelect(0); }, -1, &form.SpinEdit1},
      {"front-app kind", [&] { form.CommandBox.FromNativeSelect(kKindFrontApp); }, 1, &form.SendTextEdit},
      {"text kind", [&] { form.CommandBox.FromNativeSelect(kKindText); }, 0, &form.SendTextEdit},
      {"mode 1 picked", [&] { form.ComboBoxEx1.FromNativeSelect(1); }, 1, &form.SendTextEdit},
      {"mode 0 picked", [&] { form.ComboBoxEx1.FromNativeSelect(0); }, 0, &form.SendTextEdit}};
  for (int from : {0, 1}) {
    for (const auto& c : cases) {
      form.ComboBoxEx1.FromNativeSelect(from);
      for (TControl* f : std::initializer_list<TControl*>{&form.SendTextEdit, &form.SpinEdit1}) f->FromNativeFocus(false);
      c.act();
      const int mode = c.mode < 0 ? from : c.mode;
      EXPECT_EQ(form.ComboBoxEx1.ItemIndex(), mode) << c.what << " from mode " << from;
      EXPECT_EQ(form.SendTextEdit.Color(), mode == 1 ? 0x00F0CAA6u : kColorWindow) << c.what << " from mode " << from;
      EXPECT_EQ(form.GetAppButton2.Enabled(), mode == 1) << c.what << " from mode " << from;
      EXPECT_TRUE(c.focus->Focused()) << c.what << " from mode " << from << ": the focus goes to " << c.focus->Name;
    }
  }
  for (const char* kind : {"[+]", "[-]", "[*]", "[A]"}) form.CommandBox.FromNativeSelect(KindOf(kind));
  EXPECT_EQ(BoxTexts(), Texts(2, "[+]と[*]キーはテンキーコマンドの為、テンキーが無いPCの場合\r\n"
                                 "Shiftと同時押ししないと正しく出力されません。"));
  // Entering the text field chooses the kind of its mode, without the
  // reactions of a kind the user picked.
  for (int mode : {1, 0}) {
    form.ComboBoxEx1.SetItemIndex(mode);
    form.SendTextEdit.FromNativeFocus(false);
    form.SendTextEdit.FromNativeFocus(true);
    EXPECT_EQ(form.CommandBox.ItemIndex(), mode ? kKindFrontApp : kKindText);
  }
  EXPECT_EQ(fake.boxes.size(), 2u);
}

// The waits for a window or a colour in the input area: Add from their
// fields and its refusals, the fields that keep their kind when entered
// (the deadline is the wait field's, a title the text field's, a colour's
// point the coordinates'), and a pick that reads the colour under it.
TEST_F(ComposerTest, AddWritesTheWaitFromItsFieldsOrRefusesWithTheFieldInFocus) {
  form.SpinEdit1.SetValue(2500), form.XLabel.SetValue(120), form.YLabel.SetValue(45);
  form.WaitToleranceEdit.SetValue(300);  // typed, the field not yet left
  const int open = kKindWaitWindowOpen;
  const struct { int kind; const char* text; const char* color; bool stop; const char* want; TControl* focus; } rows[] = {
      {open, "無題 - メモ帳@@Notepad", "", true, "WaitWindow:Open,2500,Stop|無題 - メモ帳@@Notepad", nullptr},
      {open + 2, "ゼ[Drop]", "", false, "WaitWindow:Gone,2500,Next|ゼ[Drop]", nullptr},
      {kKindWaitColor, "", "ff880a", false, "WaitColor:FF880A,255,2500,Next|120x45", nullptr},
      {open + 1, "", "", true, kNoWaitTitleMessage, &form.SendTextEdit},
      {kKindWaitColor, "", "FF88", true, kBadColorMessage, &form.WaitColorEdit}};
  auto unfocus = [&] { form.WaitColorEdit.FromNativeFocus(false), form.SendTextEdit.FromNativeFocus(false); };
  for (const auto& r : rows) {
    form.batch.Clear(), fake.boxes.clear(), unfocus();
    // Picked by the user, then the title's or the point's field and the
    // deadline's entered: the kind stays.
    form.CommandBox.FromNativeSelect(r.kind);
    const bool color = r.kind == kKindWaitColor;
    EXPECT_TRUE(color ? form.WaitColorEdit.Focused() : form.SendTextEdit.Focused() && form.ComboBoxEx1.ItemIndex() == 1);
    for (TControl* field : {color ? static_cast<TControl*>(&form.XLabel) : &form.SendTextEdit, static_cast<TControl*>(&form.SpinEdit1)})
      field->FromNativeFocus(true);
    unfocus();
    form.SendTextEdit.SetText(r.text);
    form.WaitColorEdit.SetText(r.color);
    form.WaitStopCheck.SetChecked(r.stop);
    form.AddButton.Click();
    EXPECT_EQ(BatchLines(), r.focus ? Texts{} : Texts{r.want}) << r.want;
    EXPECT_EQ(fake.boxes.empty() ? "" : fake.boxes[0].text, r.focus ? r.want : "") << r.want;
    if (r.focus) EXPECT_TRUE(r.focus->Focused()) << r.want;
  }
  fake.cursor = {150, 140};
  for (auto [kind, rgb, want] : {std::tuple{kKindWaitColor, 0x12AB9Fu, "12AB9F"}, {kKindWaitColor - 1, 0u, "12AB9F"}}) {
    form.CommandBox.SetItemIndex(kind);
    fake.pixels[{150, 140}] = rgb;
    Pick(-1);
    EXPECT_EQ(form.WaitColorEdit.Text() + " " + Xy(), std::string(want) + " 150,140") << "only a wait for a colour reads one";
  }
}

}  // namespace
}  // namespace zepx
