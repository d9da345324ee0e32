// The two global hot keys of the main window: Ctrl+Alt+letter to start a
// run and Ctrl+Alt+letter to stop it. The letters are settings; the Run and
// Stop buttons show them.
#include "shell/main_form.h"

namespace zepx {

std::string TMainForm::LetterFromIndex(int index) {
  if (index < 0 || index > 25) return {};
  return std::string(1, static_cast<char>('A' + index));
}

std::uint16_t TMainForm::ShortcutFromLetter(const std::string& letter) {
  // "Ctrl+Alt+" + letter; an empty or unknown letter gives no shortcut.
  if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z') return 0;
  return static_cast<std::uint16_t>(0x4000 | 0x8000 | static_cast<unsigned char>(letter[0]));
}

void TMainForm::SetStartLetter(int index) {
  settings.StartComboIndex = index;
  const std::string letter = LetterFromIndex(index);
  HotKey2 = ShortcutFromLetter(letter);
  BitBtn1.SetCaption("実行\r\n(Ctrl+Alt+" + letter + ")");
}

void TMainForm::SetStopLetter(int index) {
  settings.EndComboIndex = index;
  const std::string letter = LetterFromIndex(index);
  HotKey1 = ShortcutFromLetter(letter);
  BitBtn3.SetCaption("待機\r\n(Ctrl+Alt+" + letter + ")");
}

void TMainForm::ApplyHotKeyLetters(int start_index, int stop_index) {
  // Both keys are registered afresh even when nothing changed; the stop key
  // stays registered until the next stop, as after a run start.
  HookHotKey2.UnregisterKey(1);
  SetStartLetter(start_index);
  HookHotKey2.RegisterKey(1, HotKey2);
  HookHotKey1.UnregisterKey(1);
  SetStopLetter(stop_index);
  HookHotKey1.RegisterKey(1, HotKey1);
}

void TMainForm::HookHotKey1HotKey() {
  if (Recording()) recording.Stop();
  else BitBtn3Click();
}

void TMainForm::HookHotKey2HotKey() { RequestRun(RunSource::HotKey); }

}  // namespace zepx
