// Whole runs in virtual time without a window: the request, passes, chains,
// stops, waits, targets and the warnings before a run.
#include "run/run_fixture.h"

#include <stdexcept>

namespace zepx {
namespace {

TEST_F(RunTest, RefusalsAndBadNumbersEndTheRunWithTheirMessage) {
  struct Case {
    int method;
    std::vector<std::string> lines;
    std::string text;      // the one message, shown at 1000 unless lines ran first
    std::vector<int> waits;
    bool started;          // the running display was shown
  } cases[] = {
      {kSendInput, {}, "送信コマンドを追加して下さい.", {}, false},
      // "r_drop:noset" comes first in the list, but "L_Drag:NoSet" is searched
      // first; a line with more than the text does not count.
      {kSendInput, {"Wait=100", "r_drop:noset", "L_Drag:NoSet ", "l_drag:NOSET", "L_Drop:10x20"},
       "ドラッグアンドドロップを使用する場合は、必ず座標を指定してください.", {}, false},
      {kSendInput, {"Wait=100", "Wait=abc"}, "'abc' は整数ではありません", {100}, true},
      // An event line with a trailing blank is no event line: it is a wait.
      {kSendInput, {"【ZEP Event 1】 "}, "' Event 1】 ' は整数ではありません", {}, true},
      {kSendInput, {"W"}, "'' は整数ではありません", {}, true},
      {kSendWinMessage, {"Wait=100", "[A]|>Notepad <12x>"}, "'12x' は整数ではありません", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    fake.boxes.clear();
    w.log.clear();
    w.method = c.method;
    const std::int64_t start = fake.now;
    Run(c.lines);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, c.text);
    EXPECT_EQ(fake.boxes[0].kind, MsgKind::Info);
    EXPECT_EQ(Waits(), c.waits);
    if (c.waits.empty()) EXPECT_EQ(fake.boxes[0].t, start + 1000);
    EXPECT_EQ(w.Seen("running").size(), c.started ? 1u : 0u);
    if (!c.started && !c.lines.empty()) EXPECT_EQ(batch.Selected(), 3) << "the line found is selected";
    if (!c.started) continue;
    ExpectIdle();
    EXPECT_EQ(w.Seen("seconds").back().substr(0, 10), "seconds 0@");
  }
}

TEST_F(RunTest, StopDuringThePreWaitCancelsAndRequestsDuringARunAreIgnored) {
  fake.At(400, [&] { engine.Stop(); });
  Run({"Wait=100"});
  EXPECT_EQ(fake.now, 400);
  EXPECT_TRUE(Waits().empty());
  EXPECT_TRUE(w.Seen("running").empty());

  w.passes = 1;
  std::vector<std::int64_t> returned_at;
  auto again = [&] {
    EXPECT_TRUE(engine.Running());
    engine.Request();
    returned_at.push_back(fake.now);
  };
  fake.At(900, again);   // inside the pre-wait
  fake.At(1900, again);  // inside the wait line
  Run({"Wait=2000"});
  EXPECT_EQ(returned_at, (std::vector<std::int64_t>{900, 1900}));
  EXPECT_EQ(fake.now, 400 + 3000) << "the first run went on undisturbed";
  EXPECT_EQ(Waits(), std::vector<int>{2000});
  ExpectIdle();
}

TEST_F(RunTest, PassesAreCountedAndShownUntilTheWantedNumber) {
  w.passes = 3;
  Run({"Wait=100", "Wait=200"});
  EXPECT_EQ(w.Seen("pass"), (Calls{"pass 0@1000", "pass 1@1300", "pass 2@1600", "pass 3@1900"}));
  EXPECT_EQ(Waits(), (std::vector<int>{100, 200, 100, 200, 100, 200}));
  EXPECT_EQ(w.Seen("stop key"), (Calls{"stop key on@1000", "stop key off@1900"}));
  ExpectIdle();
  EXPECT_EQ(fake.now, 1900);
}

TEST_F(RunTest, StatusNamesTheSendMethodAndTheStopLetter) {
  for (int m : {kSendEvent, kSendInput, kSendWinMessage}) {
    w.log.clear();
    w.method = m;
    Run({"Wait=100"});
    const char* name = m == kSendEvent ? "_event" : m == kSendInput ? "SendInput" : "WinMessage";
    EXPECT_EQ(w.Seen("status")[0].substr(0, w.Seen("status")[0].find('@')),
              std::string("status 実行中 (") + name + ") - Ctrl+Alt+Qで中断できます");
  }
}

TEST_F(RunTest, EndlessPassesUntilStopEndsTheWaitAtOnce) {
  w.passes = 0;
  fake.At(3200, [&] { engine.Stop(); });
  Run({"Wait=500"});
  EXPECT_EQ(fake.now, 3200) << "the wait in progress ended with the stop";
  EXPECT_EQ(w.Seen("pass").back(), "pass 4@3000");
  EXPECT_EQ(Waits().size(), 5u) << "no line after the stop";
  ExpectIdle();
}

TEST_F(RunTest, QuittingEndsAnEndlessRun) {
  w.passes = 0;
  fake.At(1500, [&] { fake.Quit(); });
  Run({"Wait=5000"});
  EXPECT_EQ(fake.now, 1500);
  ExpectIdle();
}

TEST_F(RunTest, WaitLinesCountSecondsAndOnlyPositiveWaitsWaitWithoutPolling) {
  Run({"Wait=2500"});
  EXPECT_EQ(w.Seen("seconds"), (Calls{"seconds 0@1000", "seconds 1@2000", "seconds 2@3000", "seconds 0@3500"}));
  // "Pause" shows that the first five bytes are skipped unread.
  fake.now = 0;
  Run({"Wait=0", "Wait=-5", "Pause300"});
  EXPECT_EQ(fake.now, 1300);
  EXPECT_EQ(Waits(), std::vector<int>{300}) << "no timer for a wait that is not positive";

  const int before = fake.Dispatched();
  Run({"Wait=600000"});
  // One wait tick plus 600 second ticks of Timer1 and a few sweeps: a
  // polling wait would need many thousands.
  EXPECT_LT(fake.Dispatched() - before, 700);
  ExpectIdle();
}

// A list of event lines never waits; a stop arriving meanwhile must still
// be heard, at the end of the pass it arrived in.
TEST_F(RunTest, AnEndlessListOfEventLinesStillHearsAStop) {
  w.passes = 0;
  std::vector<int> events;
  w.on_event = [&](int e) {
    events.push_back(e);
    if (events.size() == 40) fake.At(fake.now, [&] { engine.Stop(); });
    if (events.size() > 10000) throw std::runtime_error("the run never looked at its queue");
  };
  Run({"【ZEP Event 1】", "【ZEP Event 2】"});
  EXPECT_EQ(events.size(), 40u);
  EXPECT_EQ(events.front(), 1);
  EXPECT_EQ(events.back(), 2);
  EXPECT_EQ(w.Seen("pass").back().substr(0, 8), "pass 19@");
  ExpectIdle();
}

TEST_F(RunTest, ChainsLoadTheirFilesInOrderAndRepeatFromTheFirst) {
  struct Case {
    std::array<std::string, 5> files;
    bool repeats;
    int wanted;
    std::vector<int> waits;
    Calls repeat_counts;
  } cases[] = {
      {{"one", "two", "", "one", ""}, false, 0, {100, 200, 300}, {"repeat 0@1000"}},
      // The list open before the run is not part of the repetition.
      {{"one", "two", "", "", ""}, true, 2, {100, 200, 300, 200, 300},
       {"repeat 0@1000", "repeat 1@1600", "repeat 2@2100"}},
      {{"", "", "", "", ""}, true, 2, {100}, {"repeat 0@1000"}},  // nothing to repeat
      {{"missing", "two", "", "", ""}, false, 0, {100, 100, 300}, {"repeat 0@1000"}},
      {{"empty", "two", "", "", ""}, false, 0, {100}, {"repeat 0@1000"}},  // no lines: the end
      {{"one", "two", "one", "two", "one"}, false, 0, {100, 200, 300, 200, 300, 200}, {"repeat 0@1000"}},
  };
  w.chain = true;
  w.disk = {{"one", {"Wait=200"}}, {"two", {"Wait=300"}}, {"empty", {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.files[0] + "," + c.files[1]);
    fake.now = 0;
    w.log.clear();
    w.files = c.files;
    w.repeats = c.repeats;
    w.repeats_wanted = c.wanted;
    Run({"Wait=100"});
    EXPECT_EQ(Waits(), c.waits);
    EXPECT_EQ(w.Seen("repeat"), c.repeat_counts);
    ExpectIdle();
  }
}

class TargetTest : public RunTest {
 protected:
  TargetTest() {
    w.method = kSendWinMessage;
    w.delay = {0, 0, 0, 0};
    w.apps = {"Other <5>", "Ultima Online - Bob <" + N(game) + ">"};
  }
  Hwnd notepad = fake.AddWindow("Notepad", "NotepadClass");
  Hwnd parent = fake.AddWindow("Main", "MainClass");
  Hwnd child = fake.AddWindow("", "EditChild", {0, 0, 10, 10}, parent);
  Hwnd game = fake.AddWindow("Ultima Online - Bob", "UOClass");
};

TEST_F(TargetTest, StaleHandlesAreLookedUpAgainOnlyWithAutoHandle) {
  batch.SetLines({"Wait=100", "[A]|>Notepad <" + N(notepad) + ">", "[A]|>Notepad <99999>",
                  "[A]|>Main@@EditChild <99999>", "[A]|>Ultima Online <99999>", "[A]|>Notepad",
                  "[A]+Ctrl", "[A]|>Gone@@EditChild <99999>"});
  engine.ResolveTargets();
  EXPECT_EQ(batch.Targets(), (std::vector<Hwnd>{0, notepad, notepad, child, game, notepad, 0, 0}));
  // Without its parent the child is not searched for among the top-level
  // windows, where an unrelated window of that class could answer.
  for (const std::string& t : fake.Texts({"FindWindowExA"})) EXPECT_EQ(t.find("FindWindowExA(0,"), std::string::npos) << t;
  w.auto_handle = false;
  engine.ResolveTargets();
  EXPECT_EQ(batch.Targets(), (std::vector<Hwnd>{0, notepad, 99999, 99999, 99999, notepad, 0, 99999}));
}

TEST_F(TargetTest, UnresolvedTargetsAskBeforeTheRun) {
  fake.answers = {MsgResult::No};
  Run({"Wait=100", "[A]|>Ghost <99999>", "[B]|>Ghost2", "[C]|>Notepad"});
  EXPECT_EQ(Boxes(), (Calls{"以下のプログラムがバッチに含まれていますが実行されていない可能性があります\r\n\r\n"
                            "Ghost <99999>\r\nGhost2\r\n\r\nコマンド送信は行われませんが実行しますか？@1000"}));
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::YesNo);
  EXPECT_TRUE(Waits().empty()) << "No ends the run";
  ExpectIdle();

  fake.answers = {MsgResult::Yes};
  Run({"Wait=100", "[A]|>Ghost <99999>"});
  EXPECT_EQ(batch.Targets(), (std::vector<Hwnd>{0, 0}));
  EXPECT_EQ(Waits(), std::vector<int>{100}) << "Yes runs with no window for the line";

  fake.on_box = [&](const FakePlatform::Box&) -> std::optional<MsgResult> {
    engine.Stop();
    return MsgResult::Yes;
  };
  Run({"Wait=100", "[A]|>Ghost <99999>"});
  EXPECT_TRUE(Waits().empty()) << "a Stop while the question is open counts";
  ExpectIdle();
}

TEST_F(TargetTest, AListReplacedUnderTheRunSendsToItsOwnTargets) {
  const Hwnd a = fake.AddWindow("Probe A", "ProbeClass");
  const Hwnd b = fake.AddWindow("Probe B", "ProbeClass");
  w.passes = 0;
  w.delay[0] = 100;
  fake.At(1700, [&] {
    batch.SetLines({"[Text]~~b|>Probe B <" + N(b) + ">", "Wait=400"});
    engine.ListReplaced();
  });
  fake.At(3000, [&] { engine.Stop(); });
  Run({"[Text]~~a|>Probe A <" + N(a) + ">", "Wait=400"});
  std::string chars;
  for (const auto& p : fake.posted) chars += (p.hwnd == a ? "A" : p.hwnd == b ? "B" : "?") + std::string(1, static_cast<char>(p.wparam));
  EXPECT_EQ(chars, "AaAaBbBb");
  EXPECT_EQ(batch.Targets(), (std::vector<Hwnd>{b, 0}));

  // A chain file's lines are resolved too.
  w.passes = 1;
  w.chain = true;
  w.files[0] = "one";
  w.disk["one"] = {"Wait=200", "[A]|>Notepad <99999>"};
  Run({"Wait=100"});
  EXPECT_EQ(batch.Targets(), (std::vector<Hwnd>{0, notepad}));
}

// Input aimed at a program above our integrity level is dropped by the
// system: the user who clicked Run is asked, other starts only told.
class Unreachable : public RunTest {
 protected:
  Unreachable() {
    fake.own_integrity = 0x2000;
    fake.FindWindowByHandle(admin)->integrity = 0x3000;
    fake.FindWindowByHandle(plain)->integrity = 0x2000;
    w.method = kSendWinMessage;
    w.delay[0] = 100;
  }
  std::vector<std::string> Lines() const {
    return {"[A]|>管理者 - Game <" + N(admin) + ">", "[B]|>Notepad <" + N(plain) + ">"};
  }
  Hwnd admin = fake.AddWindow("管理者 - Game", "GameClass");
  Hwnd plain = fake.AddWindow("Notepad", "NotepadClass");
};

TEST_F(Unreachable, TheUserIsAskedOtherStartsWarnByABalloonAndRun) {
  const std::string question =
      "次のウインドウは管理者として実行されているプログラムのものです.\r\n"
      "管理者として実行されていないZEPXからの入力はWindowsに破棄され、届きません.\r\n\r\n"
      "管理者 - Game <" + N(admin) + ">\r\n"
      "\r\n管理者として実行するZEPXを新しく起動しますか？\r\n(「いいえ」を選ぶと、このまま実行します)";
  fake.answers = {MsgResult::No, MsgResult::Yes};
  Run(Lines());
  EXPECT_EQ(Boxes(), Calls{question + "@1000"});
  EXPECT_EQ(fake.posted.size(), 2u) << "No runs anyway";
  fake.posted.clear();
  Run(Lines());
  EXPECT_TRUE(fake.posted.empty()) << "Yes starts no run here";
  EXPECT_EQ(w.Seen("admin").size(), 1u);
  ExpectIdle();

  fake.boxes.clear();
  Run(Lines(), RunSource::HotKey);
  EXPECT_TRUE(fake.boxes.empty()) << "no question holds the run up";
  EXPECT_EQ(w.Seen("ZEPX - 入力が届きません: 管理者として実行中のウインドウには入力が届きません: 管理者 - Game <" + N(admin) + ">").size(), 1u);
  EXPECT_EQ(fake.posted.size(), 2u);
}

TEST_F(Unreachable, InjectedInputChecksTheFrontAppWindowsOnceEach) {
  w.method = kSendInput;
  w.delay = {0, 0, 0, 0};
  w.passes = 3;
  fake.answers = {MsgResult::No};
  Run({"[ｱﾌﾟﾘを前面に]@@Notepad", "[A]", "[ｱﾌﾟﾘを前面に]@@管理者 - Game", "[ｱﾌﾟﾘを前面に]@@管理者 - Game"});
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_NE(fake.boxes[0].text.find("\r\n\r\n管理者 - Game\r\n\r\n"), std::string::npos) << fake.boxes[0].text;
  EXPECT_EQ(fake.Texts({"IntegrityLevel("}).size(), 3u) << "ours and the two windows, once";

  // The same level, or a system that cannot tell: nothing is said.
  fake.boxes.clear();
  fake.FindWindowByHandle(admin)->integrity = 0x2000;
  Run({"[ｱﾌﾟﾘを前面に]@@管理者 - Game"});
  fake.FindWindowByHandle(admin)->integrity.reset();
  Run({"[ｱﾌﾟﾘを前面に]@@管理者 - Game"});
  fake.own_integrity.reset();
  fake.FindWindowByHandle(admin)->integrity = 0x3000;
  Run({"[ｱﾌﾟﾘを前面に]@@管理者 - Game"});
  EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(RunTest, NestedWaitsKeepTheirOwnEndsAndStopEndsThemAll) {
  Calls ends;
  auto inner = [&](int ms) {
    return [&, ms] {
      engine.WaitMs(ms);
      ends.push_back("inner@" + N(fake.now));
    };
  };
  fake.At(500, inner(300));  // a short wait inside a long one
  engine.WaitMs(2000);
  ends.push_back("outer@" + N(fake.now));
  fake.At(2500, inner(3000));  // a long wait inside a short one
  engine.WaitMs(1000);
  ends.push_back("outer@" + N(fake.now));
  fake.At(6000, inner(5000));
  fake.At(6200, [&] { engine.Stop(); });
  engine.WaitMs(10000);
  ends.push_back("outer@" + N(fake.now));
  EXPECT_EQ(ends, (Calls{"inner@800", "outer@2000", "inner@5500", "outer@5500", "inner@6200", "outer@6200"}));
  EXPECT_EQ(fake.ActiveTimers(), 0u);
  engine.WaitMs(400);
  EXPECT_EQ(fake.now, 6600) << "a later wait is a full wait again";
}

}  // namespace
}  // namespace zepx
