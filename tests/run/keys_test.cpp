// Key and text lines in each send method: the exact input calls and posts
// and their times on the virtual clock (after-key wait 1200, modifier wait
// 250 unless a test sets them).
#include "run/run_fixture.h"

#include <stdexcept>
#include <tuple>

#include "model/convert.h"

namespace zepx {
namespace {

class Keys : public RunTest {
 protected:
  Keys() { fake.foreground = desk; }
  Hwnd desk = fake.AddWindow("Desk", "DeskClass", {0, 0, 800, 600});
  Hwnd game = fake.AddWindow("Game", "GameClass");
  std::string To(Hwnd h) const { return "|>Game <" + N(h) + ">"; }
};

// Every key word: its virtual key, and whether WinMessage posts it to the
// target (1) or injects it (0). The substitute's layout is US: "@" and "*"
// are the shifted 2 and 8, "+" the "=" key; the shift state is never
// applied. A name is compared for its own length only and never mistaken
// for another that shares its beginning; the letter F is no function key.
std::vector<std::tuple<std::string, int, bool>> KeyTable() {
  std::vector<std::tuple<std::string, int, bool>> t = {
      {"[↑]", 0x26, 1}, {"[↓]", 0x28, 1}, {"[←]", 0x25, 1}, {"[→]", 0x27, 1}, {"[Enter]", 0x0D, 1}, {"[End]", 0x23, 1},
      {"[Home]", 0x24, 1}, {"[PageUp]", 0x21, 1}, {"[PageDown]", 0x22, 1}, {"[Insert]", 0x2D, 1},
      {"[Delete]", 0x2E, 1}, {"[Esc]", 0x1B, 1}, {"[Space]", 0x20, 1}, {"[BackSpace]", 0x08, 1}, {"[PrtSc]", 0x2C, 0},
      {"[Tab]", 0x09, 1}, {"[Windows]", 0x5B, 0}, {"[KANJI]", 0x19, 0}, {"[Shift]", 0x10, 0}, {"[Alt]", 0x12, 0},
      {"[Ctrl]", 0x11, 0}, {"[F]", 0x46, 1}, {"[@]", 0x32, 1}, {"[+]", 0xBB, 1}, {"[-]", 0xBD, 1}, {"[*]", 0x38, 1},
      {"[/]", 0xBF, 1}, {"[Enter]xyz", 0x0D, 1}, {"[Endless]", 0x23, 1}, {"[PageUpper]", 0x21, 1},
      {"[Esc and more", 0x1B, 1},
      // Case-sensitive names; a line naming no key sends nothing but waits.
      {"[enter]", 0, 0}, {"[ENTER]", 0, 0}, {"[Ctr]", 0, 0}, {"[Page]", 0, 0}};
  for (int n = 1; n <= 12; ++n) t.emplace_back("[F" + N(n) + "]", 0x6F + n, 1);
  for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) t.emplace_back(std::string("[") + c + "]", c, 1);
  return t;
}

TEST_F(Keys, EveryKeyWordSendsItsKeyPostedOrInjectedAndOnlyF5WaitsBeforeIt) {
  for (const auto& [word, key, posted] : KeyTable()) {
    SCOPED_TRACE(word);
    const std::string at = word == "[F5]" ? "3000:" : "0:", vk = N(key), scan = N(fake.MapVirtualKeyA(key, 0));
    w.method = kSendWinMessage;
    EXPECT_EQ(SendLine(word + To(game), game, {"keybd_event", "SendInput", "PostMessageA"}),
              key == 0 ? Texts{} : Texts{at + (posted ? "PostMessageA(" + N(game) + ",256," + vk + ",1)"
                                            : "SendInput(" + vk + "," + scan + ",0;" + vk + "," + scan + ",2)")});
    w.method = kSendEvent;
    EXPECT_EQ(SendLine(word, 0, {"keybd_event", "SendInput", "PostMessageA"}),
              key == 0 ? Texts{} : (Texts{at + "keybd_event(" + vk + ",0,0,0)", at + "keybd_event(" + vk + ",0,2,0)"}));
    EXPECT_EQ(fake.now, (word == "[F5]" ? 3000 : 0) + 1200);
  }
}

TEST_F(Keys, ModifiersArePressedAltCtrlShiftAndReleasedInReverseEvenWhenALineFails) {
  const std::string fg = "0:GetForegroundWindow()=" + N(desk), back = "260:SetForegroundWindow(" + N(desk) + ")";
  w.method = kSendEvent;
  EXPECT_EQ(Join(SendLine("[A]+Shift+Alt+Ctrl")),
            fg + " 0:SetForegroundWindow(0) 0:Sleep(10) 10:keybd_event(18,56,0,0) 10:keybd_event(17,29,0,0) "
            "10:keybd_event(16,42,0,0) 260:keybd_event(65,0,0,0) 260:keybd_event(65,0,2,0) 260:keybd_event(16,42,2,0) "
            "260:keybd_event(17,29,2,0) 260:keybd_event(18,56,2,0) " + back);
  EXPECT_EQ(w.Seen("delay"), (Texts{"delay M+@10", "delay M-@260", "delay K+@260", "delay K-@1460"}));
  // WinMessage (and SendInput) press the modifiers as input records;
  // WinMessage brings the target forward for them and gives the front back.
  w.method = kSendWinMessage;
  EXPECT_EQ(SendLine("[F1]+Shift" + To(game), game),
            (Texts{fg, "0:SetForegroundWindow(" + N(game) + ")", "0:Sleep(10)", "10:SendInput(16,42,0)",
                   "260:PostMessageA(" + N(game) + ",256,112,1)", "260:SendInput(16,42,2)", back}));
  EXPECT_EQ(fake.foreground, desk);
  // "+S" anywhere holds Shift, inside a text too; "[" makes a text naming a
  // click a key line.
  w.method = kSendEvent;
  const Texts typed = SendLine("[Text]~~L_Click:5x5+S", 0, {"keybd_event", "mouse_event", "SetCursorPos"});
  ASSERT_EQ(typed.size(), 2u + 2u * 13u);
  EXPECT_EQ(typed[0] + typed[1] + typed.back(),
            "10:keybd_event(16,42,0,0)260:keybd_event(76,0,0,0)260:keybd_event(16,42,2,0)");
  // No key stays down when a handler fails during a wait of the line.
  w.method = kSendWinMessage;
  fake.At(100, [] { throw std::runtime_error("handler failed"); });
  EXPECT_THROW(SendLine("[F5]+Alt+Ctrl"), std::runtime_error);
  EXPECT_EQ(Join(fake.Texts({"SendInput"})), "SendInput(18,56,0) SendInput(17,29,0) SendInput(17,29,2) SendInput(18,56,2)");
  // A function key whose number is no number fails before anything is pressed.
  w.method = kSendEvent;
  EXPECT_THROW(SendLine("[Fx]+Ctrl"), ConvertError);
  EXPECT_TRUE(fake.Texts({"keybd_event", "SendInput"}).empty());
}

TEST_F(Keys, TextIsTypedByUnshiftedKeysOrPostedByteByByte) {
  w.method = kSendEvent;
  EXPECT_EQ(Join(SendLine("[Text]~~Ab!")), "0:keybd_event(65,0,0,0) 0:keybd_event(65,0,2,0) 0:keybd_event(66,0,0,0) "
                                           "0:keybd_event(66,0,2,0) 0:keybd_event(49,0,0,0) 0:keybd_event(49,0,2,0)");
  w.method = kSendWinMessage;
  const std::string p = "0:PostMessageA(" + N(game);
  EXPECT_EQ(SendLine("[Text]~~Aあ" + To(game), game),
            (Texts{"0:SetActiveWindow(" + N(game) + ")", p + ",258,65,0)", p + ",258,130,0)", p + ",258,160,0)"}));
  // No key produces a cp932 byte: the key methods type nothing for it, and
  // on a European code page its bytes are not taken for accented letters.
  for (std::uint32_t cp : {932u, 1252u}) {
    fake.ansi_code_page = cp;
    w.method = kSendEvent;
    const std::string none = "0:keybd_event(255,0,0,0) 0:keybd_event(255,0,2,0)";
    EXPECT_EQ(Join(SendLine("[Text]~~日", 0, {"keybd_event"})), none + " " + none) << cp;
    w.method = kSendInput;
    EXPECT_EQ(SendLine("[ﾟ]", 0, {"SendInput"}), Texts{"0:SendInput(255,0,0;255,0,2)"}) << cp;
  }
  // SendInput types with scan codes; the layout is read afresh for each line
  // (French: A and Q trade places).
  const Texts us{"0:SendInput(81,16,0;81,16,2)", "0:SendInput(65,30,0;65,30,2)"};
  EXPECT_EQ(SendLine("[Text]~~qa"), us);
  fake.layout_keys = {{'q', 'A'}, {'a', 'Q'}};
  EXPECT_EQ(SendLine("[Text]~~qa"), (Texts{us[1], us[0]}));
}

TEST_F(Keys, FrontAppLinesActivateTheNamedWindowAndKeepTheirWaits) {
  const Hwnd pad = fake.AddWindow("Notepad", "Edit");
  const std::string h = N(pad), shown = "0:SetActiveWindow(" + h + ") 0:SetForegroundWindow(" + h + ") 0:SetFocus(" + h + ")";
  w.method = kSendEvent;
  EXPECT_EQ(Join(SendLine("[ｱﾌﾟﾘを前面に]@@Notepad")), "0:FindWindowA(null,\"Notepad\")=" + h + " " + shown + " 0:Sleep(10)");
  EXPECT_TRUE(fake.now == 1210 && fake.foreground == pad) << fake.now;
  // An empty title would name whatever untitled window comes first.
  fake.AddWindow("", "Untitled");
  for (const char* line : {"[ｱﾌﾟﾘを前面に]@@", "[ｱﾌﾟﾘを前面に]"}) EXPECT_EQ(SendLine(line), Texts{"0:Sleep(10)"});
}

// The options of _event and SendInput, one line each: method, options
// (s scan codes, u text as written), hold time, a Stop at, the line and its
// calls. WinMessage sends as it always did.
TEST_F(Keys, KeyOptionsShapeTheRecordsOfEventAndSendInputOnly) {
  std::string hello;  // each character in a record of its own
  for (char16_t u : std::u16string(u"Hello! こんにちは")) hello += std::string(hello.empty() ? "" : " ") + "0:SendInput(0," + N(u) + ",4;0," + N(u) + ",6)";
  const std::tuple<int, std::string, std::int32_t, std::int64_t, const char*, std::string> rows[] = {
      {kSendInput, "u", 0, 0, "[Text]~~Hello! こんにちは", hello}, {kSendEvent, "u", 0, 0, "[Text]~~Hello! こんにちは", hello},
      {kSendInput, "", 0, 0, "[↑]", "0:SendInput(38,72,0;38,72,2)"}, {kSendInput, "s", 0, 0, "[↑]", "0:SendInput(38,72,9;38,72,11)"},
      {kSendInput, "s", 0, 0, "[PrtSc]", "0:SendInput(44,55,9;44,55,11)"}, {kSendWinMessage, "su", 500, 0, "[PrtSc]", "0:SendInput(44,84,0;44,84,2)"},
      {kSendInput, "s", 0, 0, "[A]+Shift", "0:Sleep(10) 10:SendInput(16,42,8) 260:SendInput(65,30,8;65,30,10) 260:SendInput(16,42,10)"},
      {kSendEvent, "s", 0, 0, "[Windows]", "0:keybd_event(91,91,1,0) 0:keybd_event(91,91,3,0)"},
      {kSendEvent, "s", 1000, 0, "[Delete]", "0:keybd_event(46,83,1,0) 1000:keybd_event(46,83,3,0)"},
      {kSendEvent, "", 5000, 0, "[A]", "0:keybd_event(65,0,0,0) 1000:keybd_event(65,0,2,0)"},  // a second at most
      {kSendInput, "", 40, 0, "[Text]~~ab", "0:SendInput(65,30,0) 40:SendInput(65,30,2) 40:SendInput(66,48,0) 80:SendInput(66,48,2)"},
      {kSendInput, "", 500, 200, "[Text]~~abc", "0:SendInput(65,30,0) 200:SendInput(65,30,2)"},
      {kSendEvent, "u", 500, 200, "[Text]~~abc", "0:SendInput(0,97,4) 200:SendInput(0,97,6)"},
      {kSendWinMessage, "u", 0, 0, "[Text]~~ゼ", "0:PostMessageA(0,258,131,0) 0:PostMessageA(0,258,91,0)"}};
  for (const auto& [method, options, hold, stop, line, calls] : rows) {
    SCOPED_TRACE(line);
    std::tie(w.method, w.scan_codes, w.unicode_text, w.hold_ms) =
        std::make_tuple(method, options.find('s') != std::string::npos, options.find('u') != std::string::npos, hold);
    if (stop) fake.At(stop, [&] { engine.Stop(); });
    EXPECT_EQ(Join(SendLine(line, 0, {"keybd_event", "SendInput", "PostMessageA", "Sleep"})), calls);
  }
}

}  // namespace
}  // namespace zepx
