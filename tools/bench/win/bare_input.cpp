// bare_input.exe: the baseline for sending a long text: what the system
// calls alone cost, with nothing of ZEPX around them.
//
//   bare_input.exe post HWND COUNT     COUNT PostMessageA(HWND, WM_CHAR, c, 0),
//                                      c cycling through "abcdefghij"
//   bare_input.exe sendinput COUNT     COUNT SendInput calls of one key-down
//                                      and key-up record pair each, for the
//                                      same characters (to the foreground
//                                      window); the records are made first
//
// Prints "START_TICK <GetTickCount before the first call>",
// "END_TICK <after the last>", "CALLS_US <microseconds of the calls>" and,
// for sendinput, "MAP_US <microseconds of VkKeyScanA and two
// MapVirtualKeyA per character>", the mapping a sender does per character.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const char kCycle[] = "abcdefghij";

long long NowUs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<long long>(c.QuadPart * 1000000.0 / static_cast<double>(freq.QuadPart));
}

void Report(DWORD start_tick, DWORD end_tick, long long us) {
  std::printf("START_TICK %lu\nEND_TICK %lu\nCALLS_US %lld\n", static_cast<unsigned long>(start_tick),
              static_cast<unsigned long>(end_tick), us);
}

int Post(HWND target, int count) {
  int failed = 0;
  const DWORD tick0 = GetTickCount();
  const long long t0 = NowUs();
  for (int i = 0; i < count; ++i)
    if (!PostMessageA(target, WM_CHAR, static_cast<unsigned char>(kCycle[i % 10]), 0)) ++failed;
  const long long t1 = NowUs();
  Report(tick0, GetTickCount(), t1 - t0);
  if (failed) std::printf("FAILED %d\n", failed);
  return failed ? 1 : 0;
}

int Send(int count) {
  std::vector<INPUT> pairs(static_cast<std::size_t>(count) * 2);
  const long long m0 = NowUs();
  for (int i = 0; i < count; ++i) {
    const BYTE vk = static_cast<BYTE>(VkKeyScanA(kCycle[i % 10]) & 0xFF);
    for (int k = 0; k < 2; ++k) {
      INPUT& in = pairs[static_cast<std::size_t>(i) * 2 + k];
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = vk;
      in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
      in.ki.dwFlags = k ? KEYEVENTF_KEYUP : 0;
    }
  }
  const long long m1 = NowUs();
  int failed = 0;
  const DWORD tick0 = GetTickCount();
  const long long t0 = NowUs();
  for (int i = 0; i < count; ++i)
    if (SendInput(2, &pairs[static_cast<std::size_t>(i) * 2], sizeof(INPUT)) != 2) ++failed;
  const long long t1 = NowUs();
  Report(tick0, GetTickCount(), t1 - t0);
  std::printf("MAP_US %lld\n", m1 - m0);
  if (failed) std::printf("FAILED %d\n", failed);
  return failed ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  int rc = 2;
  if (mode == L"post" && argc == 4)
    rc = Post(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(argv[2], nullptr, 10))), _wtoi(argv[3]));
  else if (mode == L"sendinput" && argc == 3)
    rc = Send(_wtoi(argv[2]));
  else
    std::fwprintf(stderr, L"usage: bare_input post HWND COUNT | sendinput COUNT\n");
  std::fflush(stdout);
  return rc;
}
