// The window picker, the application lists, coordinate copy and paste and
// the focus handlers, driven through the handlers a click or a focus change
// runs, on the substitute desktop and its virtual clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/life_support.h"
#include "model/command_line.h"
#include "shell/picker.h"

namespace zepx {
namespace {

std::string H(Hwnd w) { return std::to_string(w); }

class Picker : public LifeFixture, public ::testing::Test {
 protected:
  Picker() {
    // A dialog of another program with an untitled edit and a titled
    // button, clear of where the cursor starts.
    dialog = fake.AddWindow("設定ダイアログ", "#32770", {100, 100, 500, 400});
    edit = fake.AddWindow("", "Edit", {120, 130, 300, 160}, dialog);
    button = fake.AddWindow("OK", "Button", {120, 300, 200, 330}, dialog);
  }
  void MoveAt(std::int64_t t, Point p) {
    fake.At(t, [this, p] { fake.cursor = p; });
  }

  Hwnd dialog = 0, edit = 0, button = 0;
};

// "ancestor title@@class <w>" when the parent (or owner) has a title, the
// grandparent's when it has one and nothing higher; else "title <w>", else
// "class <w>".
TEST_F(Picker, TheTargetDescriptorOfAWindow) {
  const Hwnd untitled = fake.AddWindow("", "Shell_TrayWnd"), popup = fake.AddWindow("", "#32768");
  fake.FindWindowByHandle(popup)->owner = dialog;
  const Hwnd outer = fake.AddWindow("外枠", "Panel", {}, fake.AddWindow("Top", "Main"));
  const Hwnd inner = fake.AddWindow("内枠", "Panel", {}, outer);
  const std::pair<Hwnd, std::string> cases[] = {
      {dialog, "設定ダイアログ"}, {edit, "設定ダイアログ@@Edit"}, {button, "設定ダイアログ@@Button"},
      {untitled, "Shell_TrayWnd"}, {fake.AddWindow("子", "Static", {}, untitled), "子"},
      {fake.AddWindow("", "Static", {}, untitled), "Static"}, {popup, "設定ダイアログ@@#32768"},
      {fake.AddWindow("", "Edit", {}, inner), "外枠@@Edit"}, {fake.AddWindow("x", "Edit", {}, outer), "Top@@Edit"}};
  for (const auto& [w, want] : cases) EXPECT_EQ(DescribeWindow(fake, w), want + " <" + H(w) + ">");
  fake.FindWindowByHandle(outer)->title = "";  // an untitled grandparent: the parent's title
  EXPECT_EQ(DescribeWindow(fake, cases[7].first), "内枠@@Edit <" + H(cases[7].first) + ">");
}

TEST_F(Picker, TheThreeWindowLists) {
  fake.AddWindow("Program Manager", "Progman");
  const Hwnd c = fake.AddWindow("Third", "C");
  fake.AddWindow("", "Untitled");
  fake.FindWindowByHandle(fake.AddWindow("Hidden", "H"))->visible = false;
  const Hwnd b = fake.AddWindow("Second", "B"), a = fake.AddWindow("ウルティマ", "A");
  form.SendTextEdit.SetText("hello");
  form.GetAppButton.Click();
  EXPECT_EQ(form.AppComboBox.Items(), (Texts{"ウルティマ <" + H(a) + ">", "Second <" + H(b) + ">",
                                             "Third <" + H(c) + ">", "設定ダイアログ <" + H(dialog) + ">"}));
  EXPECT_EQ(form.AppComboBox.Text(), "Third <" + H(c) + ">") << "the third entry is selected";
  form.GetAppButton2.Click();  // disabled until application mode, but callable
  EXPECT_EQ(form.SendTextEdit.Items(), (Texts{"ウルティマ", "Second", "Third", "設定ダイアログ"}));
  EXPECT_EQ(form.SendTextEdit.Text(), "hello");
  // The palette keeps an untitled window as an empty entry, in its place.
  EXPECT_EQ(PaletteTitleEntries(fake), (Texts{"ウルティマ", "Second", "", "Third", "設定ダイアログ"}));
  fake.DestroyWindow(a);  // fewer than three: nothing selected, the typed target stays
  fake.DestroyWindow(b);
  form.AppComboBox.SetText("typed");
  form.GetAppButton.Click();
  EXPECT_EQ(form.AppComboBox.ItemIndex(), -1);
  EXPECT_EQ(form.AppComboBox.Text(), "typed");
}

TEST_F(Picker, APickFollowsTheCursorAndTheNextClickFixesThePointInTheSelectedLine) {
  form.batch.SetLines({"L_Drag:NoSet", "L_Drop:NoSet"});
  ClickRow(1);
  form.CommandBox.SetItemIndex(kKindWait);
  form.XLabel.SetEnabled(false);
  form.AppComboBox.SetItems({"old <1>", "second <2>"});
  fake.ClearCalls();
  form.XYButton.Click();
  EXPECT_EQ(form.CommandBox.ItemIndex(), 1) << "L_Click instead of the wait";
  EXPECT_EQ(form.StatusLabel.Caption(), "座標指定するところをクリックして下さい");
  EXPECT_TRUE(form.XLabel.Enabled() && form.YLabel.Enabled());
  MoveAt(100, {150, 140});  // over the edit
  fake.RunUntil(125);
  EXPECT_EQ(form.AppComboBox.Items(), (Texts{"設定ダイアログ@@Edit <" + H(edit) + ">", "second <2>"}));
  EXPECT_EQ(form.AppComboBox.Text(), form.AppComboBox.Item(0));
  EXPECT_EQ(Xy(), "150,140");
  EXPECT_EQ(form.batch.Text(1), "L_Drop:NoSet") << "nothing fixed yet";
  MoveAt(150, {160, 145});
  ClickAt(210);  // pressed and released between two ticks
  fake.RunUntil(1000);
  EXPECT_EQ(form.SendList.Items(), (Texts{"L_Drag:NoSet", "L_Drop:160x145"}));
  EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
  EXPECT_EQ(fake.Timed({"SetTimer", "KillTimer", "SetCapture", "ReleaseCapture", "SetWindows", "Unhook", "SetScreenCursor"}),
            (Texts{"0:SetScreenCursor(32515)", "0:SetCapture(" + H(form.Handle()) + ")", "0:SetWindowsHookExA(0)=20480",
                   "0:SetWindowsHookExA(14)=20481", "0:SetTimer(1,40)", "240:KillTimer(1)",
                   "240:UnhookWindowsHookEx(20480)", "240:UnhookWindowsHookEx(20481)", "240:ReleaseCapture()",
                   "240:SetScreenCursor(0)"}));
}

// A pick rewrites only a mouse line: one of the eight mouse words, ":", and
// no "[". A ":" of a text or a title, or a "Drop" elsewhere, is no point.
TEST_F(Picker, APickRewritesOnlyAMouseLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"L_Click:0x0", "L_Click:450x350"}, {"R_Click:1x2", "R_Click:450x350"}, {"L_DClick:NoSet", "L_DClick:450x350"},
      {"R_DClick:", "R_DClick:450x350"}, {"L_Drag:NoSet", "L_Drag:450x350"}, {"R_Drag:1:2x3", "R_Drag:450x350"},
      {"L_Drop:NoSet", "L_Drop:450x350"}, {"R_Drop:9x9", "R_Drop:450x350"}, {"[Text]~~http://x", nullptr},
      {"[Enter]|>C:\\dir <12>", nullptr}, {"[Text]~~my Drop", nullptr}, {"my Drop", nullptr},
      {"L_Click:[1x2", nullptr}, {"l_click:1x2", nullptr}, {"L_Click 1x2", nullptr}, {" L_Click:1x2", nullptr}, {"L_Clicked:1x2", nullptr},
      {"Wait=1000", nullptr}, {"[F1]+Ctrl", nullptr}};
  Texts lines;
  for (const auto& c : cases) lines.push_back(c.first);
  form.batch.SetLines(lines);
  fake.cursor = {450, 350};  // over the dialog itself
  for (int row = -1; row < static_cast<int>(lines.size()); ++row) Pick(row);
  for (int i = 0; i < static_cast<int>(lines.size()); ++i)
    EXPECT_EQ(form.batch.Text(i), cases[i].second ? cases[i].second : cases[i].first) << "picked on " << cases[i].first;
  EXPECT_EQ(Xy(), "450,350");
  // An empty target list gets the descriptor as its only entry.
  EXPECT_EQ(form.AppComboBox.Items(), (Texts{"設定ダイアログ <" + H(dialog) + ">"}));
}

