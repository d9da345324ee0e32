// The registry key round trip: what a first start, an older key, a damaged
// key and a failing registry do to the settings and what the user is told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

const char kKey[] = "Software\\VELMOR\\ZEPX";
const char kNotice[] =
    "一部レジストリ項目が見つかりませんでした.\r\nZEPX終了時に項目を新たに作成します.\r\n"
    "ZEPXを初めて起動するときや、新バージョンを導入したときはこのメッセージが表示されます.";

const std::vector<std::string> kWriteOrder = {
    "FormLeft", "FormTop", "Radio1Index", "DefMCRPath", "Radio2Index", "SarchSay", "SarchAll",
    "WideCheck", "TopCheck", "DCutCheck", "DCutHour", "DCutMin", "DCutHour2", "DCutMin2", "LoCheck",
    "ECom11Index", "ECom12Index", "ECom13Index", "ECom14Index", "ECom15Index", "ECom21Index",
    "ECom22Index", "ECom23Index", "ECom24Index", "ECom25Index", "Say", "Exec1", "Exec2",
    "ERadio2Index", "Layered", "Loop1", "Loop2", "Loop3", "Loop4", "Loop5", "LoopOfLoopChecked",
    "StartAddress", "LastAddress", "pLastAddress", "AutoRunChecked", "StartComboIndex",
    "EndComboIndex", "MinChecked", "PostMouseChecked", "DCutCheck2", "PostRadioGroupIndex",
    "AutoHandleChecked"};

std::string Dword(std::uint32_t v) {
  return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                     static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
}

class SettingsStore : public ::testing::Test {
 protected:
  SettingsStore() {
    form.Bind(native.get());
    form.AutoHandleCheckBox.SetChecked(true);
    form.DialogInitialDir = "C:\\ZEPX\\";
  }
  void Int(const std::string& name, std::uint32_t v) { fake.registry[kKey][name] = {RegType::Dword, Dword(v)}; }
  void Str(const std::string& name, const std::string& v, RegType t = RegType::Sz) {
    fake.registry[kKey][name] = {t, v};
  }
  // A key as the program itself writes it, from a form whose settings were
  // changed everywhere.
  void FullKey() {
    FakePlatform other;
    TApplication a;
    TMainForm f{other.platform(), a};
    f.SetPosition(120, 80);
    f.settings.Radio1Index = 1;
    f.settings.DefMCRPath = "D:\\macros";
    f.settings.ECom1Index = {1, 2, 3, 4, 5};
    f.settings.ECom2Index = {6, 7, 8, 9, 10};
    f.settings.Exec2 = "C:\\tools\\run.bat";
    f.settings.Layered = 180;
    f.settings.Loop = {"a.mcr", "b.mcr", "", "", "e.mcr"};
    f.settings.LoopOfLoopChecked = f.settings.AutoRunChecked = f.settings.MinChecked = true;
    f.settings.TopCheck = true;
    f.settings.Say = "yo";
    f.settings.StartComboIndex = 0;
    f.settings.EndComboIndex = 25;
    if (f.PostRadioGroup.Count() == 0) f.PostRadioGroup.SetItems({"_event", "SendInput", "WinMessage"});
    f.PostRadioGroup.SetItemIndex(kSendEvent);  // the method in force is what is saved
    f.CheckBox2.SetChecked(true);
    f.SpinEdit3.SetValue(23);
    f.SpinEdit5.SetValue(59);
    f.SaveSettings();
    fake.registry = other.registry;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> t;
    for (const auto& b : fake.boxes) t.push_back(b.text);
    return t;
  }

  TApplication app;
  FakePlatform fake;
  std::unique_ptr<INativeForm> native = fake.MakeNativeForm("TMainForm");
  TMainForm form{fake.platform(), app};
};

