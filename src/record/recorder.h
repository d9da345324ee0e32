// The recorder: the user does a task once with the real keyboard and mouse,
// and the events become ordinary command lines, each as the composer
// writes it, so that a recording is a list like any other. This class is
// the rule book only: it takes the events in order (InputEvent, stamped
// with their own times, so a late delivery changes nothing) and keeps the
// lines; starting, ending and placing them in the list is the caller's.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/command_line.h"
#include "platform/input_events.h"
#include "platform/platform.h"

namespace zepx {

struct RecordOptions {
  int send_method = 1;            // decides how text merges and whether lines get targets
  // The run's own waits after a line, in force when recording starts: what
  // the run will wait anyway is not written again as a pause.
  std::int64_t key_wait_ms = 0, click_wait_ms = 0, drag_wait_ms = 0, modifier_wait_ms = 0;
  std::int64_t threshold_ms = 100;  // shorter pauses are not written
  std::int64_t cap_ms = 60000;      // longer ones neither (the user was away)
  bool merge_text = true;
  std::string hot_key_letters;    // Ctrl+Alt+letter: the program's own hot keys
  int room = 999;                 // lines the list can still take
  InputMetrics metrics;
};

class Recorder {
 public:
  // `input` answers VkKeyScanA: the keyboard layout a run will type with.
  Recorder(const RecordOptions& o, IInput& input);

  void Feed(const InputEvent& e);
  // Writes what is still open (a text, a click that might have become a
  // double click). Nothing is fed afterwards.
  void Finish();

  const std::vector<std::string>& Lines() const { return lines_; }
  int Skipped() const { return skipped_; }
  // The list would have grown past its limit: the event that did it was
  // dropped, and so is everything after it.
  bool Full() const { return full_; }

 private:
  enum Mod { kShift, kAlt, kCtrl, kWin, kModCount };
  void OnKey(const InputEvent& e);
  void OnMouse(const InputEvent& e);
  void KeyDown(const InputEvent& e, int kind, char ch);
  void KeyLine(int kind, const Modifiers& m, const std::string& target, std::int64_t t);
  void Release(const InputEvent& e);
  bool BeginStep(std::int64_t t);
  void EndStep(std::int64_t t, std::int64_t run_wait);
  bool Emit(const std::vector<std::string>& lines);
  void FlushText();
  void FlushClick();
  std::string TargetOf(const InputEvent& e) const;
  Modifiers Held() const { return {held_[kShift], held_[kAlt], held_[kCtrl]}; }

  RecordOptions o_;
  bool win_message_;
  std::array<int, 256> kind_of_vk_{};        // -1: no kind names the key
  std::array<std::array<char, 2>, 256> char_of_vk_{};  // [vk][shift]: what it types, 0 for nothing
  std::array<int, kModCount> mod_kind_{};

  std::vector<std::string> lines_;
  int skipped_ = 0;
  bool full_ = false;
  bool finished_ = false;

  // Keys and modifiers whose press was seen.
  std::set<std::uint8_t> down_;
  std::array<bool, kModCount> held_{}, used_{}, mod_own_{};
  std::array<std::int64_t, kModCount> mod_time_{};
  std::array<std::string, kModCount> mod_target_;

  // The end of the last step and the run's own wait after it.
  std::optional<std::int64_t> last_end_;
  std::int64_t last_wait_ = 0;
  std::optional<std::string> front_;  // a window brought to the front, not written yet

  std::string text_, text_target_;
  struct Press {
    bool active = false, right = false, own = false, modified = false, moved = false;
    Point at;
    std::int64_t t = 0;
  } press_;
  struct Click {
    int count = 0;  // 0: none open
    bool right = false;
    Point at;
    std::int64_t down = 0, end = 0;
  } click_;
  bool moving_ = false;  // inside a run of plain moves, counted once
};

}  // namespace zepx
