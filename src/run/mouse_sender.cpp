#include "run/mouse_sender.h"

#include <functional>

namespace zepx {

namespace {

// Client coordinates packed as a mouse message's lParam: X low, Y high.
std::intptr_t PackPoint(Point p) {
  const std::uint32_t packed = (static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.y)) << 16) |
                               static_cast<std::uint16_t>(p.x);
  return static_cast<std::intptr_t>(packed);
}

// Where the messages for one row go: the window and the packed point.
struct Aim {
  Hwnd window = 0;
  std::intptr_t lparam = 0;
};

// The deepest child of top under a screen point, level by level.
Hwnd ChildAt(IWindows& windows, Hwnd top, Point screen) {
  Hwnd w = top;
  for (int depth = 0; depth < 32; ++depth) {
    Point client = screen;
    windows.ScreenToClient(w, client);
    const Hwnd child =
        windows.ChildWindowFromPointEx(w, client, win::CWP_SKIPINVISIBLE | win::CWP_SKIPTRANSPARENT);
    if (!child || child == w) break;
    w = child;
  }
  return w;
}

constexpr int kFrontLooks = 20;
constexpr std::int32_t kFrontLookMs = 50;

std::string HaltStatus(int row, const char* why, const BoundPoint& p) {
  return "中断 (" + std::to_string(row + 1) + "行目) - " + why + ": " + BoundWindowName(p);
}

struct Buttons {
  std::uint32_t down_msg, up_msg, dbl_msg;
  std::uint32_t down_flag, up_flag;
};
constexpr Buttons kLeft{win::WM_LBUTTONDOWN, win::WM_LBUTTONUP, win::WM_LBUTTONDBLCLK,
                        win::MOUSEEVENTF_LEFTDOWN, win::MOUSEEVENTF_LEFTUP};
constexpr Buttons kRight{win::WM_RBUTTONDOWN, win::WM_RBUTTONUP, win::WM_RBUTTONDBLCLK,
                         win::MOUSEEVENTF_RIGHTDOWN, win::MOUSEEVENTF_RIGHTUP};

// The waits run every handler of the program. Should one of them throw
// through a line, no button may stay pressed and the cursor must not stay
// confined to one pixel.
struct Cleanup {
  IInput& input;
  bool armed = false;
  Point saved{};
  std::function<void()> release;  // the button still held, if any
  ~Cleanup() {
    if (!armed) return;
    if (release) release();
    input.ClipCursor(nullptr);
    input.SetCursorPos(saved.x, saved.y);
  }
};

class Pointer {
 public:
  explicit Pointer(SendContext& ctx) : ctx_(ctx), post_(ctx.settings.WinMessageFlag()) {}

  // Moves the cursor to the point and confines it there. With WinMessage it
  // also finds the window under the point (in a window-bound point's
  // window, `top`), which becomes the row's target, and the point in that
  // window's client coordinates.
  Aim PointAt(int row, Point at, std::int32_t settle_ms, Hwnd top = 0) {
    Aim aim;
    aim.window = ctx_.batch.Target(row);
    if (post_) {
      aim.window = top ? ChildAt(ctx_.windows, top, at) : ctx_.windows.WindowFromPoint(at);
      ctx_.batch.SetTarget(row, aim.window);  // a row past the end is not written
      Point client = at;
      ctx_.windows.ScreenToClient(aim.window, client);
      aim.lparam = PackPoint(client);
    }
    ctx_.input.SetCursorPos(at.x, at.y);
    if (settle_ms > 0) ctx_.waiter.WaitMs(settle_ms);
    const Rect only{at.x, at.y, at.x, at.y};
    ctx_.input.ClipCursor(&only);
    return aim;
  }

  void Button(const Aim& aim, std::uint32_t message, std::uint32_t flag) {
    if (post_) ctx_.windows.PostMessageA(aim.window, message, 0, aim.lparam);
    else ctx_.input.mouse_event(flag, 0, 0, 0, 0);
  }

 private:
  SendContext& ctx_;
  bool post_;
};

}  // namespace

void MouseSender::SendMouseCommand(const CommandLine& cmd, int row) {
  const MouseAction action = cmd.mouse;
  if (action == MouseAction::LeftDrag || action == MouseAction::RightDrag) {
    Drag(row, action == MouseAction::LeftDrag);
    return;
  }

  IInput& input = ctx_.input;
  Pointer pointer(ctx_);
  ctx_.display.RefreshCoordinates();
  const std::optional<BoundLocation> bound = Locate(row);
  BringToFront(bound);
  ctx_.windows.SetActiveWindow(ctx_.batch.Target(row));
  ctx_.loop.Sleep(50);
  ctx_.loop.ProcessPendingMessages();
  CheckUncovered(row, bound);

  const Point at = bound ? bound->screen : ctx_.display.CoordinatesShown();
  // Only Y is tested: a line on the top row of the screen counts as a line
  // without a point, and the buttons act wherever the cursor is.
  const bool moved = bound || at.y != 0;
  Cleanup cleanup{input};
  Point saved;
  Aim aim;
  aim.window = ctx_.batch.Target(row);
  if (moved) {
    input.GetCursorPos(saved);
    cleanup.saved = saved;
    cleanup.armed = true;
    aim = pointer.PointAt(row, at, 0, bound ? bound->window : 0);
  }

  auto click = [&](const Buttons& b, bool twice) {
    pointer.Button(aim, b.down_msg, b.down_flag);
    pointer.Button(aim, b.up_msg, b.up_flag);
    if (!twice) return;
    pointer.Button(aim, b.dbl_msg, b.down_flag);
    pointer.Button(aim, b.up_msg, b.up_flag);
  };
  switch (action) {
    case MouseAction::LeftClick: click(kLeft, false); break;
    case MouseAction::RightClick: click(kRight, false); break;
    case MouseAction::LeftDouble: click(kLeft, true); break;
    case MouseAction::RightDouble: click(kRight, true); break;
    default: break;  // move only
  }

  ctx_.WaitShowing(Delay::Click);
  ctx_.loop.ProcessPendingMessages();
  cleanup.armed = false;
  input.ClipCursor(nullptr);
  if (moved) input.SetCursorPos(saved.x, saved.y);
  ctx_.loop.ProcessPendingMessages();
}