TEST_F(SettingsStore, FirstStartKeepsDefaultsSilentlyAndTheExitWritesEveryValueInOrder) {
  form.settings.Layered = 99;  // the load resets its start values
  form.LoadSettings();
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(form.settings.Layered, 255);
  EXPECT_EQ(form.BitBtn1.Caption(), "実行\r\n(Ctrl+Alt+S)");
  EXPECT_EQ(form.BitBtn3.Caption(), "待機\r\n(Ctrl+Alt+X)");
  EXPECT_EQ(form.DialogInitialDir, "C:\\ZEPX\\");  // the folder set before the load stays

  fake.ClearCalls();
  form.SaveSettings();
  std::vector<std::string> written;
  for (const std::string& t : fake.Texts({"RegSetValueExA("})) written.push_back(t.substr(15, t.find(',') - 15));
  EXPECT_EQ(written, kWriteOrder);
  EXPECT_EQ(fake.registry[kKey].size(), kWriteOrder.size());
  EXPECT_EQ(fake.RegDword(kKey, "PostRadioGroupIndex"), 1u);
  EXPECT_EQ(fake.RegDword(kKey, "AutoHandleChecked"), 1u);
  EXPECT_EQ(fake.registry[kKey]["Say"].type, RegType::Sz);
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(SettingsStore, AKeyWrittenByTheProgramLoadsBackWithoutANotice) {
  FullKey();
  int event2_clicks = 0, hour_changes = 0;
  form.CheckBox2.OnClick = [&] { ++event2_clicks; };
  form.SpinEdit3.OnChange = [&] { ++hour_changes; };
  fake.directories.insert("D:\\macros");
  form.LoadSettings();

  EXPECT_TRUE(fake.boxes.empty()) << BoxTexts()[0];
  const Settings& s = form.settings;
  EXPECT_EQ(form.Left(), 120);
  EXPECT_EQ(form.Top(), 80);
  EXPECT_EQ(s.Radio1Index, 1);
  EXPECT_EQ(form.DialogInitialDir, "D:\\macros");
  EXPECT_EQ(s.ECom2Index[4], 10);
  EXPECT_EQ(s.Exec2, "C:\\tools\\run.bat");
  EXPECT_EQ(s.Layered, 180);
  EXPECT_EQ(s.Loop[4], "e.mcr");
  EXPECT_TRUE(s.LoopOfLoopChecked && s.AutoRunChecked && s.MinChecked);
  EXPECT_EQ(s.Say, "yo");
  EXPECT_EQ(s.StartAddress, "1500004");  // written empty, read back as its stand-in
  EXPECT_EQ(s.PostRadioGroupIndex, kSendEvent);
  EXPECT_TRUE(form.CheckBox2.Checked());
  EXPECT_EQ(event2_clicks, 1);
  EXPECT_EQ(form.SpinEdit3.Value(), 23);
  EXPECT_EQ(hour_changes, 1);
  EXPECT_EQ(form.SpinEdit5.Value(), 59);
  EXPECT_EQ(form.BitBtn1.Caption(), "実行\r\n(Ctrl+Alt+A)");
  EXPECT_EQ(form.BitBtn3.Caption(), "待機\r\n(Ctrl+Alt+Z)");
  EXPECT_EQ(form.HotKey2, 0xC041);
  EXPECT_EQ(form.HotKey1, 0xC05A);
  EXPECT_EQ(fake.Texts({"SetWindowPos("}),
            std::vector<std::string>{"SetWindowPos(" + std::to_string(form.Handle()) + ",-1,0,0,0,0,3)"});
  EXPECT_EQ(fake.Texts({"RegCloseKey"}).size(), 1u);
}

TEST_F(SettingsStore, AnOlderKeyStopsAtTheFirstMissingNumberWithTheNotice) {
  FullKey();
  fake.registry[kKey].erase("Layered");
  form.LoadSettings();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotice});
  EXPECT_EQ(form.settings.Exec2, "C:\\tools\\run.bat");  // read before the gap
  EXPECT_EQ(form.settings.Layered, 255);
  EXPECT_TRUE(form.settings.Loop[0].empty());
  EXPECT_EQ(form.HotKey2, 0xC053);
  EXPECT_EQ(form.BitBtn3.Caption(), "待機\r\n(Ctrl+Alt+X)");
  EXPECT_EQ(fake.Texts({"RegCloseKey"}).size(), 1u);
}

