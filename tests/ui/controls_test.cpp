// The numeric spin edit, on the main window's own fields: the ranges and
// hints the user meets, reading a damaged text, clamping when the field is
// left, the key filter and its beep, steps at the bounds, and the switches
// that lock the text.
#include <gtest/gtest.h>

#include "shell/life_support.h"

namespace zepx {
namespace {

constexpr int kVkUp = 0x26, kVkDown = 0x28, kVkDelete = 0x2E;

// Stands in for the native edit: counts the selections asked of it.
struct SelectCounter : INativeControl {
  int select_alls = 0;
  void SelectAll() override { ++select_alls; }
};

struct EditFirst {
  SelectCounter edit;  // outlives the form bound to it
};

class SpinEdit : public EditFirst, public LifeFixture, public ::testing::Test {
 protected:
  TWinSpinEdit& x = form.XLabel;        // 0..9999, step 1
  TWinSpinEdit& wait = form.SpinEdit1;  // 1..3600000, step 100
  std::size_t Beeps() const { return fake.Texts({"MessageBeep"}).size(); }
  // Types at the end of the text whatever the field lets through.
  static void Type(TWinSpinEdit& e, const std::string& keys) {
    for (char c : keys) {
      if (!e.FromNativeChar(static_cast<unsigned char>(c))) continue;
      std::string t = e.Text();
      if (c != '\b') t += c;
      else if (!t.empty()) t.pop_back();
      e.FromNativeText(t);
    }
  }
};

TEST_F(SpinEdit, ATextThatIsNoDecimalIntegerReadsAsMinValueShownSelected) {
  x.Bind(&edit);
  for (const char* bad : {"", "-", "1-2", "12a", " 5", "1.5", "9223372036854775808"}) {
    x.FromNativeText(bad);
    EXPECT_EQ(x.Value(), 0) << bad;
    EXPECT_EQ(x.Text(), "0") << bad;
  }
  EXPECT_EQ(edit.select_alls, 7);
  // Not selected while a click places the caret, nor without AutoSelect;
  // entering the field selects unless a click places the caret.
  x.FromNativeMouseButton(true);
  x.FromNativeText("");
  x.Value();
  x.FromNativeFocusGained();
  x.FromNativeMouseButton(false);
  x.AutoSelect = false;
  x.FromNativeText("");
  x.Value();
  EXPECT_EQ(edit.select_alls, 7);
  x.AutoSelect = true;
  x.FromNativeFocusGained();
  EXPECT_EQ(edit.select_alls, 8);
  EXPECT_TRUE(x.Focused());
}

TEST_F(SpinEdit, TypedAndWrittenValuesStayOutOfRangeUntilTheFieldIsLeft) {
  const std::tuple<TWinSpinEdit*, const char*, const char*, const char*> cases[] = {
      {&x, "12345", "12345", "9999"}, {&x, "-20", "-20", "0"},  // a point left of the primary monitor
      {&x, "+12", "+12", "+12"},                                // in range: not even respelled
      {&wait, "12-3", "1", "1"},      {&wait, "", "1", "1"}};
  for (const auto& [field, typed, kept, left] : cases) {
    field->FromNativeFocusGained();
    field->FromNativeText(typed);
    field->Value();
    EXPECT_EQ(field->Text(), kept) << field->Name << " " << typed;
    field->FromNativeFocusLost();
    EXPECT_EQ(field->Text(), left) << field->Name << " " << typed;
  }
}

TEST_F(SpinEdit, DigitsSignsTheSeparatorAndControlCharactersButEnterAreTypedTheRestBeeps) {
  x.FromNativeText("");
  Type(x, "4a2 -+.x");
  EXPECT_EQ(x.Text(), "42-+.");
  EXPECT_EQ(Beeps(), 3u);
  for (std::uint32_t ch : {8u, 27u, 3u, 22u}) EXPECT_TRUE(x.FromNativeChar(ch)) << ch;
  for (std::uint32_t ch : {13u, 127u, 0x82u, 0xFF11u}) EXPECT_FALSE(x.FromNativeChar(ch)) << ch;
  EXPECT_EQ(fake.Texts({"MessageBeep"}), std::vector<std::string>(7, "MessageBeep(0)"));
  x.DecimalSeparator = ',';
  EXPECT_TRUE(x.FromNativeChar(','));
  EXPECT_FALSE(x.FromNativeChar('.'));
}

TEST_F(SpinEdit, StepsMoveByTheIncrementStopAtTheBoundsAndClampAtOnce) {
  const std::tuple<TWinSpinEdit*, std::int64_t, bool, int, const char*> cases[] = {
      {&wait, 3599950, true, 2, "3600000"}, {&wait, 150, false, 2, "1"}, {&wait, 1000, true, 1, "1100"},
      {&x, -20, true, 1, "0"}, {&x, 20000, false, 1, "9999"}, {&form.SpinEdit3, 23, true, 1, "23"},
      {&form.SpinEdit4, 0, false, 1, "0"}, {&form.SpinEdit4, 58, true, 2, "59"}};
  for (const auto& [field, start, up, times, shown] : cases) {
    field->SetValue(start);
    for (int i = 0; i < times; ++i) up ? field->StepUp() : field->StepDown();
    EXPECT_EQ(field->Text(), shown) << field->Name << " from " << start;
  }
  // The arrow keys step, then go on to the field.
  x.SetValue(5);
  EXPECT_TRUE(x.FromNativeKeyDown(kVkDown));
  EXPECT_TRUE(x.FromNativeKeyDown(kVkDown));
  EXPECT_TRUE(x.FromNativeKeyDown(kVkUp));
  EXPECT_EQ(x.Text(), "4");
  TWinSpinEdit unbounded{"Free", 0, 0, 5, 0};  // no bounds when both are 0
  unbounded.SetValue(-5);
  unbounded.FromNativeFocusLost();
  EXPECT_EQ(unbounded.Value(), -5);
  unbounded.SetValue(std::numeric_limits<std::int64_t>::max() - 2);
  unbounded.StepUp();
  EXPECT_EQ(unbounded.Value(), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(Beeps(), 0u);
}

TEST_F(SpinEdit, ALockedEditorOrAReadOnlyFieldRefusesTypingWithABeep) {
  x.EditorEnabled = false;
  Type(x, "7-\b\r");
  EXPECT_FALSE(x.FromNativeKeyDown(kVkDelete));
  EXPECT_EQ(Beeps(), 5u);
  EXPECT_TRUE(x.FromNativeChar(3));  // copying is fine
  EXPECT_FALSE(x.AcceptsCutAndPaste());
  x.FromNativeKeyDown(kVkUp);
  EXPECT_EQ(x.Text(), "1") << "only steps change the text";

  x.EditorEnabled = true;
  x.SetReadOnly(true);
  x.SetValue(5);
  x.StepUp();
  x.FromNativeKeyDown(kVkDown);
  Type(x, "1\b");
  EXPECT_EQ(x.Text(), "5");
  EXPECT_EQ(Beeps(), 9u);
  EXPECT_FALSE(x.AcceptsCutAndPaste());
  x.SetReadOnly(false);
  EXPECT_TRUE(x.AcceptsCutAndPaste());
}

TEST(Controls, ChecksAndChoicesRunTheirHandlersOnlyOnAChange) {
  TCheckBox box{"Box"};
  TRadioGroup group{"Group"};
  int clicks = 0, selects = 0;
  box.OnClick = [&] { ++clicks; };
  group.OnSelect = [&] { ++selects; };
  group.SetItems({"a", "b"});
  for (bool c : {false, true, true, false}) box.SetChecked(c);
  for (int i : {1, 1, 5}) group.SetItemIndex(i);  // 5 is no item: nothing chosen
  EXPECT_EQ(std::to_string(clicks) + " clicks " + std::to_string(selects) + " selects", "2 clicks 2 selects");
  EXPECT_EQ(group.ItemIndex(), -1);
}

TEST(Controls, AListsSelectionFollowsItsItemThroughInsertAndDelete) {
  TListBox list{"List"};
  list.SetItems({"a", "b", "c"});
  list.SetItemIndex(1);
  const std::pair<std::function<void()>, int> steps[] = {
      {[&] { list.Insert(1, "x"); }, 2},  // at the selected row: the selection moves down with its item
      {[&] { list.Insert(3, "y"); }, 2}, {[&] { list.Delete(0); }, 1}, {[&] { list.Delete(1); }, -1},
      {[&] { list.SetItemIndex(list.Count()); }, -1}};
  for (const auto& [step, selected] : steps) {
    step();
    EXPECT_EQ(list.ItemIndex(), selected);
  }
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"x", "y", "c"}));
}

}  // namespace
}  // namespace zepx