// A window of a program above our integrity level would never get our
// input: picking it, or a refresh the user asks for that selects it, says so.
TEST_F(Picker, ChoosingAWindowOfAnElevatedProgramWarns) {
  fake.own_integrity = 0x2000;
  fake.FindWindowByHandle(dialog)->integrity = fake.FindWindowByHandle(edit)->integrity = 0x3000;
  fake.cursor = {150, 140};
  Pick(-1);
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].kind, MsgKind::Info);
  EXPECT_EQ(fake.boxes[0].text.rfind("設定ダイアログ@@Edit <" + H(edit) + ">\r\nは管理者として", 0), 0u);
  fake.cursor = {150, 310};  // the OK button, level unknown: nothing said
  Pick(-1);
  fake.AddWindow("Two", "C2");
  fake.AddWindow("One", "C1");
  form.GetAppButton.Click();  // selects the third entry, the dialog
  EXPECT_EQ(form.AppComboBox.Text(), "設定ダイアログ <" + H(dialog) + ">");
  EXPECT_EQ(fake.boxes.size(), 2u);
  form.GetAppButtonClick();  // the program's own refresh (a run, start-up) says nothing
  EXPECT_EQ(fake.boxes.size(), 2u);
}

TEST_F(Picker, ASecondStartOrTheWindowGoingAwayLeavesNoHookOrCapture) {
  form.XYButton.Click();
  form.XYButton.Click();  // Space on the focused button while pointing
  EXPECT_EQ(fake.hooks.size() * 10 + fake.Texts({"SetCapture"}).size(), 21u) << "two hooks, one capture";
  ClickAt(100);
  fake.RunUntil(200);
  EXPECT_TRUE(fake.hooks.empty());
  form.XYButton.Click();  // torn down in the middle of a pick (an exit by hot key)
  fake.RunUntil(300);
  EXPECT_EQ(fake.capture, form.Handle());
  owned.reset();
  EXPECT_TRUE(fake.hooks.empty() && fake.capture == 0 && fake.screen_cursor == 0 && fake.ActiveTimers() == 0);
}

