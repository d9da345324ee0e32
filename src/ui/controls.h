// Control objects: the state of every widget the forms own (text, enabled,
// items, selection, value), readable and writable by the logic without a
// window system. When a native control is bound (the Win32 build), every
// change is mirrored into it, and the native side reports the user's changes
// back through the From* methods, which then run the form's handlers.
// Host tests call the same handlers a click would.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace zepx {

class IDialogs;

// COLORREF values used by the forms.
constexpr std::uint32_t kColorWindowText = 0xFF000000u;  // "system default" marker
constexpr std::uint32_t kColorBlue = 0x00FF0000u;        // RGB(0,0,255) as COLORREF
constexpr std::uint32_t kColorYellow = 0x0000FFFFu;
constexpr std::uint32_t kColorWindow = 0xFF000005u;      // "system window background" marker
constexpr std::uint32_t kColorSkyBlue = 0x00F0CAA6u;     // blue F0, green CA, red A6

// What a bound native control can be told. Every method has a harmless
// default so that a native wrapper implements only what its kind has.
class INativeControl {
 public:
  virtual ~INativeControl() = default;
  virtual void SetText(const std::string& /*cp932*/) {}
  virtual void SetEnabled(bool) {}
  virtual void SetVisible(bool) {}
  virtual void SetChecked(bool) {}
  virtual void SetItems(const std::vector<std::string>&) {}
  virtual void SetItemIndex(int) {}
  virtual void SetFontColor(std::uint32_t) {}
  virtual void SetColor(std::uint32_t) {}  // background of an edit field
  virtual void SetFocus() {}
  virtual void Repaint() {}
  virtual void SetReadOnly(bool) {}  // edit fields
  virtual void SelectAll() {}        // edit fields: select the whole text
  virtual void SetDroppedDown(bool) {}  // drop-downs: open or close the list
  virtual void SetRange(int /*min*/, int /*max*/) {}  // track bars
  virtual void SetPosition(int) {}                    // track bars
  virtual Hwnd Handle() const { return 0; }
};

// Layout in 96-DPI pixels, relative to the parent's client area; the
// native side scales by the monitor's DPI.
struct Bounds {
  int x = 0, y = 0, w = 0, h = 0;
};

class TControl {
 public:
  explicit TControl(std::string name) : Name(std::move(name)) {}
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  const std::string Name;
  Bounds bounds;
  std::string Hint;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  std::uint32_t FontColor() const { return font_color_; }
  void SetFontColor(std::uint32_t c);
  // Background colour (edit fields and drop-downs), kColorWindow by default.
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t c);
  void SetFocus();
  void Repaint();
  bool Focused() const { return focused_; }

  void Bind(INativeControl* n);
  INativeControl* Native() const { return native_; }
  Hwnd Handle() const { return native_ ? native_->Handle() : 0; }

  // Runs when the control receives the keyboard focus from the user or
  // the program (the toolkit's OnEnter). Without a native control, SetFocus
  // runs it when the control was not focused already.
  std::function<void()> OnEnter;

  // Reported by the native side.
  void FromNativeFocus(bool focused) {
    focused_ = focused;
    if (focused && OnEnter) OnEnter();
  }

 protected:
  virtual void PushAll();  // mirror the whole state into a newly bound native
  INativeControl* native_ = nullptr;

 private:
  bool enabled_ = true;
  bool visible_ = true;
  bool focused_ = false;
  std::uint32_t font_color_ = kColorWindowText;
  std::uint32_t color_ = kColorWindow;
};

// A control with one text: labels, buttons, edits, group boxes.
class TTextControl : public TControl {
 public:
  using TControl::TControl;
  const std::string& Text() const { return text_; }
  void SetText(const std::string& t);
  std::function<void()> OnChange;  // after the text changed
  void FromNativeText(const std::string& t);  // typed by the user

 protected:
  void PushAll() override;
  std::string text_;
};

class TLabel : public TTextControl {
 public:
  using TTextControl::TTextControl;
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& c) { SetText(c); }
  bool FontBold = false;  // set before the native control is made
};

