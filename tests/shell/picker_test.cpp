// The window picker, the application lists, coordinate copy and paste and
// the focus handlers, driven through the handlers a click or a focus change
// runs, on the substitute desktop and its virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "model/command_line.h"
#include "platform/fake/fake_platform.h"
#include "shell/life_support.h"
#include "shell/main_form.h"
#include "shell/picker.h"
#include "ui/fake/fake_native_form.h"

namespace zepx {

namespace {

using Lines = std::vector<std::string>;

std::string H(Hwnd w) { return std::to_string(w); }

class Picker : public ::testing::Test {
 protected:
  Picker() {
    form.Bind(native.get());
    // A dialog of another program with an untitled edit and a titled
    // button, clear of where the cursor starts.
    dialog = fake.AddWindow("設定ダイアログ", "#32770", {100, 100, 500, 400});
    edit = fake.AddWindow("", "Edit", {120, 130, 300, 160}, dialog);
    button = fake.AddWindow("OK", "Button", {120, 300, 200, 330}, dialog);
  }
  // The user selects a row of the list.
  void SelectRow(int row) { form.SendList.FromNativeSelect(row); }
  // The user clicks without holding the button (both within one tick).
  void ClickAt(std::int64_t t) {
    fake.At(t, [this] {
      fake.UserLeftDown();
      fake.UserLeftUp();
    });
  }
  void MoveAt(std::int64_t t, Point p) {
    fake.At(t, [this, p] { fake.cursor = p; });
  }

