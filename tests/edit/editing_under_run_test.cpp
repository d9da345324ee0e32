// The list stays editable while a run goes on: the function keys add, Up,
// Down and Clear work. The run must follow: a new line reaches its window,
// moved lines keep theirs, a cleared list ends the run.
#include "edit/edit_support.h"
#include "run/run_support.h"

namespace zepx {
namespace {

// Topmost first, so that the run's refresh of the application list chooses
// its third entry, Probe C, for the target field.
TEST_F(EditTest, AddedAndMovedLinesOfAWinMessageRunReachTheirWindows) {
  form.AutoHandleCheckBox.SetChecked(true);
  form.KeyAfterDelay.SetValue(100);
  form.LoopSpinEdit.SetValue(0);  // endless until stopped
  Method(kSendWinMessage);
  const Hwnd c = fake.AddWindow("Probe C", "ProbeClass"), b = fake.AddWindow("Probe B", "ProbeClass"),
             a = fake.AddWindow("Probe A", "ProbeClass");
  Load({"[Text]~~a|>" + ComposeTargetDescriptor("Probe A", a), "[Text]~~b|>" + ComposeTargetDescriptor("Probe B", b),
        "Wait=800"});
  // In the wait of the first pass (1200 to 2000): the two text lines
  // swapped, and F3 pressed on the last row while AddButton is disabled.
  fake.At(1500, [&] {
    ClickRow(0);
    form.DownButton.Click();
    ClickRow(2);
    EXPECT_FALSE(form.AddButton.Enabled());
    Key(win::VK_F1 + 2);
  });
  fake.At(2900, [&] { form.BitBtn3Click(); });  // in the wait of the second pass
  form.BitBtn1Click();
  EXPECT_EQ(form.batch.Text(3), "[F3]|>" + ComposeTargetDescriptor("Probe C", c));
  std::string posted;  // the characters and keys, each after its window's letter
  for (const auto& p : fake.posted)
    posted += std::string(p.hwnd == a ? "A" : p.hwnd == b ? "B" : p.hwnd == c ? "C" : "?") + char(p.wparam);
  EXPECT_EQ(posted, "AaBbCrBbAa") << "the new line was sent to its window (F3 is 'r')";
}

TEST_F(EditTest, AListClearedUnderTheRunEndsIt) {
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
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{700})) << "nothing ran after the clear";
  EXPECT_EQ(form.Engine().PassCount, 0);
}

}  // namespace
}  // namespace zepx
