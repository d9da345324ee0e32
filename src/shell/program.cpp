#include "shell/program.h"

namespace zepx {

Program::Program(Platform& platform, std::function<void(TForm&)> bind_native)
    : platform_(platform), bind_native_(std::move(bind_native)) {}

Program::~Program() = default;

void Program::Start() {
  Application.SetTitle("ZEPX");

  // The main window is created and shown first: its settings load has run
  // by the time the settings dialog is created.
  MainForm = std::make_unique<TMainForm>(platform_, Application);
  if (bind_native_) bind_native_(*MainForm);
  MainForm->FormCreate();
  MainForm->Show();
  MainForm->FormShow();

  // Filled from the settings just loaded; it acts on none of them yet.
  MainForm->SettingForm = Create(SettingForm, platform_, *MainForm);
  MainForm->CutLineForm = Create(CutLineForm);
  MainForm->AboutForm = Create(AboutForm);
  MainForm->SendListForm = Create(SendListForm);
  MainForm->InputForm = Create(InputForm);
}

int Program::Run() {
  if (!MainForm) Start();
  while (!MainForm->Closed()) {
    if (!platform_.loop.ProcessOneMessage()) break;
  }
  // Told to quit from outside (the session ends): still save and clean up.
  if (!MainForm->Closed()) MainForm->Close();
  return 0;
}

}  // namespace zepx
