// PLACEHOLDER: to be written.
#include "shell/hotkey.h"

namespace zepx {

THookHotKey::THookHotKey(Platform& platform, std::function<Hwnd()> owner_window)
    : platform_(platform), owner_window_(std::move(owner_window)) {}
THookHotKey::~THookHotKey() = default;
bool THookHotKey::RegisterKey(int, std::uint16_t) { return false; }
bool THookHotKey::UnregisterKey(int) { return false; }
void THookHotKey::DoHotKey(int) {}

}  // namespace zepx
