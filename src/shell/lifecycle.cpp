// PLACEHOLDER: to be written; bodies are empty so that the tree links.
#include "shell/main_form.h"

namespace zepx {

void TMainForm::FormCreate() {}
void TMainForm::FormShow() {}
bool TMainForm::FormCloseQuery() { return false; }
void TMainForm::FormClose() {}
void TMainForm::FormDestroy() {}
void TMainForm::DeferredStartup() {}
void TMainForm::DropFiles(const std::vector<std::string>& files) {}
void TMainForm::OpenInNewInstance(const std::string& path) {}
bool TMainForm::RunAsAdministrator(const std::string& file, const std::string& params) { return false; }
void TMainForm::mNewZepClick() {}
void TMainForm::mAboutClick() {}
void TMainForm::BitBtn6Click() {}
void TMainForm::mExitClick() {}
void TMainForm::ExitProgram() {}
void TMainForm::Close() {}
void TMainForm::ShowHelp(int button) {}

}  // namespace zepx