  TApplication app;
  FakePlatform fake;
  std::unique_ptr<INativeForm> native = MakeNativeForm(fake, "TMainForm");
  TMainForm form{fake.platform(), app};
  Hwnd dialog = 0, edit = 0, button = 0;
};

}  // namespace

// ---- the target descriptor ------------------------------------------------------

TEST_F(Picker, DescriptorNamesAControlByItsDialogAndAWindowByItsTitleOrClass) {
  IWindows& w = fake;
  EXPECT_EQ(DescribeWindow(w, dialog), "設定ダイアログ <" + H(dialog) + ">");
  // A control, with or without a text of its own: the dialog's title, the
  // control's class and handle.
  EXPECT_EQ(DescribeWindow(w, edit), "設定ダイアログ@@Edit <" + H(edit) + ">");
  EXPECT_EQ(DescribeWindow(w, button), "設定ダイアログ@@Button <" + H(button) + ">");

  const Hwnd untitled = fake.AddWindow("", "Shell_TrayWnd");
  EXPECT_EQ(DescribeWindow(w, untitled), "Shell_TrayWnd <" + H(untitled) + ">");
  // Inside an untitled parent the window speaks for itself.
  const Hwnd titled_child = fake.AddWindow("子", "Static", {}, untitled);
  const Hwnd bare_child = fake.AddWindow("", "Static", {}, untitled);
  EXPECT_EQ(DescribeWindow(w, titled_child), "子 <" + H(titled_child) + ">");
  EXPECT_EQ(DescribeWindow(w, bare_child), "Static <" + H(bare_child) + ">");
  // A pop-up's owner counts as its parent.
  const Hwnd popup = fake.AddWindow("", "#32768");
  fake.FindWindowByHandle(popup)->owner = dialog;
  EXPECT_EQ(DescribeWindow(w, popup), "設定ダイアログ@@#32768 <" + H(popup) + ">");
}

TEST_F(Picker, DescriptorTakesTheGrandparentsTitleAndLooksNoHigher) {
  IWindows& w = fake;
  const Hwnd top = fake.AddWindow("Top", "Main");
  const Hwnd outer = fake.AddWindow("外枠", "Panel", {}, top);
  const Hwnd inner = fake.AddWindow("内枠", "Panel", {}, outer);
  const Hwnd leaf = fake.AddWindow("", "Edit", {}, inner);
  const Hwnd in_outer = fake.AddWindow("x", "Edit", {}, outer);
  EXPECT_EQ(DescribeWindow(w, leaf), "外枠@@Edit <" + H(leaf) + ">");
  EXPECT_EQ(DescribeWindow(w, in_outer), "Top@@Edit <" + H(in_outer) + ">");
  // An untitled grandparent: the parent's own title.
  fake.FindWindowByHandle(outer)->title = "";
  EXPECT_EQ(DescribeWindow(w, leaf), "内枠@@Edit <" + H(leaf) + ">");
}

// ---- the three lists ------------------------------------------------------------------

TEST_F(Picker, TargetListSkipsProgramManagerAndUntitledAndSelectsTheThird) {
  fake.AddWindow("Program Manager", "Progman");
  const Hwnd c = fake.AddWindow("Third", "C");
  fake.AddWindow("", "Untitled");
  const Hwnd b = fake.AddWindow("Second", "B");
  const Hwnd a = fake.AddWindow("ウルティマ", "A");
  form.AppComboBox.SetText("typed");
  fake.ClearCalls();
  form.GetAppButton.Click();
  EXPECT_EQ(form.AppComboBox.Items(), (Lines{"ウルティマ <" + H(a) + ">", "Second <" + H(b) + ">",
                                             "Third <" + H(c) + ">", "設定ダイアログ <" + H(dialog) + ">"}));
  EXPECT_EQ(form.AppComboBox.ItemIndex(), 2);
  EXPECT_EQ(form.AppComboBox.Text(), "Third <" + H(c) + ">");
  EXPECT_EQ(fake.Texts({"EnumTopLevelWindows"}), (Lines{"EnumTopLevelWindows(500)"}));

  // Fewer than three: nothing selected, the typed target stays.
  fake.DestroyWindow(a);
  fake.DestroyWindow(b);
  form.AppComboBox.SetText("typed");
  form.GetAppButton.Click();
  EXPECT_EQ(form.AppComboBox.Count(), 2);
  EXPECT_EQ(form.AppComboBox.ItemIndex(), -1);
  EXPECT_EQ(form.AppComboBox.Text(), "typed");
}

TEST_F(Picker, TitleListsOfTheTextFieldAndOfThePalette) {
  fake.AddWindow("", "Untitled");
  fake.AddWindow("Program Manager", "Progman");
  fake.AddWindow("メモ帳", "Notepad");
  const Hwnd hidden = fake.AddWindow("Hidden", "H");
  fake.FindWindowByHandle(hidden)->visible = false;
  form.SendTextEdit.SetText("hello");

  form.GetAppButton2.Click();  // disabled until application mode, but callable
  EXPECT_EQ(form.SendTextEdit.Items(), (Lines{"メモ帳", "設定ダイアログ"}));
  EXPECT_EQ(form.SendTextEdit.ItemIndex(), -1);
  EXPECT_EQ(form.SendTextEdit.Text(), "hello");

  // The palette keeps an untitled window as an empty entry, in its place.
  EXPECT_EQ(PaletteTitleEntries(fake), (Lines{"メモ帳", "", "設定ダイアログ"}));
  EXPECT_EQ(ApplicationTitleEntries(fake), (Lines{"メモ帳", "設定ダイアログ"}));
}

TEST(PickerStart, BothMainWindowListsAreFilledWhenTheWindowIsShown) {
  LifeFixture life;
  life.fake.AddWindow("Alpha", "A");
  const Hwnd beta = life.fake.AddWindow("Beta", "B");
  life.Start();
  const Lines titles = life.form.SendTextEdit.Items();
  EXPECT_NE(std::find(titles.begin(), titles.end(), "Beta"), titles.end());
  EXPECT_NE(std::find(titles.begin(), titles.end(), "Alpha"), titles.end());
  const Lines targets = life.form.AppComboBox.Items();
  EXPECT_NE(std::find(targets.begin(), targets.end(), "Beta <" + H(beta) + ">"), targets.end());
}

// ---- a pick, tick by tick --------------------------------------------------------------

TEST_F(Picker, APickFollowsTheCursorAndTheNextClickFixesThePointInTheSelectedLine) {
  form.batch.SetLines({"L_Drag:NoSet", "L_Drop:NoSet"});
  SelectRow(1);
  form.CommandBox.SetItemIndex(kKindWait);
  form.XLabel.SetEnabled(false);
  form.AppComboBox.SetItems({"old <1>", "second <2>"});
  fake.ClearCalls();

  form.XYButton.Click();
  EXPECT_EQ(form.CommandBox.ItemIndex(), 1);  // L_Click instead of the wait
  EXPECT_EQ(form.StatusLabel.Caption(), "座標指定するところをクリックして下さい");
  EXPECT_EQ(fake.screen_cursor, win::IDC_CROSS);
  EXPECT_TRUE(form.XLabel.Enabled() && form.YLabel.Enabled());
  EXPECT_EQ(fake.capture, form.Handle());
  EXPECT_EQ(fake.hooks.size(), 2u);

  MoveAt(100, {150, 140});  // over the edit
  fake.RunUntil(125);
  EXPECT_EQ(form.AppComboBox.Item(0), "設定ダイアログ@@Edit <" + H(edit) + ">");
  EXPECT_EQ(form.AppComboBox.Item(1), "second <2>");
  EXPECT_EQ(form.AppComboBox.Text(), form.AppComboBox.Item(0));
  EXPECT_EQ(form.XLabel.Text(), "150");
  EXPECT_EQ(form.YLabel.Text(), "140");
  EXPECT_EQ(form.batch.Text(1), "L_Drop:NoSet");  // nothing fixed yet

  MoveAt(150, {160, 145});
  ClickAt(210);  // pressed and released between two ticks
  fake.RunUntil(1000);
  EXPECT_EQ(form.batch.Texts(), (Lines{"L_Drag:NoSet", "L_Drop:160x145"}));
  EXPECT_EQ(form.SendList.Item(1), "L_Drop:160x145");
  EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
  EXPECT_EQ(fake.screen_cursor, 0u);
  EXPECT_EQ(fake.capture, 0u);
  EXPECT_TRUE(fake.hooks.empty());
  EXPECT_EQ(fake.ActiveTimers(), 0u);
  EXPECT_EQ(fake.Timed({"SetTimer", "KillTimer", "SetCapture", "ReleaseCapture", "SetWindows",
                        "Unhook", "SetScreenCursor"}),
            (Lines{"0:SetScreenCursor(32515)", "0:SetCapture(" + H(form.Handle()) + ")",
                   "0:SetWindowsHookExA(0)=20480", "0:SetWindowsHookExA(14)=20481",
                   "0:SetTimer(1,40)", "240:KillTimer(1)", "240:UnhookWindowsHookEx(20480)",
                   "240:UnhookWindowsHookEx(20481)", "240:ReleaseCapture()",
                   "240:SetScreenCursor(0)"}));
}

// A window of a program above our integrity level would never get our
// input: picking it, or a refresh the user asks for that selects it, says so.
TEST_F(Picker, ChoosingAWindowOfAnElevatedProgramWarns) {
  fake.own_integrity = 0x2000;
  fake.FindWindowByHandle(dialog)->integrity = 0x3000;
  fake.FindWindowByHandle(edit)->integrity = 0x3000;
  form.batch.SetLines({"L_Click:1x1"});
  SelectRow(0);
  form.XYButton.Click();
  MoveAt(100, {150, 140});
  ClickAt(210);
  fake.RunUntil(1000);
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::Info);
  EXPECT_EQ(fake.boxes[0].text.rfind("設定ダイアログ@@Edit <" + H(edit) + ">", 0), 0u);

