#include "run/key_sender.h"

#include <algorithm>
#include <functional>

#include "model/convert.h"
#include "model/send_method.h"

namespace zepx {

namespace {
// The code page whose bytes the program's text is made of.
constexpr std::uint32_t kJapaneseCodePage = 932;
// What VkKeyScanA gives for a byte no key produces: it types nothing.
constexpr std::uint8_t kNoKey = 0xFF;
constexpr std::uint8_t kPrintScreen = 0x2C;
// What a keyboard sends for PrtSc is E0 37; the layout's table gives the
// SysRq code instead.
constexpr std::uint16_t kPrintScreenScan = 0x37;
constexpr std::int32_t kLongestHoldMs = 1000;

// The keys a keyboard sends with the E0 prefix, which programs reading raw
// input tell from the numeric pad's by the extended flag.
bool IsExtendedKey(std::uint8_t vk) {
  return (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E || vk == 0x5B || vk == kPrintScreen;
}
}  // namespace

void KeySender::ReadOptions(int method) {
  opt_ = {};
  if (method == kSendWinMessage) return;
  opt_.scan_codes = ctx_.settings.ScanCodes();
  opt_.hold_ms = std::clamp(ctx_.settings.KeyHoldMs(), 0, kLongestHoldMs);
  opt_.unicode_text = ctx_.settings.TextAsWritten();
}

std::uint16_t KeySender::SentScan(std::uint8_t vk) {
  return opt_.scan_codes && vk == kPrintScreen ? kPrintScreenScan : ScanOfKey(vk);
}

std::uint32_t KeySender::ScanFlags(std::uint8_t vk) const {
  if (!opt_.scan_codes) return 0;
  return win::KEYEVENTF_SCANCODE | (IsExtendedKey(vk) ? win::KEYEVENTF_EXTENDEDKEY : 0);
}

bool KeySender::StoppedInHold() const {
  return opt_.hold_ms > 0 && ctx_.waiter.EndCount() != ends_at_start_;
}

void KeySender::ForgetKeys() {
  key_of_byte_.fill(kUnknown);
  scan_of_key_.fill(kUnknown);
}

std::uint16_t KeySender::ScanOfKey(std::uint8_t vk) {
  int& scan = scan_of_key_[vk];
  if (scan == kUnknown) scan = static_cast<std::uint16_t>(ctx_.input.MapVirtualKeyA(vk, 0));
  return static_cast<std::uint16_t>(scan);
}

void KeySender::AddKeyDownRecord(std::uint8_t vk) {
  KeyRecord r;
  r.vk = vk;
  r.scan = SentScan(vk);
  r.flags = ScanFlags(vk);
  InputRecords.push_back(r);
}

void KeySender::AddKeyUpRecord(std::uint8_t vk) {
  AddKeyDownRecord(vk);
  InputRecords.back().flags |= win::KEYEVENTF_KEYUP;
}

std::uint8_t KeySender::KeyOfByte(char ch) {
  int& key = key_of_byte_[static_cast<unsigned char>(ch)];
  if (key == kUnknown) key = LookUpKeyOfByte(ch);
  return static_cast<std::uint8_t>(key);
}

std::uint8_t KeySender::LookUpKeyOfByte(char ch) {
  // The text is cp932. Elsewhere VkKeyScanA would take its bytes for
  // letters of the local code page (accented letters on a European layout),
  // so there a byte of a Japanese character types nothing, as it does on a
  // Japanese system.
  if (static_cast<unsigned char>(ch) >= 0x80 && ctx_.input.GetACP() != kJapaneseCodePage) return kNoKey;
  // The shift state VkKeyScanA reports is dropped on purpose: only the
  // modifiers of the line decide about Shift.
  return static_cast<std::uint8_t>(ctx_.input.VkKeyScanA(ch) & 0xFF);
}

void KeySender::SendKeyCommand(const CommandLine& cmd, Hwnd target) {
  IInput& input = ctx_.input;
  IWindows& windows = ctx_.windows;
  // A key is looked up once a line: a 10,000-character text asked the
  // system three times for every character.
  ForgetKeys();
  // A line that cannot be read is refused before anything is pressed, so
  // that abandoning the run leaves no modifier held down.
  if (cmd.key_kind == KeyLineKind::Key && cmd.bad_number) throw ConvertError(*cmd.bad_number);

  const int method = ctx_.settings.SendMethod();
  const bool post = method == kSendWinMessage;
  const bool records = method == kSendInput;
  ReadOptions(method);
  ends_at_start_ = ctx_.waiter.EndCount();

  auto flush = [&] {
    input.SendInput(InputRecords);
    InputRecords.clear();
  };
  // The hold goes through the run's wait, so Stop ends it at once; the up
  // follows whatever ended it, or the key would stay down system-wide.
  auto hold = [&] {
    if (opt_.hold_ms == 0) return;
    if (!InputRecords.empty()) flush();
    ctx_.waiter.WaitMs(opt_.hold_ms);
  };
  auto record_pair = [&](std::uint8_t vk) {
    AddKeyDownRecord(vk);
    hold();
    AddKeyUpRecord(vk);
    flush();
  };
  auto event_pair = [&](std::uint8_t vk) {
    const std::uint8_t scan = opt_.scan_codes ? static_cast<std::uint8_t>(SentScan(vk)) : 0;
    const std::uint32_t extended = ScanFlags(vk) & win::KEYEVENTF_EXTENDEDKEY;
    input.keybd_event(vk, scan, extended, 0);
    hold();
    input.keybd_event(vk, scan, extended | win::KEYEVENTF_KEYUP, 0);
  };
  // A character as written: keybd_event cannot carry one, so _event sends
  // these records too.
  auto character_pair = [&](char16_t unit) {
    KeyRecord r;
    r.scan = unit;
    r.flags = win::KEYEVENTF_UNICODE;
    InputRecords.push_back(r);
    hold();
    r.flags |= win::KEYEVENTF_KEYUP;
    InputRecords.push_back(r);
    flush();
  };
  auto modifier = [&](std::uint8_t vk, bool down) {
    if (post || records) {
      if (down) AddKeyDownRecord(vk);
      else AddKeyUpRecord(vk);
      flush();
    } else {
      input.keybd_event(vk, static_cast<std::uint8_t>(input.MapVirtualKeyA(vk, 0)),
                        down ? 0 : win::KEYEVENTF_KEYUP, 0);
    }
  };

  const Modifiers& mods = cmd.modifiers;
  auto release_modifiers = [&] {
    if (mods.shift) modifier(win::VK_SHIFT, false);
    if (mods.ctrl) modifier(win::VK_CONTROL, false);
    if (mods.alt) modifier(win::VK_MENU, false);
  };
  // The waits run every handler of the program; should one of them throw
  // through this line, the modifiers must not stay down system-wide.
  struct ReleaseOnUnwind {
    bool held = false;
    std::function<void()> release;
    ~ReleaseOnUnwind() {
      if (held) release();
    }
  } unwind{false, release_modifiers};

  Hwnd front = 0;
  if (mods.Any()) {
    front = windows.GetForegroundWindow();
    if (target != front) windows.SetForegroundWindow(target);
    ctx_.loop.Sleep(10);
    unwind.held = true;
    if (mods.alt) modifier(win::VK_MENU, true);
    if (mods.ctrl) modifier(win::VK_CONTROL, true);
    if (mods.shift) modifier(win::VK_SHIFT, true);
    ctx_.WaitShowing(Delay::ShiftAltCtrl);
  } else if (post) {
    windows.SetActiveWindow(target);
  }

  switch (cmd.key_kind) {
    case KeyLineKind::Text:
      if (!post && opt_.unicode_text) {
        for (char16_t unit : input.Cp932ToUtf16(cmd.text)) {
          if (StoppedInHold()) break;
          character_pair(unit);
        }
        break;
      }
      for (char ch : cmd.text) {
        if (StoppedInHold()) break;
        if (post) {
          windows.PostMessageA(target, win::WM_CHAR, static_cast<unsigned char>(ch), 0);
        } else {
          const std::uint8_t vk = KeyOfByte(ch);
          if (records) record_pair(vk);
          else event_pair(vk);
        }
      }
      break;
    case KeyLineKind::FrontApp:
      // An empty title would name whatever untitled window the system finds
      // first; such a line brings nothing to the front, but keeps its waits.
      if (!cmd.app_title.empty()) {
        const Hwnd app = windows.FindWindowA(nullptr, cmd.app_title.c_str());
        windows.SetActiveWindow(app);
        windows.SetForegroundWindow(app);
        windows.SetFocus(app);
      }
      ctx_.loop.Sleep(10);
      ctx_.loop.ProcessPendingMessages();
      break;
    case KeyLineKind::Key: {
      const std::uint8_t vk = cmd.key_char ? KeyOfByte(cmd.key_char) : cmd.vk;
      if (cmd.waits_before) ctx_.waiter.WaitMs(3000);
      if (post && cmd.posted) windows.PostMessageA(target, win::WM_KEYDOWN, vk, 1);
      else if (post || records) record_pair(vk);
      else event_pair(vk);
      break;
    }
    case KeyLineKind::NoKey:
      break;
  }

  if (mods.Any()) {
    unwind.held = false;
    release_modifiers();
    ctx_.loop.ProcessPendingMessages();
    if (target != front) windows.SetForegroundWindow(front);
  }

  ctx_.WaitShowing(Delay::Key);
}

}  // namespace zepx