TEST_F(SettingsStore, TypesAreCheckedByTheReadRules) {
  FullKey();
  Str("Say", "", RegType::Sz);                  // empty: the stand-in
  Str("Exec1", "%TEMP%\\x.bat", RegType::ExpandSz);
  Str("SarchSay", std::string("abc\0", 4));    // stored with its zero
  form.LoadSettings();
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(form.settings.Say, "hi");
  EXPECT_EQ(form.settings.Exec1, "%TEMP%\\x.bat");
  EXPECT_EQ(form.settings.SarchSay, "abc");

  for (auto bad : {std::make_pair("StartComboIndex", RegType::Sz), std::make_pair("Exec1", RegType::Dword)}) {
    FakePlatform f2;
    TApplication a2;
    TMainForm m{f2.platform(), a2};
    f2.registry = fake.registry;
    f2.registry[kKey][bad.first] = {bad.second, Dword(3)};
    m.LoadSettings();
    ASSERT_EQ(f2.boxes.size(), 1u) << bad.first;
    EXPECT_EQ(f2.boxes[0].text, kNotice);
    EXPECT_EQ(m.settings.MinChecked, false) << "read after " << bad.first;
  }
}

TEST_F(SettingsStore, AVanishedDefaultFolderIsForgottenAndSavedThatWay) {
  FullKey();  // D:\macros, Radio1Index 1; the folder does not exist here
  form.LoadSettings();
  EXPECT_EQ(form.settings.DefMCRPath, "");
  EXPECT_EQ(form.settings.Radio1Index, 0);
  EXPECT_EQ(form.DialogInitialDir, "");
  form.SaveSettings();
  EXPECT_EQ(fake.RegString(kKey, "DefMCRPath"), "");
  EXPECT_EQ(fake.RegDword(kKey, "Radio1Index"), 0u);
}

TEST_F(SettingsStore, TheLogoutTimeIsReportedFirstAndRemovedEvenWhenTheLoadFails) {
  form.RecordLogoutTime();
  EXPECT_EQ(fake.RegString(kKey, "LogoutDateTime"), "2026/12/06 12:34:56");
  fake.ClearCalls();
  form.LoadSettings();  // the key holds nothing else: the first number is missing
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                            "[ZEP Event]\r\n2026/12/06 12:34:56にUOを強制ログアウトしました.", kNotice}));
  EXPECT_EQ(fake.registry[kKey].count("LogoutDateTime"), 0u);
  const auto calls = fake.Texts({"MessageBox", "RegDeleteValueA"});
  EXPECT_EQ(calls.front(), "MessageBox(0)");
  EXPECT_EQ(calls[1], "RegDeleteValueA(LogoutDateTime)");
}

TEST_F(SettingsStore, AFileFromTheCommandLineKeepsItsSendMethod) {
  FullKey();
  form.settings.PostRadioGroupIndex = kSendWinMessage;
  form.LoadedFromCommandLine = true;
  form.LoadSettings();
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_EQ(form.settings.PostRadioGroupIndex, 1);  // the start value, not the stored 0
  EXPECT_EQ(form.SpinEdit5.Value(), 59);            // the load went on after the skip
}

TEST_F(SettingsStore, SaveFailuresAreNamedAndNothingIsLostSilently) {
  fake.registry_write_fails = {"Layered", "Loop3"};
  form.SaveSettings();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_NE(fake.boxes[0].text.find("Layered, Loop3"), std::string::npos);
  EXPECT_EQ(fake.registry[kKey].size(), kWriteOrder.size() - 2);  // the others were still written

  fake.boxes.clear();
  fake.registry.clear();
  fake.registry_write_fails.clear();
  fake.registry_create_fails = true;
  form.SaveSettings();
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_NE(fake.boxes[0].text.find("Software\\VELMOR\\ZEPX"), std::string::npos);
  EXPECT_TRUE(fake.registry.empty());

  // The window still closes, and the program ends.
  form.Close();
  EXPECT_TRUE(form.Closed());
  EXPECT_TRUE(fake.quit_requested);
  EXPECT_EQ(fake.boxes.size(), 2u);
}

}  // namespace
}  // namespace zepx
