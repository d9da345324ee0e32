// The picker with "ウインドウ基準の座標": points taken in the client area of
// the window under the pointer, shown, added, copied and pasted as lines
// bound to it; off, the screen points of before.
#include <gtest/gtest.h>

#include "shell/life_support.h"

namespace zepx {
namespace {

class BoundPick : public LifeFixture, public ::testing::Test {
 protected:
  void PickAt(int row) {  // a click at the cursor ends the pick
    form.batch.Select(row), form.XYButton.Click();
    fake.At(fake.now + 50, [this] { fake.UserLeftDown(), fake.UserLeftUp(); });
    fake.RunUntil(fake.now + 200);
  }
  void Add(int kind) { form.batch.Select(form.batch.Count() - 1), form.CommandBox.SetItemIndex(kind), form.AddButton.Click(); }
  std::int64_t Shown(int row) { return form.SendList.FromNativeSelect(row), form.XLabel.Value() * 1000 + form.YLabel.Value(); }
};

TEST_F(BoundPick, PickAddShowCopyAndPasteAPointBoundToTheWindow) {
  const Hwnd dialog = fake.AddWindow("設定ダイアログ", "#32770", {100, 100, 500, 400});
  fake.FindWindowByHandle(dialog)->dpi = 144;
  fake.AddWindow("", "Edit", {120, 130, 300, 300}, dialog);  // a child: its top-level window is the one
  fake.cursor = {250, 250};
  const std::string to = "100x100|設定ダイアログ@@#32770 <" + std::to_string(dialog) + ">";
  form.batch.SetLines({"L_Click:1x1", "Win:RDrop:5x5|a@@b"});
  form.WindowPointCheck.SetChecked(true);
  PickAt(0);
  Add(3);  // L_DClick
  Add(6);  // a drag pair stays unset
  EXPECT_EQ(Shown(1), 5005);
  Add(1);  // bound to the window of the line shown
  EXPECT_EQ(Shown(0), 100100) << "96-DPI client units";
  form.XYCopy.Click();
  Shown(1);
  form.XYPaste.Click();
  form.WindowPointCheck.SetChecked(false);  // off: as before
  Add(1);
  PickAt(0);
  Add(3);
  EXPECT_EQ(form.batch.Texts(), (std::vector<std::string>{"L_Click:250x250", "Win:RDrop:" + to, "Win:LDClick:" + to,
                                                          "R_Drag:NoSet", "R_Drop:NoSet", "Win:LClick:5x5|a@@b", "L_Click:100x100",
                                                          "L_DClick:250x250"}));
  form.WindowPointCheck.SetChecked(true), form.SaveSettings(), form.WindowPointCheck.SetChecked(false), form.LoadSettings();
  EXPECT_TRUE(form.WindowPointCheck.Checked()) << "kept in the registry";
}

}  // namespace
}  // namespace zepx
