// What the timed events' actions do on the main window: run and stop the
// macro, show the dial-up countdown, close the window after a shutdown.
#include "shell/cut_line_form.h"
#include "shell/main_form.h"

namespace zepx {

EventActions::Hooks TMainForm::EventActionHooks() {
  // No box during a recording: nobody may be there to close it.
  return {[this] {
            if (Recording()) ShowStatus(kNoTimedRunWhileRecording);
            else BitBtn1Click();
          },
          [this] { StopMacro(); },
          [this] {
            if (CutLineForm) CutLineForm->Execute();
          },
          // During a run the close waits for the run to unwind.
          [this] { Close(); },
          [this](const std::string& text) { ShowStatus(text); }};
}

}  // namespace zepx
