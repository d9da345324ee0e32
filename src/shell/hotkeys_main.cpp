// PLACEHOLDER: to be written; bodies are empty so that the tree links.
#include "shell/main_form.h"

namespace zepx {

std::string TMainForm::LetterFromIndex(int index) { return {}; }
std::uint16_t TMainForm::ShortcutFromLetter(const std::string& letter) { return {}; }
void TMainForm::SetStartLetter(int index) {}
void TMainForm::SetStopLetter(int index) {}
void TMainForm::HookHotKey1HotKey() {}
void TMainForm::HookHotKey2HotKey() {}

}  // namespace zepx
