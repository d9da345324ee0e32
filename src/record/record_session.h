// One recording from its start to its end: the input events switched on
// and off (whatever way the recording ends, the hooks go with it), the
// recorder fed, the count shown while it grows, and the lines handed to
// the list at the end. The window only forwards its commands here and
// shows what it is told.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "record/recorder.h"

namespace zepx {

inline constexpr const char* kRecordStartCaption = "記録開始(&R)";
inline constexpr const char* kRecordStopCaption = "記録終了(&R)";
inline constexpr const char* kRecordButtonStart = "記録開始";
inline constexpr const char* kRecordButtonStop = "記録終了";
inline constexpr const char* kRecordingTip = "ZEPX - 記録中";
inline constexpr const char* kNoRunWhileRecording = "記録中はマクロを実行できません。\r\n先に記録を終了して下さい。";
inline constexpr const char* kNoRecordWhileRunning = "マクロ実行中は記録を開始できません。\r\n先にマクロを中止して下さい。";
inline constexpr const char* kNoTimedRunWhileRecording = "記録中のためタイマーのマクロ実行を行いませんでした";
inline constexpr const char* kNoHooksMessage = "キーボードとマウスの操作を記録できません。\r\nシステムが記録用のフックを拒否しました。";

// "記録中 (12行) - Ctrl+Alt+X で終了"
std::string RecordingStatus(std::size_t lines, const std::string& stop_letter);
// "記録終了 - 12行追加, 3件スキップ"
std::string RecordedStatus(std::size_t lines, int skipped);

class IRecordView {
 public:
  virtual ~IRecordView() = default;
  virtual void ShowRecordStatus(const std::string& text) = 0;
  // On: the entry reads as a stop, list commands are disabled, the tray
  // tip says so (and the window may go out of the way); off: all back.
  virtual void ShowRecording(bool on) = 0;
  // Places the lines where Add places a command, as one edit.
  virtual void PlaceRecordedLines(const std::vector<std::string>& lines) = 0;
};

class RecordSession {
 public:
  RecordSession(Platform& platform, IRecordView& view) : platform_(platform), view_(view) {}
  ~RecordSession();
  RecordSession(const RecordSession&) = delete;
  RecordSession& operator=(const RecordSession&) = delete;

  bool Recording() const { return recorder_ != nullptr; }
  // Refused with the composer's message when the list is full, or when the
  // system will not hand over its input.
  void Start(RecordOptions o, std::size_t lines_in_list, const std::string& stop_letter);
  void Stop();

 private:
  void Take(const InputEvent& e);
  Platform& platform_;
  IRecordView& view_;
  std::unique_ptr<Recorder> recorder_;
  std::string stop_letter_;
  std::size_t shown_ = 0;
};

}  // namespace zepx
