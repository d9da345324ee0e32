// PLACEHOLDER: to be written; bodies are empty so that the tree links.
#include "shell/main_form.h"

namespace zepx {

void TMainForm::BitBtn1Click() {}
void TMainForm::BitBtn3Click() {}
void TMainForm::RunMacro() {}
void TMainForm::EndOfPass() {}
void TMainForm::StopMacro() {}
void TMainForm::WaitMs(std::int32_t ms) {}
void TMainForm::WaitTimerTimer() {}
void TMainForm::Timer1Timer() {}
void TMainForm::ToggleSendStatus() {}
void TMainForm::LoopSpinEditChange() {}
void TMainForm::NextLoopCheckClick() {}
void TMainForm::Button6Click() {}
void TMainForm::ResolveTargetHandles() {}

}  // namespace zepx
