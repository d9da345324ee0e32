// What the windows show before anything happens: every control inside its
// parent, clear of its neighbours and wide enough for its caption in a
// Japanese UI font at 9 pt; the help texts, the ranges of the number
// fields and the initial states, as the user meets them.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/command_line.h"
#include "shell/input_form.h"
#include "shell/life_support.h"
#include "shell/send_list_form.h"

namespace zepx {
namespace {

class MainWindow : public LifeFixture, public ::testing::Test {};

// Width of a cp932 text in a 9 pt Japanese UI font at 96 DPI, on the wide
// side: 12 pixels a double-byte character, 7 any other; "&" marks a
// mnemonic and takes no room. The widest line and the line count.
std::pair<int, int> TextSize(const std::string& text) {
  int widest = 0, width = 0, lines = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == '\n') widest = std::max(widest, width), width = 0, ++lines;
    else if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) width += 12, ++i;
    else if (b != '&' && b != '\r') width += 7;
  }
  return {std::max(widest, width), lines};
}

void CheckLayout(const TForm& form, const TControl* wraps) {
  const auto& kids = form.Children();
  for (std::size_t i = 0; i < kids.size(); ++i) {
    const TControl& c = *kids[i].control;
    const Bounds& b = c.bounds;
    const std::string at = form.Name + "." + c.Name;
    // Inside a group: below its caption and inside its frame.
    const int top = kids[i].parent ? 14 : 0, side = kids[i].parent ? 4 : 0;
    const int w = kids[i].parent ? kids[i].parent->bounds.w : form.ClientWidth;
    const int h = kids[i].parent ? kids[i].parent->bounds.h : form.ClientHeight;
    EXPECT_TRUE(b.w > 0 && b.h > 0 && b.x >= side && b.y >= top && b.x + b.w <= w - side &&
                b.y + b.h <= h - side / 2) << at << " outside its parent";
    for (std::size_t j = i + 1; j < kids.size(); ++j) {
      const Bounds& o = kids[j].control->bounds;
      EXPECT_FALSE(kids[i].parent == kids[j].parent && b.x < o.x + o.w && o.x < b.x + b.w &&
                   b.y < o.y + o.h && o.y < b.y + b.h) << at << " overlaps " << kids[j].control->Name;
    }
    const auto* text = dynamic_cast<const TLabel*>(&c);
    if (!text) continue;
    auto [width, lines] = TextSize(text->Text());
    if (&c == wraps) lines = 2, width /= 2;  // the status may wrap onto a second line
    const bool box = dynamic_cast<const TCheckBox*>(&c), button = dynamic_cast<const TButton*>(&c);
    EXPECT_LE(width + (box ? 18 : button ? 12 : dynamic_cast<const TGroupBox*>(&c) ? 16 : 0), b.w) << at;
    if (!dynamic_cast<const TGroupBox*>(&c)) EXPECT_LE(lines * 14 + (button ? 6 : 0), b.h) << at;
  }
}

TEST_F(MainWindow, EveryControlSitsInsideItsParentClearOfItsNeighboursWithRoomForItsCaption) {
  // The longest captions the program sets later: hot-key letters, the status.
  form.BitBtn1.SetCaption("実行\r\n(Ctrl+Alt+W)");
  form.BitBtn3.SetCaption("待機\r\n(Ctrl+Alt+W)");
  form.StatusLabel.SetCaption("実行中 (WinMessage) - Ctrl+Alt+Wで中断できます");
  CheckLayout(form, &form.StatusLabel);
  TInputForm palette{fake.platform(), form};
  CheckLayout(palette, nullptr);
  TSendListForm list;
  CheckLayout(list, nullptr);
  CheckLayout(about, nullptr);
}

