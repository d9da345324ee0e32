// The waits for a window or a colour in the input area: Add from their
// fields and its refusals, the fields that keep their kind when entered,
// and a pick that reads the colour under the point.
#include "edit/composer.h"
#include "edit/edit_support.h"

namespace zepx {
namespace {

class WaitFields : public EditTest {};

TEST_F(WaitFields, AddWritesTheWaitFromItsFieldsOrRefusesWithTheFieldInFocus) {
  form.SpinEdit1.SetValue(2500);
  form.XLabel.SetValue(120);
  form.YLabel.SetValue(45);
  form.WaitToleranceEdit.SetValue(300);  // typed, the field not yet left
  const struct { int kind; const char* text; const char* color; bool stop; const char* want; TControl* focus; } rows[] = {
      {kKindWaitWindowOpen, "無題 - メモ帳@@Notepad", "", true, "WaitWindow:Open,2500,Stop|無題 - メモ帳@@Notepad", nullptr},
      {kKindWaitWindowOpen + 2, "ゼ[Drop]", "", false, "WaitWindow:Gone,2500,Next|ゼ[Drop]", nullptr},
      {kKindWaitColor, "", "ff880a", false, "WaitColor:FF880A,255,2500,Next|120x45", nullptr},
      {kKindWaitWindowOpen + 1, "", "", true, kNoWaitTitleMessage, &form.SendTextEdit},
      {kKindWaitWindowOpen, "Save@@", "", true, kNoWaitTitleMessage, &form.SendTextEdit},
      {kKindWaitColor, "", "FF88", true, kBadColorMessage, &form.WaitColorEdit},
      {kKindWaitColor, "", "#FF880", true, kBadColorMessage, &form.WaitColorEdit},
  };
  for (const auto& r : rows) {
    form.batch.Clear();
    fake.boxes.clear();
    form.SendTextEdit.SetText(r.text);
    form.WaitColorEdit.SetText(r.color);
    form.WaitStopCheck.SetChecked(r.stop);
    form.SpinEdit1.SetFocus();
    form.CommandBox.SetItemIndex(r.kind);
    form.AddButton.Click();
    EXPECT_EQ(BatchLines(), r.focus ? Lines{} : Lines{r.want}) << r.want;
    EXPECT_EQ(fake.boxes.empty() ? "" : fake.boxes[0].text, r.focus ? r.want : "") << r.want;
    if (r.focus) EXPECT_TRUE(r.focus->Focused()) << r.want;
  }
}

// The deadline is the wait field's, a window's title the text field's and
// a colour's point the coordinates': entering them keeps the kind.
TEST_F(WaitFields, EnteringTheirFieldsKeepsTheKindAndAPickReadsTheColour) {
  for (int kind : {kKindWaitWindowOpen, kKindWaitWindowOpen + 1, kKindWaitColor}) {
    form.CommandBox.FromNativeSelect(kind);
    EXPECT_TRUE(kind == kKindWaitColor ? form.WaitColorEdit.Focused()
                                       : form.SendTextEdit.Focused() && form.ComboBoxEx1.ItemIndex() == 1);
    for (TControl* field : std::initializer_list<TControl*>{&form.SpinEdit1, &form.SendTextEdit, &form.XLabel}) {
      if (kind != kKindWaitColor && field == &form.XLabel) continue;
      if (kind == kKindWaitColor && field == &form.SendTextEdit) continue;
      form.AddButton.SetFocus();
      field->SetFocus();
      EXPECT_EQ(form.CommandBox.ItemIndex(), kind) << field->Name;
    }
  }
  fake.pixels[{150, 140}] = 0x12AB9F;
  fake.cursor = {150, 140};
  form.XYButton.Click();
  fake.At(fake.now + 50, [&] { fake.UserLeftDown(), fake.UserLeftUp(); });
  fake.RunUntil(fake.now + 200);
  EXPECT_EQ(form.WaitColorEdit.Text() + " " + Shown(), "12AB9F 150,140");
  form.CommandBox.SetItemIndex(kKindWaitColor - 1);
  form.XYButton.Click();
  fake.pixels[{150, 140}] = 0;
  fake.At(fake.now + 50, [&] { fake.UserLeftDown(), fake.UserLeftUp(); });
  fake.RunUntil(fake.now + 200);
  EXPECT_EQ(form.WaitColorEdit.Text(), "12AB9F") << "only a wait for a colour reads one";
}

}  // namespace
}  // namespace zepx
