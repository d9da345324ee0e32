// PLACEHOLDER: to be written; bodies are empty so that the tree links.
#include "shell/main_form.h"

namespace zepx {

void TMainForm::SendKeyCommand(int index) {}
void TMainForm::AddKeyDownRecord(std::uint8_t vk) {}
void TMainForm::AddKeyUpRecord(std::uint8_t vk) {}

}  // namespace zepx
