// The command palette: what it does to the main window (kind selected in
// CommandBox, Add clicked, values and check boxes set), its application
// list, opacity and layout. Add is watched through AddButton.OnClick; the
// lines it composes are the composer's business.
#include <gtest/gtest.h>

#include <set>

#include "model/command_line.h"
#include "platform/fake/fake_platform.h"
#include "shell/input_form.h"
#include "shell/main_form.h"
#include "shell/program.h"
#include "ui/fake/fake_native_form.h"

namespace zepx {
namespace {

const char kKeypadNote[] =
    "[+]と[*]キーはテンキーコマンドの為、テンキーが無いPCの場合\r\nShiftと同時押ししないと正しく出力されません。";

class Palette : public ::testing::Test {
 protected:
  Palette() {
    main.Bind(main_native.get());
    palette.Bind(palette_native.get());
    main.InputForm = &palette;
    main.AddButton.OnClick = [this] {
      adds.push_back(main.CommandBox.ItemIndex());
      wait_at_add = main.SpinEdit1.Text();
    };
  }
  TButton& Key(const char* name) { return *palette.KeyButton(name); }

  FakePlatform fake;
  TApplication app;
  std::unique_ptr<INativeForm> main_native = MakeNativeForm(fake, "TMainForm");
  std::unique_ptr<INativeForm> palette_native = MakeNativeForm(fake, "TInputForm");
  TMainForm main{fake.platform(), app};
  TInputForm palette{fake.platform(), main};
  std::vector<int> adds;  // the kind CommandBox showed at each click on Add
  std::string wait_at_add;
};

// The entry of the main window's kind list that a button's caption names.
std::string KindNamed(std::string c) {
  for (auto [from, to] : {std::pair{"［", "["}, {"］", "]"}, {"&&", "&"}, {"[BS]", "[BackSpace]"}})
    if (auto p = c.find(from); p != std::string::npos) c.replace(p, std::string(from).size(), to);
  return c.rfind("ZEP Event", 0) == 0 ? "【" + c + "】" : c;
}

TEST_F(Palette, EachCommandButtonSelectsTheKindItsCaptionNamesAndNothingElse) {
  int user_picks = 0;
  main.CommandBox.OnSelect = [&] { ++user_picks; };
  std::set<int> kinds;
  for (const TForm::Child& c : palette.Children()) {
    auto* b = dynamic_cast<TButton*>(c.control);
    if (!b || !c.parent || b == &palette.BitBtn1) continue;
    main.CommandBox.SetItemIndex(-1);
    b->Click();
    const int k = main.CommandBox.ItemIndex();
    ASSERT_GE(k, 0) << b->Name;
    EXPECT_EQ(main.CommandBox.Item(k), KindNamed(b->Caption())) << b->Name;
    EXPECT_TRUE(kinds.insert(k).second) << b->Name << " selects a kind another button selects";
  }
  // Every kind but the wait (BitBtn1), [Text] and the front-app kind.
  EXPECT_EQ(kinds.size(), kCommandKindCount - 3);
  EXPECT_FALSE(kinds.count(kKindWait) || kinds.count(kKindText) || kinds.count(kKindFrontApp));
  EXPECT_TRUE(adds.empty() && user_picks == 0);
  // The names whose numbering is out of step with their places.
  for (auto [name, caption] : {std::pair{"BitBtn27", "[F12]"}, {"Button31", "[@]"}, {"Button27", "[1]"},
                               {"Button40", "[0]"}, {"Button41", "[+]"}, {"Button29", "[*]"},
                               {"BitBtn20", "［Enter］"}, {"BitBtn30", "[BS]"}, {"BitBtn37", "[KANJI]"}})
    EXPECT_EQ(Key(name).Caption(), caption) << name;
}

TEST_F(Palette, TheWaitButtonCopiesItsValueFirstAndIsTheDefaultButton) {
  main.CommandBox.SetItemIndex(12);
  palette.SpinEdit1.FromNativeText("2500");
  palette.BitBtn1.Click();
  EXPECT_TRUE(main.CommandBox.ItemIndex() == kKindWait && main.SpinEdit1.Text() == "2500" && adds.empty());

  palette.AddCheckBox.SetChecked(true);
  palette.SpinEdit1.FromNativeText("");  // an emptied field reads as its minimum
  palette.BitBtn1.Click();
  EXPECT_TRUE(adds == std::vector<int>{kKindWait} && wait_at_add == "1");

  for (const TForm::Child& c : palette.Children())
    if (auto* b = dynamic_cast<TButton*>(c.control)) EXPECT_EQ(b->Default, b == &palette.BitBtn1) << b->Name;
}

TEST_F(Palette, WithAutoAddButtonsClickAddAfterTheKindAndPlusAndStarAddTheKeypadNote) {
  std::vector<std::size_t> adds_before_box;
  fake.on_box = [&](const FakePlatform::Box&) -> std::optional<MsgResult> {
    adds_before_box.push_back(adds.size());
    return std::nullopt;
  };
  palette.AddCheckBox.SetChecked(true);
  Key("Button41").Click();
  Key("Button28").Click();  // [-]: no note
  Key("Button29").Click();
  Key("BitBtn6").Click();   // L_Drag&Drop
  palette.AddCheckBox.SetChecked(false);
  Key("Button41").Click();
  EXPECT_EQ(adds, (std::vector<int>{57, 58, 59, 5}));
  EXPECT_EQ(adds_before_box, (std::vector<std::size_t>{1, 3, 4}));
  for (const auto& b : fake.boxes) EXPECT_EQ(b.text, kKeypadNote);
}

TEST_F(Palette, TheTextFieldPicksTextOrFrontAppAndConfirmCopiesItsText) {
  EXPECT_TRUE(palette.ComboBoxEx1.ItemIndex() == 0 && !palette.GetAppButton.Enabled());
  palette.ComboBoxEx1.FromNativeSelect(1);  // the focus moves into the field, nothing typed
  EXPECT_TRUE(palette.GetAppButton.Enabled() && palette.SendTextEdit.Color() == kColorSkyBlue);
  EXPECT_EQ(main.CommandBox.ItemIndex(), kKindFrontApp);
  palette.SendTextEdit.FromNativeFocus(false);
  palette.ComboBoxEx1.FromNativeSelect(0);
  EXPECT_TRUE(!palette.GetAppButton.Enabled() && palette.SendTextEdit.Color() == kColorWindow);
  EXPECT_EQ(main.CommandBox.ItemIndex(), kKindText);

  palette.Show();
  palette.SendTextEdit.FromNativeFocus(false);
  palette.BitBtn8.Click();  // empty: only the focus moves
  EXPECT_TRUE(palette.SendTextEdit.Focused() && palette.Visible() && main.SendTextEdit.Text().empty());
  palette.SendTextEdit.FromNativeText("メモ帳");
  palette.BitBtn8.Click();
  EXPECT_TRUE(main.SendTextEdit.Text() == "メモ帳" && !palette.Visible());
  palette.Show();
  palette.AddCheckBox.SetChecked(true);
  palette.SendTextEdit.FromNativeText("abc");
  palette.BitBtn8.Click();
  EXPECT_TRUE(main.SendTextEdit.Text() == "abc" && palette.Visible());
  EXPECT_EQ(adds, std::vector<int>{kKindText});
}

TEST_F(Palette, ModifierBoxesFollowEachOtherWithoutEcho) {
  int main_handler_runs = 0;
  for (TCheckBox* b : {&main.ShiftCheck, &main.AltCheck, &main.CtrlCheck}) b->OnClick = [&] { ++main_handler_runs; };
  palette.ShiftCheck.FromNativeClick();
  palette.CtrlCheck.FromNativeClick();
  palette.CtrlCheck.FromNativeClick();
  EXPECT_TRUE(main.ShiftCheck.Checked() && !main.CtrlCheck.Checked() && main_handler_runs == 3);

  // The main window's boxes were clicked: its handlers call this.
  palette.MirrorModifier("AltCheck", true);
  palette.MirrorModifier("ShiftCheck", false);
  palette.MirrorModifier("Shift", true);
  EXPECT_TRUE(palette.AltCheck.Checked() && !palette.ShiftCheck.Checked());
  EXPECT_FALSE(main.AltCheck.Checked());  // not sent back
  EXPECT_EQ(main_handler_runs, 3);
}

TEST_F(Palette, OpensWithAFreshApplicationListAndKeepsItsStateWhileHidden) {
  fake.AddWindow("", "Untitled");
  fake.AddWindow("Program Manager", "Progman");
  fake.AddWindow("メモ帳", "Notepad");
  palette.SendTextEdit.FromNativeText("typed");
  palette.ComboBoxEx1.FromNativeSelect(1);
  palette.AltCheck.SetChecked(true);
  palette.LayerBar.SetPosition(180);
  main.SpeedButton1.Click();
  EXPECT_TRUE(palette.Visible());
  EXPECT_EQ(palette.SendTextEdit.Items(), (std::vector<std::string>{"メモ帳", ""}));
  fake.AddWindow("電卓", "Calc");
  main.SpeedButton1.Click();  // already open: the list stays
  EXPECT_EQ(palette.SendTextEdit.Count(), 2);

  palette.CloseRequested();  // the close box hides it
  main.SpeedButton1.Click();
  EXPECT_EQ(palette.SendTextEdit.Items(), (std::vector<std::string>{"電卓", "メモ帳", ""}));
  EXPECT_TRUE(palette.SendTextEdit.Text() == "typed" && palette.ComboBoxEx1.ItemIndex() == 1 &&
              palette.AltCheck.Checked() && palette.LayerBar.Position() == 180);
}

TEST_F(Palette, TheLayerBarSetsThePalettesOwnOpacityAndOpaqueEndsBlending) {
  const auto layered = [&](Hwnd h) { return (fake.FindWindowByHandle(h)->ex_style & win::WS_EX_LAYERED) != 0; };
  palette.LayerBar.SetPosition(40);  // below the range: 100, the faintest
  EXPECT_TRUE(layered(palette.Handle()));
  EXPECT_EQ(fake.FindWindowByHandle(palette.Handle())->alpha, 100);
  palette.LayerBar.FromNativePosition(254);
  EXPECT_EQ(fake.FindWindowByHandle(palette.Handle())->alpha, 254);
  palette.LayerBar.FromNativePosition(255);
  EXPECT_FALSE(layered(palette.Handle()) || layered(main.Handle()));
  EXPECT_EQ(fake.Texts({"LoadLibraryA"}).size(), 1u);
}

TEST(PaletteProgram, CreatedHiddenAtStartUpAndOpenedFromTheMainWindow) {
  FakePlatform fake;
  Program p(fake.platform());
  p.Start();
  ASSERT_EQ(p.MainForm->InputForm, p.InputForm.get());
  EXPECT_TRUE(p.InputForm->Caption() == "ZEPX コマンド入力フォーム" && !p.InputForm->Visible());
  p.MainForm->SpeedButton1.Click();
  EXPECT_TRUE(p.InputForm->Visible());
}

// Width of a cp932 caption in a 9 pt Japanese UI font at 96 DPI, on the
// wide side: 12 pixels a double-byte character, 7 any other; a single "&"
// marks a mnemonic and takes no room.
int TextWidth(const std::string& t) {
  int w = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const auto b = static_cast<unsigned char>(t[i]);
    if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) w += 12, ++i;
    else if (b != '&' || (i + 1 < t.size() && t[++i] == '&')) w += 7;
  }
  return w;
}

