// wait_bench.exe: how exact the run's wait is on the real platform, and what
// it costs. Builds the real Win32 platform and a main window (no native
// windows: the wait needs only the message loop and a window timer) and
// calls WaitMs repeatedly.
//
//   wait_bench.exe accuracy [COUNT] [MS...]   default 200 x 10, 100, 1000 ms
//   wait_bench.exe cpu [MS]                   processor time of one wait (10000 ms)
#include "platform/win32/win32_platform.h"
#include "shell/main_form.h"

#include <windows.h>

#include "bench_support.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double CpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& f) {
    ULARGE_INTEGER u;
    u.LowPart = f.dwLowDateTime;
    u.HighPart = f.dwHighDateTime;
    return static_cast<double>(u.QuadPart) / 10000.0;  // 100 ns units
  };
  return ms(kernel) + ms(user);
}

// Baseline 1: a plain window timer and GetMessage, what a program does
// without thinking about it.
void PlainTimerWait(int ms) {
  const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(ms), nullptr);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (m.message == WM_TIMER && m.wParam == id) break;
    DispatchMessageW(&m);
  }
  KillTimer(nullptr, id);
}

// Baseline 2: the best the system offers while still processing messages,
// a high-resolution waitable timer and MsgWaitForMultipleObjectsEx.
void WaitableTimerWait(int ms) {
  static HANDLE h = CreateWaitableTimerExW(nullptr, nullptr, 0x00000002 /* high resolution */,
                                           TIMER_ALL_ACCESS);
  if (!h) h = CreateWaitableTimerW(nullptr, FALSE, nullptr);
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(ms) * 10000;
  SetWaitableTimer(h, &due, 0, nullptr, nullptr, FALSE);
  for (;;) {
    const DWORD r = MsgWaitForMultipleObjectsEx(1, &h, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r == WAIT_OBJECT_0) break;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
}

struct Stats {
  double mean, worst, best;
};

Stats Summary(std::vector<double> over) {
  std::sort(over.begin(), over.end());
  double sum = 0;
  for (double o : over) sum += o;
  return {sum / static_cast<double>(over.size()), over.back(), over.front()};
}

int Accuracy(zepx::TMainForm& form, int count, const std::vector<int>& waits) {
  std::printf("Wait overshoot (elapsed - requested), %d waits each, mean / worst (best), ms\n", count);
  std::printf("  %-7s %-26s %-26s %-26s\n", "wait", "SetTimer+GetMessage", "waitable timer+MsgWait",
              "ZEPX WaitMs");
  for (int ms : waits) {
    // Interleaved wait by wait, so that a noisy moment hits all three alike.
    std::vector<double> o_plain, o_waitable, o_ours;
    auto timed = [ms](std::vector<double>& into, auto&& wait) {
      const double t0 = NowMs();
      wait();
      into.push_back(NowMs() - t0 - ms);
    };
    for (int i = 0; i < count; ++i) {
      timed(o_plain, [&] { PlainTimerWait(ms); });
      timed(o_waitable, [&] { WaitableTimerWait(ms); });
      timed(o_ours, [&] { form.WaitMs(ms); });
    }
    const Stats plain = Summary(o_plain), waitable = Summary(o_waitable), ours = Summary(o_ours);
    auto cell = [](const Stats& s) {
      static char buf[4][64];
      static int n = 0;
      char* b = buf[n++ % 4];
      std::snprintf(b, 64, "%+6.2f / %+6.2f (%+5.2f)", s.mean, s.worst, s.best);
      return b;
    };
    std::printf("  %5d   %-26s %-26s %-26s\n", ms, cell(plain), cell(waitable), cell(ours));
    std::fflush(stdout);
  }
  return 0;
}

int Cpu(zepx::TMainForm& form, int ms) {
  const double c0 = CpuMs();
  const double t0 = NowMs();
  form.WaitMs(ms);
  const double t1 = NowMs();
  const double c1 = CpuMs();
  std::printf("one WaitMs(%d): elapsed %.1f ms, processor time %.2f ms (user + kernel)\n", ms,
              t1 - t0, c1 - c0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  zepx::win32::Win32Platform platform;
  zepx::TApplication app;
  zepx::TMainForm form{platform.platform(), app};

  const std::wstring mode = argc > 1 ? argv[1] : L"accuracy";
  if (mode == L"cpu") return Cpu(form, argc > 2 ? _wtoi(argv[2]) : 10000);
  if (mode == L"accuracy") {
    const int count = argc > 2 ? std::max(1, _wtoi(argv[2])) : 200;
    std::vector<int> waits;
    for (int i = 3; i < argc; ++i) waits.push_back(_wtoi(argv[i]));
    if (waits.empty()) waits = {10, 100, 1000};
    return Accuracy(form, count, waits);
  }
  std::fwprintf(stderr, L"usage: wait_bench accuracy [COUNT] [MS...] | cpu [MS]\n");
  return 2;
}