  // Over a window of our own level nothing is said.
  fake.boxes.clear();
  form.XYButton.Click();
  MoveAt(1100, {150, 310});  // the OK button, level unknown
  ClickAt(1210);
  fake.RunUntil(2000);
  EXPECT_TRUE(fake.boxes.empty());

  // The refresh selects the third entry: the dialog, an elevated one.
  fake.AddWindow("Two", "C2");
  fake.AddWindow("One", "C1");
  form.GetAppButton.Click();
  ASSERT_EQ(form.AppComboBox.ItemIndex(), 2);
  ASSERT_EQ(form.AppComboBox.Item(2), "設定ダイアログ <" + H(dialog) + ">");
  ASSERT_EQ(fake.boxes.size(), 1u);
  // ... but not when the program refreshes the list itself (a run, start-up).
  form.GetAppButtonClick();
  EXPECT_EQ(fake.boxes.size(), 1u);
}

TEST_F(Picker, APressStillHeldFromTheButtonDoesNotEndThePick) {
  // The button is still down when the click arrives: pointing starts after
  // its release. With both hooks refused, a press held into a tick ends it.
  fake.journal_hooks_refused = true;
  fake.low_level_hooks_refused = true;
  form.batch.SetLines({"L_Click:0x0"});
  SelectRow(0);
  fake.UserLeftDown();
  form.XYButton.Click();
  EXPECT_EQ(fake.capture, 0u);
  fake.At(150, [this] { fake.UserLeftUp(); });
  fake.RunUntil(155);
  EXPECT_EQ(fake.capture, 0u);  // seen at the tick of 160
  fake.RunUntil(165);
  EXPECT_EQ(fake.capture, form.Handle());
  EXPECT_TRUE(form.picker.Picking());

  MoveAt(200, {-20, 12000});  // monitors left of and below the primary one
  fake.At(300, [this] { fake.UserLeftDown(); });
  fake.At(400, [this] { fake.UserLeftUp(); });
  fake.RunUntil(1000);
  EXPECT_FALSE(form.picker.Picking());
  EXPECT_EQ(fake.Timed({"KillTimer"}), (Lines{"320:KillTimer(1)"}));
  // Shown as read; clamped only when the field is left.
  EXPECT_EQ(form.batch.Text(0), "L_Click:-20x12000");
  EXPECT_EQ(form.XLabel.Text(), "-20");
  EXPECT_EQ(form.YLabel.Text(), "12000");
  form.XLabel.FromNativeFocusLost();
  form.YLabel.FromNativeFocusLost();
  EXPECT_EQ(form.XLabel.Text(), "0");
  EXPECT_EQ(form.YLabel.Text(), "9999");
}

