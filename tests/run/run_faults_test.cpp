// Faults of runs that once froze the program, typed the wrong letters or
// sent to the wrong window, each in the situation where it happened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "run/run_support.h"
#include "shell/main_form.h"

namespace zepx {
namespace {


class RunFaults : public ::testing::Test {
 protected:
  RunFaults() {
    form.PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
    form.AutoHandleCheckBox.SetChecked(true);
  }
  void SetMethod(int m) {
    form.PostRadioGroup.SetItemIndex(m);
    form.settings.PostMouseChecked = m == kSendWinMessage;
  }
  // The characters posted to `w`, in order.
  std::string CharsPostedTo(Hwnd w) const {
    std::string s;
    for (const auto& p : fake.posted)
      if (p.hwnd == w && p.msg == win::WM_CHAR) s += static_cast<char>(p.wparam);
    return s;
  }

  TApplication app;
  FakePlatform fake;
  TMainForm form{fake.platform(), app};
};

TEST_F(RunFaults, AFileDroppedDuringAWinMessageRunSendsToItsOwnTargets) {
  SetMethod(kSendWinMessage);
  form.KeyAfterDelay.SetValue(100);
  form.LoopSpinEdit.SetValue(0);
  const Hwnd a = fake.AddWindow("Probe A", "ProbeClass");
  const Hwnd b = fake.AddWindow("Probe B", "ProbeClass");
  form.batch.SetLines({"[Text]~~a|>Probe A <" + std::to_string(a) + ">", "Wait=400"});
  fake.files["C:\\m\\b.mcr"] =
      Mcr({"[Text]~~b|>Probe B <" + std::to_string(b) + ">", "Wait=400", "SendAPI:2"});
  fake.At(1700, [&] { form.FilesDropped({"C:\\m\\b.mcr"}); });
  fake.At(3000, [&] { form.BitBtn3Click(); });
  form.BitBtn1Click();

  EXPECT_EQ(CharsPostedTo(a), "aa") << "before the drop";
  EXPECT_EQ(CharsPostedTo(b), "bb") << "after it, the new list's window";
  EXPECT_EQ(form.batch.Targets(), (std::vector<Hwnd>{b, 0}));
}

// A list of event lines only never waits; the stop key pressed meanwhile
// must still end the run.
class EventOnlyForm : public TMainForm {
 public:
  using TMainForm::TMainForm;
  void ExecuteEventActions(int event) override {
    events.push_back(event);
    if (events.size() == 40) on_fortieth();
    // Without the fix the loop never looks at its queue: fail, don't hang.
    if (events.size() > 10000) throw std::runtime_error("the run never saw the stop key");
  }
  std::vector<int> events;
  std::function<void()> on_fortieth;
};

TEST(RunFaultsEvents, AnEndlessListOfEventLinesStillHearsTheStopKey) {
  TApplication app;
  FakePlatform fake;
  EventOnlyForm form{fake.platform(), app};
  form.PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
  form.PostRadioGroup.SetItemIndex(kSendInput);
  form.LoopSpinEdit.SetValue(0);
  form.batch.SetLines({"【ZEP Event 1】", "【ZEP Event 2】"});
  form.on_fortieth = [&] { EXPECT_TRUE(fake.PressHotKey(win::MOD_CONTROL | win::MOD_ALT, 'X')); };
  form.BitBtn1Click();

  // Pressed during the 20th pass, heard at its end.
  EXPECT_EQ(form.events.size(), 40u);
  EXPECT_EQ(form.events.front(), 1);
  EXPECT_EQ(form.events.back(), 2);
  EXPECT_FALSE(form.Running());
  EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
  EXPECT_EQ(form.LoopCountLabel.Caption(), "19");
}

TEST_F(RunFaults, JapaneseTextTypesNothingByKeysOnAEuropeanCodePage) {
  form.KeyAfterDelay.SetValue(0);
  form.LoopSpinEdit.SetValue(1);
  auto keys = [&] {
    std::vector<int> vks;
    for (const std::string& c : fake.Texts({"keybd_event("}))
      if (c.find(",0,0,0)") != std::string::npos) vks.push_back(std::stoi(c.substr(c.find('(') + 1)));
    return vks;
  };
  // "日" is 0x93 0xFA, "ﾟ" 0xDF: bytes a European layout has letters for.
  form.batch.SetLines({"[Text]~~a日ﾟ", "[ﾟ]"});
  for (std::uint32_t cp : {1252u, 932u}) {
    fake.ansi_code_page = cp;
    fake.ClearCalls();
    for (int m : {kSendEvent, kSendInput}) {
      SetMethod(m);
      form.BitBtn1Click();
    }
    const std::vector<int> none{0x41, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(keys(), none) << "code page " << cp;  // _event; SendInput goes as records
    for (const std::string& r : fake.Texts({"SendInput("}))
      EXPECT_EQ(r.find("222"), std::string::npos) << r;
  }
}

TEST_F(RunFaults, AFrontAppLineWithoutATitleActivatesNothingButKeepsItsWaits) {
  SetMethod(kSendInput);
  form.KeyAfterDelay.SetValue(500);
  form.LoopSpinEdit.SetValue(1);
  fake.AddWindow("", "Untitled");  // what an empty title would find
  form.batch.SetLines({"[ｱﾌﾟﾘを前面に]@@", "[ｱﾌﾟﾘを前面に]"});
  fake.ClearCalls();
  form.BitBtn1Click();
  EXPECT_TRUE(fake.Texts({"FindWindowA", "SetActiveWindow", "SetForegroundWindow", "SetFocus"}).empty());
  EXPECT_EQ(fake.Texts({"Sleep("}).size(), 2u);
  EXPECT_EQ(fake.now, 1000 + 2 * (10 + 500));
}

}  // namespace
}  // namespace zepx
