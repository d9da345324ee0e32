#include "ui/controls.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "platform/platform.h"

namespace zepx {

void TControl::SetEnabled(bool e) {
  enabled_ = e;
  if (native_) native_->SetEnabled(e);
}

void TControl::SetVisible(bool v) {
  visible_ = v;
  if (native_) native_->SetVisible(v);
}

void TControl::SetFontColor(std::uint32_t c) {
  font_color_ = c;
  if (native_) native_->SetFontColor(c);
}

void TControl::SetColor(std::uint32_t c) {
  color_ = c;
  if (native_) native_->SetColor(c);
}

void TControl::SetFocus() {
  if (native_) {
    // The native control reports the focus, which runs OnEnter.
    native_->SetFocus();
    focused_ = true;
    return;
  }
  const bool was = focused_;
  focused_ = true;
  if (!was && OnEnter) OnEnter();
}

void TControl::Repaint() {
  if (native_) native_->Repaint();
}

void TControl::Bind(INativeControl* n) {
  native_ = n;
  if (native_) PushAll();
}

void TControl::PushAll() {
  native_->SetEnabled(enabled_);
  native_->SetVisible(visible_);
  if (font_color_ != kColorWindowText) native_->SetFontColor(font_color_);
  if (color_ != kColorWindow) native_->SetColor(color_);
}

void TTextControl::SetText(const std::string& t) {
  if (t == text_) return;
  text_ = t;
  if (native_) native_->SetText(t);
  if (OnChange) OnChange();
}

void TTextControl::FromNativeText(const std::string& t) {
  if (t == text_) return;
  text_ = t;
  if (OnChange) OnChange();
}

void TTextControl::PushAll() {
  TControl::PushAll();
  native_->SetText(text_);
}

void TCheckBox::SetChecked(bool c) {
  if (c == checked_) return;
  checked_ = c;
  if (native_) native_->SetChecked(c);
  if (OnClick) OnClick();
}

void TCheckBox::PushAll() {
  TLabel::PushAll();
  native_->SetChecked(checked_);
}

void TItemsControl::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  item_index_ = -1;
  if (native_) native_->SetItems(items_);
}

void TItemsControl::SetItem(int i, const std::string& s) {
  items_.at(static_cast<std::size_t>(i)) = s;
  if (native_) {
    native_->SetItems(items_);
    native_->SetItemIndex(item_index_);
  }
}

void TItemsControl::Add(const std::string& s) {
  items_.push_back(s);
  if (native_) {
    native_->SetItems(items_);
    native_->SetItemIndex(item_index_);
  }
}

void TItemsControl::Insert(int i, const std::string& s) {
  items_.insert(items_.begin() + i, s);
  if (item_index_ >= i) ++item_index_;
  if (native_) {
    native_->SetItems(items_);
    native_->SetItemIndex(item_index_);
  }
}

void TItemsControl::Delete(int i) {
  items_.erase(items_.begin() + i);
  if (item_index_ == i) item_index_ = -1;
  else if (item_index_ > i) --item_index_;
  if (native_) {
    native_->SetItems(items_);
    native_->SetItemIndex(item_index_);
  }
}

void TItemsControl::Clear() { SetItems({}); }

void TItemsControl::SetItemIndex(int i) {
  if (i < -1 || i >= Count()) i = -1;
  item_index_ = i;
  if (native_) native_->SetItemIndex(i);
}

void TItemsControl::FromNativeSelect(int i) {
  item_index_ = (i < -1 || i >= Count()) ? -1 : i;
  if (OnSelect) OnSelect();
}

void TItemsControl::PushAll() {
  TTextControl::PushAll();
  native_->SetItems(items_);
  native_->SetItemIndex(item_index_);
}

void TComboBox::SetDroppedDown(bool d) {
  dropped_down_ = d;
  if (native_) native_->SetDroppedDown(d);
}

void TRadioGroup::SetItemIndex(int i) {
  const int before = item_index_;
  TItemsControl::SetItemIndex(i);
  if (item_index_ != before && OnSelect) OnSelect();
}

namespace {

// Virtual-key codes and characters the spin edit looks at.
constexpr int kVkUp = 0x26;
constexpr int kVkDown = 0x28;
constexpr int kVkDelete = 0x2E;
constexpr std::uint32_t kCharBackspace = 8;
constexpr std::uint32_t kCharEnter = 13;

}  // namespace

TWinSpinEdit::TWinSpinEdit(std::string name, std::int64_t min, std::int64_t max,
                           std::int64_t inc, std::int64_t initial)
    : TTextControl(std::move(name)), MinValue(min), MaxValue(max), Increment(inc) {
  text_ = std::to_string(initial);
}

std::int64_t TWinSpinEdit::Value() {
  // Plain decimal with an optional sign, nothing else: what the field shows.
  const std::string& t = text_;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  bool ok = i < t.size();
  for (std::size_t k = i; k < t.size(); ++k)
    if (t[k] < '0' || t[k] > '9') ok = false;
  if (ok) {
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(t.c_str(), &end, 10);
    if (errno == 0 && end && *end == '\0') return v;
  }
  SetText(std::to_string(MinValue));
  // The user sees the replacement selected, ready to be typed over; not
  // while a click is placing the caret, which would undo the selection.
  if (AutoSelect && !mouse_down_) SelectAll();
  return MinValue;
}