TEST_F(Picker, WhatAPickLeavesOfTheListAndTheTargetField) {
  form.batch.SetLines({"Wait=1000", "my Drop", "[Text]~~a:b"});
  fake.cursor = {450, 350};  // over the dialog itself
  const auto pick = [this](int row) {
    if (row >= 0) SelectRow(row);
    else form.batch.Select(-1);
    form.XYButton.Click();
    ClickAt(fake.now + 50);
    fake.RunUntil(fake.now + 200);
    ASSERT_FALSE(form.picker.Picking());
  };
  pick(0);  // a wait line: neither ":" nor "Drop"
  pick(-1);
  EXPECT_EQ(form.batch.Texts(), (Lines{"Wait=1000", "my Drop", "[Text]~~a:b"}));
  EXPECT_EQ(form.XLabel.Text(), "450");
  pick(1);
  pick(2);
  EXPECT_EQ(form.batch.Texts(), (Lines{"Wait=1000", "450x350", "[Text]~~a:450x350"}));
  // An empty target list gets the descriptor as its only entry.
  EXPECT_EQ(form.AppComboBox.Items(), (Lines{"設定ダイアログ <" + H(dialog) + ">"}));
  EXPECT_EQ(form.AppComboBox.Text(), "設定ダイアログ <" + H(dialog) + ">");
}

TEST_F(Picker, ASecondStartOrTheWindowGoingAwayLeavesNoHookOrCapture) {
  form.XYButton.Click();
  form.XYButton.Click();  // Space on the focused button while pointing
  EXPECT_EQ(fake.hooks.size(), 2u);
  EXPECT_EQ(fake.Texts({"SetCapture"}).size(), 1u);
  ClickAt(100);
  fake.RunUntil(200);
  EXPECT_TRUE(fake.hooks.empty());

  // A window torn down in the middle of a pick (an exit by hot key).
  auto other_native = MakeNativeForm(fake, "TMainForm");
  auto other = std::make_unique<TMainForm>(fake.platform(), app);
  other->Bind(other_native.get());
  other->XYButton.Click();
  fake.RunUntil(300);
  EXPECT_EQ(fake.hooks.size(), 2u);
  EXPECT_EQ(fake.capture, other->Handle());
  other.reset();
  EXPECT_TRUE(fake.hooks.empty());
  EXPECT_EQ(fake.capture, 0u);
  EXPECT_EQ(fake.screen_cursor, 0u);
  EXPECT_EQ(fake.ActiveTimers(), 0u);
}

