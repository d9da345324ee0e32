// PLACEHOLDER: to be written; bodies are empty so that the tree links.
#include "shell/main_form.h"

namespace zepx {

void TMainForm::LoadMacro(const std::string& path) {}
void TMainForm::mLoadClick() {}
void TMainForm::mSaveClick() {}
void TMainForm::mFileClick() {}
void TMainForm::RefreshCoordinateDisplay() {}
void TMainForm::SetEditButtonsEnabled(bool enabled) {}
void TMainForm::PostRadioGroupClick() {}
void TMainForm::GetAppButtonClick() {}

}  // namespace zepx