TEST_F(MainWindow, TheHelpButtonsTexts) {
  const std::pair<TButton*, const char*> help[] = {
      {&form.Button1, "キーを送信後、次のコマンドに繋がるまでの時間を指定してください。\r\n\r\nアプリケーションやOSのビジー状態により、最適値は大きく変わります。\r\nこの値を十分に取らないと、次のコマンドが空振りする可能性があります。"},
      {&form.Button2, "クリックやダブルクリック座標指定時、クリック後、元の位置にカーソルが戻るまでの時間を指定してください。\r\n\r\nアプリケーションやOSのビジー状態により、最適値は大きく変わります。\r\nこの値を十分に取らないと、クリックが空振りします。"},
      {&form.Button3, "ドラッグを送信後、実際にオブジェクトを掴むまでの時間を指定してください。\r\n\r\nアプリケーションやOSの状態により、最適値は大きく変わります。\r\nこの値を十分に取らないと、正常にドラッグができません。"},
      {&form.Button5, "同時押しするShift/Alt/Ctrlを送信後に入れる時間を指定してください。\r\n\r\nアプリケーションやOSの状態により、最適値は大きく変わります。\r\nこの値を十分に取らないと、正常に同時押しができないことがあります。"},
      {&form.Button4, "コマンド送信方法が[WinMessage]の場合、\r\nコマンド追加をする前にキー送信先を指定して下さい。\r\n\r\nプルダウンから送信先アプリを選択するか、[マウス(ｷｰ/Text)送信先座標]ボタンで\r\n送信先アプリ(クラス)を指定して下さい。"},
      {&form.Button8, "[_event]\r\n_eventコマンドを発行し、コマンドを送信します。\r\nキー送信は、常に最前面かつフォーカスがある場所へ送信されます。\r\n\r\n[SendInput]\r\nSendInputAPIを使用し、コマンドを送信します。\r\nキー送信は、常に最前面かつフォーカスがある場所へ送信されます。\r\nDirectInputを使用しているアプリケーションにも送信できます。\r\n\r\n[WinMessage]\r\nターゲットにWindowsMessageを送信し、コマンドを送信します。\r\n必ずターゲット(Class)を設定する必要がありますが、\r\nコマンドがバックグラウンドでも送信できたり、_eventやSendInputよりも細かな指定ができます。"},
  };
  for (const auto& [button, text] : help) {
    fake.boxes.clear();
    button->Click();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{text}) << button->Name;
    if (!fake.boxes.empty()) EXPECT_EQ(fake.boxes[0].kind, MsgKind::Info) << button->Name;
  }
}

// Each number field starts at its initial value, steps by its step and is
// clamped into its range when the user leaves it.
TEST_F(MainWindow, TheRangesOfTheNumberFields) {
  TInputForm palette{fake.platform(), form};
  const struct {
    TWinSpinEdit& field;
    std::int64_t min, max, step, initial;
  } fields[] = {
      {form.SpinEdit1, 1, 3600000, 100, 1000},     {form.LoopSpinEdit, 0, 9999, 1, 0},
      {form.LoopSpinEditAll, 0, 9999, 1, 0},       {form.ClickAfterDelay, 0, 99999, 1, 1000},
      {form.KeyAfterDelay, 0, 99999, 1, 1200},     {form.DragDelay, 0, 99999, 1, 1200},
      {form.ShiftAltCtrlDelay, 0, 99999, 1, 250},  {form.XLabel, 0, 9999, 1, 0},
      {form.YLabel, 0, 9999, 1, 0},                {palette.SpinEdit1, 1, 3600000, 100, 1000},
  };
  for (const auto& f : fields) {
    const std::string& name = f.field.Name;
    EXPECT_EQ(f.field.Value(), f.initial) << name;
    f.field.StepUp();
    EXPECT_EQ(f.field.Value(), f.initial + f.step) << name;
    for (const auto& [typed, kept] : {std::pair{f.min - 1, f.min}, {f.max + 1, f.max}, {f.min, f.min}, {f.max, f.max}}) {
      f.field.SetText(std::to_string(typed));
      f.field.FromNativeFocusLost();
      EXPECT_EQ(f.field.Value(), kept) << name << " left holding " << typed;
    }
  }
}

// Nothing to edit, copy or aim at before a line or WinMessage is there.
TEST_F(MainWindow, TheEditingAndTargetControlsStartDisabled) {
  for (const TControl* c : std::initializer_list<const TControl*>{
           &form.DelButton, &form.UpButton, &form.DownButton, &form.ClearButton, &form.XYCopy, &form.XYPaste,
           &form.mXYCopy, &form.mXYPaste, &form.LoopSpinEditAll, &form.AppComboBox, &form.GetAppButton,
           &form.AutoHandleCheckBox, &form.GetAppButton2})
    EXPECT_FALSE(c->Enabled()) << c->Name;
}

}  // namespace
}  // namespace zepx
