#include "settings/settings_store.h"

#include <stdexcept>

#include "model/send_method.h"

namespace zepx {

namespace {

constexpr RegKind kInteger = RegKind::Integer;
constexpr RegKind kBoolean = RegKind::Boolean;
constexpr RegKind kString = RegKind::String;

}  // namespace

constexpr std::array<SettingsEntry, kSettingsValueCount> kSettingsValues{{
    {"Radio1Index", kInteger, &Settings::Radio1Index},
    {"DefMCRPath", kString, &Settings::DefMCRPath, ReadRule::DialogFolder},
    {"Radio2Index", kInteger, &Settings::Radio2Index},
    {"SarchSay", kString, &Settings::SarchSay},
    {"SarchAll", kString, &Settings::SarchAll},
    {"FormLeft", kInteger, Held::Left},
    {"FormTop", kInteger, Held::Top},
    {"WideCheck", kBoolean, &Settings::WideCheck},
    {"TopCheck", kBoolean, &Settings::TopCheck, ReadRule::Topmost},
    {"DCutCheck", kBoolean, Held::CheckBox1},
    {"DCutHour", kInteger, Held::SpinEdit3},
    {"DCutMin", kInteger, Held::SpinEdit4},
    {"LoCheck", kBoolean, &Settings::LoCheck},
    {"ECom11Index", kInteger, At(&Settings::ECom1Index, 0)},
    {"ECom12Index", kInteger, At(&Settings::ECom1Index, 1)},
    {"ECom13Index", kInteger, At(&Settings::ECom1Index, 2)},
    {"ECom14Index", kInteger, At(&Settings::ECom1Index, 3)},
    {"ECom15Index", kInteger, At(&Settings::ECom1Index, 4)},
    {"ECom21Index", kInteger, At(&Settings::ECom2Index, 0)},
    {"ECom22Index", kInteger, At(&Settings::ECom2Index, 1)},
    {"ECom23Index", kInteger, At(&Settings::ECom2Index, 2)},
    {"ECom24Index", kInteger, At(&Settings::ECom2Index, 3)},
    {"ECom25Index", kInteger, At(&Settings::ECom2Index, 4)},
    {"Say", kString, &Settings::Say, ReadRule::EmptyReadsAs, "hi"},
    {"Exec1", kString, &Settings::Exec1},
    {"Exec2", kString, &Settings::Exec2},
    {"ERadio2Index", kInteger, &Settings::ERadio2Index},
    {"Layered", kInteger, &Settings::Layered},
    {"Loop1", kString, At(&Settings::Loop, 0)},
    {"Loop2", kString, At(&Settings::Loop, 1)},
    {"Loop3", kString, At(&Settings::Loop, 2)},
    {"Loop4", kString, At(&Settings::Loop, 3)},
    {"Loop5", kString, At(&Settings::Loop, 4)},
    {"LoopOfLoopChecked", kBoolean, &Settings::LoopOfLoopChecked},
    {"StartAddress", kString, &Settings::StartAddress, ReadRule::EmptyReadsAs, "1500004"},
    {"LastAddress", kString, &Settings::LastAddress},
    {"pLastAddress", kString, &Settings::pLastAddress},
    {"AutoRunChecked", kBoolean, &Settings::AutoRunChecked},
    {"StartComboIndex", kInteger, &Settings::StartComboIndex, ReadRule::StartLetter},
    {"EndComboIndex", kInteger, &Settings::EndComboIndex, ReadRule::StopLetter},
    {"MinChecked", kBoolean, &Settings::MinChecked},
    {"PostMouseChecked", kBoolean, &Settings::PostMouseChecked},
    {"DCutCheck2", kBoolean, Held::CheckBox2},
    {"PostRadioGroupIndex", kInteger, &Settings::PostRadioGroupIndex, ReadRule::NotAfterCommandLineFile},
    {"AutoHandleChecked", kBoolean, Held::AutoHandleCheckBox},
    {"DCutHour2", kInteger, Held::SpinEdit2},
    {"DCutMin2", kInteger, Held::SpinEdit5},
    {"ScanCodeChecked", kBoolean, &Settings::ScanCodeChecked, ReadRule::Optional},
    {"KeyHoldTime", kInteger, &Settings::KeyHoldTime, ReadRule::Optional},
    {"UnicodeTextChecked", kBoolean, &Settings::UnicodeTextChecked, ReadRule::Optional},
    {"DCutLateCheck", kBoolean, &Settings::DCutLateCheck, ReadRule::Optional},
    {"DCutLateCheck2", kBoolean, &Settings::DCutLateCheck2, ReadRule::Optional},
    {"RecordWaitMin", kInteger, &Settings::RecordWaitMin, ReadRule::Optional},
    {"RecordWaitMax", kInteger, &Settings::RecordWaitMax, ReadRule::Optional},
    {"RecordMergeText", kBoolean, &Settings::RecordMergeText, ReadRule::Optional},
    {"RecordMinimize", kBoolean, &Settings::RecordMinimize, ReadRule::Optional},
    {"WindowPointChecked", kBoolean, Held::WindowPointCheck, ReadRule::Optional},
}};

namespace {

// The save has an order of its own: the window position first, the two
// events' times side by side.
const char* const kSaveOrder[] = {
    "FormLeft", "FormTop", "Radio1Index", "DefMCRPath", "Radio2Index", "SarchSay", "SarchAll",
    "WideCheck", "TopCheck", "DCutCheck", "DCutHour", "DCutMin", "DCutHour2", "DCutMin2", "LoCheck",
    "ECom11Index", "ECom12Index", "ECom13Index", "ECom14Index", "ECom15Index",
    "ECom21Index", "ECom22Index", "ECom23Index", "ECom24Index", "ECom25Index",
    "Say", "Exec1", "Exec2", "ERadio2Index", "Layered",
    "Loop1", "Loop2", "Loop3", "Loop4", "Loop5", "LoopOfLoopChecked",
    "StartAddress", "LastAddress", "pLastAddress", "AutoRunChecked", "StartComboIndex",
    "EndComboIndex", "MinChecked", "PostMouseChecked", "DCutCheck2", "PostRadioGroupIndex",
    "AutoHandleChecked",
    "ScanCodeChecked", "KeyHoldTime", "UnicodeTextChecked", "DCutLateCheck", "DCutLateCheck2",
    "RecordWaitMin", "RecordWaitMax", "RecordMergeText", "RecordMinimize", "WindowPointChecked",
};

// The registry type an entry's field can hold. A string entry on a number
// field, or the reverse, would save a value the load cannot put back.
constexpr RegKind KindOf(const SettingsField& f) {
  if (std::holds_alternative<std::int32_t Settings::*>(f)) return kInteger;
  if (std::holds_alternative<bool Settings::*>(f)) return kBoolean;
  if (std::holds_alternative<SettingsElement<std::int32_t>>(f)) return kInteger;
  if (const Held* h = std::get_if<Held>(&f)) return IsCheckBox(*h) ? kBoolean : kInteger;
  return kString;
}

constexpr bool TableIsConsistent() {
  for (const SettingsEntry& e : kSettingsValues) {
    if (e.name == nullptr || e.kind != KindOf(e.field)) return false;
    if ((e.rule == ReadRule::EmptyReadsAs) != (e.stand_in != nullptr)) return false;
  }
  return true;
}
static_assert(TableIsConsistent(), "every settings entry needs a name, a field of its type and its stand-in");

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

}  // namespace

const std::vector<std::size_t>& SettingsSaveOrder() {
  static const std::vector<std::size_t> order = [] {
    std::vector<std::size_t> o;
    for (const char* name : kSaveOrder)
      for (std::size_t i = 0; i < kSettingsValues.size(); ++i)
        if (std::string(kSettingsValues[i].name) == name) o.push_back(i);
    return o;
  }();
  return order;
}

SettingsStore::SettingsStore(Settings& settings, IRegistry& registry, IDialogs& dialogs,
                             IFileSystem& files, IShell& shell, ISettingsHost& host)
    : settings_(settings), registry_(registry), dialogs_(dialogs), files_(files), shell_(shell), host_(host) {}

std::int32_t SettingsStore::Number(const SettingsEntry& e) {
  if (auto m = std::get_if<std::int32_t Settings::*>(&e.field)) return settings_.**m;
  if (auto m = std::get_if<bool Settings::*>(&e.field)) return settings_.**m ? 1 : 0;
  if (auto a = std::get_if<SettingsElement<std::int32_t>>(&e.field)) return (settings_.*a->group)[a->index];
  if (auto h = std::get_if<Held>(&e.field)) return host_.HeldValue(*h);
  return 0;
}

std::string SettingsStore::Text(const SettingsEntry& e) const {
  if (auto m = std::get_if<std::string Settings::*>(&e.field)) return settings_.**m;
  if (auto a = std::get_if<SettingsElement<std::string>>(&e.field)) return (settings_.*a->group)[a->index];
  return {};
}

void SettingsStore::SetNumber(const SettingsEntry& e, std::int32_t value) {
  if (auto m = std::get_if<std::int32_t Settings::*>(&e.field)) settings_.**m = value;
  else if (auto b = std::get_if<bool Settings::*>(&e.field)) settings_.**b = value != 0;
  else if (auto a = std::get_if<SettingsElement<std::int32_t>>(&e.field)) (settings_.*a->group)[a->index] = value;
  else if (auto h = std::get_if<Held>(&e.field)) host_.SetHeldValue(*h, value);
}

void SettingsStore::SetText(const SettingsEntry& e, const std::string& value) {
  if (auto m = std::get_if<std::string Settings::*>(&e.field)) settings_.**m = value;
  else if (auto a = std::get_if<SettingsElement<std::string>>(&e.field)) (settings_.*a->group)[a->index] = value;
}

void SettingsStore::ApplyReadRule(const SettingsEntry& e) {
  switch (e.rule) {
    case ReadRule::DialogFolder:
      // Radio1Index plays no part: a folder that is gone sends both back
      // to "current folder".
      if (files_.DirectoryExists(Text(e))) {
        host_.SetDialogInitialDir(Text(e));
      } else {
        SetText(e, "");
        settings_.Radio1Index = 0;
        host_.SetDialogInitialDir("");
      }
      break;
    case ReadRule::Topmost: host_.SetTopmost(Number(e) != 0); break;
    case ReadRule::StartLetter: host_.SetStartLetter(Number(e)); break;
    case ReadRule::StopLetter: host_.SetStopLetter(Number(e)); break;
    case ReadRule::Plain:
    case ReadRule::EmptyReadsAs:
    case ReadRule::NotAfterCommandLineFile:
    case ReadRule::Optional: break;
  }
}

void SettingsStore::Load() {
  settings_.Radio1Index = 0;
  settings_.Radio2Index = 0;
  settings_.ECom1Index[0] = settings_.ECom1Index[1] = 0;
  for (int i = 0; i < 4; ++i) settings_.ECom2Index[static_cast<std::size_t>(i)] = 0;
  settings_.PostRadioGroupIndex = kDefaultSendMethod;
  settings_.Layered = 255;
  settings_.StartComboIndex = 18;
  settings_.EndComboIndex = 23;
  host_.SetRunStopCaptions("実行\r\n(Ctrl+Alt+S)", "待機\r\n(Ctrl+Alt+X)");

  IRegistry::Key key = 0;
  if (!registry_.OpenKey(kSettingsKey, key)) return;  // first start on this account: defaults, silently

  KeyReader r(registry_, key);
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
      if (readable) dialogs_.MessageBox("[ZEP Event]\r\n" + when + "にUOを強制ログアウトしました.", MsgKind::Info);
      registry_.DeleteValue(key, "LogoutDateTime");
      if (!readable) throw RegistryReadError("LogoutDateTime");
    }

