#include "record/recorder.h"

#include <cstdlib>

#include "model/command_line.h"
#include "model/send_method.h"

namespace zepx {

namespace {

constexpr int kClickKinds[2][2] = {{1, 3}, {2, 4}};  // [right][double]: L_Click, L_DClick ...
constexpr std::int64_t kFrontAppSettleMs = 10;         // the run's pause after bringing a window up

int ModOfVk(std::uint8_t vk) {
  switch (vk) {
    case 0x10: case 0xA0: case 0xA1: return 0;  // Shift
    case 0x12: case 0xA4: case 0xA5: return 1;  // Alt
    case 0x11: case 0xA2: case 0xA3: return 2;  // Ctrl
    case 0x5B: case 0x5C: return 3;             // Windows
    default: return -1;
  }
}

// A point on the top row is written on the second: a mouse line with Y 0
// clicks wherever the cursor happens to be.
std::int32_t WrittenY(std::int32_t y) { return y == 0 ? 1 : y; }

}  // namespace

Recorder::Recorder(const RecordOptions& o, IInput& input)
    : o_(o), win_message_(o.send_method == kSendWinMessage) {
  kind_of_vk_.fill(-1);
  for (auto& c : char_of_vk_) c = {0, 0};
  // What each printable byte is typed with, as a run looks it up.
  for (int ch = 0x20; ch < 0x7F; ++ch) {
    const std::int16_t r = input.VkKeyScanA(static_cast<char>(ch));
    const int shift = (r >> 8) & 0xFF;
    if (r == -1 || shift > 1) continue;
    char& slot = char_of_vk_[r & 0xFF][shift];
    if (!slot) slot = static_cast<char>(ch);
  }
  // The same lookup in reverse for the kinds: a key with a kind of its own
  // unshifted wins over one reached with Shift ("[2]" before "[@]" where
  // "@" is Shift+2).
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t kind = 0; kind < kCommandKindCount; ++kind) {
      if (KindFormOf(static_cast<int>(kind)) != KindForm::Key) continue;
      const CommandLine c = ReadCommandLine(kCommandKinds[kind]);
      std::uint8_t vk = c.vk;
      bool shifted = false;
      if (c.key_char) {
        const std::int16_t r = input.VkKeyScanA(c.key_char);
        if (r == -1) continue;
        vk = static_cast<std::uint8_t>(r & 0xFF);
        shifted = ((r >> 8) & 0xFF) != 0;
      }
      const int mod = ModOfVk(vk);
      if (mod >= 0) {
        mod_kind_[mod] = static_cast<int>(kind);
        continue;
      }
      if (shifted == (pass == 1) && kind_of_vk_[vk] < 0) kind_of_vk_[vk] = static_cast<int>(kind);
    }
  }
}

void Recorder::Feed(const InputEvent& e) {
  if (full_ || finished_ || e.injected) return;
  switch (e.kind) {
    case InputEvent::Key:
      OnKey(e);
      break;
    case InputEvent::Mouse:
      OnMouse(e);
      break;
    case InputEvent::Foreground:
      if (e.own) break;
      if (e.title.empty()) {
        ++skipped_;
        front_.reset();
      } else {
        front_ = e.title;
      }
      break;
  }
}

void Recorder::Finish() {
  if (finished_) return;
  FlushText();
  FlushClick();
  finished_ = true;
}

std::string Recorder::TargetOf(const InputEvent& e) const {
  if (!win_message_) return {};
  if (e.top && e.top != e.window) return ComposeChildTargetDescriptor(e.title, e.class_name, e.window);
  return ComposeTargetDescriptor(e.title.empty() ? e.class_name : e.title, e.window);
}

