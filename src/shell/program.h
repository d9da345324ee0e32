// The program as a whole: the application object and the six windows,
// created in their fixed order and kept for the life of the process.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "platform/platform.h"
#include "run/run_engine.h"
#include "shell/input_form.h"
#include "shell/cut_line_form.h"
#include "shell/main_form.h"
#include "shell/other_forms.h"
#include "shell/setting_form.h"
#include "ui/form.h"

namespace zepx {

class Program {
 public:
  // bind_native is called for every form right after it is constructed
  // (the Win32 build creates its window there; host tests may bind a
  // substitute or nothing).
  Program(Platform& platform, std::function<void(TForm&)> bind_native = {});
  ~Program();

  // Creates the windows in order, shows the main window and returns.
  void Start();
  // Runs the message loop until the main window has closed; returns the
  // process exit code.
  int Run();

  // Told the name of each step of Start as it ends: the start-up benchmark
  // times them. Nothing in the program listens.
  std::function<void(const char* step)> OnStartStep;

  TApplication Application;
  std::unique_ptr<TMainForm> MainForm;
  // The run: the main window's batch list, read and shown through the
  // main window, which forwards its Run and Stop to it.
  std::unique_ptr<RunEngine> Engine;
  std::unique_ptr<TSettingForm> SettingForm;
  std::unique_ptr<TCutLineForm> CutLineForm;
  std::unique_ptr<TAboutForm> AboutForm;
  std::unique_ptr<TSendListForm> SendListForm;
  std::unique_ptr<TInputForm> InputForm;

 private:
  // Makes a secondary window and gives it its native counterpart.
  template <typename F, typename... Args>
  F* Create(std::unique_ptr<F>& slot, Args&&... args) {
    slot = std::make_unique<F>(std::forward<Args>(args)...);
    if (bind_native_) bind_native_(*slot);
    return slot.get();
  }

  Platform& platform_;
  std::function<void(TForm&)> bind_native_;
};

}  // namespace zepx
