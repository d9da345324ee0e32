// Waits for a window or a colour, each row on the substitute's desktop with
// what happens to it at a virtual time. The wait looks every 50 ms from its
// start and ends at the first look that finds its condition, at Stop, or at
// its deadline, where the line says whether the run stops there (on that
// line, saying why) or goes on.
#include "run/condition_wait.h"
#include "run/run_fixture.h"

namespace zepx {
namespace {

TEST_F(RunTest, WaitsForAWindowOrAColourEndAtTheFirstLookThatFindsItOrAtTheDeadline) {
  w.on_event = [&](int) { w.Note("next line"); };
  const std::string run = "実行中 (SendInput) - Ctrl+Alt+Qで中断できます";
  auto hide = [&](Hwnd h) { fake.FindWindowByHandle(h)->visible = false; };
  struct Row {
    const char* line;
    std::function<void()> desktop;
    std::int64_t end;
    std::string status;  // the last one shown
  };
  const Row rows[] = {
      {"WaitWindow:Open,5000,Stop|出現@@Notepad", [&] {
         fake.At(1100, [&] { hide(fake.AddWindow("出現", "Notepad")); });
         fake.At(1200, [&] { fake.AddWindow("出現", "Edit"); });
         fake.At(2330, [&] { fake.AddWindow("出現", "Notepad"); });
       }, 2350, run},
      {"WaitWindow:Open,300,Stop|来ない", [] {}, 1300, "時間切れで停止: 「来ない」の出現待ち (300ms)"},
      {"WaitWindow:Open,300,Next|来ない", [] {}, 1300, "時間切れ、次の行へ: 「来ない」の出現待ち - Ctrl+Alt+Qで中断できます"},
      {"WaitWindow:Front,5000,Stop|前面", [&] {
         const Hwnd h = fake.AddWindow("前面", "C");
         fake.foreground = fake.AddWindow("他", "C");
         fake.At(1420, [&, h] { fake.foreground = h; });
       }, 1450, run},
      {"WaitWindow:Gone,5000,Next|消滅", [&] {
         const Hwnd h = fake.AddWindow("消滅", "C");
         fake.At(1075, [&, h] { fake.DestroyWindow(h); });
       }, 1100, run},
      {"WaitWindow:Gone,5000,Stop|無い", [] {}, 1000, run},
      {"WaitColor:FF8800,16,5000,Stop|10x20", [&] {
         fake.pixels[{10, 20}] = 0xFF8811;
         fake.At(1230, [&] { fake.pixels[{10, 20}] = 0xEF9810; });  // each channel 16 off
       }, 1250, run},
      {"WaitColor:FF8800,16,430,Next|10x20", [&] { fake.pixels[{10, 20}] = 0xFF8811; }, 1430,
       "時間切れ、次の行へ: 10x20の色待ち FF8800±16 - Ctrl+Alt+Qで中断できます"},
      {"WaitColor:000000,255,300,Stop|1920x0", [] {}, 1300, "時間切れで停止: 1920x0の色待ち 000000±255 (300ms)"},
      {"WaitWindow:Open,5000,Next|停止", [&] { fake.At(1777, [&] { engine.Stop(); }); }, 1777, ""},
  };
  for (const Row& r : rows) {
    fake.now = 0;
    w.log.clear();
    r.desktop();
    const int dispatched = fake.Dispatched();
    Run({r.line, "【ZEP Event 1】"});
    const bool stopped = r.status.empty(), halted = r.status.rfind("時間切れで停止", 0) == 0;
    std::vector<std::string> looks, want;
    for (const std::string& t : fake.Timed({"FindWindowExA", "GetForegroundWindow", "GetPixel"})) {
      const std::string at = t.substr(0, t.find(':'));
      if (looks.empty() || looks.back() != at) looks.push_back(at);
    }
    for (std::int64_t t = 1000; t < r.end; t += kPollMs) want.push_back(N(t));
    if (!stopped) want.push_back(N(r.end));
    EXPECT_EQ(looks, want) << r.line;
    // A look costs its timer's tick and the sweep after it; a spinning or
    // faster poll would cost many times more.
    EXPECT_LE(fake.Dispatched() - dispatched, 2 * static_cast<int>(want.size()) + 8) << r.line;
    const std::string last = stopped ? WaitingStatusText(*ReadCommandLine(r.line).wait_for, "Q") + "@1000"
                                     : r.status + "@" + N(r.end);
    EXPECT_EQ(w.Seen("status ").back(), "status " + last) << r.line;
    EXPECT_EQ(w.Seen("next line"), stopped || halted ? Calls{} : Calls{"next line@" + N(r.end)}) << r.line;
    EXPECT_EQ(batch.Selected(), stopped || halted ? 0 : 1) << r.line << ": a line that stops the run stays selected";
    EXPECT_EQ(fake.ActiveTimers(), 0u) << r.line;
  }
  EXPECT_EQ(w.Seen("status ")[1], "status 「停止」の出現待ち (最長5000ms) - Ctrl+Alt+Qで中断できます@1000");
  EXPECT_EQ(w.Seen("seconds"), (Calls{"seconds 0@1000", "seconds 0@1777"}));
}

}  // namespace
}  // namespace zepx
