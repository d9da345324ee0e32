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

  SettingForm = std::make_unique<TSettingForm>();
  if (bind_native_) bind_native_(*SettingForm);
  MainForm->SettingForm = SettingForm.get();

  CutLineForm = std::make_unique<TCutLineForm>();
  if (bind_native_) bind_native_(*CutLineForm);
  MainForm->CutLineForm = CutLineForm.get();

  AboutForm = std::make_unique<TAboutForm>();
  if (bind_native_) bind_native_(*AboutForm);
  MainForm->AboutForm = AboutForm.get();

  SendListForm = std::make_unique<TSendListForm>();
  if (bind_native_) bind_native_(*SendListForm);
  MainForm->SendListForm = SendListForm.get();

  InputForm = std::make_unique<TInputForm>();
  if (bind_native_) bind_native_(*InputForm);
  MainForm->InputForm = InputForm.get();
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
