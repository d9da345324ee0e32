// The settings dialog's window: layout, OK and Cancel, and the main-window
// services its controls call. Bounds are 96-DPI pixels relative to the
// parent (the form, the page control, a page or a group box); widths leave
// room for a Japanese UI font at 9 pt (a full-width character is about 12
// pixels).
#include "shell/setting_form.h"

#include "shell/main_form.h"
#include "shell/settings_host.h"

namespace zepx {

namespace {

void Place(TControl& c, int x, int y, int w, int h) { c.bounds = Bounds{x, y, w, h}; }

constexpr int kEditH = 22;
constexpr int kButtonH = 24;
constexpr int kLabelDy = 3;  // a label beside a field shares its baseline
constexpr int kPageW = 452, kPageH = 340;

}  // namespace

TSettingForm::TSettingForm(Platform& platform, TMainForm& main)
    : TForm("SettingForm", "ZEPX設定"),
      SettingDialog(main.settings, platform, *this),
      main_(main) {
  BuildControls();
  BitBtn1.OnClick = [this] { BitBtn1Click(); };
  BitBtn2.OnClick = [this] { BitBtn2Click(); };
  FormCreate();
  // Each slot's selector shows the index the slot runs with, whoever
  // started the event (its alarm, an event line, a Test button).
  main_.event_actions.OnSlotRun = [this](int event, int slot, std::int32_t index) {
    ECombo(event, slot).SetItemIndex(index);
  };
}

TSettingForm::~TSettingForm() { main_.event_actions.OnSlotRun = nullptr; }

void TSettingForm::BuildControls() {
  ClientWidth = 480;
  ClientHeight = 428;

  Own(PageControl1);
  Place(PageControl1, 8, 8, kPageW + 12, kPageH + 36);
  for (TTabSheet* sheet : {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet4}) {
    Own(*sheet, &PageControl1);
    Place(*sheet, 6, 30, kPageW, kPageH);
  }

  // ---- "全般" ------------------------------------------------------------------
  TTabSheet* page = &TabSheet1;
  Own(OnTopCheck, page);
  Place(OnTopCheck, 10, 10, 430, 20);
  Own(MinCheck, page);
  Place(MinCheck, 10, 34, 430, 20);
  Own(AutoRunCheck, page);
  Place(AutoRunCheck, 10, 58, 430, 20);

  struct KeyRow {
    TLabel& label;
    TLabel& ctrl_alt;
    TComboBox& combo;
    int y;
  };
  for (const KeyRow& r : {KeyRow{StartKeyLabel, StartKeyCtrlAlt, StartKeyCombo, 92},
                          KeyRow{EndKeyLabel, EndKeyCtrlAlt, EndKeyCombo, 122}}) {
    Own(r.label, page);
    Place(r.label, 10, r.y + kLabelDy, 150, 16);
    Own(r.ctrl_alt, page);
    Place(r.ctrl_alt, 164, r.y + kLabelDy, 78, 16);
    Own(r.combo, page);
    Place(r.combo, 244, r.y, 56, kEditH);
  }

  Own(RadioGroup1, page);
  Place(RadioGroup1, 10, 156, 430, 46);
  Own(DefMCREdit, page);
  Place(DefMCREdit, 10, 208, 340, kEditH);
  Own(BitBtn4, page);
  Place(BitBtn4, 356, 207, 84, kButtonH);

  Own(LayerCaption, page);
  Place(LayerCaption, 10, 246, 300, 16);
  Own(LayerBar, page);
  Place(LayerBar, 6, 266, 364, 30);
  Own(LayeredLabel, page);
  Place(LayeredLabel, 378, 272, 40, 16);
  Own(LayerNote, page);
  Place(LayerNote, 10, 304, 430, 16);

  // ---- "ZEP Event" ---------------------------------------------------------------
  page = &TabSheet2;
  Own(EventHeading, page);
  Place(EventHeading, 10, 10, 430, 16);
  TGroupBox* groups[2] = {&Event1Group, &Event2Group};
  TLabel* slot_labels[2][5] = {
      {&SlotLabel11, &SlotLabel12, &SlotLabel13, &SlotLabel14, &SlotLabel15},
      {&SlotLabel21, &SlotLabel22, &SlotLabel23, &SlotLabel24, &SlotLabel25}};
  TButton* tests[2] = {&Button1, &Button2};
  for (int e = 0; e < 2; ++e) {
    TGroupBox& g = *groups[e];
    Own(g, page);
    Place(g, 10 + e * 220, 32, 212, 196);
    for (int s = 0; s < 5; ++s) {
      const int y = 22 + s * 28;
      Own(*slot_labels[e][s], &g);
      Place(*slot_labels[e][s], 12, y + kLabelDy, 14, 16);
      Own(ECombo(e + 1, s), &g);
      Place(ECombo(e + 1, s), 30, y, 170, kEditH);
    }
    Own(*tests[e], &g);
    Place(*tests[e], 30, 164, 80, kButtonH);
    TCheckBox& late = e == 0 ? LateCheck1 : LateCheck2;
    Own(late, &g);
    Place(late, 116, 166, 92, 20);
  }
  struct FileRow {
    TLabel& label;
    TEdit& edit;
    TButton& button;
    int y;
  };
  for (const FileRow& r : {FileRow{Exec1Label, Exec1Edit, BitBtn5, 238},
                           FileRow{Exec2Label, Exec2Edit, BitBtn6, 288}}) {
    Own(r.label, page);
    Place(r.label, 10, r.y, 340, 16);
    Own(r.edit, page);
    Place(r.edit, 10, r.y + 18, 340, kEditH);
    Own(r.button, page);
    Place(r.button, 356, r.y + 17, 84, kButtonH);
  }

  // ---- "Loop" --------------------------------------------------------------------
  page = &TabSheet3;
  Own(LoopHeading, page);
  Place(LoopHeading, 10, 10, 430, 16);
  Own(LoopNote, page);
  Place(LoopNote, 10, 30, 430, 16);
  TLabel* loop_labels[5] = {&LoopLabel1, &LoopLabel2, &LoopLabel3, &LoopLabel4, &LoopLabel5};
  TButton* loop_buttons[5] = {&BitBtn7, &BitBtn8, &BitBtn9, &BitBtn10, &BitBtn11};
  for (int i = 0; i < 5; ++i) {
    const int y = 60 + i * 34;
    Own(*loop_labels[i], page);
    Place(*loop_labels[i], 10, y + kLabelDy, 50, 16);
    Own(LoopEdit(i), page);
    Place(LoopEdit(i), 64, y, 286, kEditH);
    Own(*loop_buttons[i], page);
    Place(*loop_buttons[i], 356, y - 1, 84, kButtonH);
  }
  Own(LoopOfLoopCheck, page);
  Place(LoopOfLoopCheck, 10, 240, 430, 20);

  // ---- "キー送信" ------------------------------------------------------------------
  page = &TabSheet4;
  Own(KeysHeading, page);
  Place(KeysHeading, 10, 10, 430, 16);
  Own(ScanCodeCheck, page);
  Place(ScanCodeCheck, 10, 38, 430, 20);
  Own(KeyHoldLabel, page);
  Place(KeyHoldLabel, 10, 68 + kLabelDy, 230, 16);
  Own(KeyHoldSpin, page);
  Place(KeyHoldSpin, 244, 68, 70, kEditH);
  Own(UnicodeTextCheck, page);
  Place(UnicodeTextCheck, 10, 100, 430, 20);

  // ---- below the pages ----------------------------------------------------------------
  const int y = 8 + kPageH + 36 + 10;
  Own(BitBtn3);
  Place(BitBtn3, 8, y, 96, 28);
  BitBtn1.SetCaption("OK");
  Own(BitBtn1);
  Place(BitBtn1, 280, y, 90, 28);
  BitBtn2.SetCaption("キャンセル");
  Own(BitBtn2);
  Place(BitBtn2, 378, y, 94, 28);

  // ---- "全般", added later: recording, in the room the page had left
  //      (beside the hot keys, under the note); created last, so that the
  //      controls before them keep their order ---------------------------------
  page = &TabSheet1;
  Own(RecordMinLabel, page);
  Place(RecordMinLabel, 310, 92 + kLabelDy, 62, 16);
  Own(RecordMinEdit, page);
  Place(RecordMinEdit, 374, 92, 70, kEditH);
  Own(RecordMaxLabel, page);
  Place(RecordMaxLabel, 310, 122 + kLabelDy, 62, 16);
  Own(RecordMaxEdit, page);
  Place(RecordMaxEdit, 374, 122, 70, kEditH);
  Own(RecordMergeCheck, page);
  Place(RecordMergeCheck, 10, 321, 290, 18);
  Own(RecordMinimizeCheck, page);
  Place(RecordMinimizeCheck, 304, 321, 140, 18);
  BitBtn1.Default = true;
}

bool TSettingForm::Execute() {
  FormShow();
  confirmed_ = false;
  ShowModal();
  return confirmed_;
}

void TSettingForm::BitBtn1Click() {
  confirmed_ = true;
  Hide();  // ends the modal show
}

void TSettingForm::BitBtn2Click() {
  confirmed_ = false;
  Hide();
}

// ---- the main window, as the dialog sees it ----------------------------------------------

void TSettingForm::SetDialogInitialDir(const std::string& dir) { main_.DialogInitialDir = dir; }

void TSettingForm::SetTopmost(bool topmost) { main_.settings_host->SetTopmost(topmost); }

void TSettingForm::ApplyHotKeyLetters(int start_index, int stop_index) {
  main_.ApplyHotKeyLetters(start_index, stop_index);
}

void TSettingForm::SetTranslucency(int alpha) { main_.SetTranslucency(alpha); }

void TSettingForm::SetTDCheckTimer(bool enabled) { main_.TDCheckTimer.SetEnabled(enabled); }

void TSettingForm::ExecuteEventActions(int event) { main_.ExecuteEventActions(event); }

}  // namespace zepx
