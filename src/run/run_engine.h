// The run: checks the batch list, resolves the target windows, then executes
// the lines top to bottom, pass after pass, chaining further macro files when
// asked, until something stops it. A run is one long call of Request that
// keeps the window alive by processing messages whenever it waits. It needs
// no window: it reads its settings through IRunSettings, shows its state
// through IRunDisplay and asks IRunServices for the rest.
//
// Data flow of one line: Request -> RunMacro -> ExecuteLine reads the line
// once (ReadCommandLine) and hands the CommandLine to the KeySender (with the
// row's target window) or the MouseSender (with the row), which send
// through IInput / IWindows and pause through the Waiter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/batch.h"
#include "platform/platform.h"
#include "run/key_sender.h"
#include "run/mouse_sender.h"
#include "run/run_view.h"
#include "run/waiter.h"
#include "ui/controls.h"

namespace zepx {

// Who asked for a run: a user at the window can be asked a question, a run
// started by a hot key, a timed event or autorun may have nobody watching.
enum class RunSource { User, HotKey, TimedEvent, Autorun };

class RunEngine {
 public:
  RunEngine(Platform& platform, Batch& batch, IRunSettings& settings, IRunDisplay& display,
            IRunServices& services);
  RunEngine(const RunEngine&) = delete;
  RunEngine& operator=(const RunEngine&) = delete;

  // A run request (the Run button, the start hot key, the tray menu, an
  // event action, autorun): one second later the checks, then the run.
  // Returns when the run has ended or was refused. A request while a run
  // (or its one-second pre-wait) is in progress is ignored.
  void Request(RunSource source = RunSource::User);
  // Back to idle; safe when idle. Ends the wait in progress at once; the
  // line in progress finishes its remaining steps.
  void Stop();
  void WaitMs(std::int32_t ms) { waiter_.WaitMs(ms); }
  bool Running() const { return depth_ > 0; }

  // The batch list was replaced while a run goes on (a chain file, or a
  // file loaded by hand): its lines have targets of their own.
  void ListReplaced();
  // Fills every line's target from its target text.
  void ResolveTargets();
  // The windows this run would send to whose process runs above our own
  // integrity level, by the names the list gives them: the system drops
  // what is injected or posted to them.
  std::vector<std::string> UnreachableTargets();
  // A line was added while the run goes on: its target is resolved now,
  // as the run resolved the others when it started. Idle, nothing: a run
  // resolves the whole list when it starts.
  void ResolveLine(int row);

  // Run state, shown by the loop group of the window.
  bool StopRequested = false;
  std::int32_t PassCount = 0;
  std::int32_t ChainRepeatCount = 0;
  std::int32_t ChainIndex = 0;  // next chain file: 0..4 for Loop1..Loop5

  TTimer& WaitTimer;  // the waiter's; one for every wait
  TTimer Timer1;      // counts the seconds of a "Wait=" line
  KeySender& Keys() { return keys_; }
  MouseSender& Mouse() { return mouse_; }

 private:
  void RunRequest(RunSource source);
  void RunMacro(RunSource source);
  bool WarnUnreachable(RunSource source);
  void ExecuteLine(int row);
  void WaitFor(const WaitCondition& c);
  void EndOfPass();
  void LoadChainFile(const std::string& path);
  bool ConfirmUnresolvedTargets();
  Hwnd ResolveTarget(const std::string& s);

  IMessageLoop& loop_;
  IWindows& windows_;
  IDialogs& dialogs_;
  Batch& batch_;
  IRunSettings& settings_;
  IRunDisplay& display_;
  IRunServices& services_;
  Waiter waiter_;
  SendContext ctx_;
  KeySender keys_;
  MouseSender mouse_;
  int depth_ = 0;            // > 0 while Request is on the stack
  bool looping_ = false;     // the lines are being executed
  unsigned stop_count_ = 0;  // Stop calls so far
  std::int32_t wait_seconds_ = 0;
};

}  // namespace zepx
