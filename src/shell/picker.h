// The window picker, the application lists and the coordinate copy and
// paste of the main window.
//
// The picker lets the user point anywhere on the desktop: every tick of
// MouseTimer shows the screen point under the cursor in XLabel/YLabel and a
// target descriptor of the window there in AppComboBox; the next press of
// the left button fixes them and writes the point into the selected line.
// The lists fill AppComboBox, SendTextEdit and the palette's list from the
// visible top-level windows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/batch.h"
#include "model/command_line.h"
#include "platform/platform.h"
#include "ui/controls.h"

namespace zepx {

inline constexpr const char* kPickPrompt = "座標指定するところをクリックして下さい";
// What the coordinate buffer holds before the first copy.
inline constexpr const char* kCoordinateBufferInitial = "Pointer";
inline constexpr std::uint32_t kMouseTimerInterval = 40;
inline constexpr std::uint32_t kFlashMs = 100;
inline constexpr std::size_t kTopLevelLimit = 500;

// The target descriptor of window w: "ancestor title@@class <w>" when w's
// parent has a title (the grandparent's title when it has one, the parent's
// otherwise; nothing higher is asked), else "title <w>" when w has a title,
// else "class <w>".
std::string DescribeWindow(IWindows& windows, Hwnd w);

// The visible unowned top-level windows, topmost first, as each list wants
// them. "Program Manager" is never listed.
// AppComboBox: "title <handle>", untitled windows left out.
std::vector<std::string> TargetListEntries(IWindows& windows);
// SendTextEdit: the bare titles, untitled windows left out.
std::vector<std::string> ApplicationTitleEntries(IWindows& windows);
// The command palette's list: the bare titles, an untitled window giving an
// empty entry.
std::vector<std::string> PaletteTitleEntries(IWindows& windows);

class WindowPicker {
 public:
  // The main-window controls the picker reads and writes.
  struct Controls {
    TComboBox& CommandBox;
    TLabel& StatusLabel;
    TWinSpinEdit& XLabel;
    TWinSpinEdit& YLabel;
    TComboBox& AppComboBox;
    TComboBox& SendTextEdit;
    TButton& XYCopy;
    TButton& XYPaste;
    TTimer& MouseTimer;
    // On: a pick takes the point in the client area of the top-level
    // window under the pointer, in 96-DPI units, bound to that window.
    TCheckBox& WindowPointCheck;
  };
  // own_window: the window that takes the capture; refresh_coordinates: the
  // selection-to-coordinates display, run after a paste.
  WindowPicker(Platform& platform, Batch& batch, Controls controls,
               std::function<Hwnd()> own_window, std::function<void()> refresh_coordinates);
  ~WindowPicker();
  WindowPicker(const WindowPicker&) = delete;
  WindowPicker& operator=(const WindowPicker&) = delete;

  void XYButtonClick();    // start a pick
  void MouseTimerTimer();  // one tick of a pick
  void GetAppButtonClick();   // refresh AppComboBox
  // The user's click on GetAppButton: the refresh, and a word when the
  // entry it selects belongs to a program above our integrity level.
  void GetAppButtonUserClick();
  void GetAppButton2Click();  // refresh SendTextEdit
  void XYCopyClick();
  void XYPasteClick();
  void SpinEdit1Enter();  // the wait field: the wait kind
  void XLabelEnter();     // a coordinate field: the click kind (YLabel too)
  // With a wait for a colour chosen, a pick also reads the colour under
  // the point into this field.
  void UseColorField(TEdit& field) { color_field_ = &field; }

  bool Picking() const { return phase_ != Phase::Idle; }
  // The window of the point in the boxes, from the last pick or the line
  // shown, while the check box is on.
  std::optional<BoundPoint> PickedWindow() const;
  // The boxes show a mouse line's point: its window (or none) goes with it.
  void PointShown(const std::string& line) { bound_ = ReadCommandLine(line).bound; }
  const std::string& CoordinateBuffer() const { return buffer_; }

 private:
  enum class Phase { Idle, AwaitingRelease, Picking };
  bool LeftButtonDown();
  void StartPointing();
  void EndPick(Point p);
  // Input to a program above our integrity level is dropped by the system:
  // the user who just chose it is told so.
  void WarnIfUnreachable(Hwnd w, const std::string& name);
  void Unhook();
  void Flash(TButton& button, std::uint32_t& timer);
  void StopFlash(TButton& button, std::uint32_t& timer);

  Platform& platform_;
  Batch& batch_;
  Controls c_;
  std::function<Hwnd()> own_window_;
  std::function<void()> refresh_coordinates_;
  TEdit* color_field_ = nullptr;

  Phase phase_ = Phase::Idle;
  bool in_tick_ = false;
  std::uint32_t saved_cursor_ = 0;
  std::uintptr_t journal_hook_ = 0;
  std::uintptr_t mouse_hook_ = 0;
  bool left_pressed_ = false;  // seen by the mouse hook since pointing began
  Hwnd pointed_ = 0;           // the window under the cursor at the last tick
  std::optional<BoundPoint> bound_;  // the point bound to its window, at the last tick

  std::string buffer_ = kCoordinateBufferInitial;
  std::uint32_t copy_flash_ = 0;
  std::uint32_t paste_flash_ = 0;
};

}  // namespace zepx
