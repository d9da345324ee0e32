// PLACEHOLDER: to be written.
#include "shell/program.h"

namespace zepx {

Program::Program(Platform& platform, std::function<void(TForm&)> bind_native)
    : platform_(platform), bind_native_(std::move(bind_native)) {}
Program::~Program() = default;
void Program::Start() {}
int Program::Run() { return 0; }

}  // namespace zepx
