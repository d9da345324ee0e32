// The settings dialog's controls and what they do, apart from the window
// that shows them (shell/setting_form.*, which lays them out and shows them
// modally). The dialog works on the in-memory settings: it copies them into
// its controls when it is created and each time it is shown, and Apply
// copies them back when the user confirms. A few controls act at once and
// stay in force after a cancel: the opacity slider, the hot-key letters and
// the event Test buttons.
//
// The dialog reaches the main window only through ISettingDialogHost.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/folder_dialog.h"
#include "settings/settings.h"
#include "ui/controls.h"

namespace zepx {

// What the dialog needs of the main window.
class ISettingDialogHost {
 public:
  virtual ~ISettingDialogHost() = default;
  // Where the macro-file open and save dialogs start ("" for the current folder).
  virtual void SetDialogInitialDir(const std::string& dir) = 0;
  virtual void SetTopmost(bool topmost) = 0;
  // Stores both letters, registers both hot keys afresh and shows the
  // letters on the Run and Stop buttons.
  virtual void ApplyHotKeyLetters(int start_index, int stop_index) = 0;
  // Applies the opacity to the main window at once and stores it as Layered.
  virtual void SetTranslucency(int alpha) = 0;
  // Starts or stops the periodic check for the game client that cannot
  // live with a translucent window.
  virtual void SetTDCheckTimer(bool enabled) = 0;
  // Runs the five action slots of timed event 1 or 2.
  virtual void ExecuteEventActions(int event) = 0;
};


class SettingDialog {
 public:
  static constexpr int kGeneralPage = 0;
  static constexpr int kEventPage = 1;
  static constexpr int kLoopPage = 2;
  static constexpr int kKeysPage = 3;

  SettingDialog(Settings& settings, Platform& platform, ISettingDialogHost& host);
  virtual ~SettingDialog() = default;
  SettingDialog(const SettingDialog&) = delete;
  SettingDialog& operator=(const SettingDialog&) = delete;

  // ---- controls, by page ----------------------------------------------------
  TButton BitBtn3{"BitBtn3"};  // revert
  TPageControl PageControl1{"PageControl1"};
  TTabSheet TabSheet1{"TabSheet1", "全般"};
  TTabSheet TabSheet2{"TabSheet2", "ZEP Event"};
  TTabSheet TabSheet3{"TabSheet3", "Loop"};
  TTabSheet TabSheet4{"TabSheet4", "キー送信"};

  // "全般"
  TCheckBox OnTopCheck{"OnTopCheck"};
  TCheckBox MinCheck{"MinCheck"};
  TCheckBox AutoRunCheck{"AutoRunCheck"};
  TLabel StartKeyLabel{"StartKeyLabel"};
  TLabel StartKeyCtrlAlt{"StartKeyCtrlAlt"};
  TComboBox StartKeyCombo{"StartKeyCombo"};
  TLabel EndKeyLabel{"EndKeyLabel"};
  TLabel EndKeyCtrlAlt{"EndKeyCtrlAlt"};
  TComboBox EndKeyCombo{"EndKeyCombo"};
  TRadioGroup RadioGroup1{"RadioGroup1"};
  TEdit DefMCREdit{"DefMCREdit"};
  TButton BitBtn4{"BitBtn4"};  // folder
  TLabel LayerCaption{"LayerCaption"};
  TTrackBar LayerBar{"LayerBar", 50, 255, 255};
  TLabel LayeredLabel{"LayeredLabel"};
  TLabel LayerNote{"LayerNote"};
  // recording: the shortest and the longest pause written, text merging,
  // the main window out of the way
  TLabel RecordMinLabel{"RecordMinLabel"};
  TWinSpinEdit RecordMinEdit{"RecordMinEdit", 10, 3600000, 10, 100};
  TLabel RecordMaxLabel{"RecordMaxLabel"};
  TWinSpinEdit RecordMaxEdit{"RecordMaxEdit", 10, 3600000, 1000, 60000};
  TCheckBox RecordMergeCheck{"RecordMergeCheck"};
  TCheckBox RecordMinimizeCheck{"RecordMinimizeCheck"};

