// The main window: owner of the batch list, the run state, the settings
// variables, the hot keys and every timer. Its behaviour is split by topic
// over several source files (named beside each group below); this header is
// the one place that lists its controls and state.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/settings.h"
#include "shell/hotkey.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace zepx {

class TSettingForm;
class TCutLineForm;
class TAboutForm;
class TSendListForm;
class TInputForm;
class SettingsHost;

// Send method: the item index of PostRadioGroup.
enum SendMethod : int { kSendEvent = 0, kSendInput = 1, kSendWinMessage = 2 };

// Custom messages of the main window.
constexpr std::uint32_t kMsgDeferredStartup = 1025;  // WM_USER + 1
constexpr std::uint32_t kMsgTrayCallback = 1124;     // WM_USER + 100

class TMainForm : public TForm {
 public:
  TMainForm(Platform& platform, TApplication& app);
  ~TMainForm() override;

  // From the native window.
  void CloseRequested() override { Close(); }
  void SessionEnding() override;
  void FilesDropped(const std::vector<std::string>& paths) override { DropFiles(paths); }
  void UserMessage(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) override;

  Platform& platform;
  TApplication& Application;

  // The other windows, created after the main window (lifecycle.cpp).
  TSettingForm* SettingForm = nullptr;
  TCutLineForm* CutLineForm = nullptr;
  TAboutForm* AboutForm = nullptr;
  TSendListForm* SendListForm = nullptr;
  TInputForm* InputForm = nullptr;

  // ---- controls (main_form.cpp creates and lays them out) ----------------
  TListBox SendList{"SendList"};
  TButton BitBtn1{"BitBtn1"};        // Run
  TButton BitBtn3{"BitBtn3"};        // Stop
  TButton BitBtn6{"BitBtn6"};        // exit ZEPX
  TButton BitBtn4{"BitBtn4"};        // detached list window
  TButton SpeedButton1{"SpeedButton1"};  // command palette
  TLabel StatusLabel{"StatusLabel"};

  // composer area
  TComboBox CommandBox{"CommandBox"};
  TWinSpinEdit SpinEdit1{"SpinEdit1", 1, 3600000, 100, 1000};
  TComboBox ComboBoxEx1{"ComboBoxEx1"};
  TComboBox SendTextEdit{"SendTextEdit"};
  TButton GetAppButton2{"GetAppButton2"};
  TGroupBox ModGroup{"ModGroup"};
  TCheckBox ShiftCheck{"ShiftCheck"};
  TCheckBox AltCheck{"AltCheck"};
  TCheckBox CtrlCheck{"CtrlCheck"};
  TButton AddButton{"AddButton"};
  TButton DelButton{"DelButton"};
  TButton UpButton{"UpButton"};
  TButton DownButton{"DownButton"};
  TButton ClearButton{"ClearButton"};

  // coordinates and target
  TButton XYButton{"XYButton"};
  TLabel XCaption{"XCaption"};
  TLabel YCaption{"YCaption"};
  TWinSpinEdit XLabel{"XLabel", 0, 9999, 1, 0};
  TWinSpinEdit YLabel{"YLabel", 0, 9999, 1, 0};
  TButton XYCopy{"XYCopy"};
  TButton XYPaste{"XYPaste"};
  TLabel AppLabel{"AppLabel"};
  TComboBox AppComboBox{"AppComboBox"};
  TButton GetAppButton{"GetAppButton"};
  TButton Button4{"Button4"};  // help: target
  TCheckBox AutoHandleCheckBox{"AutoHandleCheckBox"};

  // send method
  TRadioGroup PostRadioGroup{"PostRadioGroup"};
  TButton Button8{"Button8"};  // help: send method

  // loop group
  TGroupBox LoopGroup{"LoopGroup"};
  TLabel LoopLabel{"LoopLabel"};
  TWinSpinEdit LoopSpinEdit{"LoopSpinEdit", 0, 9999, 1, 0};
  TLabel LoopInfLabel{"LoopInfLabel"};
  TCheckBox NextLoopCheck{"NextLoopCheck"};
  TLabel LoopAllLabel{"LoopAllLabel"};
  TWinSpinEdit LoopSpinEditAll{"LoopSpinEditAll", 0, 9999, 1, 0};
  TLabel LoopAllInfLabel{"LoopAllInfLabel"};
  TButton Button6{"Button6"};  // macro file settings
  TLabel LoopCountCaption{"LoopCountCaption"};
  TLabel LoopCountLabel{"LoopCountLabel"};
  TLabel LoopCountAllCaption{"LoopCountAllCaption"};
  TLabel LoopCountAllLabel{"LoopCountAllLabel"};
  TLabel TimerCountCaption{"TimerCountCaption"};
  TLabel TimerCountLabel{"TimerCountLabel"};
  TRadioButton SendStatus{"SendStatus"};

