// The list stays editable while a run goes on: the function keys add, Up,
// Down, Clear and Load work. The run must follow: a new line reaches its
// window, moved lines keep theirs, a list cleared or shortened never makes
// the run read a row the list does not have.
#include <gtest/gtest.h>

#include "edit/edit_support.h"
#include "run/run_support.h"

namespace zepx {
namespace {

class EditingUnderRunTest : public EditTest {
 protected:
  EditingUnderRunTest() {
    form.AutoHandleCheckBox.SetChecked(true);
    form.KeyAfterDelay.SetValue(100);
    form.LoopSpinEdit.SetValue(0);  // endless until stopped
  }
  std::string CharsPostedTo(Hwnd w) const {
    std::string s;
    for (const auto& p : fake.posted)
      if (p.hwnd == w && p.msg == win::WM_CHAR) s += static_cast<char>(p.wparam);
    return s;
  }
  int KeyDownsPostedTo(Hwnd w, std::uintptr_t vk) const {
    int n = 0;
    for (const auto& p : fake.posted)
      if (p.hwnd == w && p.msg == win::WM_KEYDOWN && p.wparam == vk) ++n;
    return n;
  }
  static std::string Target(const char* title, Hwnd w) { return ComposeTargetDescriptor(title, w); }
};

TEST_F(EditingUnderRunTest, AFunctionKeyLineAddedToAWinMessageRunReachesItsWindow) {
  Method(kSendWinMessage);
  // Topmost first: the run's refresh of the application list chooses its
  // third entry, Probe B.
  const Hwnd b = fake.AddWindow("Probe B", "ProbeClass");
  const Hwnd a = fake.AddWindow("Probe A", "ProbeClass");
  fake.AddWindow("Other", "OtherClass");
  Load({"[Text]~~x|>" + Target("Probe A", a), "Wait=1000"});

  // Row 1 is the last row; the run has AddButton disabled.
  fake.At(1500, [&] {
    EXPECT_FALSE(form.AddButton.Enabled());
    ClickRow(1);
    Key(win::VK_F1 + 2);  // F3
  });
  fake.At(4000, [&] { form.BitBtn3Click(); });
  form.BitBtn1Click();

  EXPECT_EQ(form.batch.Text(2), "[F3]|>" + Target("Probe B", b));
  EXPECT_EQ(form.batch.Target(2), b);
  EXPECT_GE(KeyDownsPostedTo(b, 0x72), 1) << "the new line was sent to its window";
  EXPECT_EQ(KeyDownsPostedTo(a, 0x72), 0);
  EXPECT_GE(CharsPostedTo(a).size(), 2u) << "the old line still went to its own";
}

TEST_F(EditingUnderRunTest, LinesMovedUnderTheRunKeepTheirWindows) {
  Method(kSendWinMessage);
  const Hwnd a = fake.AddWindow("Probe A", "ProbeClass");
  const Hwnd b = fake.AddWindow("Probe B", "ProbeClass");
  Load({"[Text]~~a|>" + Target("Probe A", a), "[Text]~~b|>" + Target("Probe B", b), "Wait=800"});
  // In the wait of the first pass: swap the two text lines.
  fake.At(1500, [&] {
    ClickRow(0);
    form.DownButton.Click();
  });
  fake.At(2900, [&] { form.BitBtn3Click(); });  // in the wait of the second pass
  form.BitBtn1Click();

  EXPECT_EQ(form.batch.Text(0), "[Text]~~b|>" + Target("Probe B", b));
  EXPECT_EQ(CharsPostedTo(a), "aa");
  EXPECT_EQ(CharsPostedTo(b), "bb");
}

TEST_F(EditingUnderRunTest, AListClearedUnderTheRunEndsIt) {
  // One pass, then a chain file: a cleared list must not count as a pass
  // and go on with the chain.
  form.LoopSpinEdit.SetValue(1);
  form.NextLoopCheck.SetChecked(true);
  form.settings.Loop[0] = "C:\\m\\next.mcr";
  fake.files["C:\\m\\next.mcr"] = Mcr({"Wait=1700"});
  Load({"Wait=700", "Wait=900"});
  fake.At(1300, [&] {
    fake.answers = {MsgResult::Yes};
    list_form.ClearButton.Click();
  });
  form.BitBtn1Click();

  EXPECT_FALSE(form.Running());
  EXPECT_TRUE(form.batch.Empty());
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{700})) << "nothing ran after the clear";
  EXPECT_EQ(form.engine.PassCount, 0);
  EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
  EXPECT_EQ(form.Caption(), "ZEPX");
  EXPECT_TRUE(fake.hotkeys.size() <= 1u) << "the stop key was given back";
  EXPECT_EQ(fake.ActiveTimers(), 0u);
}

TEST_F(EditingUnderRunTest, AShorterListLoadedUnderTheRunIsRunWithinItsLines) {
  Load({"Wait=300", "Wait=400", "Wait=500"});
  fake.files["C:\\m\\short.mcr"] = Mcr({"Wait=600"});
  fake.At(1100, [&] { form.LoadMacro("C:\\m\\short.mcr"); });  // in the first wait
  fake.At(3000, [&] { form.BitBtn3Click(); });
  form.BitBtn1Click();

  const std::vector<int> waits = WaitLengths(fake);
  ASSERT_GE(waits.size(), 3u);
  EXPECT_EQ(waits[0], 300);
  for (std::size_t k = 1; k < waits.size(); ++k) EXPECT_EQ(waits[k], 600) << k;
}

}  // namespace
}  // namespace zepx