  // "ZEP Event"
  TLabel EventHeading{"EventHeading"};
  TGroupBox Event1Group{"Event1Group"};
  TGroupBox Event2Group{"Event2Group"};
  TLabel SlotLabel11{"SlotLabel11"}, SlotLabel12{"SlotLabel12"}, SlotLabel13{"SlotLabel13"},
      SlotLabel14{"SlotLabel14"}, SlotLabel15{"SlotLabel15"};
  TLabel SlotLabel21{"SlotLabel21"}, SlotLabel22{"SlotLabel22"}, SlotLabel23{"SlotLabel23"},
      SlotLabel24{"SlotLabel24"}, SlotLabel25{"SlotLabel25"};
  TComboBox ECombo11{"ECombo11"}, ECombo12{"ECombo12"}, ECombo13{"ECombo13"}, ECombo14{"ECombo14"},
      ECombo15{"ECombo15"};
  TComboBox ECombo21{"ECombo21"}, ECombo22{"ECombo22"}, ECombo23{"ECombo23"}, ECombo24{"ECombo24"},
      ECombo25{"ECombo25"};
  TButton Button1{"Button1"};  // Test, event 1
  TButton Button2{"Button2"};  // Test, event 2
  TLabel Exec1Label{"Exec1Label"};
  TEdit Exec1Edit{"Exec1Edit"};
  TButton BitBtn5{"BitBtn5"};
  TLabel Exec2Label{"Exec2Label"};
  TEdit Exec2Edit{"Exec2Edit"};
  TButton BitBtn6{"BitBtn6"};
  TCheckBox LateCheck1{"LateCheck1"};  // a missed alarm runs late
  TCheckBox LateCheck2{"LateCheck2"};

  // "Loop"
  TLabel LoopHeading{"LoopHeading"};
  TLabel LoopNote{"LoopNote"};
  TLabel LoopLabel1{"LoopLabel1"}, LoopLabel2{"LoopLabel2"}, LoopLabel3{"LoopLabel3"},
      LoopLabel4{"LoopLabel4"}, LoopLabel5{"LoopLabel5"};
  TEdit LoopEdit1{"LoopEdit1"}, LoopEdit2{"LoopEdit2"}, LoopEdit3{"LoopEdit3"},
      LoopEdit4{"LoopEdit4"}, LoopEdit5{"LoopEdit5"};
  TButton BitBtn7{"BitBtn7"}, BitBtn8{"BitBtn8"}, BitBtn9{"BitBtn9"}, BitBtn10{"BitBtn10"},
      BitBtn11{"BitBtn11"};
  TCheckBox LoopOfLoopCheck{"LoopOfLoopCheck"};

  // "キー送信": options of _event and SendInput
  TLabel KeysHeading{"KeysHeading"};
  TCheckBox ScanCodeCheck{"ScanCodeCheck"};
  TLabel KeyHoldLabel{"KeyHoldLabel"};
  TWinSpinEdit KeyHoldSpin{"KeyHoldSpin", 0, 1000, 10, 0};
  TCheckBox UnicodeTextCheck{"UnicodeTextCheck"};

  // Pickers: the event files, the loop files, the initial folder.
  FileDialogOptions OpenDialog1;
  FileDialogOptions OpenDialog2;
  TFolderDialog FolderDialog1;

  // Slot selector `slot` (0..4) of event 1 or 2.
  TComboBox& ECombo(int event, int slot);
  TEdit& LoopEdit(int i);  // 0..4

  // Set by the main window's event-settings button for as long as the
  // dialog is open from it: showing then selects the "ZEP Event" page.
  bool ShowEventPage = false;

  // ---- handlers ---------------------------------------------------------------
  // Filling at creation leaves the opacity and the game-client check alone:
  // the main window's start-up has decided on translucency already.
  void FormCreate();
  void FormShow();
  void BitBtn3Click();      // revert the fields to the settings
  void RadioGroup11Click();
  void BitBtn44Click();     // folder
  void BitBtn5Click();      // event file 1
  void BitBtn6Click();      // event file 2
  void LoopFileClick(int i);  // BitBtn7 .. BitBtn11: loop file i (0..4)
  void StartKeyComboChange();
  void EndKeyComboChange();
  void LayerBar1Change();
  void Button1Click() { TestEvent(1); }
  void Button2Click() { TestEvent(2); }

  // The dialog was confirmed: the main window takes its values, in the
  // order the steps depend on (folder, topmost, slots and files, hot keys,
  // tray). The opacity is not copied; the slider has applied it already.
  void Apply();

 protected:
  // The dialog's own window, which owns the folder browser.
  virtual Hwnd DialogWindow() const { return 0; }

 private:
  enum class Occasion { Creation, Show };
  void Fill(Occasion occasion);
  void FillFields();  // what a revert restores as well
  void StoreSlotsAndFiles();
  // The options added later (late events, key sending, recording), which
  // nothing else in the dialog depends on.
  void FillAddedOptions();
  void StoreAddedOptions();
  void TestEvent(int event);
  void PickFile(const FileDialogOptions& dialog, TEdit& field);
  void LetterPicked(const TComboBox& changed, std::int32_t& setting);

  Settings& settings_;
  Platform& platform_;
  ISettingDialogHost& host_;
  bool quiet_slider_ = false;  // the slider is being set without acting
};

}  // namespace zepx
