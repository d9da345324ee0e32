// Key and text sending: one line that contains "[" becomes key presses,
// typed text or an application brought to the front, by the send method:
//   _event      keybd_event pairs, to the focused window;
//   SendInput   SendInput record pairs with real scan codes, one call per
//               key, to the focused window (what games reading DirectInput
//               need);
//   WinMessage  posted WM_KEYDOWN / WM_CHAR to the line's target window, which
//               may be in the background. Six keys cannot be posted
//               meaningfully (PrtSc, Windows, KANJI and the modifiers) and go
//               in as SendInput records instead.
// For _event and SendInput the settings may add a scan code (and the
// extended flag) to every key, hold each key down for a while, and type a
// [Text] line as Unicode characters, which only SendInput records carry.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/command_line.h"
#include "run/sender.h"

namespace zepx {

class KeySender {
 public:
  explicit KeySender(SendContext& ctx) : ctx_(ctx) { ForgetKeys(); }

  // Sends a key line to `target` (the window its row resolved to, used by
  // WinMessage and for the modifiers); returns after the after-key wait.
  // Throws ConvertError for a function key whose number is not an integer.
  void SendKeyCommand(const CommandLine& cmd, Hwnd target);

  // Records collected for one SendInput call; empty between calls.
  std::vector<KeyRecord> InputRecords;
  void AddKeyDownRecord(std::uint8_t vk);
  void AddKeyUpRecord(std::uint8_t vk);

 private:
  // The options of _event and SendInput as the line found them; WinMessage
  // and a window without them leave all three off.
  struct Options {
    bool scan_codes = false;
    std::int32_t hold_ms = 0;
    bool unicode_text = false;
  };
  void ReadOptions(int method);
  std::uint16_t SentScan(std::uint8_t vk);
  std::uint32_t ScanFlags(std::uint8_t vk) const;
  // A Stop ended a hold of this line: the rest of a text is not typed.
  bool StoppedInHold() const;
  Options opt_;
  unsigned ends_at_start_ = 0;

  // The key of a text byte and the scan code of a key, looked up once a
  // line (the keyboard layout may change between lines, not within one).
  static constexpr int kUnknown = -1;
  void ForgetKeys();
  std::uint8_t KeyOfByte(char ch);
  std::uint8_t LookUpKeyOfByte(char ch);
  std::uint16_t ScanOfKey(std::uint8_t vk);
  SendContext& ctx_;
  std::array<int, 256> key_of_byte_{};
  std::array<int, 256> scan_of_key_{};
};

}  // namespace zepx
