// The program-wide settings variables, one per registry value that has no
// control of its own. Values held in main-window controls (window position,
// event check boxes and times, AutoHandleCheckBox) live there instead.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zepx {

struct Settings {
  std::int32_t Radio1Index = 0;
  std::string DefMCRPath;
  std::int32_t Radio2Index = 0;
  std::string SarchSay;
  std::string SarchAll;
  bool WideCheck = false;
  bool TopCheck = false;
  bool LoCheck = false;
  std::array<std::int32_t, 5> ECom1Index{};  // ECom11Index .. ECom15Index
  std::array<std::int32_t, 5> ECom2Index{};  // ECom21Index .. ECom25Index
  std::string Say;
  std::string Exec1;
  std::string Exec2;
  std::int32_t ERadio2Index = 0;
  std::int32_t Layered = 255;
  std::array<std::string, 5> Loop{};  // Loop1 .. Loop5
  bool LoopOfLoopChecked = false;
  std::string StartAddress;
  std::string LastAddress;
  std::string pLastAddress;
  bool AutoRunChecked = false;
  std::int32_t StartComboIndex = 18;
  std::int32_t EndComboIndex = 23;
  bool MinChecked = false;
  bool PostMouseChecked = false;  // the WinMessage flag
  std::int32_t PostRadioGroupIndex = 1;
  // Key sending by _event and SendInput: scan codes in every key record, a
  // hold between a key's down and up (0..1000 ms), and [Text] lines typed
  // as Unicode characters. Off and 0: the records as they always were.
  bool ScanCodeChecked = false;
  std::int32_t KeyHoldTime = 0;
  bool UnicodeTextChecked = false;
  // A timed event whose minute the clock skipped runs late (1 and 2).
  bool DCutLateCheck = false;
  bool DCutLateCheck2 = false;
  // Recording: pauses shorter than the threshold or longer than the cap
  // are not written (ms); typed characters merge into texts; the main
  // window goes out of the way meanwhile.
  std::int32_t RecordWaitMin = 100;
  std::int32_t RecordWaitMax = 60000;
  bool RecordMergeText = true;
  bool RecordMinimize = false;
};

}  // namespace zepx
