// The recording settings: missing from a key an older version wrote, without
// a notice; on the dialog's first page; in force at the next recording and
// kept by the save.
#include <gtest/gtest.h>

#include "shell/life_support.h"
#include "shell/setting_form.h"

namespace zepx {
namespace {

class RecordSettings : public LifeFixture, public ::testing::Test {};

TEST_F(RecordSettings, AnOlderKeyLeavesTheStartValuesAndTheDialogChangesThem) {
  WriteSettingsKey(fake, [](TMainForm&) {});
  for (const char* name : {"RecordWaitMin", "RecordWaitMax", "RecordMergeText", "RecordMinimize"})
    fake.registry[kZepxKey].erase(name);
  Start();
  EXPECT_TRUE(fake.boxes.empty());
  auto native = MakeNativeForm(fake, "TSettingForm");
  TSettingForm dialog(fake.platform(), form);
  dialog.Bind(native.get());
  form.SettingForm = &dialog;
  fake.on_modal = [&](const std::string&) {
    EXPECT_EQ(dialog.RecordMinEdit.Value() + dialog.RecordMaxEdit.Value(), 60100);
    EXPECT_TRUE(dialog.RecordMergeCheck.Checked() && !dialog.RecordMinimizeCheck.Checked());
    dialog.RecordMinEdit.SetValue(250);
    dialog.RecordMergeCheck.SetChecked(false);
    dialog.BitBtn1.Click();
  };
  form.mSetting.Click();
  const RecordOptions o = form.RecordOptionsNow();
  EXPECT_TRUE(o.threshold_ms == 250 && o.cap_ms == 60000 && !o.merge_text);
  form.SaveSettings();
  EXPECT_EQ(fake.RegDword(kZepxKey, "RecordWaitMin") + fake.RegDword(kZepxKey, "RecordMergeText"), 250u);
}

}  // namespace
}  // namespace zepx
