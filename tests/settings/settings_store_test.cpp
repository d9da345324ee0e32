// The registry key round trip: what a first start, an older key, a damaged
// key and a failing registry do to the settings and what the user is told.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "shell/life_support.h"
#include "shell/settings_host.h"

namespace zepx {
namespace {

const char kNotice[] =
    "一部レジストリ項目が見つかりませんでした.\r\nZEPX終了時に項目を新たに作成します.\r\n"
    "ZEPXを初めて起動するときや、新バージョンを導入したときはこのメッセージが表示されます.";

// A key as the program writes it, from a window whose values act when loaded
// (every value's round trip is proven by the tables below).
void ChangedEverywhere(TMainForm& f) {
  Settings& s = f.settings;
  s.Radio1Index = 1;
  s.DefMCRPath = "D:\\macros";
  s.Exec2 = "C:\\tools\\run.bat";
  s.MinChecked = s.TopCheck = true;
  s.StartComboIndex = 0;
  s.EndComboIndex = 25;
  f.CheckBox2.SetChecked(true);
  f.SpinEdit3.SetValue(23);
}

using Key = std::map<std::string, FakePlatform::RegValue>;

std::string Dword(std::int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }  // the host is little-endian

// A key with every value present and of its type, neighbours holding
// different values; the two variants differ in every value.
Key EveryValueSet(bool variant) {
  Key key;
  for (std::size_t i = 0; i < kSettingsValueCount; ++i) {
    const SettingsEntry& e = kSettingsValues[i];
    const int n = static_cast<int>(i) + (variant ? 1 : 0);
    key[e.name] = e.kind == RegKind::String ? FakePlatform::RegValue{RegType::Sz, e.name + std::string(variant ? "\\設定" : "\\値")}
                  : FakePlatform::RegValue{RegType::Dword, Dword(e.kind == RegKind::Boolean ? n % 2 : n % 24)};  // fits an hour
  }
  key["FormLeft"] = {RegType::Dword, Dword(variant ? -1200 : 1200)};  // a screen left of the main one
  const int method = variant ? kSendEvent : kSendWinMessage;
  key["PostRadioGroupIndex"] = {RegType::Dword, Dword(method)};
  key["PostMouseChecked"] = {RegType::Dword, Dword(method == kSendWinMessage)};
  return key;
}

void Prepare(LifeFixture& f, const Key& key) {
  f.fake.registry[kZepxKey] = key;
  f.fake.directories.insert(key.at("DefMCRPath").data);
}

// What the window holds for each value of the table, in table order.
Texts Values(TMainForm& f) {
  auto& store = f.settings_host->Store();
  Texts v;
  for (const SettingsEntry& e : kSettingsValues)
    v.push_back(e.kind == RegKind::String ? store.Text(e) : std::to_string(store.Number(e)));
  return v;
}

// A key as "name type data" lines, which show the difference when one fails.
Texts Lines(const Key& key) {
  Texts t;
  for (const auto& [name, value] : key) t.push_back(name + " " + std::to_string(static_cast<int>(value.type)) + " " + value.data);
  return t;
}

class SettingsStore : public LifeFixture, public ::testing::Test {};

TEST_F(SettingsStore, FirstStartKeepsDefaultsSilentlyAndTheExitWritesEveryValueInOrder) {
  form.settings.Layered = 99;  // the load resets its start values
  form.LoadSettings();
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(form.settings.Layered, 255);
  form.settings.PostMouseChecked = true;  // stale: the method in force decides
  form.SaveSettings();
  Texts written;
  for (const std::string& t : fake.Texts({"RegSetValueExA("})) written.push_back(t.substr(15, t.find(',') - 15));
  EXPECT_EQ(written, (Texts{
      "FormLeft", "FormTop", "Radio1Index", "DefMCRPath", "Radio2Index", "SarchSay", "SarchAll", "WideCheck", "TopCheck",
      "DCutCheck", "DCutHour", "DCutMin", "DCutHour2", "DCutMin2", "LoCheck", "ECom11Index", "ECom12Index",
      "ECom13Index", "ECom14Index", "ECom15Index", "ECom21Index", "ECom22Index", "ECom23Index", "ECom24Index",
      "ECom25Index", "Say", "Exec1", "Exec2", "ERadio2Index", "Layered", "Loop1", "Loop2", "Loop3", "Loop4", "Loop5",
      "LoopOfLoopChecked", "StartAddress", "LastAddress", "pLastAddress", "AutoRunChecked", "StartComboIndex",
      "EndComboIndex", "MinChecked", "PostMouseChecked", "DCutCheck2", "PostRadioGroupIndex", "AutoHandleChecked",
      "ScanCodeChecked", "KeyHoldTime", "UnicodeTextChecked", "DCutLateCheck", "DCutLateCheck2",
      "RecordWaitMin", "RecordWaitMax", "RecordMergeText", "RecordMinimize", "WindowPointChecked"}));
  EXPECT_EQ(fake.RegDword(kZepxKey, "PostRadioGroupIndex"), 1u);
  EXPECT_EQ(fake.RegDword(kZepxKey, "PostMouseChecked"), 0u);
}

// The options newer than the keys of older versions: absent, they keep
// their start values without the notice.
TEST_F(SettingsStore, AKeyWrittenByTheProgramOrWithoutTheNewerOptionsLoadsBackWithoutANotice) {
  WriteSettingsKey(fake, ChangedEverywhere);
  for (const char* name : {"ScanCodeChecked", "KeyHoldTime", "UnicodeTextChecked", "DCutLateCheck", "DCutLateCheck2",
                           "RecordWaitMin", "RecordWaitMax", "RecordMergeText", "RecordMinimize", "WindowPointChecked"})
    fake.registry[kZepxKey].erase(name);
  form.settings.KeyHoldTime = 7;
  form.settings.RecordWaitMin = 250;
  int clicks = 0, changes = 0;  // the controls run their handlers, as a user's change does
  form.CheckBox2.OnClick = [&] { ++clicks; };
  form.SpinEdit3.OnChange = [&] { ++changes; };
  fake.directories.insert("D:\\macros");
  // Written by other tools: a text with its terminating zero, a flag other than 1.
  fake.registry[kZepxKey]["Exec1"] = {RegType::Sz, std::string("C:\\x.bat\0junk", 13)};
  fake.registry[kZepxKey]["TopCheck"] = {RegType::Dword, Dword(2)};
  form.LoadSettings();
  EXPECT_TRUE(fake.boxes.empty());
  const Settings& s = form.settings;
  EXPECT_EQ(form.DialogInitialDir, "D:\\macros");
  EXPECT_EQ(s.Say + " " + s.StartAddress, "hi 1500004") << "written empty: the stand-ins";
  EXPECT_EQ(s.Exec1, "C:\\x.bat");
  EXPECT_EQ(clicks * 10 + changes, 11);
  EXPECT_EQ(form.BitBtn3.Caption(), "待機\r\n(Ctrl+Alt+Z)");
  EXPECT_EQ(form.HotKey2, 0xC041);
  EXPECT_EQ(fake.Texts({"SetWindowPos("}), Texts{"SetWindowPos(" + std::to_string(form.Handle()) + ",-1,0,0,0,0,3)"});
  EXPECT_EQ(form.settings.KeyHoldTime + form.settings.RecordWaitMin, 257) << "absent values keep what they were";
}

// A stored hour or minute out of range would arm an alarm that never fires.
TEST_F(SettingsStore, AStoredTimeOutOfRangeIsBroughtIntoRangeAsLeavingTheFieldWould) {
  WriteSettingsKey(fake, [](TMainForm& f) {
    f.CheckBox1.SetChecked(true);
    f.CheckBox2.SetChecked(true);
  });
  for (auto [name, v] : {std::pair{"DCutHour", 99}, {"DCutMin", -1}, {"DCutHour2", -5}, {"DCutMin2", 60}})
    fake.registry[kZepxKey][name] = {RegType::Dword, Dword(v)};
  form.LoadSettings();
  EXPECT_EQ(form.ClockLabel1.EventList, Texts{"23:00"});
  EXPECT_EQ(form.ClockLabel2.EventList, Texts{"00:59"});
  EXPECT_EQ(form.SpinEdit3.Text() + " " + form.SpinEdit4.Text(), "23 0");
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(SettingsStore, AnOlderOrDamagedKeyStopsAtTheFirstBadNumberWithTheNotice) {
  WriteSettingsKey(fake, ChangedEverywhere);
  fake.registry[kZepxKey].erase("Layered");
  fake.registry[kZepxKey]["Exec1"] = {RegType::ExpandSz, "%TEMP%\\x.bat"};
  form.LoadSettings();
  EXPECT_EQ(BoxTexts(), Texts{kNotice});
  EXPECT_EQ(form.settings.Exec1 + " " + form.settings.Exec2, "%TEMP%\\x.bat C:\\tools\\run.bat") << "read before the gap";
  EXPECT_EQ(form.settings.Layered, 255);
  EXPECT_EQ(form.HotKey2, 0xC053);
  EXPECT_EQ(form.settings.DefMCRPath + std::to_string(form.settings.Radio1Index), "0") << "the folder is gone here";
  EXPECT_EQ(fake.Texts({"RegCloseKey"}).size(), 1u);
  // A number of the wrong size stops the load as a missing one does.
  LifeFixture other;
  other.fake.registry = fake.registry;
  other.fake.registry[kZepxKey]["Layered"] = {RegType::Dword, Dword(64)};
  other.fake.registry[kZepxKey]["EndComboIndex"] = {RegType::Dword, "12"};
  other.form.LoadSettings();
  EXPECT_EQ(other.BoxTexts(), Texts{kNotice});
  EXPECT_FALSE(other.form.settings.MinChecked) << "read after the bad number";
}

TEST_F(SettingsStore, TheLogoutTimeIsReportedFirstAndRemovedEvenWhenTheLoadFails) {
  form.RecordLogoutTime();
  EXPECT_EQ(fake.RegString(kZepxKey, "LogoutDateTime"), "2026/12/06 12:34:56");
  fake.ClearCalls();
  form.LoadSettings();  // nothing else in the key: the first number is missing
  EXPECT_EQ(BoxTexts(), (Texts{"[ZEP Event]\r\n2026/12/06 12:34:56にUOを強制ログアウトしました.", kNotice}));
  EXPECT_EQ(fake.registry[kZepxKey].count("LogoutDateTime"), 0u);
  EXPECT_EQ(fake.Texts({"MessageBox", "RegDeleteValueA"})[1], "RegDeleteValueA(LogoutDateTime)");
}

TEST_F(SettingsStore, SaveFailuresAreNamedAndTheProgramStillEnds) {
  fake.registry_write_fails = {"Layered", "Loop3"};
  form.SaveSettings();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_NE(fake.boxes[0].text.find("保存できなかった項目: Layered, Loop3"), std::string::npos);
  EXPECT_EQ(fake.registry[kZepxKey].size(), kSettingsValueCount - 2);  // the others were still written
  fake.registry.clear();
  fake.registry_create_fails = true;
  form.Close();
  ASSERT_EQ(fake.boxes.size(), 2u);
  EXPECT_NE(fake.boxes[1].text.find("Software\\VELMOR\\ZEPX"), std::string::npos);
  EXPECT_TRUE(form.Closed() && fake.quit_requested);
}

// Every value comes back from a load and a save with its data and type; a
// value of the wrong type anywhere keeps what was read before it and start
// values from it on, with the notice.
TEST_F(SettingsStore, EveryValueRoundTripsAndAMistypedOneStopsTheLoadThere) {
  for (bool variant : {false, true}) {
    SCOPED_TRACE(variant ? "second variant" : "first variant");
    const Key stored = EveryValueSet(variant);
    LifeFixture blank, whole;
    blank.form.LoadSettings();
    Prepare(whole, stored);
    whole.form.LoadSettings();
    const Texts start = Values(blank.form), loaded = Values(whole.form);
    whole.Start();  // showing the window also puts the stored send method in force
    EXPECT_TRUE(whole.fake.boxes.empty());
    whole.fake.registry.clear();
    whole.form.SaveSettings();
    EXPECT_EQ(Lines(whole.fake.registry[kZepxKey]), Lines(stored));

    for (std::size_t bad = 0; bad < kSettingsValueCount; ++bad) {
      const SettingsEntry& e = kSettingsValues[bad];
      LifeFixture f;
      Prepare(f, stored);
      f.fake.registry[kZepxKey][e.name] = e.kind == RegKind::String ? FakePlatform::RegValue{RegType::Dword, Dword(7)}
                                                                    : FakePlatform::RegValue{RegType::Sz, "7"};
      f.form.LoadSettings();
      EXPECT_EQ(f.BoxTexts(), Texts{kNotice}) << e.name;
      const Texts got = Values(f.form);
      for (std::size_t j = 0; j < kSettingsValueCount; ++j)
        EXPECT_EQ(got[j], j < bad ? loaded[j] : start[j]) << kSettingsValues[j].name << " with " << e.name << " mistyped";
    }
  }
}

}  // namespace
}  // namespace zepx
