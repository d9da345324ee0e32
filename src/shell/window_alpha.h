// The opacity of one of our own windows, through the layered-window style
// and SetLayeredWindowAttributes, which is looked up in user32.dll the
// first time a window is made translucent (older systems lack it).
#pragma once

#include <cstdint>
#include <functional>

#include "platform/platform.h"

namespace zepx {

class WindowAlpha {
 public:
  // window: the handle at the time of the call (a form's native window
  // may come after this object).
  WindowAlpha(ITranslucency& t, std::function<Hwnd()> window)
      : t_(t), window_(std::move(window)) {}
  ~WindowAlpha();
  WindowAlpha(const WindowAlpha&) = delete;
  WindowAlpha& operator=(const WindowAlpha&) = delete;

  // 255 switches blending off: the layered style is taken away, so the
  // window is drawn as any other. Below 255 the window becomes layered
  // with that alpha.
  void Apply(int alpha);

 private:
  bool FindFunction();

  ITranslucency& t_;
  std::function<Hwnd()> window_;
  std::uintptr_t library_ = 0;
  void* set_layered_ = nullptr;
  bool looked_up_ = false;
};

}  // namespace zepx
