// The main window's controls: captions, items, initial states, tab order and
// layout. Bounds are 96-DPI pixels relative to the parent (the form's client
// area, or the group box a control sits in); the native side scales them.
//
// The layout, left to right: the batch list; then, in bands from the top,
// the composer with the list-editing buttons, the coordinate and target
// area with the send method, the two groups of waits and loops, and the
// timer group beside the big Run and Stop buttons. Widths leave room for a
// Japanese UI font at 9 pt (a full-width character is about 12 pixels).
#include "model/command_line.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

void Place(TControl& c, int x, int y, int w, int h) { c.bounds = Bounds{x, y, w, h}; }

// Rows inside the groups: an edit field is 22 high; the label beside it
// sits 3 pixels lower so that the texts share a baseline.
constexpr int kEditH = 22;
constexpr int kButtonH = 26;
constexpr int kLabelDy = 3;

}  // namespace

void TMainForm::BuildControls() {
  ClientWidth = 800;
  ClientHeight = 530;

  // ---- the batch list (left) ---------------------------------------------
  SendList.Hint = "ここに入力されたコマンドが上からループ処理されます";
  Own(SendList);
  Place(SendList, 8, 8, 262, 424);

  // ---- composer ------------------------------------------------------------
  std::vector<std::string> kinds(kCommandKinds.begin(), kCommandKinds.end());
  CommandBox.SetItems(std::move(kinds));
  CommandBox.SetItemIndex(kKindWait);
  Own(CommandBox);
  Place(CommandBox, 280, 8, 170, kEditH);

  SpinEdit1.Hint = "Max. 3600000ms(1h)";
  Own(SpinEdit1);
  Place(SpinEdit1, 456, 8, 100, kEditH);

  ComboBoxEx1.SetItems({"送信文字列 [Text] →", "前面にするｱﾌﾟﾘ名 →"});
  ComboBoxEx1.SetItemIndex(0);
  Own(ComboBoxEx1);
  Place(ComboBoxEx1, 280, 38, 150, kEditH);

  SendTextEdit.editable = true;
  Own(SendTextEdit);
  Place(SendTextEdit, 436, 38, 258, kEditH);

  GetAppButton2.SetCaption("<< ｱﾌﾟﾘ更新");
  GetAppButton2.SetEnabled(false);
  Own(GetAppButton2);
  Place(GetAppButton2, 700, 37, 92, 24);

  ModGroup.SetCaption("キーと同時押し( [Text]は無効)");
  Own(ModGroup);
  Place(ModGroup, 280, 66, 240, 46);
  ShiftCheck.SetCaption("Shift");
  Own(ShiftCheck, &ModGroup);
  Place(ShiftCheck, 12, 20, 64, 20);
  AltCheck.SetCaption("Alt");
  Own(AltCheck, &ModGroup);
  Place(AltCheck, 86, 20, 56, 20);
  CtrlCheck.SetCaption("Ctrl");
  Own(CtrlCheck, &ModGroup);
  Place(CtrlCheck, 152, 20, 60, 20);

  AddButton.SetCaption("ｺﾏﾝﾄﾞ追加");
  Own(AddButton);
  Place(AddButton, 598, 6, 95, kButtonH);
  DelButton.SetCaption("ｺﾏﾝﾄﾞ削除");
  DelButton.SetEnabled(false);
  Own(DelButton);
  Place(DelButton, 697, 6, 95, kButtonH);

  UpButton.SetCaption("上へ (Alt+&Q)");
  UpButton.SetEnabled(false);
  Own(UpButton);
  Place(UpButton, 528, 76, 98, kButtonH);
  DownButton.SetCaption("下へ (Alt+&A)");
  DownButton.SetEnabled(false);
  Own(DownButton);
  Place(DownButton, 630, 76, 98, kButtonH);
  ClearButton.SetCaption("クリア");
  ClearButton.Hint = "リストを全てクリア";
  ClearButton.SetEnabled(false);
  Own(ClearButton);
  Place(ClearButton, 732, 76, 60, kButtonH);

  // ---- coordinates and target ---------------------------------------------
  XYButton.SetCaption("マウス(ｷｰ/Text)送信先座標");
  Own(XYButton);
  Place(XYButton, 280, 122, 180, kButtonH);
  XCaption.SetCaption("X:");
  Own(XCaption);
  Place(XCaption, 466, 124 + kLabelDy, 14, 16);
  Own(XLabel);
  Place(XLabel, 480, 124, 64, kEditH);
  YCaption.SetCaption("Y:");
  Own(YCaption);
  Place(YCaption, 550, 124 + kLabelDy, 14, 16);
  Own(YLabel);
  Place(YLabel, 564, 124, 64, kEditH);
  XYCopy.SetCaption("座標Copy");
  XYCopy.SetEnabled(false);
  Own(XYCopy);
  Place(XYCopy, 634, 122, 78, kButtonH);
  XYPaste.SetCaption("座標Paste");
  XYPaste.SetEnabled(false);
  Own(XYPaste);
  Place(XYPaste, 714, 122, 78, kButtonH);

  AppLabel.SetCaption("送信先:");
  Own(AppLabel);
  Place(AppLabel, 280, 156 + kLabelDy, 52, 16);
  AppComboBox.editable = true;
  AppComboBox.max_length = 99;
  AppComboBox.SetEnabled(false);
  Own(AppComboBox);
  Place(AppComboBox, 334, 156, 268, kEditH);
  GetAppButton.SetCaption("<< ｱﾌﾟﾘ更新");
  GetAppButton.SetEnabled(false);
  Own(GetAppButton);
  Place(GetAppButton, 608, 155, 92, 24);
  Button4.SetCaption("?");
  Own(Button4);
  Place(Button4, 704, 155, 24, 24);

  AutoHandleCheckBox.SetCaption("ウインドウハンドルの数値が前回と変わっていても自動取得してコマンド実行");
  AutoHandleCheckBox.SetChecked(true);
  AutoHandleCheckBox.SetEnabled(false);
  Own(AutoHandleCheckBox);
  Place(AutoHandleCheckBox, 334, 182, 458, 20);

  PostRadioGroup.SetText("コマンド送信方法");
  PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
  PostRadioGroup.SetItemIndex(kSendInput);
  Own(PostRadioGroup);
  Place(PostRadioGroup, 280, 206, 482, 44);
  Button8.SetCaption("?");
  Own(Button8);
  Place(Button8, 768, 220, 24, 24);

  // ---- waits after commands --------------------------------------------------
  DelayGroup.SetCaption("コマンド送信後Wait設定");
  Own(DelayGroup);
  Place(DelayGroup, 280, 258, 252, 176);
  struct DelayRow {
    TLabel& label;
    const char* caption;
    TWinSpinEdit& edit;
    TButton& help;
    int y;
  };
  // The last row's label has two lines and gets the extra height.
  DelayRow rows[] = {
      {KeyDelayLabel, "キー送信後Wait：", KeyAfterDelay, Button1, 24},
      {ClickDelayLabel, "Click送信後Wait：", ClickAfterDelay, Button2, 54},
      {DragDelayLabel, "ドラッグWait：", DragDelay, Button3, 84},
      {SacDelayLabel, "Shift/Alt/Ctrl\r\n送信後Wait：", ShiftAltCtrlDelay, Button5, 124},
  };
  for (DelayRow& r : rows) {
    const bool two_lines = &r.label == &SacDelayLabel;
    r.label.SetCaption(r.caption);
    Own(r.label, &DelayGroup);
    Place(r.label, 10, two_lines ? r.y - 6 : r.y + kLabelDy, 122, two_lines ? 32 : 16);
    Own(r.edit, &DelayGroup);
    Place(r.edit, 134, r.y, 80, kEditH);
    r.help.SetCaption("?");
    Own(r.help, &DelayGroup);
    Place(r.help, 220, r.y - 1, 24, 24);
  }

  // ---- loops and counters -----------------------------------------------------
  LoopGroup.SetCaption("Loop設定");
  Own(LoopGroup);
  Place(LoopGroup, 540, 258, 252, 176);
  LoopLabel.SetCaption("指定Loop数:");
  Own(LoopLabel, &LoopGroup);
  Place(LoopLabel, 10, 22 + kLabelDy, 84, 16);
  Own(LoopSpinEdit, &LoopGroup);
  Place(LoopSpinEdit, 96, 22, 72, kEditH);
  LoopInfLabel.SetCaption("(0 = ∞)");
  Own(LoopInfLabel, &LoopGroup);
  Place(LoopInfLabel, 174, 22 + kLabelDy, 70, 16);

  NextLoopCheck.SetCaption("指定Loop後に別のマクロファイル実行");
  Own(NextLoopCheck, &LoopGroup);
  Place(NextLoopCheck, 10, 48, 238, 20);

  LoopAllLabel.SetCaption("Loop再実行数:");
  Own(LoopAllLabel, &LoopGroup);
  Place(LoopAllLabel, 10, 72 + kLabelDy, 84, 16);
  LoopSpinEditAll.SetEnabled(false);  // follows NextLoopCheck, unchecked
  Own(LoopSpinEditAll, &LoopGroup);
  Place(LoopSpinEditAll, 96, 72, 72, kEditH);
  LoopAllInfLabel.SetCaption("(0 = ∞)");
  Own(LoopAllInfLabel, &LoopGroup);
  Place(LoopAllInfLabel, 174, 72 + kLabelDy, 70, 16);

  Button6.SetCaption("マクロファイル設定");
  Own(Button6, &LoopGroup);
  Place(Button6, 10, 99, 134, kButtonH);
  SendStatus.SetCaption("送信");
  Own(SendStatus, &LoopGroup);
  Place(SendStatus, 160, 102, 80, 20);

  LoopCountCaption.SetCaption("Loop回数:");
  Own(LoopCountCaption, &LoopGroup);
  Place(LoopCountCaption, 10, 134, 62, 16);
  LoopCountLabel.SetCaption("0");
  Own(LoopCountLabel, &LoopGroup);
  Place(LoopCountLabel, 74, 134, 44, 16);
  LoopCountAllCaption.SetCaption("再実行回数:");
  Own(LoopCountAllCaption, &LoopGroup);
  Place(LoopCountAllCaption, 122, 134, 74, 16);
  LoopCountAllLabel.SetCaption("0");
  Own(LoopCountAllLabel, &LoopGroup);
  Place(LoopCountAllLabel, 198, 134, 48, 16);
  TimerCountCaption.SetCaption("Wait秒数:");
  Own(TimerCountCaption, &LoopGroup);
  Place(TimerCountCaption, 10, 153, 62, 16);
  TimerCountLabel.SetCaption("0");
  Own(TimerCountLabel, &LoopGroup);
  Place(TimerCountLabel, 74, 153, 44, 16);

  // ---- timed events -------------------------------------------------------------
  TimerGroup.SetCaption("ZEP Timer設定");
  Own(TimerGroup);
  Place(TimerGroup, 280, 440, 300, 82);
  struct EventRow {
    TCheckBox& check;
    const char* caption;
    TWinSpinEdit& hour;
    TLabel& hour_label;
    TWinSpinEdit& minute;
    TLabel& minute_label;
  };
  EventRow events[] = {
      {CheckBox1, "ZEP Event 1", SpinEdit3, Label5, SpinEdit4, Label6},
      {CheckBox2, "ZEP Event 2", SpinEdit2, Label7, SpinEdit5, Label14},
  };
  int y = 20;
  for (EventRow& e : events) {
    e.check.SetCaption(e.caption);
    Own(e.check, &TimerGroup);
    Place(e.check, 10, y + 1, 102, 20);
    Own(e.hour, &TimerGroup);
    Place(e.hour, 114, y, 52, kEditH);
    e.hour_label.SetCaption("時");
    Own(e.hour_label, &TimerGroup);
    Place(e.hour_label, 168, y + kLabelDy, 16, 16);
    Own(e.minute, &TimerGroup);
    Place(e.minute, 186, y, 52, kEditH);
    e.minute_label.SetCaption("分");
    Own(e.minute_label, &TimerGroup);
    Place(e.minute_label, 240, y + kLabelDy, 16, 16);
    y += 28;
  }
  Button7.SetCaption("設定");
  Own(Button7, &TimerGroup);
  Place(Button7, 258, 33, 36, kButtonH);

  // ---- run, stop, exit -------------------------------------------------------------
  BitBtn1.SetCaption("実行\r\n(Ctrl+Alt+S)");
  Own(BitBtn1);
  Place(BitBtn1, 588, 442, 100, 50);
  BitBtn3.SetCaption("待機\r\n(Ctrl+Alt+X)");
  Own(BitBtn3);
  Place(BitBtn3, 692, 442, 100, 50);
  BitBtn6.SetCaption("ZEPXを終了");
  Own(BitBtn6);
  Place(BitBtn6, 692, 496, 100, kButtonH);

  // ---- below the list: other windows and the status --------------------------------
  BitBtn4.SetCaption("リスト別窓");
  BitBtn4.Hint = "別ウインドウでリストを表示";
  Own(BitBtn4);
  Place(BitBtn4, 8, 438, 129, kButtonH);
  SpeedButton1.SetCaption("コマンド入力");
  SpeedButton1.Hint = "コマンド入力フォーム";
  Own(SpeedButton1);
  Place(SpeedButton1, 141, 438, 129, kButtonH);
  StatusLabel.SetCaption("待機中");
  Own(StatusLabel);
  Place(StatusLabel, 8, 474, 266, 32);
  Own(ClockLabel1);
  Place(ClockLabel1, 8, 508, 266, 16);
  // Event 2's clock only keeps time for its alarm: never shown, no window.
  ClockLabel2.SetVisible(false);

  // Recording, added later in the room under Run; created last, so that
  // the buttons before it keep their order.
  RecordButton.SetCaption(kRecordButtonStart);
  RecordButton.Hint = "キーボードとマウスの操作をコマンドとして記録";
  Own(RecordButton);
  Place(RecordButton, 588, 496, 100, kButtonH);

  // Picks bound to a window, added later in the band between the list's
  // buttons and the coordinates, and created last for the same reason.
  WindowPointCheck.SetCaption("ウインドウ基準の座標");
  WindowPointCheck.Hint = "座標指定で、ポインタの下のウインドウのクライアント領域を基準にした座標を取得";
  Own(WindowPointCheck);
  Place(WindowPointCheck, 530, 102, 144, 20);

  // The fields of the waits for a window or a colour, added later still:
  // the colour and its tolerance in the rest of that band, the stop at the
  // deadline beside the wait field that holds the deadline.
  WaitColorEdit.max_length = 6;
  WaitColorEdit.SetText("000000");
  WaitColorEdit.Hint = "色待ちの色 (RRGGBB、16進数)";
  Own(WaitColorEdit);
  Place(WaitColorEdit, 676, 102, 56, 20);
  WaitToleranceCaption.SetCaption("±");
  Own(WaitToleranceCaption);
  Place(WaitToleranceCaption, 734, 105, 10, 16);
  WaitToleranceEdit.Hint = "色の許容差 (R、G、Bそれぞれ 0～255)";
  Own(WaitToleranceEdit);
  Place(WaitToleranceEdit, 746, 102, 46, 20);
  WaitStopCheck.SetCaption("停止");
  WaitStopCheck.Hint = "ウインドウ待ち・色待ち: 待ち時間(ミリ秒)までに条件が揃わなければ実行を停止 (外すと次の行へ)";
  WaitStopCheck.SetChecked(true);
  Own(WaitStopCheck);
  Place(WaitStopCheck, 557, 9, 41, 20);

  // ---- menus ---------------------------------------------------------------------------
  mFile.children = {&mLoad, &mSave, &N1, &mNewZep, &N2, &mExit};
  mEdit.children = {&mXYCopy, &mXYPaste, &mRecord};
  mXYCopy.ShortCut = 16451;   // Ctrl+C
  mXYPaste.ShortCut = 16470;  // Ctrl+V
  mXYCopy.SetEnabled(false);
  mXYPaste.SetEnabled(false);
  mSet.children = {&mSetting};
  mHelp.children = {&mAbout, &mGuide};
  Menu = {&mFile, &mEdit, &mSet, &mHelp};
  PopupMenu1 = {&N7, &N3, &N5, &ZEPX1};
}

}  // namespace zepx
