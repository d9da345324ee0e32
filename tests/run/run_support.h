// Helpers the tests share.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"

namespace zepx {

using Texts = std::vector<std::string>;
inline std::string N(std::int64_t v) { return std::to_string(v); }

// A macro file as the program writes it: the header, then the lines.
inline std::string Mcr(const std::vector<std::string>& lines) {
  std::string s = "//ZEP Version 4.51\r\n";
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

// The lengths of the waits a run started, in order. Timer1 always runs at
// 1000 ms, so the tests give their wait lines other lengths.
inline std::vector<int> WaitLengths(const FakePlatform& fake) {
  std::vector<int> out;
  for (const std::string& t : fake.Texts({"SetTimer("})) {
    const int ms = std::atoi(t.substr(t.find(',') + 1).c_str());
    if (ms != 1000) out.push_back(ms);
  }
  return out;
}

}  // namespace zepx
