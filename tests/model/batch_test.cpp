// The batch list keeps each line's target with the line through every edit,
// and the main window's list box follows it.
#include <gtest/gtest.h>

#include "model/batch.h"
#include "shell/life_support.h"

namespace zepx {
namespace {

using Texts = std::vector<std::string>;

TEST(Batch, TargetsAndSelectionTravelWithTheirLines) {
  Batch b;
  b.SetLines({"L0", "L1", "L2", "L3"});
  for (int i = 0; i < 4; ++i) b.SetTarget(i, static_cast<Hwnd>(100 + i));
  b.Select(2);
  b.Insert(1, "new");
  EXPECT_EQ(b.Texts(), (Texts{"L0", "new", "L1", "L2", "L3"}));
  EXPECT_EQ(b.Targets(), (std::vector<Hwnd>{100, 0, 101, 102, 103}));
  EXPECT_EQ(b.Selected(), 3) << "still on L2";
  b.Delete(0);
  EXPECT_EQ(b.Targets(), (std::vector<Hwnd>{0, 101, 102, 103}));
  EXPECT_EQ(b.Selected(), 2);
  b.Move(2, 0);  // L2 up to the top
  EXPECT_EQ(b.Texts(), (Texts{"L2", "new", "L1", "L3"}));
  EXPECT_EQ(b.Targets(), (std::vector<Hwnd>{102, 0, 101, 103}));
  EXPECT_EQ(b.Selected(), 0);
  b.Replace(3, "L3'");
  EXPECT_EQ(b.Target(3), 103u);
  b.Delete(0);
  EXPECT_EQ(b.Selected(), -1) << "the selected line is gone";
  // Rows the list does not have: no target, nothing written, no selection.
  EXPECT_EQ(b.Target(3) + b.Target(-1), 0u);
  b.SetTarget(7, 5);
  b.Select(3);
  EXPECT_EQ(b.Count(), 3);
  EXPECT_EQ(b.Selected(), -1);
  EXPECT_THROW(b.Insert(4, "x"), std::out_of_range);
  EXPECT_THROW(b.Move(0, 3), std::out_of_range);
  b.Clear();
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Selected(), -1);
}

TEST(Batch, TheListBoxMirrorsEveryChangeAndTheUsersPickSelects) {
  LifeFixture f;
  TMainForm& form = f.form;
  Batch& b = form.batch;
  const std::function<void()> edits[] = {
      [&] { b.SetLines({"L_Click:10x20", "[A]", "R_Drop:30x40"}); }, [&] { b.Select(2); },
      [&] { b.Insert(0, "Wait=5"); }, [&] { b.Move(3, 1); }, [&] { b.Replace(1, "R_Drop:50x60"); },
      [&] { b.Delete(0); }};
  for (const auto& edit : edits) {
    edit();
    EXPECT_EQ(form.SendList.Items(), b.Texts());
    EXPECT_EQ(form.SendList.ItemIndex(), b.Selected());
  }
  // A row clicked in the list selects it in the batch and shows its point.
  form.SendList.FromNativeSelect(0);
  EXPECT_EQ(b.Selected(), 0);
  EXPECT_EQ(form.XLabel.Text() + "x" + form.YLabel.Text(), "50x60");
  b.Clear();
  EXPECT_TRUE(form.SendList.Items().empty());
}

}  // namespace
}  // namespace zepx
