// List boxes, and the row-by-row list update that combo boxes share.
#include <algorithm>
#include <string>
#include <vector>

#include "ui/win32/native_parts.h"

namespace zepx::win32 {

ListChange SyncList(HWND w, const ListMessages& m, std::vector<std::string>& shown,
                    const std::vector<std::string>& want) {
  std::size_t p = 0;
  while (p < shown.size() && p < want.size() && shown[p] == want[p]) ++p;
  std::size_t s = 0;
  while (s < shown.size() - p && s < want.size() - p &&
         shown[shown.size() - 1 - s] == want[want.size() - 1 - s])
    ++s;
  const std::size_t removed = shown.size() - p - s;
  const std::size_t inserted = want.size() - p - s;
  ListChange change{p, inserted, false};
  if (removed == 0 && inserted == 0) return change;

  // Every change of a visible list updates its scroll bars at once, which
  // under Wine costs milliseconds per row: a change of more than one row is
  // made while the list is hidden and shown again unpainted, with its
  // drawing switched off meanwhile (a hidden list still keeps its scroll
  // ranges up to date row by row: 999 rows took 6 ms that way, 0.5 ms
  // without). Not hidden, a list that has the keyboard focus: hiding hands
  // the focus to the form for good (and a list told so inside its own
  // WM_SETFOCUS goes on believing it has it, so a click on it no longer
  // takes the focus back), after which the dialog manager takes the arrow
  // keys for moves between controls.
  const HWND focus = GetFocus();
  const bool focused = focus && (focus == w || IsChild(w, focus));
  const bool many = removed + inserted > 1 && IsWindowVisible(w);
  const bool hide = many && !focused;
  if (hide) ShowWindow(w, SW_HIDE);
  if (many) SendMessageW(w, WM_SETREDRAW, FALSE, 0);
  if (removed == shown.size() && removed > 0) {
    SendMessageW(w, m.reset, 0, 0);
  } else {
    for (std::size_t k = 0; k < removed; ++k) SendMessageW(w, m.remove, p, 0);
  }
  if (inserted > 64) {
    std::size_t bytes = 0;
    for (std::size_t k = 0; k < inserted; ++k) bytes += (want[p + k].size() + 1) * sizeof(wchar_t);
    SendMessageW(w, m.init_storage, inserted, static_cast<LPARAM>(bytes));
  }
  for (std::size_t k = 0; k < inserted; ++k) {
    const std::wstring text = Wide(want[p + k]);
    SendMessageW(w, m.insert, p + k, reinterpret_cast<LPARAM>(text.c_str()));
  }
  // Edited in place: appending to a long list must not copy it.
  shown.erase(shown.begin() + static_cast<std::ptrdiff_t>(p),
              shown.begin() + static_cast<std::ptrdiff_t>(p + removed));
  shown.insert(shown.begin() + static_cast<std::ptrdiff_t>(p),
               want.begin() + static_cast<std::ptrdiff_t>(p),
               want.begin() + static_cast<std::ptrdiff_t>(p + inserted));
  // Shown before drawing is switched on again: on a hidden window that
  // would make it visible without a paint.
  if (hide) ShowWindow(w, SW_SHOWNA);
  if (many) {
    SendMessageW(w, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  }
  change.full = removed == 0 && p == 0 && s == 0;
  return change;
}

namespace {

constexpr ListMessages kListBoxMessages{LB_RESETCONTENT, LB_DELETESTRING, LB_INSERTSTRING,
                                        LB_INITSTORAGE};

class ListBoxControl : public NativeControl {
 public:
  ListBoxControl(FormWindow& f, TItemsControl& l) : NativeControl(f, l), list_(l) {}
  ~ListBoxControl() override {
    if (measure_dc_) DeleteDC(measure_dc_);
  }
  void Create() override {
    hwnd_ = MakeChild(L"LISTBOX",
                      LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                      WS_EX_CLIENTEDGE);
    hook_.Attach(hwnd_, KeyProc, this);
  }
  // The list object may change row by row (a loader appends line after
  // line): the native list follows once, from the message loop, or earlier
  // when anything reaches the list window (a click, a paint, another
  // program reading it), so it never shows or answers from a stale state.
  // A list in a window not shown (the detached list, mostly) waits for it:
  // the first message that reaches it, its first paint or another
  // program's question, brings it up to date.
  void SetItems(const std::vector<std::string>&) override { MarkDirty(); }
  void SetItemIndex(int) override { MarkDirty(); }
  void Flush() override {
    queued_ = false;
    if (IsWindowVisible(hwnd_)) Sync();
  }
  void Sync() {
    if (!dirty_ || flushing_) return;
    flushing_ = true;
    dirty_ = false;
    ListChange c;
    {
      WindowHook::Bypass straight(hwnd_, hook_);
      c = SyncList(hwnd_, kListBoxMessages, shown_, list_.Items());
    }
    Measure(c);
    const int i = list_.ItemIndex();
    if (SendMessageW(hwnd_, LB_GETCURSEL, 0, 0) != i) SendMessageW(hwnd_, LB_SETCURSEL, i, 0);
    flushing_ = false;
  }
  void Repaint() override {
    Flush();
    NativeControl::Repaint();
  }
  void ApplyFont(HFONT f) override {
    NativeControl::ApplyFont(f);
    Measure(ListChange{0, shown_.size(), true});
  }
  void Command(HWND, WORD code) override {
    switch (code) {
      case LBN_SELCHANGE:
        list_.FromNativeSelect(static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)));
        break;
      case LBN_SETFOCUS:
        list_.FromNativeFocus(true);
        break;
      case LBN_KILLFOCUS:
        list_.FromNativeFocus(false);
        break;
      default:
        break;
    }
  }

 private:
  // The horizontal scroll range follows the widest line.
  void Measure(const ListChange& c) {
    if (!font_ || (c.inserted == 0 && !c.full)) return;
    if (!measure_dc_) measure_dc_ = CreateCompatibleDC(nullptr);
    SelectObject(measure_dc_, font_);
    int widest = c.full ? 0 : widest_;
    for (std::size_t k = c.first; k < c.first + c.inserted && k < shown_.size(); ++k) {
      const std::wstring t = Wide(shown_[k]);
      SIZE size{};
      GetTextExtentPoint32W(measure_dc_, t.c_str(), static_cast<int>(t.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx));
    }
    if (widest != widest_ || c.full) {
      widest_ = widest;
      SendMessageW(hwnd_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest_ + 8), 0);
    }
  }

