// Mouse sending: clicks, double clicks and drag and drop at the point of a
// mouse line. _event and SendInput press the real buttons with mouse_event
// after moving the real cursor there; WinMessage posts the button messages
// to the window under the point (in its client coordinates) and moves the
// real cursor too. The cursor is confined to the point while the buttons
// act, so that a user's hand on the mouse cannot spoil a drag, and is put
// back where it was afterwards.
#include <functional>

#include "shell/main_form.h"

namespace zepx {

namespace {

enum class MouseKind { LeftClick, RightClick, LeftDouble, RightDouble, LeftDrag, RightDrag, Move };

MouseKind KindOf(const std::string& line) {
  struct Entry {
    const char* text;
    MouseKind kind;
  };
  static const Entry kKinds[] = {
      {"L_Click", MouseKind::LeftClick},   {"R_Click", MouseKind::RightClick},
      {"L_DClick", MouseKind::LeftDouble}, {"R_DClick", MouseKind::RightDouble},
      {"L_Drag", MouseKind::LeftDrag},     {"R_Drag", MouseKind::RightDrag},
  };
  for (const Entry& e : kKinds)
    if (line.find(e.text) != std::string::npos) return e.kind;
  return MouseKind::Move;  // a drop line, or anything else: the cursor only visits
}

// Client coordinates packed as a mouse message's lParam: X low, Y high.
std::intptr_t PackPoint(Point p) {
  const std::uint32_t packed = (static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.y)) << 16) |
                               static_cast<std::uint16_t>(p.x);
  return static_cast<std::intptr_t>(packed);
}

}  // namespace

