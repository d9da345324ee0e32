// Whole runs in virtual time without a window: the request, passes, chains,
// stops, waits, targets and the warnings before a run.
#include "run/condition_wait.h"
#include "run/run_fixture.h"

#include <stdexcept>

namespace zepx {
namespace {

TEST_F(RunTest, RefusalsAndBadNumbersEndTheRunWithTheirMessage) {
  // The one message (at 1000 unless lines ran before it), the waits, and
  // whether it came after the running display (a run abandoned).
  struct Case { int method; std::vector<std::string> lines; std::string text; std::vector<int> waits; bool started; };
  const Case cases[] = {
      {kSendInput, {}, "送信コマンドを追加して下さい.", {}, false},
      // "r_drop:noset" comes first in the list, but "L_Drag:NoSet" is searched
      // first; a line with more than the text does not count.
      {kSendInput, {"Wait=100", "r_drop:noset", "L_Drag:NoSet ", "l_drag:NOSET", "L_Drop:10x20"},
       "ドラッグアンドドロップを使用する場合は、必ず座標を指定してください.", {}, false},
      {kSendInput, {"Wait=100", "Wait=abc"}, "'abc' は整数ではありません", {100}, true},
      // An event line with a trailing blank is no event line: it is a wait.
      {kSendInput, {"【ZEP Event 1】 "}, "' Event 1】 ' は整数ではありません", {}, true},
      {kSendWinMessage, {"Wait=100", "[A]|>Notepad <12x>"}, "'12x' は整数ではありません", {}, true},
      {kSendWinMessage, {"[A]|>Game <"}, "'' は整数ではありません", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    fake.boxes.clear();
    w.log.clear();
    fake.now = 0;
    w.method = c.method;
    Run(c.lines);
    EXPECT_EQ(Boxes(), Texts{c.text + "@" + N(c.waits.empty() ? 1000 : fake.now)});
    EXPECT_EQ(WaitLengths(fake), c.waits);
    EXPECT_EQ(w.Seen("running").size(), c.started ? 1u : 0u);
    if (!c.started && !c.lines.empty()) EXPECT_EQ(batch.Selected(), 3) << "the line found is selected";
    if (!c.started) continue;
    ExpectIdle();
    EXPECT_EQ(w.Seen("seconds").back(), "seconds 0@" + N(fake.now));
  }
}

TEST_F(RunTest, RequestsDuringARunOrItsPreWaitAreIgnored) {
  std::vector<std::int64_t> returned_at;
  auto again = [&] {
    engine.Request();
    returned_at.push_back(engine.Running() ? fake.now : -1);
  };
  fake.At(500, again);   // inside the pre-wait
  fake.At(1500, again);  // inside the wait line
  Run({"Wait=2000"});
  EXPECT_EQ(returned_at, (std::vector<std::int64_t>{500, 1500}));
  EXPECT_EQ(fake.now, 3000) << "the first run went on undisturbed";
}

TEST_F(RunTest, PassesAreCountedAndTheStatusNamesMethodAndStopLetter) {
  w.passes = 3;
  for (const char* name : {"_event", "SendInput", "WinMessage"}) {
    w.method = name[0] == '_' ? kSendEvent : name[0] == 'S' ? kSendInput : kSendWinMessage;
    fake.now = 0, w.log.clear();
    Run({"Wait=100", "Wait=200"});
    EXPECT_EQ(w.Seen("status"), Texts{std::string("status 実行中 (") + name + ") - Ctrl+Alt+Qで中断できます@1000"});
    EXPECT_EQ(w.Seen("pass"), (Texts{"pass 0@1000", "pass 1@1300", "pass 2@1600", "pass 3@1900"}));
    ExpectIdle();
  }
}

TEST_F(RunTest, AStopEndsTheRunAtOnceInThePreWaitOrInAWaitAndSoDoesAQuit) {
  fake.At(400, [&] { engine.Stop(); });
  Run({"Wait=100"});
  EXPECT_EQ(fake.now, 400);
  EXPECT_TRUE(WaitLengths(fake).empty() && w.Seen("running").empty()) << "the start is cancelled";
  w.passes = 0;
  fake.At(3600, [&] { engine.Stop(); });
  Run({"Wait=500"});
  EXPECT_EQ(fake.now, 3600);
  EXPECT_EQ(w.Seen("pass").back(), "pass 4@3400");
  EXPECT_EQ(WaitLengths(fake).size(), 5u) << "no line after the stop";
  fake.At(5100, [&] { fake.Quit(); });
  Run({"Wait=5000"});
  EXPECT_EQ(fake.now, 5100);
  ExpectIdle();
}

TEST_F(RunTest, WaitLinesCountSecondsAndOnlyPositiveWaitsWaitWithoutPolling) {
  Run({"Wait=2500"});
  EXPECT_EQ(w.Seen("seconds"), (Texts{"seconds 0@1000", "seconds 1@2000", "seconds 2@3000", "seconds 0@3500"}));
  fake.now = 0;
  Run({"Wait=0", "Wait=-5", "Pause300"});  // the first five bytes are skipped unread
  EXPECT_EQ(fake.now, 1300);
  EXPECT_EQ(WaitLengths(fake), std::vector<int>{300}) << "no timer for a wait that is not positive";
  const int before = fake.Dispatched();
  Run({"Wait=600000"});
  // One wait tick, 600 ticks of the seconds and a few sweeps: a polling
  // wait would need many thousands.
  EXPECT_LT(fake.Dispatched() - before, 700);
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
  EXPECT_EQ(w.Seen("pass").back(), "pass 19@1000");
  ExpectIdle();
}

TEST_F(RunTest, ChainsLoadTheirFilesInOrderAndRepeatFromTheFirst) {
  // The files, the repetitions wanted (-1: none), the waits, and the
  // repetition counts shown.
  struct Case { std::array<std::string, 5> files; int repeats; std::vector<int> waits; Texts counts; };
  const Case cases[] = {
      {{"one", "two", "", "one", ""}, -1, {100, 200, 300}, {"repeat 0@1000"}},
      {{"one", "two", "one", "two", "one"}, -1, {100, 200, 300, 200, 300, 200}, {"repeat 0@1000"}},
      // The list open before the run is not part of the repetition.
      {{"one", "two", "", "", ""}, 2, {100, 200, 300, 200, 300}, {"repeat 0@1000", "repeat 1@1600", "repeat 2@2100"}},
      {{"", "", "", "", ""}, 2, {100}, {"repeat 0@1000"}},  // nothing to repeat
      {{"missing", "two", "", "", ""}, -1, {100, 100, 300}, {"repeat 0@1000"}},
      {{"empty", "two", "", "", ""}, -1, {100}, {"repeat 0@1000"}},  // no lines: the end
  };
  w.chain = true;
  w.disk = {{"one", {"Wait=200"}}, {"two", {"Wait=300"}}, {"empty", {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.files[0] + "," + c.files[1] + "," + c.files[2]);
    fake.now = 0, w.log.clear();
    w.files = c.files;
    w.repeats = c.repeats >= 0;
    w.repeats_wanted = c.repeats;
    Run({"Wait=100"});
    EXPECT_EQ(WaitLengths(fake), c.waits);
    EXPECT_EQ(Join(w.Seen("repeat")), Join(c.counts));
    ExpectIdle();
  }
}

class TargetTest : public RunTest {
 protected:
  TargetTest() { w.method = kSendWinMessage, w.delay = {100, 0, 0, 0}; }
  Hwnd notepad = fake.AddWindow("Notepad", "NotepadClass"), parent = fake.AddWindow("Main", "MainClass");
  Hwnd child = fake.AddWindow("", "EditChild", {0, 0, 10, 10}, parent), game = fake.AddWindow("Ultima Online - Bob", "UOClass");
};

TEST_F(TargetTest, StaleHandlesAreLookedUpAgainOnlyWithAutoHandle) {
  batch.SetLines({"Wait=100", "[A]|>Notepad <" + N(notepad) + ">", "[A]|>Notepad <99999>",
                  "[A]|>Main@@EditChild <99999>", "[A]|>Ultima Online <99999>", "[A]|>Notepad", "[A]+Ctrl",
                  "[A]|>Gone@@EditChild <99999>"});
  w.apps = {"Other <5>", "Ultima Online - Bob <" + N(game) + ">"};
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
  EXPECT_EQ(Boxes(), (Texts{"以下のプログラムがバッチに含まれていますが実行されていない可能性があります\r\n\r\n"
                            "Ghost <99999>\r\nGhost2\r\n\r\nコマンド送信は行われませんが実行しますか？ (yes/no)@1000"}));
  EXPECT_TRUE(WaitLengths(fake).empty()) << "No ends the run";
  ExpectIdle();
  fake.answers = {MsgResult::Yes};
  Run({"Wait=100", "[A]|>Ghost <99999>"});
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{100, 100})) << "Yes runs with no window for the line";
  EXPECT_EQ(fake.Texts({"PostMessageA"}), Texts{"PostMessageA(0,256,65,1)"});
  fake.on_box = [&](const FakePlatform::Box&) { return engine.Stop(), std::optional<MsgResult>(MsgResult::Yes); };
  Run({"Wait=100", "[A]|>Ghost <99999>"});
  EXPECT_TRUE(WaitLengths(fake).empty()) << "a Stop while the question is open counts";
}

TEST_F(TargetTest, AListReplacedUnderTheRunGetsItsOwnTargetsAndLength) {
  w.chain = true, w.files[0] = "one", w.disk["one"] = {"Wait=200", "[A]|>Notepad <99999>"};
  Run({"[A]|>Notepad <" + N(notepad) + ">"});
  EXPECT_EQ(batch.Targets(), (std::vector<Hwnd>{0, notepad}));
  EXPECT_EQ(fake.Texts({"PostMessageA"}), (Texts(2, "PostMessageA(" + N(notepad) + ",256,65,1)")));
  // A shorter list is never read past its end.
  w.chain = false, w.passes = 0;
  fake.At(fake.now + 1100, [&] {  // in the first wait
    batch.SetLines({"Wait=600"});
    engine.ListReplaced();
  });
  fake.At(fake.now + 3000, [&] { engine.Stop(); });
  Run({"Wait=300", "Wait=400", "Wait=500"});
  EXPECT_EQ(WaitLengths(fake), (std::vector<int>{300, 600, 600, 600}));
}

// Input aimed at a program above our integrity level is dropped by the
// system: the user who clicked Run is asked, other starts only told.
TEST_F(TargetTest, UnreachableTargetsAreNamedOnceBeforeTheRun) {
  fake.own_integrity = 0x2000;
  const Hwnd admin = fake.AddWindow("管理者 - Game", "GameClass");
  fake.FindWindowByHandle(admin)->integrity = 0x3000;
  fake.FindWindowByHandle(notepad)->integrity = 0x2000;
  const std::string name = "管理者 - Game <" + N(admin) + ">";
  const std::vector<std::string> lines{"[A]|>" + name, "[B]|>Notepad <" + N(notepad) + ">", "[A]|>" + name};
  fake.answers = {MsgResult::No, MsgResult::Yes};
  Run(lines);
  EXPECT_EQ(Boxes(), Texts{"次のウインドウは管理者として実行されているプログラムのものです.\r\n"
                           "管理者として実行されていないZEPXからの入力はWindowsに破棄され、届きません.\r\n\r\n" + name +
                           "\r\n\r\n管理者として実行するZEPXを新しく起動しますか？\r\n(「いいえ」を選ぶと、このまま実行します) (yes/no)@1000"});
  EXPECT_EQ(fake.posted.size(), 3u) << "No runs anyway";
  Run(lines);
  EXPECT_EQ(fake.posted.size(), 3u) << "Yes starts no run here";
  EXPECT_EQ(w.Seen("admin").size(), 1u);
  fake.boxes.clear();
  Run(lines, RunSource::HotKey);
  EXPECT_TRUE(fake.boxes.empty()) << "no question holds the run up";
  EXPECT_EQ(w.Seen("ZEPX - 入力が届きません: 管理者として実行中のウインドウには入力が届きません: " + name).size(), 1u);
  EXPECT_EQ(fake.posted.size(), 6u);

  // Injected input: the window a front-app line brings forward.
  w.method = kSendInput;
  fake.answers = {MsgResult::No};
  Run({"[ｱﾌﾟﾘを前面に]@@Notepad", "[ｱﾌﾟﾘを前面に]@@管理者 - Game"});
  EXPECT_NE(fake.boxes.at(0).text.find("\r\n\r\n管理者 - Game\r\n\r\n"), std::string::npos);
}

TEST_F(RunTest, NestedWaitsKeepTheirOwnEndsAndStopEndsThemAll) {
  Texts ends;
  auto inner = [&](int ms) {
    return [&, ms] {
      engine.WaitMs(ms);
      ends.push_back("inner@" + N(fake.now));
    };
  };
  fake.At(500, inner(300));    // a short wait inside a long one
  fake.At(2500, inner(3000));  // a long wait inside a short one
  fake.At(6000, inner(5000));
  fake.At(6200, [&] { engine.Stop(); });
  for (int ms : {2000, 1000, 10000}) {
    engine.WaitMs(ms);
    ends.push_back("outer@" + N(fake.now));
  }
  EXPECT_EQ(ends, (Texts{"inner@800", "outer@2000", "inner@5500", "outer@5500", "inner@6200", "outer@6200"}));
  engine.WaitMs(400);
  EXPECT_EQ(fake.now, 6600) << "a later wait is a full wait again";
}

// Waits for a window or a colour, each row on the substitute's desktop with
// what happens to it at a virtual time. The wait looks every 50 ms from its
// start and ends at the first look that finds its condition, at Stop, or at
// its deadline, where the line says whether the run stops there (on that
// line, saying why) or goes on.
TEST_F(RunTest, WaitsForAWindowOrAColourEndAtTheFirstLookThatFindsItOrAtTheDeadline) {
  w.on_event = [&](int) { w.Note("next line"); };
  auto open = [&](std::int64_t t, const char* title, const char* cls, bool shown = true) {
    fake.At(t, [=] { fake.FindWindowByHandle(fake.AddWindow(title, cls))->visible = shown; });
  };
  const std::string run = "実行中 (SendInput) - Ctrl+Alt+Qで中断できます";
  Hwnd h = 0;
  std::uint32_t& pixel = fake.pixels[{10, 20}];
  enum After { Next, Halt, Stop };
  const struct { const char* line; std::function<void()> desktop; std::int64_t end; std::string status; After after; } rows[] = {
      {"WaitWindow:Open,5000,Stop|出現@@Notepad",  // hidden, another class, then the one
       [&] { open(1100, "出現", "Notepad", false), open(1200, "出現", "Edit"), open(2330, "出現", "Notepad"); }, 2350, run + "@2350", Next},
      {"WaitWindow:Front,5000,Stop|前面", [&] { h = fake.AddWindow("前面", "C"), fake.foreground = fake.AddWindow("他", "C");
         fake.At(1420, [&] { fake.foreground = h; }); }, 1450, run + "@1450", Next},
      {"WaitWindow:Gone,5000,Next|消滅", [&] { h = fake.AddWindow("消滅", "C"), fake.At(1075, [&] { fake.DestroyWindow(h); }); }, 1100, run + "@1100", Next},
      {"WaitColor:FF8800,16,5000,Stop|10x20",  // then each channel 16 off
       [&] { pixel = 0xFF8811, fake.At(1230, [&] { pixel = 0xEF9810; }); }, 1250, run + "@1250", Next},
      {"WaitColor:FF8800,16,430,Next|10x20", [&] { pixel = 0xFF8811; }, 1430,
       "時間切れ、次の行へ: 10x20の色待ち FF8800±16 - Ctrl+Alt+Qで中断できます@1430", Next},
      {"WaitColor:000000,255,300,Stop|1920x0", [] {}, 1300, "時間切れで停止: 1920x0の色待ち 000000±255 (300ms)@1300", Halt},
      {"WaitColor:00FF00,0,2000,Next|10x20|窓@@P", [&] { pixel = 0x00FF00, open(1330, "窓", "P"); }, 1350, run + "@1350", Next},
      {"WaitColor:00FF00,0,300,Stop|10x20|無い@@P", [&] { pixel = 0x00FF00; }, 1300, "時間切れで停止: 「無い」の10x20の色待ち 00FF00±0 (300ms)@1300", Halt},
      {"WaitWindow:Open,5000,Next|停止", [&] { fake.At(2777, [&] { engine.Stop(); }); }, 2777,
       "「停止」の出現待ち (最長5000ms) - Ctrl+Alt+Qで中断できます@1000", Stop},
  };
  for (const auto& r : rows) {
    fake.now = 0;
    w.log.clear();
    r.desktop();
    const int dispatched = fake.Dispatched();
    Run({r.line, "【ZEP Event 1】"});
    std::vector<std::string> looks, want;
    for (const std::string& t : fake.Timed({"FindWindowExA", "GetForegroundWindow", "GetPixel"}))
      if (looks.empty() || looks.back() != t.substr(0, t.find(':'))) looks.push_back(t.substr(0, t.find(':')));
    for (std::int64_t t = 1000; t < r.end; t += kPollMs) want.push_back(N(t));
    if (r.after != Stop) want.push_back(N(r.end));
    EXPECT_EQ(looks, want) << r.line;
    // A look costs a tick and a sweep; a spinning or faster poll, many more.
    EXPECT_LE(fake.Dispatched() - dispatched, 2 * static_cast<int>(want.size()) + 8) << r.line;
    EXPECT_EQ(w.Seen("status ").back(), "status " + r.status) << r.line;
    EXPECT_EQ(N(batch.Selected()) + Join(w.Seen("next line")), r.after == Next ? "1next line@" + N(r.end) : "0")
        << r.line << ": a line that stops the run stays selected";
  }
  EXPECT_EQ(w.Seen("seconds"), (Texts{"seconds 0@1000", "seconds 1@2000", "seconds 0@2777"}));
}

}  // namespace
}  // namespace zepx
