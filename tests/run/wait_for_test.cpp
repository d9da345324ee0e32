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
  EXPECT_EQ(w.Seen("seconds"), (Calls{"seconds 0@1000", "seconds 1@2000", "seconds 0@2777"}));
}

}  // namespace
}  // namespace zepx
