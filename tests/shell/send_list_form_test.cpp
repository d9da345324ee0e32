// The detached list window: opened from BitBtn4 beside the main window, a
// copy of the batch after every change, its own Up, Down and Clear, and
// its opacity bar.
#include <gtest/gtest.h>

#include "edit/edit_support.h"

namespace zepx {
namespace {

class SendListFormTest : public EditTest {
 protected:
  const FakePlatform::Window& ListWindow() { return *fake.FindWindowByHandle(list_form.Handle()); }
  bool Layered() { return ListWindow().ex_style & static_cast<std::int32_t>(win::WS_EX_LAYERED); }
};

TEST_F(SendListFormTest, OpenedBesideTheMainWindowAndFollowingTheBatch) {
  Load({"L_Drag:NoSet", "L_Drop:NoSet", "[C]"});
  form.BitBtn4.Click();
  EXPECT_TRUE(list_form.Visible());
  EXPECT_TRUE(fake.Texts({"ShowModal"}).empty()) << "the main window is not held up";
  EXPECT_EQ(list_form.Caption(), "ZEPX Batch処理送信リスト (3行)");
  EXPECT_TRUE(list_form.UpButton.Enabled()) << "a main row is selected";

  // Whatever changes the batch, the copy follows: a coordinate paste, the
  // composer, a delete.
  form.batch.Replace(0, WithCoordinates(form.batch.Text(0), 10, 20));
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

TEST_F(SendListFormTest, ItsUpAndDownMoveTheBatchLineWithItsTarget) {
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
  EXPECT_EQ(form.batch.Text(0), "[C]|>c <3>");
  EXPECT_EQ(form.Caption(), "ZEPX - kept");
}

TEST_F(SendListFormTest, TheBarSetsTheOpacityAndOpaqueEndsTranslucency) {
  list_form.LayerBar.FromNativePosition(254);
  EXPECT_TRUE(Layered());
  EXPECT_EQ(ListWindow().alpha, std::optional<std::uint8_t>(254));
  list_form.LayerBar.FromNativePosition(40);  // the bar stops at 100
  EXPECT_EQ(ListWindow().alpha, std::optional<std::uint8_t>(100));
  list_form.LayerBar.FromNativePosition(255);
  EXPECT_FALSE(Layered());
  EXPECT_FALSE(fake.FindWindowByHandle(form.Handle())->alpha.has_value()) << "the main window's own";
}

TEST_F(SendListFormTest, WithoutTheFunctionTheWindowStaysUnlayered) {
  fake.has_layered_function = false;
  list_form.LayerBar.FromNativePosition(150);
  EXPECT_FALSE(Layered()) << "a layered window without attributes would not be drawn";
  EXPECT_TRUE(fake.loaded_libraries.empty()) << "the library was given back";
}

}  // namespace
}  // namespace zepx
