// The registry key that holds every setting between runs of the program.
// It is read once, when the main window is first shown, and written back in
// one go when the window is asked to close; nothing touches it in between.
//
// One table lists the values in the order the load reads them; the save
// walks the same table in its own order. The store knows the main window
// only through ISettingsHost.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/platform.h"
#include "settings/settings.h"

namespace zepx {

// Main-window controls that hold a setting instead of a variable.
enum class Held : std::uint8_t {
  Left,                // main window position
  Top,
  CheckBox1,           // Event 1 enabled
  SpinEdit3,           // Event 1 hour
  SpinEdit4,           // Event 1 minute
  CheckBox2,           // Event 2 enabled
  AutoHandleCheckBox,
  SpinEdit2,           // Event 2 hour
  SpinEdit5,           // Event 2 minute
  WindowPointCheck,    // picks bound to a window
};
constexpr bool IsCheckBox(Held h) {
  return h == Held::CheckBox1 || h == Held::CheckBox2 || h == Held::AutoHandleCheckBox ||
         h == Held::WindowPointCheck;
}

// What the store needs from the main window.
class ISettingsHost {
 public:
  virtual ~ISettingsHost() = default;
  // A held value; check boxes give 0 or 1.
  virtual std::int32_t HeldValue(Held control) = 0;
  // Sets it as the user would: a control whose state changes runs its
  // handler; Left and Top move the window.
  virtual void SetHeldValue(Held control, std::int32_t value) = 0;
  virtual void SetTopmost(bool topmost) = 0;
  virtual void SetRunStopCaptions(const std::string& run, const std::string& stop) = 0;
  // The hot-key letters, with the Run or Stop caption that shows them.
  virtual void SetStartLetter(std::int32_t index) = 0;
  virtual void SetStopLetter(std::int32_t index) = 0;
  // Where the macro-file open and save dialogs start.
  virtual void SetDialogInitialDir(const std::string& dir) = 0;
  virtual bool MacroFileFromCommandLine() = 0;
  // The send method the selector shows, -1 when none is selected.
  virtual int SendMethodShown() = 0;
};

enum class RegKind : std::uint8_t { Integer, Boolean, String };

// What the load does besides storing a value.
enum class ReadRule : std::uint8_t {
  Plain,
  EmptyReadsAs,      // an empty text becomes the entry's stand-in
  DialogFolder,      // the dialogs start there if the folder exists, else it is dropped
  Topmost,           // applied to the main window at once
  StartLetter,
  StopLetter,
  NotAfterCommandLineFile,  // a macro file from the command line brought its own
  Optional,          // newer than the keys of older versions: absent keeps the start value
};

// One element of a numbered group of variables (ECom11Index, Loop3, ...).
template <class T>
struct SettingsElement {
  std::array<T, 5> Settings::*group;
  std::size_t index;
};
template <class T>
constexpr SettingsElement<T> At(std::array<T, 5> Settings::*group, std::size_t index) {
  return {group, index};
}

using SettingsField =
    std::variant<std::int32_t Settings::*, bool Settings::*, std::string Settings::*,
                 SettingsElement<std::int32_t>, SettingsElement<std::string>, Held>;

struct SettingsEntry {
  const char* name;
  RegKind kind;
  SettingsField field;
  ReadRule rule = ReadRule::Plain;
  const char* stand_in = nullptr;  // for EmptyReadsAs
};

// The values of the key, in load order; LogoutDateTime is handled apart.
inline constexpr std::size_t kSettingsValueCount = 57;
extern const std::array<SettingsEntry, kSettingsValueCount> kSettingsValues;
// The order the save writes them, as indices into kSettingsValues.
const std::vector<std::size_t>& SettingsSaveOrder();

class SettingsStore {
 public:
  SettingsStore(Settings& settings, IRegistry& registry, IDialogs& dialogs, IFileSystem& files,
                IShell& shell, ISettingsHost& host);

  void Load();
  void Save();
  void RecordLogoutTime();

  // The value an entry holds now; booleans as 0 or 1.
  std::int32_t Number(const SettingsEntry& e);
  std::string Text(const SettingsEntry& e) const;

 private:
  void SetNumber(const SettingsEntry& e, std::int32_t value);
  void SetText(const SettingsEntry& e, const std::string& value);
  void ApplyReadRule(const SettingsEntry& e);

  Settings& settings_;
  IRegistry& registry_;
  IDialogs& dialogs_;
  IFileSystem& files_;
  IShell& shell_;
  ISettingsHost& host_;
};

}  // namespace zepx
