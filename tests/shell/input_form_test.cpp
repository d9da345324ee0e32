// The command palette: what it does to the main window (kind selected in
// CommandBox, Add clicked, values and check boxes set), its application
// list, opacity and layout. Add is watched through AddButton.OnClick; the
// lines it composes are the composer's business.
#include <gtest/gtest.h>

#include <set>

#include "model/command_line.h"
#include "shell/input_form.h"
#include "shell/life_support.h"

namespace zepx {
namespace {

const char kKeypadNote[] =
    "[+]と[*]キーはテンキーコマンドの為、テンキーが無いPCの場合\r\nShiftと同時押ししないと正しく出力されません。";

class Palette : public LifeFixture, public ::testing::Test {
 protected:
  Palette() {
    palette.Bind(palette_native.get());
    form.InputForm = &palette;
    form.AddButton.OnClick = [this] {
      adds.push_back(form.CommandBox.ItemIndex());
      wait_at_add = form.SpinEdit1.Text();
    };
  }
  TButton& Key(const char* name) { return *palette.KeyButton(name); }

  std::unique_ptr<INativeForm> palette_native = fake.MakeNativeForm("TInputForm");
  TInputForm palette{fake.platform(), form};
  TMainForm& main = form;
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

}  // namespace
}  // namespace zepx