// Copy takes what follows the first ":" of a mouse line, paste writes the
// buffer there; any other line is left alone by both. Each button flashes
// yellow for a tenth of a second, started again by a second click.
TEST_F(Picker, CopyAndPasteOfAPoint) {
  const Texts lines{"L_Drag:10x20", "[F1]", "R_Click:1x2", "L_Drop:NoSet", "[Text]~~a:1x2", "[A]|>C:\\x <5>", "L_Click 1x2"};
  form.batch.SetLines(lines);
  ClickRow(3);
  form.XYPaste.Click();  // before any copy the buffer holds its initial word
  EXPECT_EQ(form.batch.Text(3), "L_Drop:Pointer");
  ClickRow(0);
  form.XYCopy.Click();
  EXPECT_EQ(form.XYCopy.FontColor(), kColorYellow);
  for (int row : {1, 4, 5, 6, -1}) {  // no mouse line: copy takes nothing, paste changes nothing
    form.batch.Select(row);
    form.XYCopy.Click();
    form.XYPaste.Click();
  }
  EXPECT_EQ(form.picker.CoordinateBuffer(), "10x20");
  ClickRow(2);
  form.mXYPaste.Click();  // the menu items with their shortcuts do the same
  EXPECT_EQ(Xy(), "10,20") << "the display follows the paste";
  ClickRow(3);
  form.mXYCopy.Click();
  EXPECT_EQ(form.picker.CoordinateBuffer(), "Pointer");
  EXPECT_EQ(form.SendList.Items(), (Texts{"L_Drag:10x20", "[F1]", "R_Click:10x20", "L_Drop:Pointer", lines[4], lines[5], lines[6]}));
  for (int t : {150, 50}) fake.RunUntil(fake.now + t), form.XYPaste.Click();
  form.XYCopy.Click();
  fake.RunUntil(fake.now + 99);
  EXPECT_EQ(form.XYPaste.FontColor(), kColorYellow);
  fake.RunUntil(fake.now + 2);
  EXPECT_TRUE(form.XYPaste.FontColor() == kColorWindowText && form.XYCopy.FontColor() == kColorWindowText);
  EXPECT_EQ(fake.ActiveTimers(), 0u);
}

