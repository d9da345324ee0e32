// start_steps.exe: where zepx.exe's start-up goes, measured inside the
// process. It starts the program as zepx.exe does and prints the time of
// each step of Program::Start, then, with the window up, times the parts of
// the show handler again one at a time (a warm second call: the first one
// is inside "FormShow").
//
//   start_steps.exe
//
// Prints "step <name> <ms>" lines, each step's own time; the first counts
// from the process's creation to wmain, the second the platform, the
// native binding and the common controls made before the first form.
#include "desktop_program.h"

#include <windows.h>

#include "bench_support.h"

#include <cstdio>
#include <functional>

namespace {

double ProcessCreatedMs() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& f) {
    return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
  };
  return (ticks(now) - ticks(created)) / 10000.0;
}

void Print(const char* name, double ms) {
  std::printf("step %s %.2f\n", name, ms);
  std::fflush(stdout);
}

}  // namespace

int wmain() {
  Print("process to wmain", ProcessCreatedMs());
  double last = NowMs();
  const auto lap = [&last](const char* name) {
    const double now = NowMs();
    Print(name, now - last);
    last = now;
  };
  zepx::win32::DesktopProgram desktop;
  lap("platform and common controls");
  desktop.program.OnStartStep = lap;
  desktop.program.Start();
  Pump();
  lap("first loop turn");

  zepx::TMainForm& form = *desktop.program.MainForm;
  const auto again = [&last, &lap](const char* name, const std::function<void()>& fn) {
    last = NowMs();
    fn();
    Pump();
    lap(name);
  };
  again("again: settings load", [&] { form.LoadSettings(); });
  again("again: target list", [&] { form.GetAppButtonClick(); });
  again("again: title list", [&] { form.GetAppButton2.Click(); });
  form.Close();
  Pump();
  return 0;
}
