// The batch list keeps each line's target with the line through every edit,
// and the main window's list box follows it.
#include <gtest/gtest.h>

#include "model/batch.h"
#include "shell/life_support.h"

namespace zepx {
namespace {

// Each edit shown as "line@target ... sel row", the main window's list box
// showing the same lines and row.
TEST(Batch, TargetsAndSelectionTravelWithTheirLinesAndTheListBoxFollows) {
  LifeFixture f;
  TMainForm& form = f.form;
  Batch& b = form.batch;
  auto shown = [&] {
    std::string s;
    for (int i = 0; i < b.Count(); ++i)
      s += b.Texts()[static_cast<std::size_t>(i)] + "@" + std::to_string(b.Target(i)) + " ";
    return s + "sel " + std::to_string(b.Selected());
  };
  b.SetLines({"L0", "L1", "L_Click:2x3", "L3"});
  for (int i = 0; i < 4; ++i) b.SetTarget(i, static_cast<Hwnd>(100 + i));
  const std::pair<std::function<void()>, const char*> steps[] = {
      {[&] { b.Select(2); }, "L0@100 L1@101 L_Click:2x3@102 L3@103 sel 2"},
      {[&] { b.Insert(1, "new"); }, "L0@100 new@0 L1@101 L_Click:2x3@102 L3@103 sel 3"},
      {[&] { b.Delete(0); }, "new@0 L1@101 L_Click:2x3@102 L3@103 sel 2"},
      {[&] { b.Move(2, 0); }, "L_Click:2x3@102 new@0 L1@101 L3@103 sel 0"},
      {[&] { b.Replace(3, "R_Drop:50x60"); }, "L_Click:2x3@102 new@0 L1@101 R_Drop:50x60@103 sel 0"},
      {[&] { b.Delete(0); }, "new@0 L1@101 R_Drop:50x60@103 sel -1"},  // the selected line is gone
      {[&] { b.SetTarget(7, 5); }, "new@0 L1@101 R_Drop:50x60@103 sel -1"},  // rows the list does not have
      {[&] { b.Select(3); }, "new@0 L1@101 R_Drop:50x60@103 sel -1"}};
  for (const auto& [step, want] : steps) {
    step();
    EXPECT_EQ(shown(), want);
    EXPECT_EQ(form.SendList.Items(), b.Texts());
    EXPECT_EQ(form.SendList.ItemIndex(), b.Selected());
  }
  EXPECT_EQ(b.Target(3) + b.Target(-1), 0u);
  EXPECT_THROW(b.Insert(4, "x"), std::out_of_range);
  EXPECT_THROW(b.Move(0, 3), std::out_of_range);
  // A row clicked in the list selects it in the batch and shows its point.
  form.SendList.FromNativeSelect(2);
  EXPECT_EQ(b.Selected(), 2);
  EXPECT_EQ(form.XLabel.Text() + "x" + form.YLabel.Text(), "50x60");
  b.Clear();
  EXPECT_TRUE(b.Empty() && form.SendList.Items().empty());
  EXPECT_EQ(b.Selected(), -1);
}

}  // namespace
}  // namespace zepx
