#include "shell/window_alpha.h"

#include <algorithm>

namespace zepx {

namespace {
constexpr int kGwlExStyle = -20;
constexpr auto kLayered = static_cast<std::int32_t>(win::WS_EX_LAYERED);
}  // namespace

WindowAlpha::~WindowAlpha() {
  if (library_) t_.FreeLibrary(library_);
}

bool WindowAlpha::FindFunction() {
  if (!looked_up_) {
    looked_up_ = true;
    library_ = t_.LoadLibraryA("user32.dll");
    if (library_) set_layered_ = t_.GetProcAddress(library_, "SetLayeredWindowAttributes");
    if (library_ && !set_layered_) {
      t_.FreeLibrary(library_);
      library_ = 0;
    }
  }
  return set_layered_ != nullptr;
}

void WindowAlpha::Apply(int alpha) {
  const Hwnd w = window_ ? window_() : 0;
  if (!w) return;
  const std::int32_t style = t_.GetWindowLongA(w, kGwlExStyle);
  if (alpha >= 255) {
    if (style & kLayered) t_.SetWindowLongA(w, kGwlExStyle, style & ~kLayered);
    return;
  }
  if (!FindFunction()) return;
  if (!(style & kLayered)) t_.SetWindowLongA(w, kGwlExStyle, style | kLayered);
  t_.SetLayeredWindowAttributes(set_layered_, w, 0, static_cast<std::uint8_t>(std::max(alpha, 0)),
                                win::LWA_ALPHA);
}

}  // namespace zepx
