// The numeric spin edit: what reading a damaged text gives, when a value is
// clamped, which typed characters reach the field and which beep, steps at
// the bounds and a read-only field.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"
#include "ui/controls.h"

namespace zepx {
namespace {

constexpr int kVkUp = 0x26;
constexpr int kVkDown = 0x28;
constexpr int kVkDelete = 0x2E;

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
  FakePlatform fake;
  RecordingEdit native;
  // The two kinds of field the program has most: the wait time and a
  // coordinate.
  TWinSpinEdit wait{"SpinEdit1", 1, 3600000, 100, 1000};
  TWinSpinEdit coord{"XLabel", 0, 9999, 1, 0};

  void SetUp() override {
    wait.SetSounds(&fake.platform().dialogs);
    coord.SetSounds(&fake.platform().dialogs);
  }
  std::size_t Beeps() const { return fake.Texts({"MessageBeep"}).size(); }

  // The user types at the end of the text: a character the field accepts
  // lands in the text, which the edit then reports.
  static void Type(TWinSpinEdit& e, const std::string& keys) {
    for (char c : keys) {
      if (!e.FromNativeChar(static_cast<unsigned char>(c))) continue;
      std::string t = e.Text();
      if (c == '\b') {
        if (!t.empty()) t.pop_back();
      } else {
        t += c;
      }
      e.FromNativeText(t);
    }
  }
};

TEST_F(SpinEdit, ATextThatIsNoIntegerReadsAsMinValueAndIsReplacedByIt) {
  coord.Bind(&native);
  for (const char* bad : {"", "-", "+", "1-2", "12a", " 5", "5 ", "1.5", "--3",
                          "9223372036854775808"}) {
    SCOPED_TRACE(std::string("text \"") + bad + "\"");
    coord.FromNativeText(bad);
    EXPECT_EQ(coord.Value(), 0);
    EXPECT_EQ(coord.Text(), "0");
    EXPECT_EQ(native.text, "0");
  }
  wait.FromNativeText("");
  EXPECT_EQ(wait.Value(), 1);
  EXPECT_EQ(wait.Text(), "1");

  // Signed numbers are integers, in range or not; they are left as typed.
  for (auto [text, value] : {std::pair<const char*, std::int64_t>{"+42", 42}, {"-7", -7},
                             {"0012", 12}, {"123456", 123456},
                             {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()}}) {
    coord.FromNativeText(text);
    EXPECT_EQ(coord.Value(), value) << text;
    EXPECT_EQ(coord.Text(), text);
  }
}

TEST_F(SpinEdit, TheReplacementIsSelectedUnlessAutoSelectIsOffOrTheMouseIsPlacingTheCaret) {
  coord.Bind(&native);
  coord.FromNativeText("7");
  coord.Value();
  EXPECT_EQ(native.select_alls, 0) << "a valid text is left alone";

  coord.FromNativeText("x");
  coord.Value();
  EXPECT_EQ(native.select_alls, 1);

  coord.FromNativeMouseButton(true);
  coord.FromNativeText("x");
  coord.Value();
  EXPECT_EQ(native.select_alls, 1);
  coord.FromNativeMouseButton(false);

  coord.AutoSelect = false;
  coord.FromNativeText("x");
  coord.Value();
  EXPECT_EQ(native.select_alls, 1);
  EXPECT_EQ(coord.Text(), "0");
}

TEST_F(SpinEdit, EnteringTheFieldSelectsItsTextExceptByAClickOrWithoutAutoSelect) {
  coord.Bind(&native);
  int entered = 0;
  coord.OnEnter = [&] { ++entered; };
  coord.FromNativeFocusGained();
  EXPECT_EQ(native.select_alls, 1);
  coord.FromNativeFocusLost();

  coord.FromNativeMouseButton(true);  // the click that focuses the field
  coord.FromNativeFocusGained();
  coord.FromNativeMouseButton(false);
  coord.FromNativeFocusLost();

  coord.AutoSelect = false;
  coord.FromNativeFocusGained();
  EXPECT_EQ(native.select_alls, 1);
  EXPECT_EQ(entered, 3);
  EXPECT_TRUE(coord.Focused());
}

TEST_F(SpinEdit, AnOutOfRangeValueStaysUntilTheFieldIsLeft) {
  coord.FromNativeFocusGained();
  coord.FromNativeText("");  // the selected "0" is typed over
  Type(coord, "12345");
  EXPECT_EQ(coord.Text(), "12345");
  EXPECT_EQ(coord.Value(), 12345);
  coord.FromNativeFocusLost();
  EXPECT_EQ(coord.Text(), "9999");
  EXPECT_FALSE(coord.Focused());

  // A picked coordinate left of the primary monitor, written by the program.
  int changes = 0;
  coord.OnChange = [&] { ++changes; };
  coord.SetValue(-20);
  EXPECT_EQ(coord.Text(), "-20");
  EXPECT_EQ(coord.Value(), -20);
  coord.FromNativeFocusGained();
  EXPECT_EQ(coord.Text(), "-20");
  coord.FromNativeFocusLost();
  EXPECT_EQ(coord.Text(), "0");
  EXPECT_EQ(changes, 2);

  // Leaving a field whose number is in range changes nothing, not even
  // its spelling; an empty one gets MinValue.
  coord.FromNativeText("+12");
  coord.FromNativeFocusLost();
  EXPECT_EQ(coord.Text(), "+12");
  wait.FromNativeText("");
  wait.FromNativeFocusLost();
  EXPECT_EQ(wait.Text(), "1");
  wait.FromNativeText("3600001");
  wait.FromNativeFocusLost();
  EXPECT_EQ(wait.Text(), "3600000");
}

TEST_F(SpinEdit, EqualBoundsMeanNoBoundsAtAll) {
  TWinSpinEdit free{"Free", 0, 0, 5, 0};
  for (std::int64_t v : {std::int64_t{-5}, std::int64_t{123456}}) {
    free.SetValue(v);
    free.FromNativeFocusLost();
    EXPECT_EQ(free.Value(), v);
  }
  free.StepUp();
  EXPECT_EQ(free.Value(), 123461);
  free.SetValue(-3);
  free.StepDown();
  EXPECT_EQ(free.Value(), -8);

  // At the ends of the 64-bit range a step stays put instead of wrapping.
  free.SetValue(std::numeric_limits<std::int64_t>::max() - 2);
  free.StepUp();
  EXPECT_EQ(free.Value(), std::numeric_limits<std::int64_t>::max());
  free.SetValue(std::numeric_limits<std::int64_t>::min() + 1);
  free.StepDown();
  EXPECT_EQ(free.Value(), std::numeric_limits<std::int64_t>::min());
}

TEST_F(SpinEdit, DigitsSignsAndTheDecimalSeparatorAreTypedAnythingElseBeeps) {
  Type(coord, "0123456789+-.");
  EXPECT_EQ(coord.Text(), "00123456789+-.");
  EXPECT_EQ(Beeps(), 0u);

  coord.FromNativeText("");
  Type(coord, "4a2 x,");
  EXPECT_EQ(coord.Text(), "42");
  EXPECT_EQ(Beeps(), 4u);

  // Control characters pass (Backspace, Escape, Ctrl+A, Ctrl+C, Ctrl+V);
  // Enter does not.
  fake.ClearCalls();
  for (std::uint32_t ch : {8u, 27u, 1u, 3u, 22u}) EXPECT_TRUE(coord.FromNativeChar(ch)) << ch;
  EXPECT_FALSE(coord.FromNativeChar(13));
  EXPECT_EQ(fake.Texts({"MessageBeep"}), std::vector<std::string>{"MessageBeep(0)"});

  // Nothing outside ASCII: a full-width digit, a cp932 lead byte, DEL.
  fake.ClearCalls();
  for (std::uint32_t ch : {0xFF11u, 0x82u, 127u}) EXPECT_FALSE(coord.FromNativeChar(ch)) << ch;
  EXPECT_EQ(Beeps(), 3u);

  // The separator is the user's.
  coord.DecimalSeparator = ',';
  EXPECT_TRUE(coord.FromNativeChar(','));
  EXPECT_FALSE(coord.FromNativeChar('.'));
}

TEST_F(SpinEdit, ASignOrSeparatorInTheMiddleIsTypedButTheTextThenReadsAsMinValue) {
  coord.FromNativeText("");
  Type(coord, "12-3");
  EXPECT_EQ(coord.Text(), "12-3");
  coord.FromNativeFocusLost();
  EXPECT_EQ(coord.Text(), "0");
  Type(coord, "\b-5");
  EXPECT_EQ(coord.Text(), "-5");
  coord.FromNativeFocusLost();
  EXPECT_EQ(coord.Text(), "0");
}

TEST_F(SpinEdit, WithTheEditorDisabledOnlyStepsChangeTheText) {
  coord.EditorEnabled = false;
  coord.SetValue(5);
  Type(coord, "7-\b\r");
  EXPECT_EQ(coord.Text(), "5");
  EXPECT_EQ(Beeps(), 4u);
  EXPECT_TRUE(coord.FromNativeChar(3));   // Ctrl+C copies
  EXPECT_TRUE(coord.FromNativeChar(27));  // Escape
  EXPECT_FALSE(coord.AcceptsCutAndPaste());
  EXPECT_FALSE(coord.FromNativeKeyDown(kVkDelete));
  EXPECT_EQ(Beeps(), 5u);

  EXPECT_TRUE(coord.FromNativeKeyDown(kVkUp));
  EXPECT_EQ(coord.Text(), "6");
  coord.StepDown();
  coord.StepDown();
  EXPECT_EQ(coord.Text(), "4");

  coord.EditorEnabled = true;
  EXPECT_TRUE(coord.AcceptsCutAndPaste());
  EXPECT_TRUE(coord.FromNativeKeyDown(kVkDelete));
}

TEST_F(SpinEdit, StepsMoveByTheIncrementAndStopAtTheBounds) {
  wait.SetValue(3599950);
  wait.StepUp();
  EXPECT_EQ(wait.Text(), "3600000");
  wait.StepUp();
  EXPECT_EQ(wait.Text(), "3600000");
  wait.SetValue(150);
  wait.StepDown();
  EXPECT_EQ(wait.Text(), "50");
  wait.StepDown();
  EXPECT_EQ(wait.Text(), "1");
  wait.StepDown();
  EXPECT_EQ(wait.Text(), "1");

  // The arrow keys step as the buttons do and still reach the field.
  EXPECT_TRUE(coord.FromNativeKeyDown(kVkDown));
  EXPECT_EQ(coord.Text(), "0");
  EXPECT_TRUE(coord.FromNativeKeyDown(kVkUp));
  EXPECT_TRUE(coord.FromNativeKeyDown(kVkUp));
  EXPECT_EQ(coord.Text(), "2");
  EXPECT_TRUE(coord.FromNativeKeyDown('A'));
  EXPECT_EQ(coord.Text(), "2");

  // A step starts from what the field reads, clamped at once: a program's
  // value out of range, or an empty text.
  coord.SetValue(-20);
  coord.StepUp();
  EXPECT_EQ(coord.Text(), "0");
  coord.SetValue(20000);
  coord.StepDown();
  EXPECT_EQ(coord.Text(), "9999");
  wait.FromNativeText("");
  wait.StepUp();
  EXPECT_EQ(wait.Text(), "101");
  EXPECT_EQ(Beeps(), 0u);
}

TEST_F(SpinEdit, AReadOnlyFieldRefusesStepsAndTypingWithABeep) {
  coord.Bind(&native);
  coord.SetReadOnly(true);
  EXPECT_TRUE(native.read_only);
  coord.SetValue(5);

  coord.StepUp();
  coord.StepDown();
  EXPECT_TRUE(coord.FromNativeKeyDown(kVkUp));
  EXPECT_EQ(coord.Text(), "5");
  EXPECT_EQ(Beeps(), 3u);

  Type(coord, "1\b");
  EXPECT_EQ(coord.Text(), "5");
  EXPECT_EQ(Beeps(), 5u);
  EXPECT_FALSE(coord.AcceptsCutAndPaste());
  EXPECT_TRUE(coord.FromNativeChar(3));  // copying is fine

  // The state reaches a native control bound later.
  RecordingEdit later;
  coord.Bind(&later);
  EXPECT_TRUE(later.read_only);
  coord.SetReadOnly(false);
  coord.StepUp();
  EXPECT_EQ(later.text, "6");
}

TEST_F(SpinEdit, TheMainWindowsFieldsBeepThroughThePlatform) {
  TApplication app;
  TMainForm form{fake.platform(), app};
  fake.ClearCalls();
  EXPECT_FALSE(form.XLabel.FromNativeChar('a'));
  EXPECT_FALSE(form.SpinEdit1.FromNativeChar('\r'));
  EXPECT_FALSE(form.ShiftAltCtrlDelay.FromNativeChar('z'));
  EXPECT_EQ(fake.Texts({"MessageBeep"}),
            (std::vector<std::string>{"MessageBeep(0)", "MessageBeep(0)", "MessageBeep(0)"}));
}

}  // namespace
}  // namespace zepx