class TGroupBox : public TLabel {
 public:
  using TLabel::TLabel;
};

class TButton : public TLabel {
 public:
  using TLabel::TLabel;
  // The form's default button: Enter clicks it, unless another push
  // button has the focus (that one is clicked then).
  bool Default = false;
  std::function<void()> OnClick;
  void Click() { if (OnClick) OnClick(); }
};

class TEdit : public TTextControl {
 public:
  using TTextControl::TTextControl;
  int max_length = 0;  // characters the user may type; 0: no limit
};

// Check box and radio button. Setting Checked to a new value runs OnClick,
// as a user click does.
class TCheckBox : public TLabel {
 public:
  using TLabel::TLabel;
  bool Checked() const { return checked_; }
  void SetChecked(bool c);
  std::function<void()> OnClick;
  void FromNativeClick() { SetChecked(!checked_); }

 protected:
  void PushAll() override;
  bool checked_ = false;
};

class TRadioButton : public TCheckBox {
 public:
  using TCheckBox::TCheckBox;
};

// List box, drop-down list and radio group share items and a selection.
class TItemsControl : public TTextControl {
 public:
  using TTextControl::TTextControl;
  int Count() const { return static_cast<int>(items_.size()); }
  const std::vector<std::string>& Items() const { return items_; }
  const std::string& Item(int i) const { return items_.at(static_cast<std::size_t>(i)); }
  void SetItems(std::vector<std::string> items);  // selection reset to -1
  void SetItem(int i, const std::string& s);
  void Add(const std::string& s);
  void Insert(int i, const std::string& s);
  void Delete(int i);
  void Clear();
  int ItemIndex() const { return item_index_; }
  // Programmatic selection; runs OnSelect only for radio groups (see there).
  virtual void SetItemIndex(int i);
  std::function<void()> OnSelect;       // the user picked an entry
  void FromNativeSelect(int i);         // picked by the user

 protected:
  void PushAll() override;
  std::vector<std::string> items_;
  int item_index_ = -1;
};

class TListBox : public TItemsControl {
 public:
  using TItemsControl::TItemsControl;
  // Key pressed while the list has the focus (virtual-key code).
  std::function<void(int vk)> OnKeyDown;
};

class TComboBox : public TItemsControl {
 public:
  using TItemsControl::TItemsControl;
  bool editable = false;  // csDropDown; otherwise a fixed list
  int max_length = 0;
  // Opens (or closes) the list, as the program does to point the user at
  // a choice still to be made. The native list reports its closing.
  bool DroppedDown() const { return dropped_down_; }
  void SetDroppedDown(bool d);
  void FromNativeDroppedDown(bool d) { dropped_down_ = d; }

 private:
  bool dropped_down_ = false;
};

// A radio group: picking an entry, by the user or by the program, runs
// OnSelect when the index changes.
class TRadioGroup : public TItemsControl {
 public:
  using TItemsControl::TItemsControl;
  void SetItemIndex(int i) override;
};

