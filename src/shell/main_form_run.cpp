// The main window's side of a run: the settings the engine reads live, the
// display of its state, and the services it asks for. The run itself is
// RunEngine's.
#include "shell/main_form.h"
#include "shell/setting_form.h"

namespace zepx {

RunEngine& TMainForm::Engine() {
  if (!engine_) {
    own_engine_ = std::make_unique<RunEngine>(platform, batch, *this, *this, *this);
    engine_ = own_engine_.get();
  }
  return *engine_;
}

void TMainForm::RequestRun(RunSource source) {
  if (Recording()) {
    platform.dialogs.MessageBox(kNoRunWhileRecording, MsgKind::Info);
    return;
  }
  Engine().Request(source);
  // A close asked for during the run was put off until the run had unwound.
  if (!Running() && close_pending_) {
    close_pending_ = false;
    Close();
  }
}

TWinSpinEdit& TMainForm::DelayBox(Delay d) {
  switch (d) {
    case Delay::Key: return KeyAfterDelay;
    case Delay::Click: return ClickAfterDelay;
    case Delay::Drag: return DragDelay;
    case Delay::ShiftAltCtrl: break;
  }
  return ShiftAltCtrlDelay;
}

std::int32_t TMainForm::DelayMs(Delay d) { return static_cast<std::int32_t>(DelayBox(d).Value()); }

void TMainForm::ShowDelayActive(Delay d, bool active) {
  DelayBox(d).SetFontColor(active ? kColorBlue : kColorWindowText);
}

std::int32_t TMainForm::PassesWanted() { return static_cast<std::int32_t>(LoopSpinEdit.Value()); }

std::int32_t TMainForm::ChainRepeatsWanted() { return static_cast<std::int32_t>(LoopSpinEditAll.Value()); }

std::string TMainForm::ChainFile(int index) {
  return index >= 0 && index < static_cast<int>(settings.Loop.size()) ? settings.Loop[static_cast<std::size_t>(index)]
                                                                       : std::string();
}

void TMainForm::ShowRunning() {
  StatusLabel.Repaint();
  Application.SetTitle("ZEPX - 実行中");
  SetTrayTip("ZEPX - 実行中");
  AddButton.SetEnabled(false);
  DelButton.SetEnabled(false);
  mSet.SetEnabled(false);
}

void TMainForm::ShowIdle() {
  StatusLabel.SetCaption("待機中");
  Application.SetTitle("ZEPX");
  SetTrayTip("ZEPX");
  AddButton.SetEnabled(true);
  DelButton.SetEnabled(batch.Selected() >= 0);
  mSet.SetEnabled(true);
  RemoveBalloonIcon();
}

Point TMainForm::CoordinatesShown() {
  return Point{static_cast<std::int32_t>(XLabel.Value()), static_cast<std::int32_t>(YLabel.Value())};
}

void TMainForm::LoadChainFile(const std::string& path) {
  LoadMacro(path);
  DelButton.SetEnabled(false);
}

void TMainForm::ExecuteEventActions(int event) { event_actions.Execute(event); }

void TMainForm::LoopSpinEditChange() {
  if (LoopSpinEdit.Value() < 0) LoopSpinEdit.SetValue(0);
}

void TMainForm::NextLoopCheckClick() { LoopSpinEditAll.SetEnabled(NextLoopCheck.Checked()); }

void TMainForm::Button6Click() {
  if (SettingForm) SettingForm->PageControl1.SetActivePageIndex(SettingDialog::kLoopPage);
  mSetting.Click();
}

}  // namespace zepx
