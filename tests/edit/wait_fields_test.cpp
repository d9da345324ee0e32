// The waits for a window or a colour in the input area: Add from their
// fields and its refusals, the fields that keep their kind when entered
// (the deadline is the wait field's, a title the text field's, a colour's
// point the coordinates'), and a pick that reads the colour under it.
#include "edit/composer.h"
#include "edit/edit_support.h"

namespace zepx {
namespace {

class WaitFields : public EditTest {};

TEST_F(WaitFields, AddWritesTheWaitFromItsFieldsOrRefusesWithTheFieldInFocus) {
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
    EXPECT_EQ(BatchLines(), r.focus ? Lines{} : Lines{r.want}) << r.want;
    EXPECT_EQ(fake.boxes.empty() ? "" : fake.boxes[0].text, r.focus ? r.want : "") << r.want;
    if (r.focus) EXPECT_TRUE(r.focus->Focused()) << r.want;
  }
  fake.cursor = {150, 140};
  for (auto [kind, rgb, want] : {std::tuple{kKindWaitColor, 0x12AB9Fu, "12AB9F"}, {kKindWaitColor - 1, 0u, "12AB9F"}}) {
    form.CommandBox.SetItemIndex(kind);
    fake.pixels[{150, 140}] = rgb;
    Pick(-1);
    EXPECT_EQ(form.WaitColorEdit.Text() + " " + Shown(), std::string(want) + " 150,140") << "only a wait for a colour reads one";
  }
}

}  // namespace
}  // namespace zepx