// Numeric edit with bounds and a step (a 64-bit integer), with an up/down
// button at its right edge. The text is the truth: Value parses it, and a
// value written by the program or typed by the user is shown as it is,
// out of range or not, until the field is left; only then is it clamped.
// Steps clamp at once. MaxValue equal to MinValue means no bounds at all.
//
// The native side asks before it lets a character, a key or a clipboard
// edit reach the field, and reports focus and the left mouse button. Key
// releases change nothing: clamping or reformatting while the user types
// would fight the typing (an emptied field would refill at once).
class TWinSpinEdit : public TTextControl {
 public:
  TWinSpinEdit(std::string name, std::int64_t min, std::int64_t max, std::int64_t inc,
               std::int64_t initial);
  std::int64_t MinValue, MaxValue, Increment;
  // False: only stepping changes the text (no typing, cutting or pasting).
  bool EditorEnabled = true;
  // Entering the field, or a Value read that falls back to MinValue,
  // selects the whole text, unless the left button is held on the field
  // (a click placing the caret).
  bool AutoSelect = true;
  // The user's decimal separator; the native side sets it from the locale.
  char DecimalSeparator = '.';
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool r);
  // Refused characters and steps beep through this; without one they are
  // refused silently.
  void SetSounds(IDialogs* d) { sounds_ = d; }

  // Reading: a text that is not a decimal integer is replaced by MinValue.
  std::int64_t Value();
  void SetValue(std::int64_t v);  // not clamped
  std::int64_t CheckValue(std::int64_t v) const;
  void StepUp();    // the up button or the Up key
  void StepDown();  // the down button or the Down key
  void SelectAll();

  // The native side's questions and reports.
  // A typed character (a UTF-16 unit or a byte): true when it may reach the
  // field; a refused one has beeped.
  bool FromNativeChar(std::uint32_t ch);
  // A key pressed in the field (virtual-key code): Up and Down step; true
  // when the key goes on to the field's own handling.
  bool FromNativeKeyDown(int vk);
  // Cut and paste reach the field only when it can be edited.
  bool AcceptsCutAndPaste() const { return EditorEnabled && !read_only_; }
  void FromNativeMouseButton(bool down) { mouse_down_ = down; }
  void FromNativeFocusGained();
  void FromNativeFocusLost();  // clamps

 protected:
  void PushAll() override;

 private:
  void Step(bool up);
  void Beep();
  bool read_only_ = false;
  bool mouse_down_ = false;  // the left button is held on the field
  IDialogs* sounds_ = nullptr;
};

class TMenuItem : public TControl {
 public:
  TMenuItem(std::string name, std::string caption)
      : TControl(std::move(name)), caption_(std::move(caption)) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c) {
    caption_ = c;
    if (native_) native_->SetText(c);
  }
  std::function<void()> OnClick;
  void Click() { if (OnClick) OnClick(); }
  std::vector<TMenuItem*> children;
  std::uint16_t ShortCut = 0;

 private:
  std::string caption_;
};

// One page of a TPageControl. The controls placed on it (owned with the
// sheet as their parent) show only while it is the active page; its bounds
// are the page area inside the page control.
class TTabSheet : public TControl {
 public:
  TTabSheet(std::string name, std::string caption)
      : TControl(std::move(name)), caption_(std::move(caption)) {}
  const std::string& Caption() const { return caption_; }

 private:
  std::string caption_;
};

// Tabs over a stack of pages, one page shown at a time. Picking a tab, by
// the user or by the program, shows that page and hides the others.
class TPageControl : public TControl {
 public:
  using TControl::TControl;
  void AddPage(TTabSheet& page);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet& Page(int i) const { return *pages_.at(static_cast<std::size_t>(i)); }
  int ActivePageIndex() const { return active_; }
  void SetActivePageIndex(int i);  // an index out of range is ignored
  std::function<void()> OnChange;  // the user picked another tab
  void FromNativeSelect(int i);

 protected:
  void PushAll() override;

 private:
  std::vector<TTabSheet*> pages_;
  int active_ = -1;
};

// A slider over an integer range. Moving it, by the user or by the
// program, runs OnChange when the position changes; positions outside the
// range are clamped to it.
class TTrackBar : public TControl {
 public:
  TTrackBar(std::string name, int min, int max, int position);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetPosition(int p);
  std::function<void()> OnChange;
  void FromNativePosition(int p) { SetPosition(p); }

 protected:
  void PushAll() override;

 private:
  int min_, max_, position_;
};

class IMessageLoop;

// A window timer. Enabling (or changing the interval while enabled)
// restarts it, as the toolkit timers do.
class TTimer {
 public:
  TTimer(std::string name, IMessageLoop& loop, std::uint32_t interval)
      : Name(std::move(name)), loop_(loop), interval_(interval) {}
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;
  const std::string Name;
  std::function<void()> OnTimer;
  // Served by the message loop's precise timer (the run's waits).
  bool Precise = false;
  bool Enabled() const { return id_ != 0; }
  void SetEnabled(bool e);
  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t ms);

 private:
  IMessageLoop& loop_;
  std::uint32_t interval_;
  std::uint32_t id_ = 0;
};

}  // namespace zepx
