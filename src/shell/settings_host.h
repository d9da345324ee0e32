// The main window as the settings store sees it: the controls that hold
// settings, the window's position and z-order, the hot-key letters and the
// macro-file dialogs.
#pragma once

#include "settings/settings_store.h"

namespace zepx {

class TMainForm;

class SettingsHost final : public ISettingsHost {
 public:
  explicit SettingsHost(TMainForm& form);

  SettingsStore& Store() { return store_; }

  std::int32_t HeldValue(Held control) override;
  void SetHeldValue(Held control, std::int32_t value) override;
  void SetTopmost(bool topmost) override;
  void SetRunStopCaptions(const std::string& run, const std::string& stop) override;
  void SetStartLetter(std::int32_t index) override;
  void SetStopLetter(std::int32_t index) override;
  void SetDialogInitialDir(const std::string& dir) override;
  bool MacroFileFromCommandLine() override;
  int SendMethodShown() override;

 private:
  TMainForm& form_;
  SettingsStore store_;
};

}  // namespace zepx
