// A recording through the main window: the entry, what is refused
// meanwhile, the hooks' late deliveries, the stop hot key, where the lines
// go, and the list's limit.
#include <gtest/gtest.h>

#include "shell/life_support.h"

namespace zepx {
namespace {

InputEvent Key(std::int64_t t, std::uint8_t vk, bool up = false) { return {InputEvent::Key, t, false, vk, 0, false, up}; }

class RecordWindow : public LifeFixture, public ::testing::Test {};

TEST_F(RecordWindow, RecordsBetweenTheEntryAndTheStopKeyAndPlacesTheLinesAsAnAdd) {
  Start();
  form.batch.SetLines({"L_Drag:1x1", "L_Drop:2x2", "[Tab]"});
  form.batch.Select(1);
  form.KeyAfterDelay.SetValue(0);
  // The settings taken at the start: no merging, pauses from 650 to 750 ms.
  form.settings.RecordMergeText = false;
  form.settings.RecordWaitMin = 650;
  form.settings.RecordWaitMax = 750;
  form.RecordButton.Click();
  EXPECT_EQ(form.mRecord.Caption() + "/" + form.RecordButton.Caption() + "/" + form.StatusLabel.Caption() + "/" +
                form.TrayIcon.tip,
            "記録終了(&R)/記録終了/記録中 (0行) - Ctrl+Alt+X で終了/ZEPX - 記録中");
  EXPECT_FALSE(form.AddButton.Enabled() || form.DelButton.Enabled() || form.mLoad.Enabled() || form.XYButton.Enabled() ||
               form.XYPaste.Enabled() || app.Minimized());
  form.BitBtn1Click();
  form.AddButton.Click();  // as the command palette does
  form.EventActionHooks().run();
  form.DropFiles({"C:\\m.mcr"});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNoRunWhileRecording});
  EXPECT_EQ(form.StatusLabel.Caption(), kNoTimedRunWhileRecording);

  // The hooks queue while the window sleeps; their stamps count, not the delivery.
  fake.ScriptInput({Key(100, 'A'), Key(110, 'A', true), Key(700, 0x0D), Key(705, 0x0D, true), Key(800, 0x5B), Key(810, 'E'),
                    Key(820, 0x5B, true), Key(1500, 0x0D), Key(2200, 'B'), Key(2205, 'B', true)});
  fake.At(105, [&] { fake.platform().loop.Sleep(3000); });
  fake.At(3200, [&] { EXPECT_EQ(form.StatusLabel.Caption(), "記録中 (5行) - Ctrl+Alt+X で終了"); });
  fake.At(4000, [&] { EXPECT_TRUE(fake.PressHotKey(win::MOD_CONTROL | win::MOD_ALT, 'X')); });
  fake.RunUntil(5000);
  EXPECT_FALSE(form.Recording() || fake.InputEventsOn());
  EXPECT_EQ(form.batch.Texts(), (std::vector<std::string>{"L_Drag:1x1", "L_Drop:2x2", "[A]", "[Enter]", "[Enter]",
                                                          "Wait=700", "[B]", "[Tab]"}));
  EXPECT_EQ(form.batch.Selected(), 6);
  EXPECT_EQ(form.mRecord.Caption() + "/" + form.StatusLabel.Caption() + "/" + form.TrayIcon.tip,
            "記録開始(&R)/記録終了 - 5行追加, 1件スキップ/ZEPX");
  EXPECT_TRUE(form.AddButton.Enabled() && form.DelButton.Enabled() && form.mLoad.Enabled());

  // The list's limit ends a recording with the composer's message.
  fake.boxes.clear();
  form.batch.SetLines(std::vector<std::string>(998, "[Tab]"));
  form.settings.RecordMinimize = true;
  form.mRecord.Click();
  EXPECT_TRUE(app.Minimized());
  fake.ScriptInput({Key(6000, 0x0D), Key(6100, 0x09)});
  fake.RunUntil(7000);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kTooManyLinesMessage});
  EXPECT_TRUE(form.batch.Count() == 999 && !form.Recording() && !app.Minimized());
  form.mRecord.Click();
  fake.input_events_refused = true;
  form.batch.SetLines({});
  form.mRecord.Click();
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kTooManyLinesMessage, kTooManyLinesMessage, kNoHooksMessage}));

  // Nor during a run.
  fake.boxes.clear();
  form.batch.SetLines({"Wait=3000"});
  fake.At(fake.now + 2000, [&] {
    form.mRecord.Click();
    form.StopMacro();
  });
  form.BitBtn1Click();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNoRecordWhileRunning});

  // The window's end, by the program's exit or an exception, takes the hooks with it.
  fake.input_events_refused = false;
  form.mRecord.Click();
  ASSERT_TRUE(fake.InputEventsOn());
  owned.reset();
  EXPECT_FALSE(fake.InputEventsOn());
}

}  // namespace
}  // namespace zepx