void TMainForm::SendMouseCommand(int index) {
  IInput& input = platform.input;
  IWindows& windows = platform.windows;
  IMessageLoop& loop = platform.loop;
  const bool post = WinMessageFlag();
  const MouseKind kind = KindOf(SendList.Item(index));

  // TargetHandles is filled at run start for the list as it was then; a
  // row it does not cover (the row after the last, or a list that changed
  // under the run) is treated as having no target and is never written.
  auto has_entry = [&](int i) {
    return i >= 0 && static_cast<std::size_t>(i) < TargetHandles.size();
  };
  auto entry = [&](int i) -> Hwnd { return has_entry(i) ? TargetHandles[static_cast<std::size_t>(i)] : 0; };
  auto wait_showing = [&](TWinSpinEdit& box) {
    box.SetFontColor(kColorBlue);
    WaitMs(static_cast<std::int32_t>(box.Value()));
    box.SetFontColor(kColorWindowText);
  };

  // Moves the cursor to the point and confines it there. With WinMessage it
  // also finds the window under the point, which becomes row i's target,
  // and returns the point in that window's client coordinates. Returns the
  // window the messages for row i go to.
  struct Aim {
    Hwnd window = 0;
    std::intptr_t lparam = 0;
  };
  auto point_at = [&](int i, Point at, std::int32_t settle_ms) {
    Aim aim;
    aim.window = entry(i);
    if (post) {
      aim.window = windows.WindowFromPoint(at);
      if (has_entry(i)) TargetHandles[static_cast<std::size_t>(i)] = aim.window;
      Point client = at;
      windows.ScreenToClient(aim.window, client);
      aim.lparam = PackPoint(client);
    }
    input.SetCursorPos(at.x, at.y);
    if (settle_ms > 0) WaitMs(settle_ms);
    const Rect only{at.x, at.y, at.x, at.y};
    input.ClipCursor(&only);
    return aim;
  };
  auto boxes = [&] {
    return Point{static_cast<std::int32_t>(XLabel.Value()), static_cast<std::int32_t>(YLabel.Value())};
  };
  auto button = [&](const Aim& aim, std::uint32_t message, std::uint32_t flag) {
    if (post) windows.PostMessageA(aim.window, message, 0, aim.lparam);
    else input.mouse_event(flag, 0, 0, 0, 0);
  };

  // The waits run every handler of the program. Should one of them throw
  // through this line, no button may stay pressed and the cursor must not
  // stay confined to one pixel.
  struct Cleanup {
    IInput& input;
    bool armed = false;
    Point saved;
    std::function<void()> release;  // the button still held, if any
    ~Cleanup() {
      if (!armed) return;
      if (release) release();
      input.ClipCursor(nullptr);
      input.SetCursorPos(saved.x, saved.y);
    }
  } cleanup{input, false, {}, nullptr};

  if (kind == MouseKind::LeftDrag || kind == MouseKind::RightDrag) {
    const bool left = kind == MouseKind::LeftDrag;
    RefreshCoordinateDisplay();
    windows.SetActiveWindow(entry(index));
    WaitMs(100);
    loop.ProcessPendingMessages();
    Point saved;
    input.GetCursorPos(saved);
    cleanup.saved = saved;
    cleanup.armed = true;

    const Aim press = point_at(index, boxes(), 100);
    if (left) button(press, win::WM_LBUTTONDOWN, win::MOUSEEVENTF_LEFTDOWN);
    else button(press, win::WM_RBUTTONDOWN, win::MOUSEEVENTF_RIGHTDOWN);
    cleanup.release = [&button, press, left] {
      if (left) button(press, win::WM_LBUTTONUP, win::MOUSEEVENTF_LEFTUP);
      else button(press, win::WM_RBUTTONUP, win::MOUSEEVENTF_RIGHTUP);
    };
    wait_showing(DragDelay);
    input.ClipCursor(nullptr);

    // The drop point is the row below. Past the last row nothing is
    // selected, the boxes keep the press point, and the release happens
    // there.
    SendList.SetItemIndex(index + 1);
    RefreshCoordinateDisplay();
    const Aim release = point_at(index + 1, boxes(), 0);
    if (left) button(release, win::WM_LBUTTONUP, win::MOUSEEVENTF_LEFTUP);
    else button(release, win::WM_RBUTTONUP, win::MOUSEEVENTF_RIGHTUP);
    cleanup.release = nullptr;

    wait_showing(ClickAfterDelay);
    cleanup.armed = false;
    input.ClipCursor(nullptr);
    input.SetCursorPos(saved.x, saved.y);
    loop.ProcessPendingMessages();
    return;
  }

  RefreshCoordinateDisplay();
  windows.SetActiveWindow(entry(index));
  loop.Sleep(50);
  loop.ProcessPendingMessages();

  const Point at = boxes();
  // Only Y is tested: a line on the top row of the screen counts as a line
  // without a point, and the buttons act wherever the cursor is.
  const bool moved = at.y != 0;
  Point saved;
  Aim aim;
  aim.window = entry(index);
  if (moved) {
    input.GetCursorPos(saved);
    cleanup.saved = saved;
    cleanup.armed = true;
    aim = point_at(index, at, 0);
  }

  switch (kind) {
    case MouseKind::LeftClick:
      button(aim, win::WM_LBUTTONDOWN, win::MOUSEEVENTF_LEFTDOWN);
      button(aim, win::WM_LBUTTONUP, win::MOUSEEVENTF_LEFTUP);
      break;
    case MouseKind::RightClick:
      button(aim, win::WM_RBUTTONDOWN, win::MOUSEEVENTF_RIGHTDOWN);
      button(aim, win::WM_RBUTTONUP, win::MOUSEEVENTF_RIGHTUP);
      break;
    case MouseKind::LeftDouble:
      button(aim, win::WM_LBUTTONDOWN, win::MOUSEEVENTF_LEFTDOWN);
      button(aim, win::WM_LBUTTONUP, win::MOUSEEVENTF_LEFTUP);
      button(aim, win::WM_LBUTTONDBLCLK, win::MOUSEEVENTF_LEFTDOWN);
      button(aim, win::WM_LBUTTONUP, win::MOUSEEVENTF_LEFTUP);
      break;
    case MouseKind::RightDouble:
      button(aim, win::WM_RBUTTONDOWN, win::MOUSEEVENTF_RIGHTDOWN);
      button(aim, win::WM_RBUTTONUP, win::MOUSEEVENTF_RIGHTUP);
      button(aim, win::WM_RBUTTONDBLCLK, win::MOUSEEVENTF_RIGHTDOWN);
      button(aim, win::WM_RBUTTONUP, win::MOUSEEVENTF_RIGHTUP);
      break;
    default:
      break;  // move only
  }

  wait_showing(ClickAfterDelay);
  loop.ProcessPendingMessages();
  cleanup.armed = false;
  input.ClipCursor(nullptr);
  if (moved) input.SetCursorPos(saved.x, saved.y);
  loop.ProcessPendingMessages();
}

}  // namespace zepx