    for (const SettingsEntry& e : kSettingsValues) {
      if (e.rule == ReadRule::NotAfterCommandLineFile && host_.MacroFileFromCommandLine()) continue;
      if (e.rule == ReadRule::Optional && !r.Exists(e.name)) continue;
      switch (e.kind) {
        case RegKind::Integer: SetNumber(e, r.Integer(e.name)); break;
        case RegKind::Boolean: SetNumber(e, r.Boolean(e.name) ? 1 : 0); break;
        case RegKind::String: {
          const std::string text = r.String(e.name);
          SetText(e, text.empty() && e.rule == ReadRule::EmptyReadsAs ? e.stand_in : text);
          break;
        }
      }
      ApplyReadRule(e);
    }
  } catch (const RegistryReadError&) {
    dialogs_.MessageBox(kFirstRunNotice, MsgKind::Info);
  }
  registry_.CloseKey(key);
}

void SettingsStore::Save() {
  IRegistry::Key key = 0;
  if (!registry_.CreateKey(kSettingsKey, key)) {
    dialogs_.MessageBox(
        "設定を保存できませんでした.\r\n"
        "レジストリキー HKEY_CURRENT_USER\\Software\\VELMOR\\ZEPX を作成できません.\r\n"
        "今回変更した設定は次回起動時に反映されません.",
        MsgKind::Info);
    return;
  }

  // The send method in force is the one the selector shows; keep the stored
  // copy and the WinMessage flag in step with it.
  if (host_.SendMethodShown() >= 0) settings_.PostRadioGroupIndex = host_.SendMethodShown();
  settings_.PostMouseChecked = (settings_.PostRadioGroupIndex == kSendWinMessage);

  KeyWriter w(registry_, key);
  for (std::size_t i : SettingsSaveOrder()) {
    const SettingsEntry& e = kSettingsValues[i];
    switch (e.kind) {
      case RegKind::Integer: w.Integer(e.name, Number(e)); break;
      case RegKind::Boolean: w.Boolean(e.name, Number(e) != 0); break;
      case RegKind::String: w.String(e.name, Text(e)); break;
    }
  }
  registry_.CloseKey(key);

  if (!w.Failed().empty()) {
    std::string names;
    for (const std::string& n : w.Failed()) names += (names.empty() ? "" : ", ") + n;
    dialogs_.MessageBox(
        "一部の設定をレジストリに保存できませんでした.\r\n"
        "保存できなかった項目: " + names + "\r\n"
        "これらの設定は次回起動時に反映されません.",
        MsgKind::Info);
  }
}

void SettingsStore::RecordLogoutTime() {
  IRegistry::Key key = 0;
  if (!registry_.CreateKey(kSettingsKey, key)) return;
  registry_.SetValue(key, "LogoutDateTime", RegType::Sz, shell_.LocalDateTimeText());
  registry_.CloseKey(key);
}

}  // namespace zepx
