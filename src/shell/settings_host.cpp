#include "shell/settings_host.h"

#include "shell/main_form.h"

namespace zepx {

SettingsHost::SettingsHost(TMainForm& form)
    : form_(form),
      store_(form.settings, form.platform.registry, form.platform.dialogs, form.platform.files,
             form.platform.shell, *this) {}

namespace {

// The control behind a held value; the window position has none.
struct HeldControl {
  TCheckBox* check = nullptr;
  TWinSpinEdit* spin = nullptr;
};

HeldControl ControlOf(TMainForm& f, Held h) {
  switch (h) {
    case Held::Left:
    case Held::Top: return {};
    case Held::CheckBox1: return {&f.CheckBox1, nullptr};
    case Held::SpinEdit3: return {nullptr, &f.SpinEdit3};
    case Held::SpinEdit4: return {nullptr, &f.SpinEdit4};
    case Held::CheckBox2: return {&f.CheckBox2, nullptr};
    case Held::AutoHandleCheckBox: return {&f.AutoHandleCheckBox, nullptr};
    case Held::SpinEdit2: return {nullptr, &f.SpinEdit2};
    case Held::SpinEdit5: return {nullptr, &f.SpinEdit5};
    case Held::WindowPointCheck: return {&f.WindowPointCheck, nullptr};
  }
  return {};
}

}  // namespace

std::int32_t SettingsHost::HeldValue(Held control) {
  if (control == Held::Left) return form_.Left();
  if (control == Held::Top) return form_.Top();
  const HeldControl c = ControlOf(form_, control);
  if (c.check) return c.check->Checked() ? 1 : 0;
  return c.spin ? static_cast<std::int32_t>(c.spin->Value()) : 0;
}

void SettingsHost::SetHeldValue(Held control, std::int32_t value) {
  if (control == Held::Left) return form_.SetPosition(value, form_.Top());
  if (control == Held::Top) return form_.SetPosition(form_.Left(), value);
  const HeldControl c = ControlOf(form_, control);
  if (c.check) c.check->SetChecked(value != 0);
  // An hour or minute out of range would arm an alarm that never fires:
  // it is brought into range as leaving the field would.
  if (c.spin) c.spin->SetValue(c.spin->CheckValue(value));
}

void SettingsHost::SetTopmost(bool topmost) {
  form_.platform.windows.SetWindowPos(form_.Handle(), topmost ? win::HWND_TOPMOST : win::HWND_NOTOPMOST,
                                      0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE);
}

void SettingsHost::SetRunStopCaptions(const std::string& run, const std::string& stop) {
  form_.BitBtn1.SetCaption(run);
  form_.BitBtn3.SetCaption(stop);
}

void SettingsHost::SetStartLetter(std::int32_t index) { form_.SetStartLetter(index); }

void SettingsHost::SetStopLetter(std::int32_t index) { form_.SetStopLetter(index); }

void SettingsHost::SetDialogInitialDir(const std::string& dir) { form_.DialogInitialDir = dir; }

bool SettingsHost::MacroFileFromCommandLine() { return form_.LoadedFromCommandLine; }

int SettingsHost::SendMethodShown() { return form_.PostRadioGroup.ItemIndex(); }

// The main window keeps its three settings operations; the store does them.
void TMainForm::LoadSettings() { settings_host->Store().Load(); }
void TMainForm::SaveSettings() { settings_host->Store().Save(); }
void TMainForm::RecordLogoutTime() { settings_host->Store().RecordLogoutTime(); }

}  // namespace zepx
