#include "shell/main_form.h"

#include "shell/other_forms.h"
#include "shell/settings_host.h"

namespace zepx {

TMainForm::TMainForm(Platform& p, TApplication& app)
    : TForm("MainForm", "ZEPX"),
      platform(p),
      Application(app),
      TDCheckTimer("TDCheckTimer", p.loop, 5000),
      HookHotKey1(p, [this] { return Handle(); }),
      HookHotKey2(p, [this] { return Handle(); }),
      editor(batch, p.dialogs,
             {*this, SendList, CommandBox, AddButton, DelButton, UpButton, DownButton, ClearButton,
              XLabel, YLabel, XYCopy, XYPaste, mXYCopy, mXYPaste}),
      composer(batch, p.dialogs,
               {CommandBox, SpinEdit1, XLabel, YLabel, ShiftCheck, AltCheck, CtrlCheck, ComboBoxEx1,
                SendTextEdit, GetAppButton2, AppComboBox, AddButton},
               editor, [this] { return WinMessageFlag(); }),
      settings_host(std::make_unique<SettingsHost>(*this)) {
  BuildControls();
  for (const Child& c : Children())
    if (auto* spin = dynamic_cast<TWinSpinEdit*>(c.control)) spin->SetSounds(&platform.dialogs);

  // Every handler is wired here, so that a native click and a host test's
  // call run the same code.
  BitBtn1.OnClick = [this] { BitBtn1Click(); };
  BitBtn3.OnClick = [this] { BitBtn3Click(); };
  BitBtn6.OnClick = [this] { BitBtn6Click(); };
  Button6.OnClick = [this] { Button6Click(); };
  GetAppButton.OnClick = [this] { picker.GetAppButtonUserClick(); };
  LoopSpinEdit.OnChange = [this] { LoopSpinEditChange(); };
  LoopSpinEditAll.OnChange = [this] { LoopSpinEditChange(); };
  NextLoopCheck.OnClick = [this] { NextLoopCheckClick(); };
  PostRadioGroup.OnSelect = [this] { PostRadioGroupClick(); };
  // The user picks a row in the list: the batch follows, then the display.
  SendList.OnSelect = [this] {
    batch.Select(SendList.ItemIndex());
    RefreshCoordinateDisplay();
  };
  batch.OnChange = [this](Batch::Change c, int row) { MirrorBatch(c, row); };
  // A line added under a run is resolved for it at once.
  composer.LineAdded = [this](int row) { Engine().ResolveLine(row); };
  composer.BoundWindow = [this] { return picker.PickedWindow(); };
  editor.PointShown = [this](const std::string& line) { picker.PointShown(line); };
  BitBtn4.OnClick = [this] { if (SendListForm) SendListForm->Open(); };
  Button1.OnClick = [this] { ShowHelp(1); };
  Button2.OnClick = [this] { ShowHelp(2); };
  Button3.OnClick = [this] { ShowHelp(3); };
  Button4.OnClick = [this] { ShowHelp(4); };
  Button5.OnClick = [this] { ShowHelp(5); };
  Button8.OnClick = [this] { ShowHelp(8); };
  SpeedButton1.OnClick = [this] { SpeedButton1Click(); };

  mFile.OnClick = [this] { mFileClick(); };
  mLoad.OnClick = [this] { mLoadClick(); };
  mSave.OnClick = [this] { mSaveClick(); };
  mNewZep.OnClick = [this] { mNewZepClick(); };
  mExit.OnClick = [this] { mExitClick(); };
  mGuide.OnClick = [this] { mGuideClick(); };
  mAbout.OnClick = [this] { mAboutClick(); };
  mSetting.OnClick = [this] { mSettingClick(); };
  mRecord.OnClick = RecordButton.OnClick = [this] { mRecordClick(); };
  // The command palette clicks Add whatever its state: a recording keeps
  // the list to itself.
  AddButton.OnClick = [this, add = AddButton.OnClick] {
    if (!Recording()) add();
  };
  Button7.OnClick = [this] { Button7Click(); };
  N7.OnClick = [this] { N7Click(); };
  N3.OnClick = [this] { N3Click(); };
  N5.OnClick = [this] { N5Click(); };
  ZEPX1.OnClick = [this] { ZEPX1Click(); };

  TDCheckTimer.OnTimer = [this] { TDCheckTimerTimer(); };

  XYButton.OnClick = [this] { picker.XYButtonClick(); };
  MouseTimer.OnTimer = [this] { picker.MouseTimerTimer(); };
  GetAppButton2.OnClick = [this] { picker.GetAppButton2Click(); };
  XYCopy.OnClick = mXYCopy.OnClick = [this] { picker.XYCopyClick(); };
  XYPaste.OnClick = mXYPaste.OnClick = [this] { picker.XYPasteClick(); };
  SpinEdit1.OnEnter = [this] { picker.SpinEdit1Enter(); };
  XLabel.OnEnter = YLabel.OnEnter = [this] { picker.XLabelEnter(); };
  composer.UseWaitFields({WaitColorEdit, WaitToleranceEdit, WaitStopCheck});
  picker.UseColorField(WaitColorEdit);

  HookHotKey1.Activate = true;
  HookHotKey1.OnHotKey = [this](THookHotKey&, int) { HookHotKey1HotKey(); };
  HookHotKey2.Activate = false;
  HookHotKey2.OnHotKey = [this](THookHotKey&, int) { HookHotKey2HotKey(); };
}

TMainForm::~TMainForm() = default;

void TMainForm::MirrorBatch(Batch::Change change, int row) {
  switch (change) {
    case Batch::Change::Inserted: SendList.Insert(row, batch.Text(row)); break;
    case Batch::Change::Deleted: SendList.Delete(row); break;
    case Batch::Change::Replaced: SendList.SetItem(row, batch.Text(row)); break;
    case Batch::Change::Reset:
    case Batch::Change::Moved: SendList.SetItems(batch.Texts()); break;
    case Batch::Change::Selected: break;
  }
  if (SendList.ItemIndex() != batch.Selected()) SendList.SetItemIndex(batch.Selected());
  editor.BatchChanged(change);  // and the detached window's copy
}

void TMainForm::UserMessage(std::uint32_t msg, std::uintptr_t, std::intptr_t lparam) {
  if (msg == kMsgTrayCallback) TrayCallback(static_cast<std::uint32_t>(lparam));
}

}  // namespace zepx
