// A main window bound to a window of the substitute desktop, started the way
// the program starts it, with a settings key prepared by the program itself.
// The one place the tests build a TMainForm.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "run/run_support.h"
#include "ui/fake/fake_native_form.h"
#include "shell/main_form.h"
#include "shell/other_forms.h"

namespace zepx {

inline const char kZepxKey[] = "Software\\VELMOR\\ZEPX";
inline constexpr std::uint32_t kCtrlAlt = win::MOD_CONTROL | win::MOD_ALT;

class LifeFixture {
 public:
  LifeFixture() {
    form.Bind(native.get());
    about.Bind(about_native.get());
    form.AboutForm = &about;
    if (form.PostRadioGroup.Count() == 0)
      form.PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
  }
  // Creation and showing, as Program::Start does them.
  void Start() {
    form.FormCreate();
    form.Show();
    form.FormShow();
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> t;
    for (const auto& b : fake.boxes) t.push_back(b.text);
    return t;
  }
  // The user clicks at `t` without holding the button (both within one tick).
  void ClickAt(std::int64_t t) {
    fake.At(t, [this] { fake.UserLeftDown(), fake.UserLeftUp(); });
  }
  // A whole pick with `row` selected, ended by a click at the cursor.
  void Pick(int row) {
    form.batch.Select(row), form.XYButton.Click();
    ClickAt(fake.now + 50);
    fake.RunUntil(fake.now + 200);
  }
  void ClickRow(int row) { form.SendList.FromNativeSelect(row); }  // a row clicked in the main list
  std::size_t Saves() const { return fake.Texts({"RegCreateKeyExA"}).size(); }
  // Whether the key is registered, with Ctrl+Alt and that letter (any letter: 0).
  bool Holds(const THookHotKey& key, char letter = 0) const {
    for (const auto& h : fake.hotkeys)
      if (h.window == key.MessageWindow() && (!letter || (h.modifiers == kCtrlAlt && h.vk == static_cast<unsigned>(letter))))
        return true;
    return false;
  }
  std::string Xy() const { return form.XLabel.Text() + "," + form.YLabel.Text(); }  // the point shown

  TApplication app;
  FakePlatform fake;
  std::unique_ptr<INativeForm> native = MakeNativeForm(fake, "TMainForm");
  std::unique_ptr<INativeForm> about_native = MakeNativeForm(fake, "TAboutForm");
  // Owned apart so that a test can tear the window down under the desktop.
  std::unique_ptr<TMainForm> owned = std::make_unique<TMainForm>(fake.platform(), app);
  TMainForm& form = *owned;
  TAboutForm about;
};

// Writes a complete key as the program saves it, after `adjust` has changed
// the settings of a scratch window.
inline void WriteSettingsKey(FakePlatform& fake, const std::function<void(TMainForm&)>& adjust) {
  LifeFixture scratch;
  scratch.form.AutoHandleCheckBox.SetChecked(true);
  adjust(scratch.form);
  scratch.form.SaveSettings();
  fake.registry[kZepxKey] = scratch.fake.registry[kZepxKey];
}

}  // namespace zepx
