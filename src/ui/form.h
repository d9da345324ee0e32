// Forms and the application object, as state the logic owns. A native
// window, when one is bound, mirrors caption, position and visibility and
// reports the user's actions (close box, minimise, dropped files) back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace zepx {

class INativeForm {
 public:
  virtual ~INativeForm() = default;
  virtual void SetCaption(const std::string& /*cp932*/) {}
  virtual void SetPosition(int /*left*/, int /*top*/) {}
  virtual void Show() {}
  // Shown (to the system: visible, listed) but not yet seen, until Reveal.
  virtual void ShowConcealed() { Show(); }
  virtual void Reveal() {}
  virtual void Hide() {}
  virtual void Destroy() {}
  // Opens a pop-up menu at a screen point and runs the chosen item's OnClick.
  virtual void PopupMenu(const std::vector<TMenuItem*>& /*items*/, int /*x*/, int /*y*/) {}
  // Shows the form modally; returns when it is hidden again.
  virtual void ShowModal() {}
  virtual Hwnd Handle() const { return 0; }
};

class TForm {
 public:
  TForm(std::string name, std::string caption) : Name(std::move(name)), caption_(std::move(caption)) {}
  virtual ~TForm() = default;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  const std::string Name;
  int ClientWidth = 0, ClientHeight = 0;  // 96-DPI pixels
  // First shown in the middle of the screen rather than over the main window.
  bool ScreenCenter = false;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c);
  int Left() const { return left_; }
  int Top() const { return top_; }
  void SetPosition(int left, int top);
  bool Visible() const { return visible_; }
  void Show();
  // A first show whose handler still places and colours the window: it is
  // visible to the system at once but seen only after Reveal.
  void ShowConcealed();
  void Reveal();
  void Hide();

  // Every control, in creation (tab) order, for the native builder. A
  // control's parent group, when it sits inside one, is noted alongside.
  struct Child {
    TControl* control;
    TControl* parent;  // a TGroupBox, a TTabSheet, a TPageControl (for its sheets) or null
  };
  const std::vector<Child>& Children() const { return children_; }
  std::vector<TMenuItem*> Menu;  // top-level menu entries

  void Bind(INativeForm* n);
  INativeForm* Native() const { return native_; }
  Hwnd Handle() const { return native_ ? native_->Handle() : 0; }

  // Reported by the native side when the user moves the window.
  void FromNativePosition(int left, int top) { left_ = left; top_ = top; }
  // The close box, Alt+F4 or a WM_CLOSE from another program.
  virtual void CloseRequested() { Hide(); }
  // Windows is logging off or shutting down (WM_ENDSESSION): the process
  // may end as soon as this returns.
  virtual void SessionEnding() {}
  // Files dropped from the shell (cp932 paths).
  virtual void FilesDropped(const std::vector<std::string>& /*paths*/) {}
  // A message of the form's own range (WM_USER and above) arrived.
  virtual void UserMessage(std::uint32_t /*msg*/, std::uintptr_t /*wparam*/, std::intptr_t /*lparam*/) {}
  // The shell restarted ("TaskbarCreated"): notification-area icons are gone.
  virtual void ShellRestarted() {}
  void ShowModal();
  void PopupMenu(const std::vector<TMenuItem*>& items, int x, int y);

 protected:
  template <typename T>
  T& Own(T& c, TControl* parent = nullptr) {
    children_.push_back({&c, parent});
    return c;
  }

 private:
  std::string caption_;
  int left_ = 0, top_ = 0;
  bool visible_ = false;
  INativeForm* native_ = nullptr;
  std::vector<Child> children_;
};

// The application object: its title is the task-bar text.
class INativeApplication {
 public:
  virtual ~INativeApplication() = default;
  virtual void SetTitle(const std::string& /*cp932*/) {}
  virtual void Minimize() {}
  virtual void Restore() {}
  virtual void ShowMainWindow(bool /*show*/) {}
};

class TApplication {
 public:
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& t);
  void Minimize();
  void Restore();
  void ShowMainWindow(bool show);
  bool Minimized() const { return minimized_; }
  std::function<void()> OnMinimize;  // raised when the application is minimised
  void FromNativeMinimized() { minimized_ = true; if (OnMinimize) OnMinimize(); }
  void FromNativeRestored() { minimized_ = false; }
  void Bind(INativeApplication* n);

 private:
  std::string title_;
  bool minimized_ = false;
  INativeApplication* native_ = nullptr;
};

}  // namespace zepx