void Recorder::OnKey(const InputEvent& e) {
  const int mod = ModOfVk(e.vk);
  if (e.up) {
    if (mod < 0) {
      down_.erase(e.vk);
      return;
    }
    if (!held_[mod]) return;  // pressed before recording began
    held_[mod] = false;
    // A modifier pressed and released alone is a key of its own.
    if (!used_[mod] && !mod_own_[mod]) {
      if (mod_kind_[mod] >= 0) {
        KeyLine(mod_kind_[mod], Held(), mod_target_[mod], mod_time_[mod]);
      } else {
        ++skipped_;
      }
    }
    return;
  }

  // A press held down repeats: only the first counts.
  if (mod >= 0 ? held_[mod] : !down_.insert(e.vk).second) return;
  for (int m = 0; m < kModCount; ++m)
    if (held_[m]) used_[m] = true;
  if (mod >= 0) {
    held_[mod] = true;
    used_[mod] = false;
    mod_own_[mod] = e.own;
    mod_time_[mod] = e.time_ms;
    mod_target_[mod] = TargetOf(e);
    return;
  }
  if (e.own) return;  // typed into one of our windows
  const bool ctrl_alt = held_[kCtrl] && held_[kAlt] && !held_[kShift];
  if (ctrl_alt && e.vk >= 'A' && e.vk <= 'Z' &&
      o_.hot_key_letters.find(static_cast<char>(e.vk)) != std::string::npos)
    return;  // our own hot keys
  const char ch = char_of_vk_[e.vk][held_[kShift] ? 1 : 0];
  if (held_[kWin] || (ch && e.ime_open)) {
    ++skipped_;  // Windows-key combinations; text that an input method makes of the keys
    return;
  }
  KeyDown(e, kind_of_vk_[e.vk], ch);
}

void Recorder::KeyDown(const InputEvent& e, int kind, char ch) {
  const std::string target = TargetOf(e);
  // Merged text is typed as characters by WinMessage, but as unshifted
  // keys otherwise: there only what was typed without Shift merges.
  bool merges = o_.merge_text && ch && !held_[kCtrl] && !held_[kAlt] &&
                (win_message_ || !held_[kShift]);
  if (merges && !text_.empty()) {
    // The line reader would take these pairs for modifiers or a target.
    const char last = text_.back();
    const bool clash = (last == '+' && (ch == 'A' || ch == 'C' || ch == 'S')) || (last == '|' && ch == '>');
    if (clash) {
      FlushText();
      if (kind >= 0) merges = false;
    }
  }
  if (!merges) {
    if (kind < 0) {
      ++skipped_;
      return;
    }
    KeyLine(kind, Held(), target, e.time_ms);
    return;
  }
  if (!text_.empty() && target == text_target_ && !front_ && last_end_ &&
      e.time_ms - *last_end_ - last_wait_ < o_.threshold_ms - 5) {
    text_ += ch;  // typed on without a pause worth writing
    EndStep(e.time_ms, o_.key_wait_ms);
    return;
  }
  if (!BeginStep(e.time_ms)) return;
  text_ = std::string(1, ch);
  text_target_ = target;
  EndStep(e.time_ms, o_.key_wait_ms);
}

void Recorder::KeyLine(int kind, const Modifiers& m, const std::string& target, std::int64_t t) {
  if (!BeginStep(t)) return;
  NewCommand n;
  n.kind = kind;
  n.modifiers = m;
  n.target = target;
  n.win_message = win_message_;
  if (!Emit(ComposeNewCommand(n, false))) return;
  EndStep(t, o_.key_wait_ms + (m.Any() ? o_.modifier_wait_ms : 0));
}

