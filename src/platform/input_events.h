// The real input of the whole desktop, as the recorder takes it: low-level
// key and mouse events and changes of the foreground window, each stamped
// with the time it happened. Where they come from (system hooks on a
// thread of their own, or a scripted stream in virtual time) is the
// implementation's business; they always reach the logic on the
// user-interface thread, in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/types.h"

namespace zepx {

struct InputEvent {
  enum Kind { Key, Mouse, Foreground } kind = Key;
  std::int64_t time_ms = 0;   // when it happened, on IMessageLoop::NowMs's clock
  bool injected = false;      // made by a program, not by a keyboard or mouse

  // Key: the virtual key as the hook reports it (left and right modifiers
  // apart), its scan code, and whether it is an extended key or a release.
  std::uint8_t vk = 0;
  std::uint16_t scan = 0;
  bool extended = false;
  bool up = false;

  // Mouse: the button (None for a plain move), at a point of the screen.
  enum Button { None, Left, Right, Middle, Wheel } button = None;
  Point point;

  // Key: the window with the keyboard focus; Mouse: the window under the
  // point; Foreground: the new foreground window.
  Hwnd window = 0;
  std::string title;          // Key: of the focused window's top-level window; Foreground: its own
  std::string class_name;     // Key: of the focused window
  Hwnd top = 0;               // Key: the focused window's top-level window
  bool own = false;           // the window belongs to this program
  bool ime_open = false;      // Key: the focused window's input method is open
};

// The system's rules for clicks, in pixels and milliseconds.
struct InputMetrics {
  std::int32_t double_click_ms = 500;  // GetDoubleClickTime
  std::int32_t double_click_cx = 4;    // SM_CXDOUBLECLK: the rectangle around a first click
  std::int32_t double_click_cy = 4;
  std::int32_t drag_cx = 4;            // SM_CXDRAG: how far a press may move on either side
  std::int32_t drag_cy = 4;
};

class IInputEvents {
 public:
  virtual ~IInputEvents() = default;
  // From now on every event goes to `sink`, on the user-interface thread.
  // False when the system refuses (nothing is delivered then).
  virtual bool StartInputEvents(std::function<void(const InputEvent&)> sink) = 0;
  // Nothing is delivered after this returns; harmless when not started.
  virtual void StopInputEvents() = 0;
  virtual InputMetrics GetInputMetrics() = 0;
};

}  // namespace zepx