TEST_F(Palette, EveryControlSitsInsideItsParentClearOfItsNeighboursWithRoomForItsCaption) {
  const auto& kids = palette.Children();
  for (std::size_t i = 0; i < kids.size(); ++i) {
    const Bounds& b = kids[i].control->bounds;
    const std::string& name = kids[i].control->Name;
    // Inside a group: below its caption and inside its frame.
    const int top = kids[i].parent ? 14 : 0, side = kids[i].parent ? 4 : 0;
    const int w = kids[i].parent ? kids[i].parent->bounds.w : palette.ClientWidth;
    const int h = kids[i].parent ? kids[i].parent->bounds.h : palette.ClientHeight;
    EXPECT_TRUE(b.x >= side && b.y >= top && b.x + b.w <= w - side && b.y + b.h <= h - side / 2) << name;
    for (std::size_t j = i + 1; j < kids.size(); ++j) {
      const Bounds& o = kids[j].control->bounds;
      EXPECT_FALSE(kids[i].parent == kids[j].parent && b.x < o.x + o.w && o.x < b.x + b.w &&
                   b.y < o.y + o.h && o.y < b.y + b.h) << name << " overlaps " << kids[j].control->Name;
    }
    if (const auto* label = dynamic_cast<const TLabel*>(kids[i].control)) {
      const int pad = dynamic_cast<const TCheckBox*>(label) ? 18 : dynamic_cast<const TButton*>(label) ? 12 : 16;
      EXPECT_LE(TextWidth(label->Caption()) + pad, b.w) << name;
    }
  }
}

}  // namespace
}  // namespace zepx
