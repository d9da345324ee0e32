// PLACEHOLDER: to be written; bodies are empty so that the tree links.
#include "shell/main_form.h"

namespace zepx {

void TMainForm::OnMinimize() {}
void TMainForm::TrayCallback(std::uint32_t mouse_message) {}
void TMainForm::RestoreFromTray() {}
void TMainForm::N7Click() {}
void TMainForm::N3Click() {}
void TMainForm::N5Click() {}
void TMainForm::ZEPX1Click() {}
void TMainForm::SetTrayTip(const std::string& tip) {}
void TMainForm::ReAddTrayIcon() {}
void TMainForm::InitTranslucency() {}
void TMainForm::SetTranslucency(int alpha) {}
void TMainForm::TDCheckTimerTimer() {}

}  // namespace zepx
