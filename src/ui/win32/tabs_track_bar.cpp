// The settings dialog's page control and its pages, and the track bar.
#include <algorithm>
#include <string>
#include <vector>

#include "ui/win32/native_parts.h"

namespace zepx::win32 {

namespace {

// A page of a page control has no window of its own: showing or hiding it
// shows or hides the controls placed on it.
class TabSheetControl : public NativeControl {
 public:
  using NativeControl::NativeControl;
  void Create() override {}
  void Layout(const Bounds&, UINT) override {}
  void ApplyFont(HFONT) override {}
  std::vector<HWND> Windows() const override { return {}; }
  void SetVisible(bool) override { form_.PageVisibilityChanged(ctl_); }
  void SetFocus() override {}
};

// The tabs of a page control (WC_TABCONTROL). The pages' controls are
// siblings lying over its display area, not children of it, so that their
// notifications reach the form like every other control's.
class PageControlNative : public NativeControl {
 public:
  PageControlNative(FormWindow& f, TPageControl& p) : NativeControl(f, p), pages_(p) {}
  void Create() override {
    hwnd_ = MakeChild(WC_TABCONTROLW, WS_TABSTOP | TCS_FOCUSONBUTTONDOWN, 0);
    hook_.Attach(hwnd_, PaneProc, this);
  }
  bool IsPageFrame() const override { return true; }
  void SetItems(const std::vector<std::string>& captions) override {
    SendMessageW(hwnd_, TCM_DELETEALLITEMS, 0, 0);
    for (std::size_t k = 0; k < captions.size(); ++k) {
      std::wstring text = Wide(captions[k]);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      SendMessageW(hwnd_, TCM_INSERTITEMW, k, reinterpret_cast<LPARAM>(&item));
    }
  }
  void SetItemIndex(int i) override {
    if (SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0) != i) SendMessageW(hwnd_, TCM_SETCURSEL, i, 0);
    MarkPressed(i);
  }
  bool Notify(NMHDR* n, LRESULT& result) override {
    if (n->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    const int i = static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0));
    MarkPressed(i);
    pages_.FromNativeSelect(i);
    result = 0;
    return true;
  }

 private:
  // Only the selected tab is marked pressed. Wine's tab control moves the
  // selection by the arrow keys without moving that mark, and then ignores
  // every click on the tab still marked: after Right, Right and a page
  // chosen by the program, the first tab could no longer be clicked.
  void MarkPressed(int selected) {
    const int n = static_cast<int>(SendMessageW(hwnd_, TCM_GETITEMCOUNT, 0, 0));
    for (int k = 0; k < n; ++k) {
      TCITEMW item{};
      item.mask = TCIF_STATE;
      item.dwStateMask = TCIS_BUTTONPRESSED;
      item.dwState = k == selected ? TCIS_BUTTONPRESSED : 0;
      SendMessageW(hwnd_, TCM_SETITEMW, k, reinterpret_cast<LPARAM>(&item));
    }
  }

  // A themed page is lighter than the dialog face that labels, check boxes
  // and group boxes paint behind their texts, which would leave a box of
  // another shade around each of them. The page is painted in that face,
  // inside the frame the control drew; the controls on it are siblings
  // lying above, so the fill never covers them.
  static LRESULT CALLBACK PaneProc(HWND w, UINT msg, WPARAM wparam, LPARAM lparam) {
    const WindowHook& hook = WindowHook::OwnerOf<PageControlNative>(w)->hook_;
    if (msg != WM_PAINT) return hook.Next(w, msg, wparam, lparam);
    const LRESULT r = hook.Next(w, msg, wparam, lparam);
    RECT pane{};
    GetClientRect(w, &pane);
    SendMessageW(w, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
    RECT client{};
    GetClientRect(w, &client);
    // Out to two pixels short of the frame on the sides and at the bottom.
    pane.left = std::max(pane.left - 2, client.left + 2);
    pane.right = std::min(pane.right + 2, client.right - 2);
    pane.bottom = std::min(pane.bottom + 2, client.bottom - 2);
    HDC dc = GetDC(w);
    FillRect(dc, &pane, GetSysColorBrush(COLOR_BTNFACE));
    ReleaseDC(w, dc);
    return r;
  }

  TPageControl& pages_;
  WindowHook hook_;
};

// A horizontal slider (TRACKBAR_CLASS); every move, dragged or by keys,
// reaches the control object at once.
class TrackBarControl : public NativeControl {
 public:
  TrackBarControl(FormWindow& f, TTrackBar& t) : NativeControl(f, t), bar_(t) {}
  void Create() override {
    hwnd_ = MakeChild(TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP, 0);
  }
  void SetRange(int min, int max) override {
    SendMessageW(hwnd_, TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(hwnd_, TBM_SETRANGEMAX, FALSE, max);
    // A tick every 10 steps and a page of 10, not one per step.
    SendMessageW(hwnd_, TBM_SETTICFREQ, 10, 0);
    SendMessageW(hwnd_, TBM_SETPAGESIZE, 0, 10);
  }
  void SetPosition(int p) override {
    if (SendMessageW(hwnd_, TBM_GETPOS, 0, 0) != p) SendMessageW(hwnd_, TBM_SETPOS, TRUE, p);
  }
  // Reported from the message loop, not from inside the track bar's own
  // handling of the click or key: what the position change does may
  // process pending messages, and a button release taken from the queue
  // under the track bar's button-down handler would leave the mouse
  // captured by it for good.
  void Scroll(WORD code) override {
    if (code != TB_ENDTRACK) form_.Defer(this);
  }
  void Flush() override {
    bar_.FromNativePosition(static_cast<int>(SendMessageW(hwnd_, TBM_GETPOS, 0, 0)));
  }

 private:
  TTrackBar& bar_;
};

}  // namespace

std::unique_ptr<NativeControl> NewTabSheet(FormWindow& f, TControl& c) {
  return std::make_unique<TabSheetControl>(f, c);
}
std::unique_ptr<NativeControl> NewPageControl(FormWindow& f, TPageControl& p) {
  return std::make_unique<PageControlNative>(f, p);
}
std::unique_ptr<NativeControl> NewTrackBar(FormWindow& f, TTrackBar& t) {
  return std::make_unique<TrackBarControl>(f, t);
}

}  // namespace zepx::win32
