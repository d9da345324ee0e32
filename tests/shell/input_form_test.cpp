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

  std::unique_ptr<INativeForm> palette_native = MakeNativeForm(fake, "TInputForm");
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

// Each command button selects the kind its caption names, one kind a
// button, every kind but the wait, [Text] and the front-app kind; with
// AddCheckBox it clicks Add after; [+] and [*] add the keypad note, after
// the add and whether or not they add.
TEST_F(Palette, EachCommandButtonSelectsTheKindItsCaptionNames) {
  int user_picks = 0;
  main.CommandBox.OnSelect = [&] { ++user_picks; };
  std::vector<std::size_t> adds_before_box;
  fake.on_box = [&](const FakePlatform::Box&) -> std::optional<MsgResult> {
    adds_before_box.push_back(adds.size());
    return std::nullopt;
  };
  std::set<int> kinds;
  for (bool add : {false, true}) {
    palette.AddCheckBox.SetChecked(add);
    for (const TForm::Child& c : palette.Children()) {
      auto* b = dynamic_cast<TButton*>(c.control);
      if (!b || !c.parent || b == &palette.BitBtn1) continue;
      main.CommandBox.SetItemIndex(-1);
      const std::size_t boxes = fake.boxes.size(), added = adds.size();
      b->Click();
      const int k = main.CommandBox.ItemIndex();
      ASSERT_GE(k, 0) << b->Name;
      EXPECT_EQ(main.CommandBox.Item(k), KindNamed(b->Caption())) << b->Name;
      EXPECT_EQ(adds.size(), added + add) << b->Name;
      const bool note = k == 57 || k == 59;
      EXPECT_EQ(fake.boxes.size(), boxes + note) << b->Name << ": the keypad note for [+] and [*]";
      if (note) EXPECT_EQ(adds_before_box.back(), added + add) << b->Name << ": the note comes after the add";
      if (!add) EXPECT_TRUE(kinds.insert(k).second) << b->Name << " selects a kind another button selects";
    }
  }
  EXPECT_EQ(kinds.size(), kCommandKindCount - 3 - kWaitForKindCount);  // no buttons for the waits
  EXPECT_FALSE(kinds.count(kKindWait) || kinds.count(kKindText) || kinds.count(kKindFrontApp));
  EXPECT_EQ(user_picks, 0) << "the kind is set, not picked: no reactions of a user's pick";
  for (const auto& b : fake.boxes) EXPECT_EQ(b.text, kKeypadNote);
}

// The wait button copies its value first (an emptied field reads as its
// minimum) and is the palette's default button.
TEST_F(Palette, TheWaitButton) {
  main.CommandBox.SetItemIndex(12);
  palette.SpinEdit1.FromNativeText("2500");
  palette.BitBtn1.Click();
  EXPECT_EQ(main.CommandBox.ItemIndex(), kKindWait);
  EXPECT_EQ(main.SpinEdit1.Text() + "|" + std::to_string(adds.size()), "2500|0");
  palette.AddCheckBox.SetChecked(true);
  palette.SpinEdit1.FromNativeText("");
  palette.BitBtn1.Click();
  EXPECT_TRUE(adds == std::vector<int>{kKindWait} && wait_at_add == "1");
  for (const TForm::Child& c : palette.Children())
    if (auto* b = dynamic_cast<TButton*>(c.control)) EXPECT_EQ(b->Default, b == &palette.BitBtn1) << b->Name;
}

TEST_F(Palette, TheTextFieldPicksTextOrFrontAppAndConfirmCopiesItsText) {
  EXPECT_TRUE(palette.ComboBoxEx1.ItemIndex() == 0 && !palette.GetAppButton.Enabled());
  for (int mode : {1, 0}) {
    palette.SendTextEdit.FromNativeFocus(false);
    palette.ComboBoxEx1.FromNativeSelect(mode);  // the focus moves into the field
    EXPECT_TRUE(palette.SendTextEdit.Focused()) << mode;
    EXPECT_EQ(palette.GetAppButton.Enabled(), mode == 1);
    EXPECT_EQ(palette.SendTextEdit.Color(), mode ? kColorSkyBlue : kColorWindow);
    EXPECT_EQ(main.CommandBox.ItemIndex(), mode ? kKindFrontApp : kKindText);
  }
  palette.ComboBoxEx1.SetItemIndex(1);  // set by the program: entering the field follows it
  palette.SendTextEdit.FromNativeFocus(false);
  palette.SendTextEdit.FromNativeFocus(true);
  EXPECT_EQ(palette.SendTextEdit.Color(), kColorSkyBlue);
  EXPECT_EQ(main.CommandBox.ItemIndex(), kKindFrontApp);
  palette.ComboBoxEx1.SetItemIndex(0);
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

// Each window's modifier boxes follow the other's, without an echo.
TEST_F(Palette, ModifierBoxesFollowEachOtherWithoutEcho) {
  main.composer.MirrorModifier = [this](const std::string& n, bool on) { palette.MirrorModifier(n, on); };
  int main_handler_runs = 0;
  for (TCheckBox* b : {&main.ShiftCheck, &main.AltCheck, &main.CtrlCheck})
    b->OnClick = [&, b, inner = b->OnClick] { ++main_handler_runs, inner(); };
  palette.ShiftCheck.FromNativeClick();
  palette.CtrlCheck.FromNativeClick();
  palette.CtrlCheck.FromNativeClick();
  EXPECT_TRUE(main.ShiftCheck.Checked() && !main.CtrlCheck.Checked() && main_handler_runs == 3);
  main.AltCheck.FromNativeClick();
  main.ShiftCheck.FromNativeClick();
  palette.MirrorModifier("CtrlCheck", true);  // as the main window's handler calls it: not sent back
  palette.MirrorModifier("Shift", true);      // no such box
  EXPECT_TRUE(palette.AltCheck.Checked() && !palette.ShiftCheck.Checked() && palette.CtrlCheck.Checked());
  EXPECT_FALSE(main.CtrlCheck.Checked());
  EXPECT_EQ(main_handler_runs, 5);
}

TEST_F(Palette, OpensWithAFreshApplicationListAndKeepsItsStateWhileHidden) {
  fake.AddWindow("メモ帳", "Notepad");
  palette.SendTextEdit.FromNativeText("typed");
  palette.ComboBoxEx1.FromNativeSelect(1);
  palette.AltCheck.SetChecked(true);
  palette.LayerBar.SetPosition(180);
  main.SpeedButton1.Click();
  EXPECT_EQ(palette.SendTextEdit.Items(), (std::vector<std::string>{"メモ帳"}));
  fake.AddWindow("電卓", "Calc");
  main.SpeedButton1.Click();  // already open: the list stays
  EXPECT_EQ(palette.SendTextEdit.Count(), 1);
  palette.CloseRequested();  // the close box hides it
  main.SpeedButton1.Click();
  EXPECT_EQ(palette.SendTextEdit.Items(), (std::vector<std::string>{"電卓", "メモ帳"}));
  EXPECT_TRUE(palette.SendTextEdit.Text() == "typed" && palette.ComboBoxEx1.ItemIndex() == 1 &&
              palette.AltCheck.Checked() && palette.LayerBar.Position() == 180);
}

}  // namespace
}  // namespace zepx
