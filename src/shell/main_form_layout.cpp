// PLACEHOLDER: to be written; bodies are empty so that the tree links.
#include "shell/main_form.h"

namespace zepx {

void TMainForm::BuildControls() {}

}  // namespace zepx
