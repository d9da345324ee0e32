#include "shell/program.h"

namespace zepx {

Program::Program(Platform& platform, std::function<void(TForm&)> bind_native)
    : platform_(platform), bind_native_(std::move(bind_native)) {}

Program::~Program() = default;

void Program::Start() {
  const auto step = [this](const char* name) {
    if (OnStartStep) OnStartStep(name);
  };
  Application.SetTitle("ZEPX");

  // The main window is created and shown first: its settings load has run
  // by the time the settings dialog is created. It is shown concealed while
  // its show handler runs, so that it is seen only where the settings put
  // it and as translucent as they say, instead of at the default place at
  // full opacity and then jumping.
  MainForm = std::make_unique<TMainForm>(platform_, Application);
  Engine = std::make_unique<RunEngine>(platform_, MainForm->batch, *MainForm, *MainForm, *MainForm);
  MainForm->Drive(*Engine);
  step("main window objects");
  if (bind_native_) bind_native_(*MainForm);
  step("main window native");
  MainForm->FormCreate();
  step("FormCreate");
  MainForm->ShowConcealed();
  step("shown concealed");
  MainForm->FormShow();
  step("FormShow");
  MainForm->Reveal();
  step("revealed");

  // Filled from the settings just loaded; it acts on none of them yet.
  MainForm->SettingForm = Create(SettingForm, platform_, *MainForm);
  step("settings dialog");
  TMainForm* main = MainForm.get();
  MainForm->CutLineForm = Create(CutLineForm, platform_, [main] { main->StopMacro(); });
  MainForm->AboutForm = Create(AboutForm);
  MainForm->SendListForm = Create(SendListForm);
  SendListForm->Connect(MainForm->editor, platform_.translucency);
  MainForm->InputForm = Create(InputForm, platform_, *MainForm);
  // The main window's modifier boxes are mirrored into the palette's.
  MainForm->composer.MirrorModifier = [palette = InputForm.get()](const std::string& name, bool checked) {
    palette->MirrorModifier(name, checked);
  };
  step("other windows");
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
