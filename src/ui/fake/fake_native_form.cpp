#include "ui/fake/fake_native_form.h"

#include <vector>

namespace zepx {

namespace {
class FakeNativeForm : public INativeForm {
 public:
  FakeNativeForm(FakePlatform& fake, Hwnd hwnd) : fake_(fake), hwnd_(hwnd) {}
  void SetCaption(const std::string& c) override {
    if (auto* w = fake_.FindWindowByHandle(hwnd_)) w->title = c;
  }
  void SetPosition(int left, int top) override {
    if (auto* w = fake_.FindWindowByHandle(hwnd_)) {
      const int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
      w->rect = {left, top, left + width, top + height};
    }
  }
  void Show() override {
    if (auto* w = fake_.FindWindowByHandle(hwnd_)) w->visible = true;
  }
  void Hide() override {
    if (auto* w = fake_.FindWindowByHandle(hwnd_)) w->visible = false;
  }
  void Destroy() override { fake_.DestroyWindow(hwnd_); }
  void PopupMenu(const std::vector<TMenuItem*>& items, int x, int y) override {
    fake_.calls.push_back({fake_.now, "TrackPopupMenu(" + std::to_string(x) + "," + std::to_string(y) + ")"});
    if (fake_.popup_choices.empty()) return;
    const int i = fake_.popup_choices.front();
    fake_.popup_choices.pop_front();
    if (i >= 0 && i < static_cast<int>(items.size())) items[static_cast<std::size_t>(i)]->Click();
  }
  void ShowModal() override {
    auto* w = fake_.FindWindowByHandle(hwnd_);
    const std::string cls = w ? w->class_name : std::string();
    fake_.calls.push_back({fake_.now, "ShowModal(" + cls + ")"});
    if (w) w->visible = true;
    if (fake_.on_modal) fake_.on_modal(cls);
    if (auto* again = fake_.FindWindowByHandle(hwnd_)) again->visible = false;
  }
  Hwnd Handle() const override { return hwnd_; }

 private:
  FakePlatform& fake_;
  Hwnd hwnd_;
};
}  // namespace

std::unique_ptr<INativeForm> MakeNativeForm(FakePlatform& desktop, const std::string& class_name) {
  const Hwnd h = desktop.AddWindow("", class_name, {0, 0, 640, 480});
  desktop.FindWindowByHandle(h)->visible = false;
  return std::make_unique<FakeNativeForm>(desktop, h);
}

}  // namespace zepx