void Recorder::OnMouse(const InputEvent& e) {
  const InputMetrics& mt = o_.metrics;
  if (e.button == InputEvent::None) {
    if (press_.active) {
      press_.moved = press_.moved || std::abs(e.point.x - press_.at.x) > mt.drag_cx ||
                     std::abs(e.point.y - press_.at.y) > mt.drag_cy;
    } else if (!moving_) {
      ++skipped_;
      moving_ = true;
    }
    return;
  }
  moving_ = false;
  if (e.button == InputEvent::Middle || e.button == InputEvent::Wheel) {
    if (!e.up) ++skipped_;
    return;
  }
  const bool right = e.button == InputEvent::Right;
  if (!e.up) {
    if (press_.active) return;  // a second button during a press
    press_ = Press{true, right, e.own, held_[kShift] || held_[kAlt] || held_[kCtrl] || held_[kWin],
                   false, e.point, e.time_ms};
    for (bool& u : used_) u = true;
    return;
  }
  if (!press_.active || press_.right != right) return;  // pressed before recording began
  press_.active = false;
  if (press_.own) return;  // on one of our windows
  if (press_.modified) {
    ++skipped_;
    return;
  }
  const Point a = press_.at;
  if (press_.moved || std::abs(e.point.x - a.x) > mt.drag_cx || std::abs(e.point.y - a.y) > mt.drag_cy) {
    if (!BeginStep(press_.t)) return;
    NewCommand n;
    n.kind = right ? 6 : 5;
    std::vector<std::string> pair = ComposeNewCommand(n, false);
    pair[0] = WithCoordinates(pair[0], a.x, WrittenY(a.y));
    pair[1] = WithCoordinates(pair[1], e.point.x, WrittenY(e.point.y));
    if (Emit(pair)) EndStep(e.time_ms, o_.drag_wait_ms + o_.click_wait_ms);
    return;
  }
  if (click_.count == 1 && click_.right == right && press_.t - click_.down <= mt.double_click_ms &&
      std::abs(a.x - click_.at.x) <= mt.double_click_cx / 2 &&
      std::abs(a.y - click_.at.y) <= mt.double_click_cy / 2) {
    click_.count = 2;
    click_.end = e.time_ms;
    FlushClick();
    return;
  }
  if (!BeginStep(press_.t)) return;
  click_ = Click{1, right, a, press_.t, e.time_ms};
}

bool Recorder::BeginStep(std::int64_t t) {
  FlushText();
  FlushClick();
  if (full_) return false;
  std::int64_t gap = last_end_ ? t - *last_end_ - last_wait_ : 0;
  if (front_) gap -= o_.key_wait_ms + kFrontAppSettleMs;
  const std::int64_t wait = (gap + 5) / 10 * 10;
  if (last_end_ && wait >= o_.threshold_ms && wait <= o_.cap_ms) {
    NewCommand n;
    n.kind = kKindWait;
    n.wait_ms = wait;
    if (!Emit(ComposeNewCommand(n, false))) return false;
  }
  if (front_) {
    NewCommand n;
    n.kind = kKindFrontApp;
    n.text = *front_;
    if (!Emit(ComposeNewCommand(n, false))) return false;
    front_.reset();
  }
  return true;
}

void Recorder::EndStep(std::int64_t t, std::int64_t run_wait) {
  last_end_ = t;
  last_wait_ = run_wait;
}

bool Recorder::Emit(const std::vector<std::string>& lines) {
  if (full_ || static_cast<int>(lines_.size() + lines.size()) > o_.room) {
    full_ = true;
    return false;
  }
  lines_.insert(lines_.end(), lines.begin(), lines.end());
  return true;
}

void Recorder::FlushText() {
  if (text_.empty()) return;
  NewCommand n;
  n.kind = kKindText;
  n.text = text_;
  n.target = text_target_;
  n.win_message = win_message_;
  text_.clear();
  Emit(ComposeNewCommand(n, false));
}

void Recorder::FlushClick() {
  if (click_.count == 0) return;
  NewCommand n;
  n.kind = kClickKinds[click_.right][click_.count - 1];
  n.x = click_.at.x;
  n.y = WrittenY(click_.at.y);
  const std::int64_t end = click_.end;
  click_.count = 0;
  if (Emit(ComposeNewCommand(n, false))) EndStep(end, o_.click_wait_ms);
}

}  // namespace zepx
