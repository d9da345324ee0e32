// Key and text sending: one command line that contains "[" becomes key
// presses, typed text or an application brought to the front.
//
// Three ways of delivery, by the send method:
//   _event      keybd_event pairs, to the focused window;
//   SendInput   SendInput record pairs with real scan codes, one call per
//               key, to the focused window (what games reading DirectInput
//               need);
//   WinMessage  posted WM_KEYDOWN / WM_CHAR to the line's target window, which
//               may be in the background. Six keys cannot be posted
//               meaningfully (PrtSc, Windows, KANJI and the modifiers) and go
//               in as SendInput records instead.
#include <cstring>
#include <functional>

#include "model/convert.h"
#include "shell/main_form.h"

namespace zepx {

namespace {

struct NamedKey {
  const char* name;  // key word without brackets, cp932
  std::uint8_t vk;
  bool posted;       // posted as WM_KEYDOWN in WinMessage, else injected
};

// Tested in this order against the line from its second byte on; the first
// name that the line starts with wins, whatever follows it.
const NamedKey kNamedKeys[] = {
    {"↑", 0x26, true},        {"↓", 0x28, true},      {"←", 0x25, true},
    {"→", 0x27, true},        {"Enter", 0x0D, true},  {"End", 0x23, true},
    {"Home", 0x24, true},     {"PageUp", 0x21, true}, {"PageDown", 0x22, true},
    {"Insert", 0x2D, true},   {"Delete", 0x2E, true}, {"Esc", 0x1B, true},
    {"Space", 0x20, true},    {"BackSpace", 0x08, true},
    {"PrtSc", 0x2C, false},   {"Tab", 0x09, true},    {"Windows", 0x5B, false},
    {"KANJI", 0x19, false},   {"Shift", 0x10, false}, {"Alt", 0x12, false},
    {"Ctrl", 0x11, false},
};

bool At(const std::string& line, std::size_t pos, const char* text) {
  const std::size_t n = std::strlen(text);
  return line.size() >= pos + n && line.compare(pos, n, text) == 0;
}

bool Contains(const std::string& line, const char* text) {
  return line.find(text) != std::string::npos;
}

// The key a key line names, or nothing for a line that names none.
struct KeyChoice {
  bool found = false;
  std::uint8_t vk = 0;
  bool posted = true;
  bool f5 = false;  // F5 is given three seconds before it is pressed
};

// Throws ConvertError for a function key whose number is not an integer
// (only a hand-edited file can hold one).
KeyChoice ChooseKey(IInput& input, const std::string& line) {
  KeyChoice k;
  for (const NamedKey& n : kNamedKeys) {
    if (At(line, 1, n.name)) {
      k.found = true;
      k.vk = n.vk;
      k.posted = n.posted;
      return k;
    }
  }
  const bool f = line.size() >= 2 && line[1] == 'F';
  if (f && line.size() >= 4 && line[3] == ']') {
    const std::int32_t n = StrToInt(line.substr(2, 1));
    k.found = true;
    k.vk = static_cast<std::uint8_t>(111 + n);
    k.f5 = n == 5;
    return k;
  }
  if (f && line.size() >= 5 && line[4] == ']') {
    const std::int32_t n = StrToInt(line.substr(2, 2));
    k.found = true;
    k.vk = static_cast<std::uint8_t>(111 + n);
    return k;
  }
  if (line.size() >= 3 && line[2] == ']') {
    k.found = true;
    k.vk = static_cast<std::uint8_t>(input.VkKeyScanA(line[1]) & 0xFF);
    return k;
  }
  return k;
}

}  // namespace

void TMainForm::AddKeyDownRecord(std::uint8_t vk) {
  KeyRecord r;
  r.vk = vk;
  r.scan = static_cast<std::uint16_t>(platform.input.MapVirtualKeyA(vk, 0));
  InputRecords.push_back(r);
}

void TMainForm::AddKeyUpRecord(std::uint8_t vk) {
  KeyRecord r;
  r.vk = vk;
  r.scan = static_cast<std::uint16_t>(platform.input.MapVirtualKeyA(vk, 0));
  r.flags = win::KEYEVENTF_KEYUP;
  InputRecords.push_back(r);
}

void TMainForm::SendKeyCommand(int index) {
  IInput& input = platform.input;
  IWindows& windows = platform.windows;
  const std::string line = SendList.Item(index);
  // The table is filled at run start; an entry that is missing means the
  // list changed under the run, and such a line has no target.
  const Hwnd target = index >= 0 && static_cast<std::size_t>(index) < TargetHandles.size()
                          ? TargetHandles[static_cast<std::size_t>(index)]
                          : 0;
  const int method = PostRadioGroup.ItemIndex();
  const bool post = method == kSendWinMessage;
  const bool records = method == kSendInput;

  // Sends whatever InputRecords holds in one call and empties it.
  auto flush = [&] {
    input.SendInput(InputRecords);
    InputRecords.clear();
  };
  auto record_pair = [&](std::uint8_t vk) {
    AddKeyDownRecord(vk);
    AddKeyUpRecord(vk);
    flush();
  };
  auto event_pair = [&](std::uint8_t vk) {
    input.keybd_event(vk, 0, 0, 0);
    input.keybd_event(vk, 0, win::KEYEVENTF_KEYUP, 0);
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
  auto wait_showing = [&](TWinSpinEdit& box) {
    box.SetFontColor(kColorBlue);
    WaitMs(static_cast<std::int32_t>(box.Value()));
    box.SetFontColor(kColorWindowText);
  };

  const bool is_text = At(line, 1, "Text");
  const bool is_front_app = At(line, 1, "ｱﾌﾟﾘ");
  // Decided before anything is pressed, so that a line that cannot be read
  // leaves no modifier held down when the run is abandoned.
  KeyChoice key;
  if (!is_text && !is_front_app) key = ChooseKey(input, line);

  const bool alt = Contains(line, "+A");
  const bool ctrl = Contains(line, "+C");
  const bool shift = Contains(line, "+S");
  const bool modifiers = alt || ctrl || shift;
  auto release_modifiers = [&] {
    if (shift) modifier(win::VK_SHIFT, false);
    if (ctrl) modifier(win::VK_CONTROL, false);
    if (alt) modifier(win::VK_MENU, false);
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
  if (modifiers) {
    front = windows.GetForegroundWindow();
    if (target != front) windows.SetForegroundWindow(target);
    platform.loop.Sleep(10);
    unwind.held = true;
    if (alt) modifier(win::VK_MENU, true);
    if (ctrl) modifier(win::VK_CONTROL, true);
    if (shift) modifier(win::VK_SHIFT, true);
    wait_showing(ShiftAltCtrlDelay);
  } else if (post) {
    windows.SetActiveWindow(target);
  }

  if (is_text) {
    const std::size_t open = line.find("~~");
    std::string text;
    if (open != std::string::npos) {
      const std::size_t begin = open + 2;
      const std::size_t end = line.find("|>");
      if (end == std::string::npos) text = line.substr(begin);
      else if (end > begin) text = line.substr(begin, end - begin);
    }
    for (char ch : text) {
      if (post) {
        windows.PostMessageA(target, win::WM_CHAR, static_cast<unsigned char>(ch), 0);
      } else {
        // The shift state VkKeyScanA reports is dropped on purpose: only
        // the modifiers of the line decide about Shift.
        const auto vk = static_cast<std::uint8_t>(input.VkKeyScanA(ch) & 0xFF);
        if (records) record_pair(vk);
        else event_pair(vk);
      }
    }
  } else if (is_front_app) {
    const std::size_t at = line.find("@@");
    const std::string title = at == std::string::npos ? std::string() : line.substr(at + 2);
    const Hwnd app = windows.FindWindowA(nullptr, title.c_str());
    windows.SetActiveWindow(app);
    windows.SetForegroundWindow(app);
    windows.SetFocus(app);
    platform.loop.Sleep(10);
    platform.loop.ProcessPendingMessages();
  } else if (key.found) {
    if (key.f5) WaitMs(3000);
    if (post && key.posted) windows.PostMessageA(target, win::WM_KEYDOWN, key.vk, 1);
    else if (post || records) record_pair(key.vk);
    else event_pair(key.vk);
  }

  if (modifiers) {
    unwind.held = false;
    release_modifiers();
    platform.loop.ProcessPendingMessages();
    if (target != front) windows.SetForegroundWindow(front);
  }

  wait_showing(KeyAfterDelay);
}

}  // namespace zepx