  static LRESULT CALLBACK KeyProc(HWND w, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = WindowHook::OwnerOf<ListBoxControl>(w);
    if (self->dirty_ && !self->flushing_ && msg != WM_NCDESTROY) self->Sync();
    if (msg == WM_KEYDOWN || (msg == WM_SYSKEYDOWN && wparam == VK_F10)) {
      if (auto* lb = dynamic_cast<TListBox*>(&self->list_); lb && lb->OnKeyDown) {
        lb->OnKeyDown(static_cast<int>(wparam));
        // F10 comes as a system key: left to the default handling it would
        // open the menu bar on its release.
        if (msg == WM_SYSKEYDOWN) return 0;
      }
    }
    return self->hook_.Next(w, msg, wparam, lparam);
  }

  void MarkDirty() {
    dirty_ = true;
    if (queued_) return;
    queued_ = true;
    form_.Defer(this);
  }

  TItemsControl& list_;
  std::vector<std::string> shown_;
  int widest_ = 0;
  HDC measure_dc_ = nullptr;
  bool dirty_ = false;
  bool queued_ = false;
  bool flushing_ = false;
  WindowHook hook_;
};

}  // namespace

std::unique_ptr<NativeControl> NewListBox(FormWindow& f, TItemsControl& l) {
  return std::make_unique<ListBoxControl>(f, l);
}

}  // namespace zepx::win32