  // waits after commands ("コマンド送信後Wait設定")
  TGroupBox DelayGroup{"DelayGroup"};
  TLabel KeyDelayLabel{"KeyDelayLabel"};
  TWinSpinEdit KeyAfterDelay{"KeyAfterDelay", 0, 99999, 1, 1200};
  TButton Button1{"Button1"};
  TLabel ClickDelayLabel{"ClickDelayLabel"};
  TWinSpinEdit ClickAfterDelay{"ClickAfterDelay", 0, 99999, 1, 1000};
  TButton Button2{"Button2"};
  TLabel DragDelayLabel{"DragDelayLabel"};
  TWinSpinEdit DragDelay{"DragDelay", 0, 99999, 1, 1200};
  TButton Button3{"Button3"};
  TLabel SacDelayLabel{"SacDelayLabel"};
  TWinSpinEdit ShiftAltCtrlDelay{"ShiftAltCtrlDelay", 0, 99999, 1, 250};
  TButton Button5{"Button5"};

  // timed events ("ZEP Timer設定")
  TGroupBox TimerGroup{"TimerGroup"};
  TCheckBox CheckBox1{"CheckBox1"};
  TWinSpinEdit SpinEdit3{"SpinEdit3", 0, 23, 1, 0};
  TLabel Label5{"Label5"};
  TWinSpinEdit SpinEdit4{"SpinEdit4", 0, 59, 1, 0};
  TLabel Label6{"Label6"};
  TCheckBox CheckBox2{"CheckBox2"};
  TWinSpinEdit SpinEdit2{"SpinEdit2", 0, 23, 1, 0};
  TLabel Label7{"Label7"};
  TWinSpinEdit SpinEdit5{"SpinEdit5", 0, 59, 1, 0};
  TLabel Label14{"Label14"};
  TButton Button7{"Button7"};  // settings

  // menus
  TMenuItem mFile{"mFile", "ファイル(&F)"};
  TMenuItem mLoad{"mLoad", "ロードマクロ(&L)..."};
  TMenuItem mSave{"mSave", "セーブマクロ(&S)..."};
  TMenuItem N1{"N1", "-"};  // separators of the File menu
  TMenuItem mNewZep{"mNewZep", "ZEPXをもう一つ起動[管理者](&N)"};
  TMenuItem N2{"N2", "-"};
  TMenuItem mExit{"mExit", "終了(&E)"};
  TMenuItem mEdit{"mEdit", "編集(&E)"};
  TMenuItem mXYCopy{"mXYCopy", "座標コピー(&C)"};
  TMenuItem mXYPaste{"mXYPaste", "座標ペースト(&V)"};
  TMenuItem mSet{"mSet", "設定(&O)"};
  TMenuItem mSetting{"mSetting", "ZEPX設定...(&T)"};
  TMenuItem mHelp{"mHelp", "ヘルプ(&H)"};
  TMenuItem mAbout{"mAbout", "ZEPX Information(&U)"};
  // tray menu (PopupMenu1)
  TMenuItem N7{"N7", "元のサイズに戻す"};
  TMenuItem N3{"N3", "マクロを実行"};
  TMenuItem N5{"N5", "マクロを中止"};
  TMenuItem ZEPX1{"ZEPX1", "ZEPXを閉じる"};
  std::vector<TMenuItem*> PopupMenu1;

  // timers
  TTimer WaitTimer;
  TTimer Timer1;
  TTimer TDCheckTimer;

  // hot keys: components and the shortcut values they register
  THookHotKey HookHotKey1;  // stop key
  THookHotKey HookHotKey2;  // start key
  std::uint16_t HotKey1 = 0xC058;  // Ctrl+Alt+X
  std::uint16_t HotKey2 = 0xC053;  // Ctrl+Alt+S

  // ---- program-wide state ------------------------------------------------
  Settings settings;
  int PreviousSendMethod = kSendInput;
  bool LoadedFromCommandLine = false;
  std::string DialogInitialDir;   // open and save dialogs
  std::string SaveDialogFileName; // proposed by the next save

  // ---- macro files (shell/macro_io.cpp) -----------------------------------
  void LoadMacro(const std::string& path);
  void mLoadClick();
  void mSaveClick();
  void mFileClick();  // the File menu opened: Save follows the selection

