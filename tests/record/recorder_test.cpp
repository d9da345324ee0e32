#include "record/recorder.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "model/send_method.h"
#include "platform/fake/fake_platform.h"

namespace zepx {
namespace {

// A stream in short: "T:OP" tokens, T in virtual ms (a press takes 5 ms,
// a click 20). OP: pX / dX / uX a key pressed, down, up (X a letter, digit,
// symbol or a name below); cL5,6 / cR a click, DL / UL a left press /
// release, M5,6 a move, W the wheel, cM the middle button; F=title the
// foreground. Suffixes: ! injected, # our own window, ~ input method open,
// ^ the focus in a child window.
std::vector<InputEvent> Script(const std::string& s) {
  static const std::map<std::string, std::uint8_t> kNames = {
      {"Shift", 0xA0}, {"Ctrl", 0xA2}, {"Alt", 0xA4}, {"Win", 0x5B}, {"Enter", 0x0D},
      {"F5", 0x74},    {"Space", 0x20}, {"+", 0xBB},   {"|", 0xDC},   {">", 0xBE}, {"Num", 0x90}};
  std::vector<InputEvent> out;
  std::istringstream in(s);
  std::string tok;
  while (in >> tok) {
    InputEvent e;
    const std::size_t colon = tok.find(':');
    e.time_ms = std::stoll(tok.substr(0, colon));
    std::string op = tok.substr(colon + 1);
    for (char f; !op.empty() && std::string("!#~^").find(f = op.back()) != std::string::npos; op.pop_back()) {
      e.injected |= f == '!';
      e.own |= f == '#';
      e.ime_open |= f == '~';
      if (f == '^') e.top = 0x10;
    }
    e.window = e.top ? 0x11 : 0x10;
    e.title = "Probe";
    e.class_name = "Edit";
    const char c = op[0];
    const std::string arg = op.substr(1);
    if (c == 'F') {
      e.kind = InputEvent::Foreground;
      e.title = arg.substr(1);
      out.push_back(e);
      continue;
    }
    if (c == 'p' || c == 'd' || c == 'u') {
      e.vk = kNames.count(arg) ? kNames.at(arg) : static_cast<std::uint8_t>(arg[0]);
      e.up = c == 'u';
      out.push_back(e);
      if (c == 'p') {
        e.up = true;
        e.time_ms += 5;
        out.push_back(e);
      }
      continue;
    }
    e.kind = InputEvent::Mouse;
    const char b = c == 'M' || c == 'W' ? c : arg[0];
    e.button = b == 'L' ? InputEvent::Left : b == 'R' ? InputEvent::Right
             : b == 'W' ? InputEvent::Wheel : b == 'M' && c != 'M' ? InputEvent::Middle : InputEvent::None;
    const std::string xy = c == 'M' ? arg : arg.size() > 1 ? arg.substr(1) : "0,0";
    e.point = {std::stoi(xy), std::stoi(xy.substr(xy.find(',') + 1))};
    e.up = c == 'U';
    out.push_back(e);
    if (c == 'c') {
      e.up = true;
      e.time_ms += 20;
      out.push_back(e);
    }
  }
  return out;
}

struct Case {
  int method;
  const char* script;
  const char* lines;  // joined by " | "
  int skipped;
  bool merge = true;
  int room = 999;
};

TEST(Recorder, TurnsEventStreamsIntoComposedLines) {
  const Case cases[] = {
      // Text merges by method; Shift-typed keys stay keys outside WinMessage.
      {kSendEvent, "0:pA 20:dShift 30:pA 40:uShift 60:p1 70:pSpace", "[Text]~~a | [A]+Shift | [Text]~~1 ", 0},
      {kSendWinMessage, "0:pA 20:dShift 30:pA 40:uShift 60:p1^",
       "[Text]~~aA|>Probe <16> | [Text]~~1|>Probe@@Edit <17>", 0},
      {kSendInput, "0:pA 10:pSpace", "[A] | [Space]", 0, false},
      // Pairs the line reader would take for a modifier or a target.
      {kSendWinMessage, "0:pA 10:dShift 20:p+ 30:pS 40:p| 50:p> 60:uShift",
       "[Text]~~a+|>Probe <16> | [S]+Shift|>Probe <16> | [Text]~~||>Probe <16> | [Text]~~>|>Probe <16>", 0},
      // Modifiers alone, combined, held down, released unseen; the Windows
      // key, unnamed keys, our hot keys, our window, injected, input method.
      {kSendInput,
       "0:dCtrl 10:uCtrl 20:dShift 21:dAlt 22:dCtrl 30:pF5 40:uCtrl 41:uAlt 42:uShift "
       "50:dB 51:dB 52:dB 60:uB 61:uR 62:uAlt 70:dWin 71:pE 72:uWin 80:pNum "
       "90:dCtrl 91:dAlt 92:pX 93:uAlt 94:uCtrl 100:pC# 101:pD! 110:pE~ 111:pEnter~",
       "[Ctrl] | [F5]+Shift+Alt+Ctrl | [Text]~~b | [Enter]", 3},
      // Pauses: less the run's own waits (key 50, modifiers 30), rounded,
      // within threshold and cap; none first or last.
      {kSendInput, "1000:pA 1234:pB 1369:dShift 1370:pC 1380:uShift 1590:pD 71590:pEnter",
       "[A] | Wait=180 | [B] | [C]+Shift | Wait=140 | [D] | [Enter]", 0, false},
      {kSendEvent, "0:pA 300:pB 330:pC", "[Text]~~a | Wait=250 | [Text]~~bc", 0},
      // Clicks (click wait 100), doubles within 500 ms and 2 pixels, drags
      // beyond 4 pixels, the top row, negative points.
      {kSendInput,
       "0:cL10,0 300:cL11,1 1000:cR-5,-7 1700:cR-5,-1 2400:DL0,0 2410:M9,3 2420:UL1,1 "
       "3000:DR50,60 3100:UR40,60",
       "L_DClick:10x1 | Wait=580 | R_Click:-5x-7 | Wait=580 | R_Click:-5x-1 | Wait=580 | "
       "L_Drag:0x1 | L_Drop:1x1 | Wait=280 | R_Drag:50x60 | R_Drop:40x60", 0},
      // Skipped: the wheel, the middle button, runs of moves, a click with
      // a modifier held; our window and injected clicks are no events.
      {kSendInput, "0:W 10:cM 20:M1,1 21:M2,2 30:dCtrl 40:cL5,5 50:uCtrl 60:cL6,6# 70:cL7,7! 80:M3,3 90:cL8,8",
       "L_Click:8x8", 5},
      // Windows brought to the front; untitled and our own are not written.
      {kSendInput, "0:F=メモ帳 10:pA 20:F= 30:pB 40:F=ZEPX# 50:pC 60:F=Game 70:cL1,2",
       "[ｱﾌﾟﾘを前面に]@@メモ帳 | [Text]~~abc | [ｱﾌﾟﾘを前面に]@@Game | L_Click:1x2", 1},
      // The list's limit ends the recording with what fitted.
      {kSendInput, "0:pA 10:pB 20:pC 30:pD", "[A] | [B]", 0, false, 2},
  };
  FakePlatform fake;
  for (const Case& c : cases) {
    RecordOptions o;
    o.send_method = c.method;
    o.key_wait_ms = 50;
    o.click_wait_ms = 100;
    o.drag_wait_ms = 200;
    o.modifier_wait_ms = 30;
    o.merge_text = c.merge;
    o.hot_key_letters = "SX";
    o.room = c.room;
    fake.layout_keys['|'] = 0x1DC;
    fake.layout_keys['>'] = 0x1BE;
    Recorder r(o, fake);
    for (const InputEvent& e : Script(c.script)) r.Feed(e);
    r.Finish();
    std::string got;
    for (const std::string& l : r.Lines()) got += (got.empty() ? "" : " | ") + l;
    EXPECT_EQ(got, c.lines) << c.script;
    EXPECT_EQ(r.Skipped(), c.skipped) << c.script;
    EXPECT_EQ(r.Full(), c.room < 999) << c.script;
  }
}

}  // namespace
}  // namespace zepx
