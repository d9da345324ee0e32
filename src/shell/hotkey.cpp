#include "shell/hotkey.h"

#include <exception>

namespace zepx {

THookHotKey::THookHotKey(Platform& platform, std::function<Hwnd()> owner_window)
    : platform_(platform), owner_window_(std::move(owner_window)) {
  window_ = platform_.hotkeys.CreateMessageWindow([this](int id) {
    // Nothing may escape into the window procedure: a failing handler is
    // reported the way the application reports any other failure, and the
    // message still counts as handled.
    try {
      DoHotKey(id);
    } catch (const std::exception& e) {
      platform_.dialogs.MessageBox(e.what(), MsgKind::Info);
    }
  });
}

THookHotKey::~THookHotKey() {
  if (window_) platform_.hotkeys.DestroyMessageWindow(window_);
}

bool THookHotKey::RegisterKey(int id, std::uint16_t shortcut) {
  const std::uint32_t vk = shortcut & 0xFF;
  // A shortcut without a key (an unknown letter) cannot be a hot key.
  if (vk == 0) return false;
  std::uint32_t modifiers = 0;
  if (shortcut & 0x8000) modifiers |= win::MOD_ALT;
  if (shortcut & 0x4000) modifiers |= win::MOD_CONTROL;
  if (shortcut & 0x2000) modifiers |= win::MOD_SHIFT;
  return platform_.hotkeys.RegisterHotKey(window_, id, modifiers, vk);
}

bool THookHotKey::UnregisterKey(int id) { return platform_.hotkeys.UnregisterHotKey(window_, id); }

void THookHotKey::DoHotKey(int id) {
  if (!OnHotKey) return;
  if (Activate && owner_window_) platform_.windows.SetForegroundWindow(owner_window_());
  OnHotKey(*this, id);
}

}  // namespace zepx