TEST_F(Picker, EnteringTheWaitOrACoordinateFieldChoosesItsCommand) {
  form.CommandBox.SetItemIndex(20);
  for (auto [field, kind] : {std::pair{&form.XLabel, 1}, {&form.SpinEdit1, 0}, {&form.YLabel, 1}}) {
    field->SetFocus();
    EXPECT_EQ(form.CommandBox.ItemIndex(), kind) << field->Name;
  }
}

// With "ウインドウ基準の座標" the points are taken in the client area of the
// window under the pointer, shown, added, copied and pasted as lines bound
// to it; off, the screen points of before.
TEST_F(Picker, PickAddShowCopyAndPasteAPointBoundToTheWindow) {
  auto Add = [&](int kind) { form.batch.Select(form.batch.Count() - 1), form.CommandBox.SetItemIndex(kind), form.AddButton.Click(); };
  auto Shown = [&](int row) { return ClickRow(row), form.XLabel.Value() * 1000 + form.YLabel.Value(); };
  fake.FindWindowByHandle(dialog)->dpi = 144;
  fake.cursor = {250, 145};  // over its edit: the top-level window counts
  const std::string to = "100x30|設定ダイアログ@@#32770 <" + std::to_string(dialog) + ">";
  form.batch.SetLines({"L_Click:1x1", "Win:RDrop:5x5|a@@b"});
  form.WindowPointCheck.SetChecked(true);
  Pick(0);
  Add(3);  // L_DClick
  Add(6);  // a drag pair stays unset
  EXPECT_EQ(Shown(1), 5005);
  Add(1);  // bound to the window of the line shown
  EXPECT_EQ(Shown(0), 100030) << "96-DPI client units";
  form.XYCopy.Click();
  Shown(1);
  form.XYPaste.Click();
  form.WindowPointCheck.SetChecked(false);  // off: as before
  Add(1);
  Pick(0);
  Add(3);
  EXPECT_EQ(form.batch.Texts(), (std::vector<std::string>{"L_Click:250x145", "Win:RDrop:" + to, "Win:LDClick:" + to,
                                                          "R_Drag:NoSet", "R_Drop:NoSet", "Win:LClick:5x5|a@@b", "L_Click:100x30",
                                                          "L_DClick:250x145"}));
  form.WindowPointCheck.SetChecked(true), form.SaveSettings(), form.WindowPointCheck.SetChecked(false), form.LoadSettings();
  EXPECT_TRUE(form.WindowPointCheck.Checked()) << "kept in the registry";
}

}  // namespace
}  // namespace zepx
