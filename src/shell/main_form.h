// The main window: its controls by their form names, the batch list and the
// settings variables it owns, and thin handlers that forward to the logic
// (the run engine, the settings store, the macro-file reader and writer).
// Its behaviour is split by topic over the files named beside each group
// below; this header is the one place that lists its controls and state.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "edit/composer.h"
#include "edit/list_editor.h"
#include "events/clock_label.h"
#include "events/event_actions.h"
#include "events/timed_events.h"
#include "model/batch.h"
#include "model/send_method.h"
#include "platform/platform.h"
#include "record/record_session.h"
#include "run/run_engine.h"
#include "run/run_view.h"
#include "settings/settings.h"
#include "shell/hotkey.h"
#include "shell/picker.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace zepx {

class TSettingForm;
class TCutLineForm;
class TAboutForm;
class TSendListForm;
class TInputForm;
class SettingsHost;

// Custom messages of the main window.
constexpr std::uint32_t kMsgDeferredStartup = 1025;  // WM_USER + 1
constexpr std::uint32_t kMsgTrayCallback = 1124;     // WM_USER + 100

class TMainForm : public TForm,
                  public IRunSettings,
                  public IRunDisplay,
                  public IRunServices,
                  public IRecordView {
 public:
  TMainForm(Platform& platform, TApplication& app);
  ~TMainForm() override;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // From the native window.
  void CloseRequested() override { Close(); }
  void SessionEnding() override;
  void FilesDropped(const std::vector<std::string>& paths) override { DropFiles(paths); }
  void UserMessage(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) override;
  void ShellRestarted() override;

  Platform& platform;
  TApplication& Application;

  // The other windows, created after the main window (lifecycle.cpp).
  TSettingForm* SettingForm = nullptr;
  TCutLineForm* CutLineForm = nullptr;
  TAboutForm* AboutForm = nullptr;
  TSendListForm* SendListForm = nullptr;
  TInputForm* InputForm = nullptr;

  // ---- controls (main_form_layout.cpp creates and lays them out) ---------
  // The batch list: the lines, the selection and each line's resolved
  // target. SendList only mirrors it.
  Batch batch;
  TListBox SendList{"SendList"};
  TButton BitBtn1{"BitBtn1"};        // Run (its caption names the start hot key)
  TButton BitBtn3{"BitBtn3"};        // Stop (its caption names the stop hot key)
  TButton BitBtn6{"BitBtn6"};        // exit ZEPX
  TButton RecordButton{"RecordButton"};  // starts and ends a recording, as mRecord
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
  TCheckBox WindowPointCheck{"WindowPointCheck"};  // picks points bound to a window

  // waits for a window or a colour: the colour, its tolerance and what the
  // deadline does (the deadline is SpinEdit1's, the title SendTextEdit's)
  TEdit WaitColorEdit{"WaitColorEdit"};
  TLabel WaitToleranceCaption{"WaitToleranceCaption"};
  TWinSpinEdit WaitToleranceEdit{"WaitToleranceEdit", 0, 255, 1, 16};
  TCheckBox WaitStopCheck{"WaitStopCheck"};

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
  // The clocks that schedule the two events; ClockLabel2 is never shown
  // and has no window.
  TClockLabel ClockLabel1{"ClockLabel1", platform.loop, platform.clock};
  TClockLabel ClockLabel2{"ClockLabel2", platform.loop, platform.clock};

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
  TMenuItem mRecord{"mRecord", kRecordStartCaption};
  TMenuItem mSet{"mSet", "設定(&O)"};
  TMenuItem mSetting{"mSetting", "ZEPX設定...(&T)"};
  TMenuItem mHelp{"mHelp", "ヘルプ(&H)"};
  TMenuItem mGuide{"mGuide", "使い方ガイド(&G)"};
  TMenuItem mAbout{"mAbout", "ZEPX Information(&U)"};
  // tray menu (PopupMenu1)
  TMenuItem N7{"N7", "元のサイズに戻す"};
  TMenuItem N3{"N3", "マクロを実行"};
  TMenuItem N5{"N5", "マクロを中止"};
  TMenuItem ZEPX1{"ZEPX1", "ZEPXを閉じる"};
  std::vector<TMenuItem*> PopupMenu1;

  // timers (the run's own, WaitTimer and Timer1, are the engine's)
  TTimer TDCheckTimer;
  TTimer MouseTimer{"MouseTimer", platform.loop, kMouseTimerInterval};  // the window picker

  // hot keys: components and the shortcut values they register
  THookHotKey HookHotKey1;  // the stop key, registered only during a run
  THookHotKey HookHotKey2;  // the start key, registered for the window's life
  std::uint16_t HotKey1 = 0xC058;  // the stop key's shortcut, Ctrl+Alt+X
  std::uint16_t HotKey2 = 0xC053;  // the start key's shortcut, Ctrl+Alt+S

  // ---- window picker, application lists, coordinate copy and paste
  //      (shell/picker.*) ---------------------------------------------------
  WindowPicker picker{platform, batch,
                      {CommandBox, StatusLabel, XLabel, YLabel, AppComboBox, SendTextEdit, XYCopy,
                       XYPaste, MouseTimer, WindowPointCheck},
                      [this] { return Handle(); }, [this] { RefreshCoordinateDisplay(); }};
  // ---- composing and editing the list (edit/composer.*, edit/list_editor.*);
  //      they wire the controls they serve ----------------------------------
  ListEditor editor;
  Composer composer;

  // ---- recording (record/*; the window forwards and shows, in
  //      shell/main_form_record.cpp) ----------------------------------------
  RecordSession recording{platform, *this};
  void mRecordClick();  // starts a recording, or ends the one going on
  bool Recording() const { return recording.Recording(); }
  RecordOptions RecordOptionsNow();
  void ShowRecordStatus(const std::string& text) override { StatusLabel.SetCaption(text); }
  void ShowRecording(bool on) override;
  void PlaceRecordedLines(const std::vector<std::string>& lines) override { composer.Place(lines); }
  bool MinimizedForRecording = false;  // by the option, to be restored at the end

  // ---- program-wide state ------------------------------------------------
  Settings settings;
  int PreviousSendMethod = kSendInput;
  bool LoadedFromCommandLine = false;
  bool DroppedFileToRun = false;  // one macro file was dropped and loaded
  std::string DialogInitialDir;   // open and save dialogs
  std::string SaveDialogFileName; // proposed by the next save

  // ---- macro files (shell/macro_io.cpp) -----------------------------------
  bool LoadMacro(const std::string& path);  // false when nothing was loaded
  void mLoadClick();
  void mSaveClick();
  void mFileClick();  // the File menu opened: Save follows the selection

  // ---- list display and send method (shell/macro_io.cpp) -----------------
  void RefreshCoordinateDisplay();  // selection-to-coordinates display
  void SetEditButtonsEnabled(bool enabled);
  void PostRadioGroupClick();  // the send-method switch
  // The WinMessage flag (PostMouseChecked): the send method is WinMessage.
  bool WinMessageFlag() override { return settings.PostMouseChecked; }
  void GetAppButtonClick() { picker.GetAppButtonClick(); }  // refresh the target list

  // ---- the run (run/run_engine.*; the window forwards and shows, in
  //      shell/main_form_run.cpp) ------------------------------------------
  // The program owns the run engine and hands it over here before the
  // window is used. A window used on its own (host tests of the window)
  // makes an engine of its own the first time it needs one.
  void Drive(RunEngine& engine) { engine_ = &engine; }
  RunEngine& Engine();
  void BitBtn1Click() { RequestRun(RunSource::User); }  // Run
  // Requests a run; returns when it has ended or was refused.
  void RequestRun(RunSource source);
  void BitBtn3Click() { StopMacro(); }  // Stop
  void StopMacro() { Engine().Stop(); }
  void WaitMs(std::int32_t ms) { Engine().WaitMs(ms); }
  bool Running() const { return engine_ && engine_->Running(); }
  void LoopSpinEditChange();
  void NextLoopCheckClick();
  void Button6Click();

  // IRunSettings: the run settings, read live
  int SendMethod() override { return PostRadioGroup.ItemIndex(); }
  std::int32_t DelayMs(Delay d) override;
  std::int32_t PassesWanted() override;
  bool ChainEnabled() override { return NextLoopCheck.Checked(); }
  std::string ChainFile(int index) override;
  bool ChainRepeats() override { return settings.LoopOfLoopChecked; }
  std::int32_t ChainRepeatsWanted() override;
  bool AutoHandle() override { return AutoHandleCheckBox.Checked(); }
  // The letter of the key registered, not of the setting a cancelled dialog changed.
  std::string StopKeyLetter() override { return HotKey1 ? std::string(1, static_cast<char>(HotKey1 & 0xFF)) : ""; }
  bool ScanCodes() override { return settings.ScanCodeChecked; }
  std::int32_t KeyHoldMs() override { return settings.KeyHoldTime; }
  bool TextAsWritten() override { return settings.UnicodeTextChecked; }
  // IRunDisplay: the run's state shown
  void ShowStatus(const std::string& text) override { StatusLabel.SetCaption(text); }
  void ShowRunning() override;
  void ShowIdle() override;
  void ShowPassCount(std::int32_t n) override { LoopCountLabel.SetCaption(std::to_string(n)); }
  void ShowChainRepeatCount(std::int32_t n) override { LoopCountAllLabel.SetCaption(std::to_string(n)); }
  void ShowWaitSeconds(std::int32_t n) override { TimerCountLabel.SetCaption(std::to_string(n)); }
  void ToggleSendStatus() override { SendStatus.SetChecked(!SendStatus.Checked()); }
  void ShowDelayActive(Delay d, bool active) override;
  void RefreshCoordinates() override { RefreshCoordinateDisplay(); }
  Point CoordinatesShown() override;
  // IRunServices
  void RefreshApplicationList() override { GetAppButtonClick(); }
  std::vector<std::string> ApplicationList() override { return AppComboBox.Items(); }
  void RegisterStopKey() override { HookHotKey1.RegisterKey(1, HotKey1); }
  void UnregisterStopKey() override { HookHotKey1.UnregisterKey(1); }
  void LoadChainFile(const std::string& path) override;
  void ExecuteEventActions(int event) override;
  void ShowBalloon(const std::string& title, const std::string& text) override;
  void StartAdministratorInstance() override { mNewZepClick(); }

  // ---- timed events: arming from the check boxes and time fields, the
  //      alarms, and the actions (events/timed_events.*, event_actions.*;
  //      the actions' hooks in shell/main_form_events.cpp) ----------------
  TimedEvents timed_events{{CheckBox1, SpinEdit3, Label5, SpinEdit4, Label6, ClockLabel1},
                           {CheckBox2, SpinEdit2, Label7, SpinEdit5, Label14, ClockLabel2},
                           [this](int event) { ExecuteEventActions(event); },
                           [this](int event, const std::string& minute) { event_actions.ExecuteLate(event, minute); }};
  EventActions event_actions{settings, platform, EventActionHooks()};
  EventActions::Hooks EventActionHooks();

  // ---- settings store (settings/settings_store.*, through shell/settings_host.*)
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
  void mGuideClick();  // the user's guide that ships beside the program
  void SpeedButton1Click();  // the command palette
  void mSettingClick();  // the settings dialog, applied on OK
  void Button7Click();   // the same, on its "ZEP Event" page
  void BitBtn6Click();
  void mExitClick();
  void ExitProgram();     // stop any run, then close
  void Close();           // close request (close box, exit paths, outside)
  bool Closed() const { return closed_; }
  void ShowHelp(int button);

  // ---- tray icon and translucency (shell/tray.cpp) ---------------------------
  bool InTray = false;
  NotifyIconData TrayIcon;
  // Outside the tray a warning needs an icon to come from: this one is
  // shown for a run and taken away when it ends.
  NotifyIconData BalloonIcon;
  bool BalloonShown = false;
  void RemoveBalloonIcon();
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
  bool close_pending_ = false;  // a close asked for during a run
  bool closed_ = false;
  bool closing_ = false;     // the close sequence is under way
  void BuildControls();
  void MirrorBatch(Batch::Change change, int row);  // into SendList
  TWinSpinEdit& DelayBox(Delay d);
  RunEngine* engine_ = nullptr;
  std::unique_ptr<RunEngine> own_engine_;  // last: goes first
};

}  // namespace zepx