void MouseSender::Drag(int row, bool left) {
  IInput& input = ctx_.input;
  Pointer pointer(ctx_);
  const Buttons& b = left ? kLeft : kRight;

  ctx_.display.RefreshCoordinates();
  // Both ends are found before the button goes down: a drop whose window
  // is missing must not leave a press and release at the drag point.
  const std::optional<BoundLocation> from = Locate(row);
  std::optional<BoundLocation> to = Locate(row + 1);
  // A row below without a point leaves the boxes at the press point, which
  // a window-bound press shows in its window's units: it ends where it began.
  if (!to && from && !(ctx_.batch.Has(row + 1) && MouseLinePoint(ctx_.batch.Text(row + 1)))) to = from;
  else BringToFront(to);
  BringToFront(from);  // the press on top
  ctx_.windows.SetActiveWindow(ctx_.batch.Target(row));
  ctx_.waiter.WaitMs(100);
  ctx_.loop.ProcessPendingMessages();
  CheckUncovered(row, from);
  CheckUncovered(row + 1, to);
  Point saved;
  input.GetCursorPos(saved);
  Cleanup cleanup{input, true, saved, nullptr};

  const Aim press = pointer.PointAt(row, from ? from->screen : ctx_.display.CoordinatesShown(), 100,
                                   from ? from->window : 0);
  pointer.Button(press, b.down_msg, b.down_flag);
  cleanup.release = [&pointer, press, &b] { pointer.Button(press, b.up_msg, b.up_flag); };
  ctx_.WaitShowing(Delay::Drag);
  input.ClipCursor(nullptr);

  // The drop point is the row below. Past the last row nothing is
  // selected, the boxes keep the press point, and the release happens
  // there.
  ctx_.batch.Select(row + 1);
  ctx_.display.RefreshCoordinates();
  const Aim release = pointer.PointAt(row + 1, to ? to->screen : ctx_.display.CoordinatesShown(), 0,
                                     to ? to->window : 0);
  pointer.Button(release, b.up_msg, b.up_flag);
  cleanup.release = nullptr;

  ctx_.WaitShowing(Delay::Click);
  cleanup.armed = false;
  input.ClipCursor(nullptr);
  input.SetCursorPos(saved.x, saved.y);
  ctx_.loop.ProcessPendingMessages();
}

std::optional<BoundLocation> MouseSender::Locate(int row) {
  if (!ctx_.batch.Has(row)) return std::nullopt;
  const CommandLine cmd = ReadCommandLine(ctx_.batch.Text(row));
  if (!cmd.bound) return std::nullopt;
  const std::optional<BoundLocation> at = LocateBoundPoint(ctx_.windows, *cmd.bound);
  if (at) return at;
  ctx_.batch.Select(row);
  throw RunHalted(HaltStatus(row, "ウインドウが見つかりません", *cmd.bound));
}

void MouseSender::BringToFront(const std::optional<BoundLocation>& at) {
  // Injected input goes to whatever is in front; posted messages do not.
  // Activation alone need not raise it (another process's window, a
  // desktop without a window manager): it is put on top as well.
  if (!at || ctx_.settings.WinMessageFlag()) return;
  ctx_.windows.SetForegroundWindow(at->window);
  ctx_.windows.SetWindowPos(at->window, 0, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
}

void MouseSender::CheckUncovered(int row, const std::optional<BoundLocation>& at) {
  if (!at || ctx_.settings.WinMessageFlag()) return;
  // Another program's window comes to the front when its own thread gets
  // round to it, so the point counts as covered only once that had time:
  // a second, looked at every 50 ms through the message loop. A Stop ends
  // the looking, and nothing is clicked then either.
  const unsigned ends = ctx_.waiter.EndCount();
  for (int look = 0;; ++look) {
    if (ctx_.windows.GetAncestor(ctx_.windows.WindowFromPoint(at->screen), win::GA_ROOT) == at->window) return;
    if (look == kFrontLooks || ctx_.waiter.EndCount() != ends) break;
    ctx_.waiter.WaitMs(kFrontLookMs);
  }
  ctx_.batch.Select(row);
  throw RunHalted(HaltStatus(row, "他のウインドウに隠れています",
                             *ReadCommandLine(ctx_.batch.Text(row)).bound));
}

}  // namespace zepx
