// The registry key that holds every setting between runs of the program.
// It is read once, when the main window is first shown, and written back in
// one go when the window is asked to close; nothing touches it in between.
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/main_form.h"

namespace zepx {

namespace {

const char kSettingsKey[] = "\\Software\\VELMOR\\ZEPX";

const char kFirstRunNotice[] =
    "一部レジストリ項目が見つかりませんでした.\r\n"
    "ZEPX終了時に項目を新たに作成します.\r\n"
    "ZEPXを初めて起動するときや、新バージョンを導入したときはこのメッセージが表示されます.";

// A value that is missing where a number is required, or has the wrong type.
// It ends the load: what was read before stays, the rest keeps its start value.
class RegistryReadError : public std::runtime_error {
 public:
  explicit RegistryReadError(const std::string& name) : std::runtime_error(name) {}
};

std::string DwordBytes(std::uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

class KeyReader {
 public:
  KeyReader(IRegistry& reg, IRegistry::Key key) : reg_(reg), key_(key) {}

  bool Exists(const std::string& name) {
    RegType type;
    std::string data;
    return reg_.QueryValue(key_, name, type, data);
  }

  std::int32_t Integer(const std::string& name) {
    RegType type;
    std::string data;
    if (!reg_.QueryValue(key_, name, type, data) || type != RegType::Dword || data.size() != 4)
      throw RegistryReadError(name);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(data[static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(v);
  }

  bool Boolean(const std::string& name) { return Integer(name) != 0; }

  std::string String(const std::string& name) {
    RegType type;
    std::string data;
    if (!reg_.QueryValue(key_, name, type, data) || data.empty()) return {};
    if (type != RegType::Sz && type != RegType::ExpandSz) throw RegistryReadError(name);
    // Some writers store the terminating zero as part of the data.
    const std::size_t zero = data.find('\0');
    if (zero != std::string::npos) data.erase(zero);
    return data;
  }

 private:
  IRegistry& reg_;
  IRegistry::Key key_;
};

// Collects every value of one save and remembers which ones the registry
// refused, so the user can be told exactly what was not kept.
class KeyWriter {
 public:
  KeyWriter(IRegistry& reg, IRegistry::Key key) : reg_(reg), key_(key) {}

  void Integer(const std::string& name, std::int64_t v) {
    Put(name, RegType::Dword, DwordBytes(static_cast<std::uint32_t>(v)));
  }
  void Boolean(const std::string& name, bool v) { Integer(name, v ? 1 : 0); }
  void String(const std::string& name, const std::string& v) { Put(name, RegType::Sz, v); }

  const std::vector<std::string>& Failed() const { return failed_; }

 private:
  void Put(const std::string& name, RegType type, const std::string& data) {
    if (!reg_.SetValue(key_, name, type, data)) failed_.push_back(name);
  }
  IRegistry& reg_;
  IRegistry::Key key_;
  std::vector<std::string> failed_;
};

std::string NumberedName(const char* prefix, int n, const char* suffix = "") {
  return prefix + std::to_string(n) + suffix;
}

}  // namespace

void TMainForm::LoadSettings() {
  settings.Radio1Index = 0;
  settings.Radio2Index = 0;
  settings.ECom1Index[0] = settings.ECom1Index[1] = 0;
  for (int i = 0; i < 4; ++i) settings.ECom2Index[static_cast<std::size_t>(i)] = 0;
  settings.PostRadioGroupIndex = kSendInput;
  settings.Layered = 255;
  settings.StartComboIndex = 18;
  settings.EndComboIndex = 23;
  BitBtn1.SetCaption("実行\r\n(Ctrl+Alt+S)");
  BitBtn3.SetCaption("待機\r\n(Ctrl+Alt+X)");

  IRegistry& reg = platform.registry;
  IRegistry::Key key = 0;
  if (!reg.OpenKey(kSettingsKey, key)) return;  // first start on this account: defaults, silently

  KeyReader r(reg, key);
  try {
    if (r.Exists("LogoutDateTime")) {
      // The report goes once: the value is removed whether or not it could
      // be read, so a damaged entry cannot bring the notice back every start.
      std::string when;
      bool readable = true;
      try {
        when = r.String("LogoutDateTime");
      } catch (const RegistryReadError&) {
        readable = false;
      }
      if (readable) platform.dialogs.MessageBox("[ZEP Event]\r\n" + when + "にUOを強制ログアウトしました.", MsgKind::Info);
      reg.DeleteValue(key, "LogoutDateTime");
      if (!readable) throw RegistryReadError("LogoutDateTime");
    }

    settings.Radio1Index = r.Integer("Radio1Index");
    settings.DefMCRPath = r.String("DefMCRPath");
    if (platform.files.DirectoryExists(settings.DefMCRPath)) {
      DialogInitialDir = settings.DefMCRPath;
    } else {
      settings.DefMCRPath.clear();
      settings.Radio1Index = 0;
      DialogInitialDir.clear();
    }
    settings.Radio2Index = r.Integer("Radio2Index");
    settings.SarchSay = r.String("SarchSay");
    settings.SarchAll = r.String("SarchAll");
    SetPosition(r.Integer("FormLeft"), Top());
    SetPosition(Left(), r.Integer("FormTop"));
    settings.WideCheck = r.Boolean("WideCheck");
    settings.TopCheck = r.Boolean("TopCheck");
    platform.windows.SetWindowPos(Handle(), settings.TopCheck ? win::HWND_TOPMOST : win::HWND_NOTOPMOST,
                                  0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE);
    CheckBox1.SetChecked(r.Boolean("DCutCheck"));
    SpinEdit3.SetValue(r.Integer("DCutHour"));
    SpinEdit4.SetValue(r.Integer("DCutMin"));
    settings.LoCheck = r.Boolean("LoCheck");
    for (int i = 0; i < 5; ++i)
      settings.ECom1Index[static_cast<std::size_t>(i)] = r.Integer(NumberedName("ECom1", i + 1, "Index"));
    for (int i = 0; i < 5; ++i)
      settings.ECom2Index[static_cast<std::size_t>(i)] = r.Integer(NumberedName("ECom2", i + 1, "Index"));
    settings.Say = r.String("Say");
    if (settings.Say.empty()) settings.Say = "hi";
    settings.Exec1 = r.String("Exec1");
    settings.Exec2 = r.String("Exec2");
    settings.ERadio2Index = r.Integer("ERadio2Index");
    settings.Layered = r.Integer("Layered");
    for (int i = 0; i < 5; ++i) settings.Loop[static_cast<std::size_t>(i)] = r.String(NumberedName("Loop", i + 1));
    settings.LoopOfLoopChecked = r.Boolean("LoopOfLoopChecked");
    settings.StartAddress = r.String("StartAddress");
    if (settings.StartAddress.empty()) settings.StartAddress = "1500004";
    settings.LastAddress = r.String("LastAddress");
    settings.pLastAddress = r.String("pLastAddress");
    settings.AutoRunChecked = r.Boolean("AutoRunChecked");
    SetStartLetter(r.Integer("StartComboIndex"));
    SetStopLetter(r.Integer("EndComboIndex"));
    settings.MinChecked = r.Boolean("MinChecked");
    settings.PostMouseChecked = r.Boolean("PostMouseChecked");
    CheckBox2.SetChecked(r.Boolean("DCutCheck2"));
    // A macro file opened from the command line brought its own send method.
    if (!LoadedFromCommandLine) settings.PostRadioGroupIndex = r.Integer("PostRadioGroupIndex");
    AutoHandleCheckBox.SetChecked(r.Boolean("AutoHandleChecked"));
    SpinEdit2.SetValue(r.Integer("DCutHour2"));
    SpinEdit5.SetValue(r.Integer("DCutMin2"));
  } catch (const RegistryReadError&) {
    platform.dialogs.MessageBox(kFirstRunNotice, MsgKind::Info);
  }
  reg.CloseKey(key);
}

void TMainForm::SaveSettings() {
  IRegistry& reg = platform.registry;
  IRegistry::Key key = 0;
  if (!reg.CreateKey(kSettingsKey, key)) {
    platform.dialogs.MessageBox(
        "設定を保存できませんでした.\r\n"
        "レジストリキー HKEY_CURRENT_USER\\Software\\VELMOR\\ZEPX を作成できません.\r\n"
        "今回変更した設定は次回起動時に反映されません.",
        MsgKind::Info);
    return;
  }

  // The send method in force is the one the selector shows; keep the stored
  // copy and the WinMessage flag in step with it.
  if (PostRadioGroup.ItemIndex() >= 0) settings.PostRadioGroupIndex = PostRadioGroup.ItemIndex();
  settings.PostMouseChecked = settings.PostRadioGroupIndex == kSendWinMessage;

  KeyWriter w(reg, key);
  w.Integer("FormLeft", Left());
  w.Integer("FormTop", Top());
  w.Integer("Radio1Index", settings.Radio1Index);
  w.String("DefMCRPath", settings.DefMCRPath);
  w.Integer("Radio2Index", settings.Radio2Index);
  w.String("SarchSay", settings.SarchSay);
  w.String("SarchAll", settings.SarchAll);
  w.Boolean("WideCheck", settings.WideCheck);
  w.Boolean("TopCheck", settings.TopCheck);
  w.Boolean("DCutCheck", CheckBox1.Checked());
  w.Integer("DCutHour", SpinEdit3.Value());
  w.Integer("DCutMin", SpinEdit4.Value());
  w.Integer("DCutHour2", SpinEdit2.Value());
  w.Integer("DCutMin2", SpinEdit5.Value());
  w.Boolean("LoCheck", settings.LoCheck);
  for (int i = 0; i < 5; ++i)
    w.Integer(NumberedName("ECom1", i + 1, "Index"), settings.ECom1Index[static_cast<std::size_t>(i)]);
  for (int i = 0; i < 5; ++i)
    w.Integer(NumberedName("ECom2", i + 1, "Index"), settings.ECom2Index[static_cast<std::size_t>(i)]);
  w.String("Say", settings.Say);
  w.String("Exec1", settings.Exec1);
  w.String("Exec2", settings.Exec2);
  w.Integer("ERadio2Index", settings.ERadio2Index);
  w.Integer("Layered", settings.Layered);
  for (int i = 0; i < 5; ++i) w.String(NumberedName("Loop", i + 1), settings.Loop[static_cast<std::size_t>(i)]);
  w.Boolean("LoopOfLoopChecked", settings.LoopOfLoopChecked);
  w.String("StartAddress", settings.StartAddress);
  w.String("LastAddress", settings.LastAddress);
  w.String("pLastAddress", settings.pLastAddress);
  w.Boolean("AutoRunChecked", settings.AutoRunChecked);
  w.Integer("StartComboIndex", settings.StartComboIndex);
  w.Integer("EndComboIndex", settings.EndComboIndex);
  w.Boolean("MinChecked", settings.MinChecked);
  w.Boolean("PostMouseChecked", settings.PostMouseChecked);
  w.Boolean("DCutCheck2", CheckBox2.Checked());
  w.Integer("PostRadioGroupIndex", settings.PostRadioGroupIndex);
  w.Boolean("AutoHandleChecked", AutoHandleCheckBox.Checked());
  reg.CloseKey(key);

  if (!w.Failed().empty()) {
    std::string names;
    for (const std::string& n : w.Failed()) names += (names.empty() ? "" : ", ") + n;
    platform.dialogs.MessageBox(
        "一部の設定をレジストリに保存できませんでした.\r\n"
        "保存できなかった項目: " + names + "\r\n"
        "これらの設定は次回起動時に反映されません.",
        MsgKind::Info);
  }
}

void TMainForm::RecordLogoutTime() {
  IRegistry& reg = platform.registry;
  IRegistry::Key key = 0;
  if (!reg.CreateKey(kSettingsKey, key)) return;
  reg.SetValue(key, "LogoutDateTime", RegType::Sz, platform.shell.LocalDateTimeText());
  reg.CloseKey(key);
}

}  // namespace zepx
