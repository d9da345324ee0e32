// A system-wide hot key served by a hidden message window of its own, so
// that each instance has its own identifier space.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/platform.h"

namespace zepx {

class THookHotKey {
 public:
  // owner_window returns the window brought to the front when Activate is
  // set; it is asked at the moment the key fires.
  THookHotKey(Platform& platform, std::function<Hwnd()> owner_window);
  ~THookHotKey();
  THookHotKey(const THookHotKey&) = delete;
  THookHotKey& operator=(const THookHotKey&) = delete;

  bool Activate = true;
  std::function<void(THookHotKey& sender, int index)> OnHotKey;

  // Shortcut value: vk in bits 0..7, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
  bool RegisterKey(int id, std::uint16_t shortcut);
  bool UnregisterKey(int id);
  void DoHotKey(int id);
  Hwnd MessageWindow() const { return window_; }

 private:
  Platform& platform_;
  std::function<Hwnd()> owner_window_;
  Hwnd window_ = 0;
};

}  // namespace zepx
