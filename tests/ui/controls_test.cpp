// The numeric spin edit, on the main window's own fields: reading a damaged
// text, clamping when the field is left, the key filter and its beep, steps
// at the bounds, and the switches that lock the text.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

constexpr int kVkUp = 0x26, kVkDown = 0x28, kVkDelete = 0x2E;

// Stands in for the native edit: keeps what it was told.
struct RecordingEdit : INativeControl {
  std::string text;
  bool read_only = false;
  int select_alls = 0;
  void SetText(const std::string& t) override { text = t; }
  void SetReadOnly(bool r) override { read_only = r; }
  void SelectAll() override { ++select_alls; }
};

class SpinEdit : public ::testing::Test {
 protected:
  RecordingEdit native;  // outlives the form bound to it
  FakePlatform fake;
  TApplication app;
  TMainForm form{fake.platform(), app};
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
  x.Bind(&native);
  for (const char* bad : {"", "-", "1-2", "12a", " 5", "1.5", "9223372036854775808"}) {
    x.FromNativeText(bad);
    EXPECT_EQ(x.Value(), 0) << bad;
    EXPECT_EQ(x.Text(), "0") << bad;
  }
  EXPECT_EQ(native.select_alls, 7);
  wait.FromNativeText("");
  EXPECT_EQ(wait.Value(), 1);
  EXPECT_EQ(wait.Text(), "1");
  x.FromNativeText("+42");
  EXPECT_EQ(x.Value(), 42);

  // Not selected while a click places the caret, nor without AutoSelect.
  x.FromNativeMouseButton(true);
  x.FromNativeText("");
  x.Value();
  x.FromNativeMouseButton(false);
  x.AutoSelect = false;
  x.FromNativeText("");
  x.Value();
  EXPECT_EQ(native.select_alls, 7);
}

TEST_F(SpinEdit, EnteringTheFieldSelectsItsTextUnlessAClickPlacesTheCaret) {
  x.Bind(&native);
  x.FromNativeFocusGained();
  EXPECT_EQ(native.select_alls, 1);
  x.FromNativeMouseButton(true);
  x.FromNativeFocusGained();
  EXPECT_EQ(native.select_alls, 1);
  EXPECT_TRUE(x.Focused());
}

TEST_F(SpinEdit, TypedAndWrittenValuesStayOutOfRangeUntilTheFieldIsLeft) {
  x.FromNativeFocusGained();
  x.FromNativeText("");
  Type(x, "12345");
  EXPECT_EQ(x.Value(), 12345);
  x.FromNativeFocusLost();
  EXPECT_EQ(x.Text(), "9999");

  x.SetValue(-20);  // a point picked left of the primary monitor
  EXPECT_EQ(x.Value(), -20);
  x.FromNativeFocusGained();
  EXPECT_EQ(x.Text(), "-20");
  x.FromNativeFocusLost();
  EXPECT_EQ(x.Text(), "0");

  x.FromNativeText("+12");  // in range: not even respelled
  x.FromNativeFocusLost();
  EXPECT_EQ(x.Text(), "+12");
  wait.FromNativeText("12-3");
  wait.FromNativeFocusLost();
  EXPECT_EQ(wait.Text(), "1");

  TWinSpinEdit unbounded{"Free", 0, 0, 1, 0};
  for (std::int64_t v : {-5, 123456}) {
    unbounded.SetValue(v);
    unbounded.FromNativeFocusLost();
    EXPECT_EQ(unbounded.Value(), v);
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

TEST_F(SpinEdit, WithTheEditorDisabledOnlyStepsChangeTheText) {
  x.EditorEnabled = false;
  Type(x, "7-\b\r");
  EXPECT_FALSE(x.FromNativeKeyDown(kVkDelete));
  EXPECT_EQ(Beeps(), 5u);
  EXPECT_TRUE(x.FromNativeChar(3));  // copying is fine
  EXPECT_FALSE(x.AcceptsCutAndPaste());
  x.FromNativeKeyDown(kVkUp);
  EXPECT_EQ(x.Text(), "1");
}

TEST_F(SpinEdit, StepsMoveByTheIncrementAndStopAtTheBounds) {
  wait.SetValue(3599950);
  wait.StepUp();
  EXPECT_EQ(wait.Text(), "3600000");
  wait.StepUp();
  EXPECT_EQ(wait.Text(), "3600000");
  wait.SetValue(150);
  wait.StepDown();
  wait.StepDown();
  EXPECT_EQ(wait.Text(), "1");

  // The arrow keys step, then go on to the field; a step clamps at once.
  EXPECT_TRUE(x.FromNativeKeyDown(kVkDown));
  EXPECT_EQ(x.Text(), "0");
  x.SetValue(-20);
  EXPECT_TRUE(x.FromNativeKeyDown(kVkUp));
  EXPECT_EQ(x.Text(), "0");
  x.SetValue(20000);
  x.StepDown();
  EXPECT_EQ(x.Text(), "9999");

  TWinSpinEdit unbounded{"Free", 0, 0, 5, 0};
  unbounded.SetValue(std::numeric_limits<std::int64_t>::max() - 2);
  unbounded.StepUp();
  EXPECT_EQ(unbounded.Value(), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(Beeps(), 0u);
}

TEST_F(SpinEdit, AReadOnlyFieldRefusesStepsAndTypingWithABeep) {
  x.SetReadOnly(true);
  x.Bind(&native);
  EXPECT_TRUE(native.read_only);
  x.SetValue(5);
  x.StepUp();
  x.FromNativeKeyDown(kVkDown);
  Type(x, "1\b");
  EXPECT_EQ(x.Text(), "5");
  EXPECT_EQ(Beeps(), 4u);
  EXPECT_FALSE(x.AcceptsCutAndPaste());
  x.SetReadOnly(false);
  EXPECT_FALSE(native.read_only);
  x.StepUp();
  EXPECT_EQ(native.text, "6");
}

}  // namespace
}  // namespace zepx
