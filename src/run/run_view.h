// What a run needs from its surroundings, in three parts: the run settings
// (read at the moment they are used, so that a change during a run takes
// effect at its next use), the display of the run's state, and a few
// services. The main window implements all three; the run tests give small
// substitutes of their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace zepx {

// The waits after commands ("コマンド送信後Wait設定").
enum class Delay { Key, Click, Drag, ShiftAltCtrl };

class IRunSettings {
 public:
  virtual ~IRunSettings() = default;
  virtual int SendMethod() = 0;             // PostRadioGroup's index
  virtual bool WinMessageFlag() = 0;        // PostMouseChecked
  virtual std::int32_t DelayMs(Delay d) = 0;
  virtual std::int32_t PassesWanted() = 0;        // LoopSpinEdit, 0 = endless
  virtual bool ChainEnabled() = 0;                // NextLoopCheck
  virtual std::string ChainFile(int index) = 0;   // Loop1 .. Loop5 for 0 .. 4
  virtual bool ChainRepeats() = 0;                // LoopOfLoopChecked
  virtual std::int32_t ChainRepeatsWanted() = 0;  // LoopSpinEditAll, 0 = endless
  virtual bool AutoHandle() = 0;                  // AutoHandleCheckBox
  virtual std::string StopKeyLetter() = 0;
  // Options of _event and SendInput; a window without them sends as always.
  virtual bool ScanCodes() { return false; }
  virtual std::int32_t KeyHoldMs() { return 0; }  // between a key's down and up
  virtual bool TextAsWritten() { return false; }   // [Text] as Unicode characters
};

class IRunDisplay {
 public:
  virtual ~IRunDisplay() = default;
  virtual void ShowStatus(const std::string& text) = 0;  // StatusLabel
  // Title and tray tip "ZEPX - 実行中", the status repainted at once, and
  // the editing commands that must not run under a run disabled.
  virtual void ShowRunning() = 0;
  // "待機中", "ZEPX", and the editing commands enabled again.
  virtual void ShowIdle() = 0;
  virtual void ShowPassCount(std::int32_t n) = 0;         // LoopCountLabel
  virtual void ShowChainRepeatCount(std::int32_t n) = 0;  // LoopCountAllLabel
  virtual void ShowWaitSeconds(std::int32_t n) = 0;       // TimerCountLabel
  virtual void ToggleSendStatus() = 0;                    // the SendStatus lamp
  virtual void ShowDelayActive(Delay d, bool active) = 0; // the box in blue while it runs
  // The selection-to-coordinates display, and the point it shows: a mouse
  // line acts at the point shown, which is the selected row's.
  virtual void RefreshCoordinates() = 0;
  virtual Point CoordinatesShown() = 0;
};

class IRunServices {
 public:
  virtual ~IRunServices() = default;
  // The application list (AppComboBox): refreshed from the windows on the
  // desktop, and its entries ("title <handle>") as they stand.
  virtual void RefreshApplicationList() = 0;
  virtual std::vector<std::string> ApplicationList() = 0;
  virtual void RegisterStopKey() = 0;
  virtual void UnregisterStopKey() = 0;
  // Loads a further macro file of the chain into the batch list.
  virtual void LoadChainFile(const std::string& path) = 0;
  virtual void ExecuteEventActions(int event) = 0;
  // A warning from the notification area, for runs nobody is watching start.
  virtual void ShowBalloon(const std::string& title, const std::string& text) = 0;
  // Starts another instance of the program with administrator rights.
  virtual void StartAdministratorInstance() = 0;
};

}  // namespace zepx
