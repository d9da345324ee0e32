// The picker with "ウインドウ基準の座標": points taken in the client area of
// the window under the pointer, shown, added, copied and pasted as lines
// bound to it; off, the screen points of before.
#include <gtest/gtest.h>

#include "shell/life_support.h"

namespace zepx {
namespace {

class BoundPick : public LifeFixture, public ::testing::Test {
 protected:
  void PickAt(Point p, int row) {
    fake.cursor = p;
    form.batch.Select(row);
    form.XYButton.Click();
    fake.At(fake.now + 50, [this] { fake.UserLeftDown(), fake.UserLeftUp(); });
    fake.RunUntil(fake.now + 200);
  }
  void Add(int kind) {
    form.batch.Select(form.batch.Count() - 1);
    form.CommandBox.SetItemIndex(kind);
    form.AddButton.Click();
  }
  std::string Xy() const { return form.XLabel.Text() + "," + form.YLabel.Text(); }
  Hwnd dialog = fake.AddWindow("設定ダイアログ", "#32770", {100, 100, 500, 400});
};

TEST_F(BoundPick, PickAddShowCopyAndPasteAPointBoundToTheWindow) {
  fake.FindWindowByHandle(dialog)->dpi = 144;
  fake.AddWindow("", "Edit", {120, 130, 300, 300}, dialog);  // a child: the top-level window is bound
  const std::string to = "|設定ダイアログ@@#32770 <" + std::to_string(dialog) + ">";
  form.batch.SetLines({"L_Click:1x1", "Win:RDrop:5x5|a@@b"});
  form.WindowPointCheck.SetChecked(true);
  PickAt({250, 250}, 0);
  EXPECT_EQ(Xy(), "100,100") << "96-DPI client units";
  Add(3);  // L_DClick
  form.SendList.FromNativeSelect(1);
  EXPECT_EQ(Xy(), "5,5");
  form.SendList.FromNativeSelect(0);
  form.XYCopy.Click();
  form.SendList.FromNativeSelect(1);
  form.XYPaste.Click();
  EXPECT_EQ(form.batch.Texts(), (std::vector<std::string>{"Win:LClick:100x100" + to, "Win:RDrop:100x100" + to,
                                                          "Win:LDClick:100x100" + to}));
  form.WindowPointCheck.SetChecked(false);  // off: as before
  Add(1);
  PickAt({250, 250}, 1);
  Add(3);
  EXPECT_EQ(form.batch.Text(1), "R_Drop:250x250");
  EXPECT_EQ(form.batch.Texts().back(), "L_DClick:250x250");
  EXPECT_EQ(form.batch.Text(3), "L_Click:100x100");
}

}  // namespace
}  // namespace zepx