  // ---- list display helpers (shell/main_form.cpp) -------------------------
  void RefreshCoordinateDisplay();  // selection-to-coordinates display
  void SetEditButtonsEnabled(bool enabled);
  void PostRadioGroupClick();  // the send-method switch
  bool WinMessageFlag() const { return settings.PostMouseChecked; }
  void GetAppButtonClick();    // refresh the target list

  // ---- run controller (run/run_controller.cpp) ---------------------------
  bool StopRequested = false;
  std::int32_t PassCount = 0;
  std::int32_t ChainRepeatCount = 0;
  std::int32_t ChainIndex = 0;
  std::vector<Hwnd> TargetHandles;

  void BitBtn1Click();
  void BitBtn3Click();
  void RunMacro();
  void EndOfPass();
  void StopMacro();
  void WaitMs(std::int32_t ms);
  void WaitTimerTimer();
  void Timer1Timer();
  void ToggleSendStatus();
  void LoopSpinEditChange();
  void NextLoopCheckClick();
  void Button6Click();
  bool Running() const { return run_depth_ > 0; }
  void ResolveTargetHandles();

  // ---- key and text sending (run/key_sender.cpp) ---------------------------
  std::vector<KeyRecord> InputRecords;
  void SendKeyCommand(int index);
  void AddKeyDownRecord(std::uint8_t vk);
  void AddKeyUpRecord(std::uint8_t vk);

  // ---- mouse sending (run/mouse_sender.cpp) -------------------------------
  void SendMouseCommand(int index);

  // ---- event actions (events/event_actions.cpp) ---------------------------
  void ExecuteEventActions(int event);

  // ---- settings store (settings/settings_store.cpp, shell/settings_host.cpp)
  void LoadSettings();
  void SaveSettings();
  void RecordLogoutTime();
  std::unique_ptr<SettingsHost> settings_host;

  // ---- hot keys (shell/hotkeys_main.cpp) ----------------------------------
  static std::string LetterFromIndex(int index);
  static std::uint16_t ShortcutFromLetter(const std::string& letter);
  void SetStartLetter(int index);  // HotKey2 and the Run caption
  void SetStopLetter(int index);   // HotKey1 and the Stop caption
  void HookHotKey1HotKey();
  void HookHotKey2HotKey();
  // The settings dialog was confirmed: take its letters and register both
  // keys afresh.
  void ApplyHotKeyLetters(int start_index, int stop_index);

  // ---- life cycle (shell/lifecycle.cpp) -------------------------------------
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void FormClose();
  void FormDestroy();
  void DeferredStartup();  // message 1025
  void DropFiles(const std::vector<std::string>& files);
  void OpenInNewInstance(const std::string& path);
  bool RunAsAdministrator(const std::string& file, const std::string& params);
  void mNewZepClick();
  void mAboutClick();
  void BitBtn6Click();
  void mExitClick();
  void ExitProgram();     // stop any run, then close
  void Close();           // close request (close box, exit paths, outside)
  bool Closed() const { return closed_; }
  void ShowHelp(int button);

  // ---- tray icon and translucency (shell/tray.cpp) ---------------------------
  bool InTray = false;
  NotifyIconData TrayIcon;
  std::uintptr_t TranslucencyLibrary = 0;
  void* SetLayeredWindowAttributesFn = nullptr;
  bool TranslucencyInitialised = false;
  void OnMinimize();
  void TrayCallback(std::uint32_t mouse_message);
  void RestoreFromTray();
  void N7Click();
  void N3Click();
  void N5Click();
  void ZEPX1Click();
  void SetTrayTip(const std::string& tip);
  void ReAddTrayIcon();
  void InitTranslucency();
  void SetTranslucency(int alpha);
  void TDCheckTimerTimer();

 private:
  int run_depth_ = 0;        // > 0 while BitBtn1Click is on the stack
  bool close_pending_ = false;
  bool closed_ = false;
  bool closing_ = false;     // the close sequence is under way
  void BuildControls();

  // run controller (run/run_controller.cpp)
  struct PendingWait {
    std::int64_t deadline;  // virtual or real ms of the message loop's clock
    bool elapsed;
  };
  std::vector<PendingWait*> waits_;  // waits in progress, innermost last
  unsigned stop_count_ = 0;          // StopMacro calls so far
  void RunRequest();
  void ExecuteLine(int index);
  void LoadChainFile(const std::string& path);
  bool ConfirmUnresolvedTargets();
  void RearmOuterWait();
};

}  // namespace zepx
