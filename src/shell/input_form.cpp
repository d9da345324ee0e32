#include "shell/input_form.h"

#include "shell/picker.h"

#include "model/command_line.h"
#include "shell/main_form.h"

namespace zepx {

namespace {

const char kKeypadNote[] =
    "[+]と[*]キーはテンキーコマンドの為、テンキーが無いPCの場合\r\n"
    "Shiftと同時押ししないと正しく出力されません。";

// ---- the command buttons ------------------------------------------------------
//
// Each button sits in a cell of its group's grid: columns `step` pixels
// apart from x 10, rows 30 pixels apart from y 20, every button `width`
// wide and 26 high. Widths leave room for a Japanese UI font at 9 pt (a
// full-width character about 12 pixels, any other at most 7).

constexpr int kButtonH = 26;
constexpr int kRowStep = 30;
constexpr int kFirstX = 10;
constexpr int kFirstY = 20;

struct KeyEntry {
  const char* name;
  const char* caption;
  int kind;  // the CommandBox entry it selects
  int col, row;
  bool keypad_note = false;  // "[+]" and "[*]" show kKeypadNote
};

struct GroupEntry {
  const char* name;
  const char* caption;
  Bounds bounds;
  int width, step;
  std::vector<KeyEntry> keys;
};

std::vector<GroupEntry> KeyGroups() {
  std::vector<GroupEntry> g;
  g.push_back({"EventGroup", "ZEP Event発行", {484, 34, 208, 54}, 92, 98,
               {{"BitBtn38", "ZEP Event 1", 82, 0, 0}, {"BitBtn39", "ZEP Event 2", 83, 1, 0}}});

  // "&" marks a mnemonic on a button; doubled it shows as itself.
  g.push_back({"ClickGroup", "クリック送信", {8, 92, 684, 54}, 104, 110,
               {{"BitBtn2", "L_Click", 1, 0, 0},
                {"BitBtn3", "R_Click", 2, 1, 0},
                {"BitBtn4", "L_DClick", 3, 2, 0},
                {"BitBtn5", "R_DClick", 4, 3, 0},
                {"BitBtn6", "L_Drag&&Drop", 5, 4, 0},
                {"BitBtn7", "R_Drag&&Drop", 6, 5, 0}}});

  GroupEntry f{"FunctionGroup", "ファンクションキー送信", {8, 150, 684, 54}, 50, 55, {}};
  // [F1] to [F11] are BitBtn9 to BitBtn19; [F12] came later as BitBtn27.
  static const char* const kFNames[] = {"BitBtn9",  "BitBtn10", "BitBtn11", "BitBtn12",
                                        "BitBtn13", "BitBtn14", "BitBtn15", "BitBtn16",
                                        "BitBtn17", "BitBtn18", "BitBtn19", "BitBtn27"};
  static const char* const kFCaptions[] = {"[F1]", "[F2]", "[F3]", "[F4]",  "[F5]",  "[F6]",
                                           "[F7]", "[F8]", "[F9]", "[F10]", "[F11]", "[F12]"};
  for (int k = 0; k < 12; ++k) f.keys.push_back({kFNames[k], kFCaptions[k], 8 + k, k, 0});
  g.push_back(std::move(f));

  GroupEntry a{"LetterGroup", "アルファベットキー送信", {8, 208, 684, 84}, 42, 47, {}};
  static const char* const kLetters[] = {"[A]", "[B]", "[C]", "[D]", "[E]", "[F]", "[G]",
                                         "[H]", "[I]", "[J]", "[K]", "[L]", "[M]", "[N]",
                                         "[O]", "[P]", "[Q]", "[R]", "[S]", "[T]", "[U]",
                                         "[V]", "[W]", "[X]", "[Y]", "[Z]"};
  static const char* const kLetterNames[] = {
      "Button1",  "Button2",  "Button3",  "Button4",  "Button5",  "Button6",  "Button7",
      "Button8",  "Button9",  "Button10", "Button11", "Button12", "Button13", "Button14",
      "Button15", "Button16", "Button17", "Button18", "Button19", "Button20", "Button21",
      "Button22", "Button23", "Button24", "Button25", "Button26"};
  for (int k = 0; k < 26; ++k) a.keys.push_back({kLetterNames[k], kLetters[k], 20 + k, k % 14, k / 14});
  a.keys.push_back({"Button31", "[@]", 46, 12, 1});
  g.push_back(std::move(a));

  // Laid out as on a numeric keypad: 7 8 9 / * over 4 5 6 - + over 1 2 3 0.
  g.push_back({"KeypadGroup", "テンキー送信", {8, 298, 202, 114}, 34, 37,
               {{"Button27", "[1]", 47, 0, 2},
                {"Button32", "[2]", 48, 1, 2},
                {"Button33", "[3]", 49, 2, 2},
                {"Button34", "[4]", 50, 0, 1},
                {"Button35", "[5]", 51, 1, 1},
                {"Button36", "[6]", 52, 2, 1},
                {"Button37", "[7]", 53, 0, 0},
                {"Button38", "[8]", 54, 1, 0},
                {"Button39", "[9]", 55, 2, 0},
                {"Button40", "[0]", 56, 3, 2},
                {"Button41", "[+]", 57, 4, 1, true},
                {"Button28", "[-]", 58, 3, 1},
                {"Button29", "[*]", 59, 4, 0, true},
                {"Button30", "[/]", 60, 3, 0}}});

  // A diamond: up on top, left and right beside the middle, down below.
  g.push_back({"ArrowGroup", "矢印カーソルキー送信", {216, 298, 150, 114}, 40, 44,
               {{"BitBtn40", "[↑]", 62, 1, 0},
                {"BitBtn41", "[↓]", 63, 1, 2},
                {"BitBtn42", "[←]", 64, 0, 1},
                {"BitBtn43", "[→]", 65, 2, 1}}});

  // Enter first, the modifier keys on a row of their own at the end.
  GroupEntry s{"SpecialGroup", "特殊キー送信", {8, 418, 684, 114}, 92, 96, {}};
  struct Special {
    const char* name;
    const char* caption;
  };
  static const Special kSpecial[] = {
      {"BitBtn20", "［Enter］"}, {"BitBtn21", "［End］"},   {"BitBtn22", "［Home］"},
      {"BitBtn23", "[PageUp]"},  {"BitBtn24", "［PageDown］"}, {"BitBtn25", "[Esc]"},
      {"BitBtn26", "[Space]"},   {"BitBtn28", "[Insert]"}, {"BitBtn29", "[Delete]"},
      {"BitBtn30", "[BS]"},      {"BitBtn31", "[PrtSc]"},  {"BitBtn32", "[Tab]"},
      {"BitBtn33", "[Windows]"}, {"BitBtn37", "[KANJI]"},  {"BitBtn34", "[Shift]"},
      {"BitBtn35", "[Alt]"},     {"BitBtn36", "[Ctrl]"}};
  // Enter is entry 61; the arrows (62 to 65) come between it and the rest.
  for (int k = 0; k < 17; ++k)
    s.keys.push_back({kSpecial[k].name, kSpecial[k].caption, k == 0 ? 61 : 65 + k, k % 7, k / 7});
  g.push_back(std::move(s));
  return g;
}

void Place(TControl& c, int x, int y, int w, int h) { c.bounds = Bounds{x, y, w, h}; }

}  // namespace

TInputForm::TInputForm(Platform& platform, TMainForm& main)
    : TForm("InputForm", "ZEPX コマンド入力フォーム"),
      platform_(platform),
      main_(main),
      alpha_(platform.translucency, [this] { return Handle(); }) {
  BuildControls();
  SpinEdit1.SetSounds(&platform_.dialogs);

  BitBtn1.OnClick = [this] { BitBtn1Click(); };
  ShiftCheck.OnClick = [this] { ModifierClick(ShiftCheck, main_.ShiftCheck); };
  AltCheck.OnClick = [this] { ModifierClick(AltCheck, main_.AltCheck); };
  CtrlCheck.OnClick = [this] { ModifierClick(CtrlCheck, main_.CtrlCheck); };
  ComboBoxEx1.OnSelect = [this] { ComboBoxEx1Select(); };
  SendTextEdit.OnEnter = [this] { SendTextEditEnter(); };
  GetAppButton.OnClick = [this] { GetAppButtonClick(); };
  BitBtn8.OnClick = [this] { BitBtn8Click(); };
  LayerBar.OnChange = [this] { LayerBarChange(); };
  FormCreate();
}

TInputForm::~TInputForm() = default;

void TInputForm::BuildControls() {
  ClientWidth = 700;
  ClientHeight = 540;

  AddCheckBox.SetCaption("ボタンをクリックすると同時にコマンド追加");
  Own(AddCheckBox);
  Place(AddCheckBox, 8, 8, 300, 20);
  Own(LayerBar);
  Place(LayerBar, 452, 4, 240, 28);

  WaitGroup.SetCaption("ウエイト送信");
  Own(WaitGroup);
  Place(WaitGroup, 8, 34, 200, 54);
  BitBtn1.SetCaption("時間(ミリ秒)");
  BitBtn1.Default = true;
  Own(BitBtn1, &WaitGroup);
  Place(BitBtn1, kFirstX, kFirstY, 96, kButtonH);
  SpinEdit1.Hint = "Max. 3600000ms(1h)";
  Own(SpinEdit1, &WaitGroup);
  Place(SpinEdit1, 112, 22, 80, 22);

  ModGroup.SetCaption("キーと同時押し(ｺﾏﾝﾄﾞが[Text]は無効)");
  Own(ModGroup);
  Place(ModGroup, 214, 34, 264, 54);
  ShiftCheck.SetCaption("Shift");
  Own(ShiftCheck, &ModGroup);
  Place(ShiftCheck, 14, 24, 64, 20);
  AltCheck.SetCaption("Alt");
  Own(AltCheck, &ModGroup);
  Place(AltCheck, 92, 24, 56, 20);
  CtrlCheck.SetCaption("Ctrl");
  Own(CtrlCheck, &ModGroup);
  Place(CtrlCheck, 162, 24, 60, 20);

  for (const GroupEntry& g : KeyGroups()) {
    key_groups_.push_back(std::make_unique<TGroupBox>(g.name));
    TGroupBox& box = *key_groups_.back();
    box.SetCaption(g.caption);
    box.bounds = g.bounds;
    Own(box);
    for (const KeyEntry& k : g.keys) {
      key_buttons_.push_back(std::make_unique<TButton>(k.name));
      TButton& b = *key_buttons_.back();
      b.SetCaption(k.caption);
      Place(b, kFirstX + k.col * g.step, kFirstY + k.row * kRowStep, g.width, kButtonH);
      Own(b, &box);
      const int kind = k.kind;
      if (k.keypad_note) b.OnClick = [this, kind] { KeypadButtonClick(kind); };
      else b.OnClick = [this, kind] { CommandButtonClick(kind); };
    }
  }

  // Beside the keypad and the arrows: the text or application field.
  ComboBoxEx1.SetItems({"送信文字列 [Text] →", "前面にするｱﾌﾟﾘ名 →"});
  Own(ComboBoxEx1);
  Place(ComboBoxEx1, 374, 306, 164, 22);
  GetAppButton.SetCaption("<< ｱﾌﾟﾘ更新");
  GetAppButton.SetEnabled(false);
  Own(GetAppButton);
  Place(GetAppButton, 544, 305, 96, 24);
  SendTextEdit.editable = true;
  Own(SendTextEdit);
  Place(SendTextEdit, 374, 340, 318, 22);
  BitBtn8.SetCaption("[確定]");
  Own(BitBtn8);
  Place(BitBtn8, 612, 374, 80, kButtonH);
}

TButton* TInputForm::KeyButton(const std::string& name) {
  for (auto& b : key_buttons_)
    if (b->Name == name) return b.get();
  return nullptr;
}

// ---- showing -------------------------------------------------------------------

void TInputForm::FormCreate() { ComboBoxEx1.SetItemIndex(0); }

void TInputForm::FormShow() { GetAppButtonClick(); }

void TInputForm::Open() {
  // The list is refreshed as the palette appears, not when it is only
  // brought to the front again.
  if (!Visible()) FormShow();
  Show();
}

// ---- the command buttons -----------------------------------------------------------

void TInputForm::CommandButtonClick(int kind) {
  main_.CommandBox.SetItemIndex(kind);
  if (AddCheckBox.Checked()) main_.AddButton.Click();
}

void TInputForm::BitBtn1Click() {
  main_.CommandBox.SetItemIndex(kKindWait);
  main_.SpinEdit1.SetValue(SpinEdit1.Value());
  if (AddCheckBox.Checked()) main_.AddButton.Click();
}

void TInputForm::KeypadButtonClick(int kind) {
  CommandButtonClick(kind);
  // Every time, added or not: the reminder is about the key itself.
  platform_.dialogs.MessageBox(kKeypadNote, MsgKind::Info);
}

// ---- modifiers -------------------------------------------------------------------------

void TInputForm::ModifierClick(TCheckBox& ours, TCheckBox& main) {
  if (mirroring_) return;
  main.SetChecked(ours.Checked());  // the main window's handler runs as for a click
}

void TInputForm::MirrorModifier(const std::string& name, bool checked) {
  TCheckBox* box = name == "ShiftCheck" ? &ShiftCheck
                   : name == "AltCheck" ? &AltCheck
                   : name == "CtrlCheck" ? &CtrlCheck
                                         : nullptr;
  if (!box) return;
  mirroring_ = true;
  box->SetChecked(checked);
  mirroring_ = false;
}

// ---- text and application field ---------------------------------------------------------

void TInputForm::ComboBoxEx1Select() {
  const bool app = ComboBoxEx1.ItemIndex() == 1;
  GetAppButton.SetEnabled(app);
  SendTextEdit.SetColor(app ? kColorSkyBlue : kColorWindow);
  SendTextEdit.SetFocus();
}

void TInputForm::SendTextEditEnter() {
  const bool app = ComboBoxEx1.ItemIndex() == 1;
  main_.CommandBox.SetItemIndex(app ? kKindFrontApp : kKindText);
  SendTextEdit.SetColor(app ? kColorSkyBlue : kColorWindow);
}

void TInputForm::BitBtn8Click() {
  if (SendTextEdit.Text().empty()) {
    SendTextEdit.SetFocus();
    return;
  }
  main_.SendTextEdit.SetText(SendTextEdit.Text());
  if (AddCheckBox.Checked()) main_.AddButton.Click();
  else Hide();
}

void TInputForm::GetAppButtonClick() {
  // The typed text stays; only the list is new.
  SendTextEdit.SetItems(PaletteTitleEntries(platform_.windows));
}

// ---- opacity ------------------------------------------------------------------------------

void TInputForm::LayerBarChange() { alpha_.Apply(LayerBar.Position()); }

}  // namespace zepx
