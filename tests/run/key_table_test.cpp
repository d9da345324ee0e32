// Every key word of the key table, sent by a real run from the Run button:
// which virtual key goes out, and whether WinMessage posts it to the target
// or injects it, against the keybd_event pair of _event. Times are counted
// from the start of the run's first line (one second after the request).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

using Calls = std::vector<std::string>;

std::string N(std::uintptr_t v) { return std::to_string(v); }

class KeyTable : public ::testing::Test {
 protected:
  KeyTable() {
    form.LoopSpinEdit.SetValue(1);
    form.AutoHandleCheckBox.SetChecked(true);
    game = fake.AddWindow("Game", "GameClass");
  }
  void TearDown() override {
    EXPECT_TRUE(fake.keys_down.empty()) << "a key was left down";
    EXPECT_TRUE(fake.boxes.empty()) << "no question or message expected";
  }

  // The one place that decides how a test's list and send method reach the
  // main window: the method through its radio group (on an empty list, so
  // the switch has nothing to ask), then the lines.
  void SetUpRun(int method, const std::vector<std::string>& lines) {
    form.batch.SetLines({});
    form.PostRadioGroup.SetItemIndex(method);
    form.batch.SetLines(lines);
  }

  // Runs the list once and returns the key deliveries with their times
  // relative to the first line; run_ms receives how long the run took from
  // the first line on.
  Calls RunKeys(std::int64_t& run_ms) {
    fake.ClearCalls();
    fake.posted.clear();
    const std::int64_t first_line = fake.now + 1000;
    form.BitBtn1Click();
    run_ms = fake.now - first_line;
    Calls out;
    for (const FakePlatform::Call& c : fake.calls) {
      for (const char* name : {"keybd_event(", "SendInput(", "PostMessageA("})
        if (c.text.rfind(name, 0) == 0) out.push_back(N(c.t - first_line) + ":" + c.text);
    }
    return out;
  }

  std::string Target() const { return "|>Game <" + N(game) + ">"; }
  std::uint32_t Scan(std::uint8_t vk) { return fake.MapVirtualKeyA(vk, 0); }

  FakePlatform fake;
  TApplication app;
  TMainForm form{fake.platform(), app};
  Hwnd game = 0;
};

struct Key {
  std::string word;  // the line as the composer writes it (WinMessage adds the target)
  std::uint8_t vk;
  bool posted;  // in WinMessage: posted to the target, else injected as input
};

// The keyboard layout of the substitute is US: "@" and "*" are the shifted
// 2 and 8, "+" the shifted "=" key; the shift state is never applied.
std::vector<Key> WholeTable() {
  std::vector<Key> t = {
      {"[↑]", 0x26, true},       {"[↓]", 0x28, true},      {"[←]", 0x25, true},
      {"[→]", 0x27, true},       {"[Enter]", 0x0D, true},  {"[End]", 0x23, true},
      {"[Home]", 0x24, true},    {"[PageUp]", 0x21, true}, {"[PageDown]", 0x22, true},
      {"[Insert]", 0x2D, true},  {"[Delete]", 0x2E, true}, {"[Esc]", 0x1B, true},
      {"[Space]", 0x20, true},   {"[BackSpace]", 0x08, true},
      {"[PrtSc]", 0x2C, false},  {"[Tab]", 0x09, true},    {"[Windows]", 0x5B, false},
      {"[KANJI]", 0x19, false},  {"[Shift]", 0x10, false}, {"[Alt]", 0x12, false},
      {"[Ctrl]", 0x11, false},
  };
  for (int n = 1; n <= 12; ++n)
    t.push_back({"[F" + std::to_string(n) + "]", static_cast<std::uint8_t>(0x6F + n), true});
  for (char c = 'A'; c <= 'Z'; ++c) t.push_back({std::string("[") + c + "]", static_cast<std::uint8_t>(c), true});
  for (char c = '0'; c <= '9'; ++c) t.push_back({std::string("[") + c + "]", static_cast<std::uint8_t>(c), true});
  t.push_back({"[@]", 0x32, true});
  t.push_back({"[+]", 0xBB, true});
  t.push_back({"[-]", 0xBD, true});
  t.push_back({"[*]", 0x38, true});
  t.push_back({"[/]", 0xBF, true});
  // A name is compared for its own length only: whatever follows it does
  // not matter, and a name is never mistaken for another that shares its
  // beginning ("End"/"Enter", "PageUp"/"PageDown", F1/F10).
  t.push_back({"[Enter]xyz", 0x0D, true});
  t.push_back({"[Endless]", 0x23, true});
  t.push_back({"[PageUpper]", 0x21, true});
  t.push_back({"[Esc and more", 0x1B, true});
  // The letter F is a one-character key, not a function key.
  t.push_back({"[F]", 0x46, true});
  return t;
}

TEST_F(KeyTable, EveryKeyWordSendsItsKeyPostedOrInjectedAndOnlyF5WaitsBeforeIt) {
  const std::vector<Key> table = WholeTable();
  for (const Key& k : table) {
    const std::string vk = N(k.vk);
    const std::int64_t before = k.word == "[F5]" ? 3000 : 0;
    const std::string at = N(before) + ":";
    std::int64_t run_ms = 0;

    SetUpRun(kSendWinMessage, {k.word + Target()});
    const Calls posted = RunKeys(run_ms);
    if (k.posted) {
      EXPECT_EQ(posted, (Calls{at + "PostMessageA(" + N(game) + ",256," + vk + ",1)"})) << k.word;
    } else {
      const std::string scan = N(Scan(k.vk));
      EXPECT_EQ(posted, (Calls{at + "SendInput(" + vk + "," + scan + ",0;" + vk + "," + scan + ",2)"}))
          << k.word;
    }
    EXPECT_EQ(run_ms, before + 1200) << k.word;

    SetUpRun(kSendEvent, {k.word});
    EXPECT_EQ(RunKeys(run_ms),
              (Calls{at + "keybd_event(" + vk + ",0,0,0)", at + "keybd_event(" + vk + ",0,2,0)"}))
        << k.word;
    EXPECT_EQ(run_ms, before + 1200) << k.word;
  }
}

TEST_F(KeyTable, ANameIsCaseSensitiveAndALineThatNamesNoKeySendsNothingButStillWaits) {
  std::int64_t run_ms = 0;
  for (const char* line : {"[enter]", "[ENTER]", "[Ctr]", "[Page]"}) {
    SetUpRun(kSendEvent, {line});
    EXPECT_TRUE(RunKeys(run_ms).empty()) << line;
    EXPECT_EQ(run_ms, 1200) << line;
  }
}

}  // namespace
}  // namespace zepx
