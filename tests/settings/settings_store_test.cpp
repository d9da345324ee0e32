// The registry key round trip: what a first start, an older key, a damaged
// key and a failing registry do to the settings and what the user is told.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "shell/life_support.h"
#include "shell/settings_host.h"

namespace zepx {
namespace {

using Texts = std::vector<std::string>;

const char kNotice[] =
    "一部レジストリ項目が見つかりませんでした.\r\nZEPX終了時に項目を新たに作成します.\r\n"
    "ZEPXを初めて起動するときや、新バージョンを導入したときはこのメッセージが表示されます.";

// A key as the program writes it, from a window changed almost everywhere.
void ChangedEverywhere(TMainForm& f) {
  f.SetPosition(120, 80);
  f.settings.Radio1Index = 1;
  f.settings.DefMCRPath = "D:\\macros";
  f.settings.ECom2Index = {6, 7, 8, 9, 10};
  f.settings.Exec2 = "C:\\tools\\run.bat";
  f.settings.Layered = 180;
  f.settings.Loop = {"a.mcr", "b.mcr", "", "", "e.mcr"};
  f.settings.MinChecked = f.settings.TopCheck = true;
  f.settings.StartComboIndex = 0;
  f.settings.EndComboIndex = 25;
  f.PostRadioGroup.SetItemIndex(kSendEvent);  // the method in force is what is saved
  f.CheckBox2.SetChecked(true);
  f.SpinEdit3.SetValue(23);
  f.SpinEdit5.SetValue(59);
}

using Key = std::map<std::string, FakePlatform::RegValue>;

std::string Dword(std::int32_t v) {
  std::string s(4, '\0');
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>((u >> (8 * i)) & 0xFF);
  return s;
}

// A key with every value present and of its type, neighbours holding
// different values; the two variants differ in every value.
Key EveryValueSet(bool variant) {
  Key key;
  for (std::size_t i = 0; i < kSettingsValueCount; ++i) {
    const SettingsEntry& e = kSettingsValues[i];
    const int n = static_cast<int>(i) + (variant ? 1 : 0);
    switch (e.kind) {
      case RegKind::Integer: key[e.name] = {RegType::Dword, Dword(n % 24)}; break;  // fits an hour
      case RegKind::Boolean: key[e.name] = {RegType::Dword, Dword(n % 2)}; break;
      case RegKind::String: key[e.name] = {RegType::Sz, std::string(e.name) + (variant ? "\\設定" : "\\値")}; break;
    }
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

class SettingsStore : public LifeFixture, public ::testing::Test {};

TEST_F(SettingsStore, FirstStartKeepsDefaultsSilentlyAndTheExitWritesEveryValueInOrder) {
  form.settings.Layered = 99;  // the load resets its start values
  form.LoadSettings();
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(form.settings.Layered, 255);
  EXPECT_EQ(form.BitBtn1.Caption(), "実行\r\n(Ctrl+Alt+S)");

  form.SaveSettings();
  Texts written;
  for (const std::string& t : fake.Texts({"RegSetValueExA("})) written.push_back(t.substr(15, t.find(',') - 15));
  EXPECT_EQ(written, (Texts{
      "FormLeft", "FormTop", "Radio1Index", "DefMCRPath", "Radio2Index", "SarchSay", "SarchAll",
      "WideCheck", "TopCheck", "DCutCheck", "DCutHour", "DCutMin", "DCutHour2", "DCutMin2", "LoCheck",
      "ECom11Index", "ECom12Index", "ECom13Index", "ECom14Index", "ECom15Index", "ECom21Index",
      "ECom22Index", "ECom23Index", "ECom24Index", "ECom25Index", "Say", "Exec1", "Exec2",
      "ERadio2Index", "Layered", "Loop1", "Loop2", "Loop3", "Loop4", "Loop5", "LoopOfLoopChecked",
      "StartAddress", "LastAddress", "pLastAddress", "AutoRunChecked", "StartComboIndex",
      "EndComboIndex", "MinChecked", "PostMouseChecked", "DCutCheck2", "PostRadioGroupIndex",
      "AutoHandleChecked"}));
  EXPECT_EQ(fake.registry[kZepxKey]["Say"].type, RegType::Sz);
  EXPECT_EQ(fake.RegDword(kZepxKey, "PostRadioGroupIndex"), 1u);
}

TEST_F(SettingsStore, AKeyWrittenByTheProgramLoadsBackWithoutANotice) {
  WriteSettingsKey(fake, ChangedEverywhere);
  int clicks = 0, changes = 0;  // the controls run their handlers, as a user's change does
  form.CheckBox2.OnClick = [&] { ++clicks; };
  form.SpinEdit3.OnChange = [&] { ++changes; };
  fake.directories.insert("D:\\macros");
  form.LoadSettings();

  EXPECT_TRUE(fake.boxes.empty());
  const Settings& s = form.settings;
  EXPECT_EQ(std::make_pair(form.Left(), form.Top()), std::make_pair(120, 80));
  EXPECT_EQ(form.DialogInitialDir, "D:\\macros");
  EXPECT_EQ(s.ECom2Index[4], 10);
  EXPECT_EQ(s.Layered, 180);
  EXPECT_EQ(s.Loop[4], "e.mcr");
  EXPECT_EQ(s.Say, "hi");                 // written empty: the stand-ins
  EXPECT_EQ(s.StartAddress, "1500004");
  EXPECT_EQ(s.PostRadioGroupIndex, kSendEvent);
  EXPECT_EQ(clicks * 10 + changes, 11);
  EXPECT_EQ(form.SpinEdit5.Value(), 59);
  EXPECT_EQ(form.BitBtn3.Caption(), "待機\r\n(Ctrl+Alt+Z)");
  EXPECT_EQ(form.HotKey2, 0xC041);
  EXPECT_EQ(fake.Texts({"SetWindowPos("}),
            Texts{"SetWindowPos(" + std::to_string(form.Handle()) + ",-1,0,0,0,0,3)"});
}

TEST_F(SettingsStore, AnOlderOrDamagedKeyStopsAtTheFirstBadNumberWithTheNotice) {
  WriteSettingsKey(fake, ChangedEverywhere);
  fake.registry[kZepxKey].erase("Layered");
  fake.registry[kZepxKey]["Exec1"] = {RegType::ExpandSz, "%TEMP%\\x.bat"};
  form.LoadSettings();
  EXPECT_EQ(BoxTexts(), Texts{kNotice});
  EXPECT_EQ(form.settings.Exec1, "%TEMP%\\x.bat");
  EXPECT_EQ(form.settings.Exec2, "C:\\tools\\run.bat");  // read before the gap
  EXPECT_EQ(form.settings.Layered, 255);
  EXPECT_EQ(form.HotKey2, 0xC053);
  EXPECT_EQ(form.settings.DefMCRPath + std::to_string(form.settings.Radio1Index), "0") << "the folder is gone here";
  EXPECT_EQ(fake.Texts({"RegCloseKey"}).size(), 1u);

  for (auto bad : {std::make_pair("StartComboIndex", RegType::Sz), std::make_pair("Exec1", RegType::Dword)}) {
    LifeFixture other;
    other.fake.registry = fake.registry;
    other.fake.registry[kZepxKey]["Layered"] = {RegType::Dword, std::string("\x40\0\0\0", 4)};
    other.fake.registry[kZepxKey][bad.first] = {bad.second, "1234"};
    other.form.LoadSettings();
    EXPECT_EQ(other.BoxTexts(), Texts{kNotice}) << bad.first;
    EXPECT_FALSE(other.form.settings.MinChecked) << "read after " << bad.first;
  }
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
  EXPECT_EQ(fake.registry[kZepxKey].size(), 45u);  // the others were still written

  fake.registry.clear();
  fake.registry_create_fails = true;
  form.Close();
  ASSERT_EQ(fake.boxes.size(), 2u);
  EXPECT_NE(fake.boxes[1].text.find("Software\\VELMOR\\ZEPX"), std::string::npos);
  EXPECT_TRUE(form.Closed());
  EXPECT_TRUE(fake.quit_requested);
}

TEST_F(SettingsStore, EveryValueComesBackFromALoadAndASaveWithItsDataAndType) {
  for (bool variant : {false, true}) {
    LifeFixture f;
    const Key stored = EveryValueSet(variant);
    Prepare(f, stored);
    f.Start();  // showing the window also puts the stored send method in force
    EXPECT_TRUE(f.fake.boxes.empty());
    f.fake.registry.clear();
    f.form.SaveSettings();
    const Key& saved = f.fake.registry[kZepxKey];
    EXPECT_EQ(saved.size(), stored.size());
    for (const auto& [name, value] : stored) {
      const auto it = saved.find(name);
      ASSERT_NE(it, saved.end()) << name;
      EXPECT_EQ(it->second.type, value.type) << name;
      EXPECT_EQ(it->second.data, value.data) << name << (variant ? " (second variant)" : "");
    }
  }
}

TEST_F(SettingsStore, AMistypedValueAnywhereKeepsWhatWasReadBeforeItAndStartValuesFromItOn) {
  for (bool variant : {false, true}) {
    const Key stored = EveryValueSet(variant);
    LifeFixture blank, whole;
    blank.form.LoadSettings();
    Prepare(whole, stored);
    whole.form.LoadSettings();
    const Texts start = Values(blank.form), loaded = Values(whole.form);

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
