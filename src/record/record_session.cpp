#include "record/record_session.h"

#include "edit/composer.h"
#include "model/command_line.h"

namespace zepx {

std::string RecordingStatus(std::size_t lines, const std::string& stop_letter) {
  return "記録中 (" + LineCountText(lines) + ") - Ctrl+Alt+" + stop_letter + " で終了";
}

std::string RecordedStatus(std::size_t lines, int skipped) {
  return "記録終了 - " + std::to_string(lines) + "行追加, " + std::to_string(skipped) + "件スキップ";
}

RecordSession::~RecordSession() {
  if (recorder_) platform_.input_events.StopInputEvents();
}

void RecordSession::Start(RecordOptions o, std::size_t lines_in_list, const std::string& stop_letter) {
  if (recorder_) return;
  if (lines_in_list >= static_cast<std::size_t>(kMaxComposedLines)) {
    platform_.dialogs.MessageBox(kTooManyLinesMessage, MsgKind::Info);
    return;
  }
  o.room = kMaxComposedLines - static_cast<int>(lines_in_list);
  o.metrics = platform_.input_events.GetInputMetrics();
  recorder_ = std::make_unique<Recorder>(o, platform_.input);
  if (!platform_.input_events.StartInputEvents([this](const InputEvent& e) { Take(e); })) {
    recorder_.reset();
    platform_.dialogs.MessageBox(kNoHooksMessage, MsgKind::Info);
    return;
  }
  stop_letter_ = stop_letter;
  shown_ = 0;
  view_.ShowRecording(true);
  view_.ShowRecordStatus(RecordingStatus(0, stop_letter_));
}

void RecordSession::Take(const InputEvent& e) {
  if (!recorder_) return;
  recorder_->Feed(e);
  if (recorder_->Full()) {
    Stop();
    platform_.dialogs.MessageBox(kTooManyLinesMessage, MsgKind::Info);
  } else if (recorder_->Lines().size() != shown_) {
    shown_ = recorder_->Lines().size();
    view_.ShowRecordStatus(RecordingStatus(shown_, stop_letter_));
  }
}

void RecordSession::Stop() {
  if (!recorder_) return;
  platform_.input_events.StopInputEvents();
  const std::unique_ptr<Recorder> r = std::move(recorder_);
  r->Finish();
  if (!r->Lines().empty()) view_.PlaceRecordedLines(r->Lines());
  view_.ShowRecording(false);
  view_.ShowRecordStatus(RecordedStatus(r->Lines().size(), r->Skipped()));
}

}  // namespace zepx
