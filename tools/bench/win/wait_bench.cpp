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

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double NowMs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

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

int Accuracy(zepx::TMainForm& form, int count, const std::vector<int>& waits) {
  std::printf("WaitMs accuracy, %d waits each (overshoot = elapsed - requested)\n", count);
  for (int ms : waits) {
    std::vector<double> over;
    for (int i = 0; i < count; ++i) {
      const double t0 = NowMs();
      form.WaitMs(ms);
      over.push_back(NowMs() - t0 - ms);
    }
    std::sort(over.begin(), over.end());
    double sum = 0;
    for (double o : over) sum += o;
    std::printf("  %5d ms: mean %+7.2f ms  median %+7.2f ms  best %+7.2f ms  worst %+7.2f ms\n",
                ms, sum / count, over[over.size() / 2], over.front(), over.back());
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