void TWinSpinEdit::SetValue(std::int64_t v) { SetText(std::to_string(v)); }

std::int64_t TWinSpinEdit::CheckValue(std::int64_t v) const {
  if (MaxValue == MinValue) return v;
  if (v < MinValue) return MinValue;
  if (v > MaxValue) return MaxValue;
  return v;
}

void TWinSpinEdit::SetReadOnly(bool r) {
  read_only_ = r;
  if (native_) native_->SetReadOnly(r);
}

void TWinSpinEdit::SelectAll() {
  if (native_) native_->SelectAll();
}

void TWinSpinEdit::Beep() {
  if (sounds_) sounds_->MessageBeep(0);
}

void TWinSpinEdit::StepUp() { Step(true); }
void TWinSpinEdit::StepDown() { Step(false); }

void TWinSpinEdit::Step(bool up) {
  if (read_only_) {
    Beep();
    return;
  }
  const std::int64_t v = Value();
  std::int64_t next;
  // An unbounded field at the end of the 64-bit range stays there.
  const bool overflow = up ? __builtin_add_overflow(v, Increment, &next)
                           : __builtin_sub_overflow(v, Increment, &next);
  if (overflow)
    next = (up == (Increment > 0)) ? std::numeric_limits<std::int64_t>::max()
                                   : std::numeric_limits<std::int64_t>::min();
  SetValue(CheckValue(next));
}

bool TWinSpinEdit::FromNativeChar(std::uint32_t ch) {
  const bool control = ch < 32;
  bool ok;
  if (!EditorEnabled || read_only_) {
    // Navigation and copying only: nothing that would change the text.
    ok = control && ch != kCharEnter && ch != kCharBackspace;
  } else {
    ok = (control && ch != kCharEnter) || (ch >= '0' && ch <= '9') || ch == '+' || ch == '-' ||
         ch == static_cast<unsigned char>(DecimalSeparator);
  }
  if (!ok) Beep();
  return ok;
}

bool TWinSpinEdit::FromNativeKeyDown(int vk) {
  switch (vk) {
    case kVkUp:
      StepUp();
      return true;
    case kVkDown:
      StepDown();
      return true;
    case kVkDelete:
      // Deletes text as typing does, so it is refused where typing is.
      if (AcceptsCutAndPaste()) return true;
      Beep();
      return false;
    default:
      return true;
  }
}

void TWinSpinEdit::FromNativeFocusGained() {
  if (AutoSelect && !mouse_down_) SelectAll();
  FromNativeFocus(true);
}

void TWinSpinEdit::FromNativeFocusLost() {
  FromNativeFocus(false);
  const std::int64_t v = Value();
  if (CheckValue(v) != v) SetValue(CheckValue(v));
}

void TWinSpinEdit::PushAll() {
  TTextControl::PushAll();
  native_->SetReadOnly(read_only_);
}

void TPageControl::AddPage(TTabSheet& page) {
  pages_.push_back(&page);
  if (active_ < 0) active_ = 0;
  page.SetVisible(&page == pages_[static_cast<std::size_t>(active_)]);
  if (native_) PushAll();
}

void TPageControl::SetActivePageIndex(int i) {
  if (i < 0 || i >= PageCount()) return;
  active_ = i;
  // The page going away first, so that its controls and the new page's
  // never show together.
  for (int k = 0; k < PageCount(); ++k)
    if (k != i) Page(k).SetVisible(false);
  Page(i).SetVisible(true);
  if (native_) native_->SetItemIndex(i);
}

void TPageControl::FromNativeSelect(int i) {
  if (i < 0 || i >= PageCount() || i == active_) return;
  SetActivePageIndex(i);
  if (OnChange) OnChange();
}

void TPageControl::PushAll() {
  TControl::PushAll();
  std::vector<std::string> captions;
  for (const TTabSheet* p : pages_) captions.push_back(p->Caption());
  native_->SetItems(captions);
  native_->SetItemIndex(active_);
}

TTrackBar::TTrackBar(std::string name, int min, int max, int position)
    : TControl(std::move(name)), min_(min), max_(max < min ? min : max), position_(min) {
  position_ = position < min_ ? min_ : position > max_ ? max_ : position;
}

void TTrackBar::SetPosition(int p) {
  p = p < min_ ? min_ : p > max_ ? max_ : p;
  if (p == position_) return;
  position_ = p;
  if (native_) native_->SetPosition(p);
  if (OnChange) OnChange();
}

void TTrackBar::PushAll() {
  TControl::PushAll();
  native_->SetRange(min_, max_);
  native_->SetPosition(position_);
}

TTimer::~TTimer() { SetEnabled(false); }

void TTimer::SetEnabled(bool e) {
  if (id_) {
    loop_.KillTimer(id_);
    id_ = 0;
  }
  if (e && interval_ > 0) {
    auto tick = [this] { if (OnTimer) OnTimer(); };
    id_ = Precise ? loop_.SetPreciseTimer(interval_, tick) : loop_.SetTimer(interval_, tick);
  }
}

void TTimer::SetInterval(std::uint32_t ms) {
  interval_ = ms;
  if (id_) SetEnabled(true);
}

}  // namespace zepx