// ---- coordinate copy and paste -------------------------------------------------------

TEST_F(Picker, CopyAndPasteMoveThePartAfterTheFirstColon) {
  form.batch.SetLines({"L_Drag:10x20", "[F1]", "R_Click:1x2", "L_Drop:NoSet"});
  // Before any copy the buffer holds its initial word.
  SelectRow(3);
  form.XYPaste.Click();
  EXPECT_EQ(form.batch.Text(3), "L_Drop:Pointer");

  SelectRow(0);
  form.XYCopy.Click();
  EXPECT_EQ(form.picker.CoordinateBuffer(), "10x20");
  SelectRow(1);  // no ":": copy takes nothing, paste changes nothing
  form.XYCopy.Click();
  form.XYPaste.Click();
  EXPECT_EQ(form.batch.Text(1), "[F1]");
  SelectRow(2);
  form.XYPaste.Click();
  EXPECT_EQ(form.batch.Text(2), "R_Click:10x20");
  EXPECT_EQ(form.SendList.Item(2), "R_Click:10x20");
  EXPECT_EQ(form.XLabel.Value(), 10);  // the display follows the paste
  EXPECT_EQ(form.YLabel.Value(), 20);

  // The menu items with their shortcuts do the same.
  SelectRow(3);
  form.mXYCopy.Click();
  EXPECT_EQ(form.picker.CoordinateBuffer(), "Pointer");
  SelectRow(0);
  form.mXYPaste.Click();
  EXPECT_EQ(form.batch.Text(0), "L_Drag:Pointer");
  form.batch.Select(-1);
  form.XYCopy.Click();
  form.XYPaste.Click();
  EXPECT_EQ(form.picker.CoordinateBuffer(), "Pointer");
  EXPECT_EQ(form.batch.Texts(), (Lines{"L_Drag:Pointer", "[F1]", "R_Click:10x20", "L_Drop:Pointer"}));
}

TEST_F(Picker, TheButtonFlashesYellowForATenthOfASecond) {
  form.batch.SetLines({"L_Click:5x6"});
  SelectRow(0);
  form.XYCopy.Click();
  EXPECT_EQ(form.XYCopy.FontColor(), kColorYellow);
  fake.RunUntil(99);
  EXPECT_EQ(form.XYCopy.FontColor(), kColorYellow);
  fake.RunUntil(101);
  EXPECT_EQ(form.XYCopy.FontColor(), kColorWindowText);

  // A second click inside the flash starts it again; each button has its own.
  form.XYPaste.Click();
  fake.RunUntil(150);
  form.XYPaste.Click();
  form.XYCopy.Click();
  fake.RunUntil(249);
  EXPECT_EQ(form.XYPaste.FontColor(), kColorYellow);
  fake.RunUntil(251);
  EXPECT_EQ(form.XYPaste.FontColor(), kColorWindowText);
  EXPECT_EQ(form.XYCopy.FontColor(), kColorWindowText);
  EXPECT_EQ(fake.ActiveTimers(), 0u);
}

// ---- focus ----------------------------------------------------------------------------

TEST_F(Picker, EnteringTheWaitOrACoordinateFieldChoosesItsCommand) {
  form.CommandBox.SetItemIndex(20);
  form.XLabel.SetFocus();
  EXPECT_EQ(form.CommandBox.ItemIndex(), 1);
  form.SpinEdit1.SetFocus();
  EXPECT_EQ(form.CommandBox.ItemIndex(), 0);
  form.YLabel.SetFocus();
  EXPECT_EQ(form.CommandBox.ItemIndex(), 1);
}

}  // namespace zepx
