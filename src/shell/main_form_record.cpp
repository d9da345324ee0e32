// The main window's side of a recording: the menu entry, what is disabled
// meanwhile, and the settings the recorder starts with. The recording
// itself is RecordSession's.
#include "shell/main_form.h"

namespace zepx {

void TMainForm::mRecordClick() {
  if (Recording()) {
    recording.Stop();
  } else if (Running()) {
    platform.dialogs.MessageBox(kNoRecordWhileRunning, MsgKind::Info);
  } else {
    recording.Start(RecordOptionsNow(), static_cast<std::size_t>(batch.Count()), StopKeyLetter());
  }
}

RecordOptions TMainForm::RecordOptionsNow() {
  RecordOptions o;
  o.send_method = SendMethod();
  o.key_wait_ms = DelayMs(Delay::Key);
  o.click_wait_ms = DelayMs(Delay::Click);
  o.drag_wait_ms = DelayMs(Delay::Drag);
  o.modifier_wait_ms = DelayMs(Delay::ShiftAltCtrl);
  o.threshold_ms = settings.RecordWaitMin;
  o.cap_ms = settings.RecordWaitMax;
  o.merge_text = settings.RecordMergeText;
  for (std::uint16_t key : {HotKey1, HotKey2})
    if (key) o.hot_key_letters += static_cast<char>(key & 0xFF);
  return o;
}

void TMainForm::ShowRecording(bool on) {
  mRecord.SetCaption(on ? kRecordStopCaption : kRecordStartCaption);
  RecordButton.SetCaption(on ? kRecordButtonStop : kRecordButtonStart);
  SetTrayTip(on ? kRecordingTip : "ZEPX");
  // Nothing may change the list under the recording: the lines go where
  // the selection was when it began.
  for (TControl* c : std::initializer_list<TControl*>{&AddButton, &XYButton, &SpeedButton1, &SendList, &mLoad})
    c->SetEnabled(!on);
  SetEditButtonsEnabled(!on && batch.Selected() >= 0);
  if (on) {
    for (TControl* c : std::initializer_list<TControl*>{&XYCopy, &XYPaste, &mXYCopy, &mXYPaste})
      c->SetEnabled(false);
    RegisterStopKey();
    MinimizedForRecording = settings.RecordMinimize && !Application.Minimized();
    if (MinimizedForRecording) Application.Minimize();
    return;
  }
  RefreshCoordinateDisplay();
  UnregisterStopKey();
  // Back as it was, to show what was recorded.
  if (MinimizedForRecording && InTray) RestoreFromTray();
  else if (MinimizedForRecording) Application.Restore();
  MinimizedForRecording = false;
}

}  // namespace zepx
