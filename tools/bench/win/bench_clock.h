// The bench tools' one clock: the performance counter in milliseconds, so
// every tool's figures are on the same scale as the others'.
#pragma once

#include <windows.h>

inline double NowMs() {
  static const LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}
