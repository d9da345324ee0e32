// What the user reads and may type in the main window and the palette: the
// help texts, the About box's version and the ranges of the number fields.
// Where the controls sit is checked on the real system, with its fonts, by
// the end-to-end journeys.
#include <gtest/gtest.h>

#include "shell/input_form.h"
#include "shell/life_support.h"

namespace zepx {
namespace {

class MainWindow : public LifeFixture, public ::testing::Test {};

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
  EXPECT_EQ(about.VersionLabel.Caption(), "ZEPX Version 1.51") << "the About box";
}

// Each number field starts at its initial value, steps by its step and is
// clamped into its range when the user leaves it; the hour fields say how
// an hour is written.
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
      {form.SpinEdit3, 0, 23, 1, 0},               {form.SpinEdit4, 0, 59, 1, 0},
      {form.SpinEdit2, 0, 23, 1, 0},               {form.SpinEdit5, 0, 59, 1, 0},
  };
  for (const auto& f : fields) {
    const std::string& name = f.field.Name;
    if (f.max < 60) EXPECT_EQ(f.field.Hint, f.max == 23 ? "24時間表記で指定" : "") << name;
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

}  // namespace
}  // namespace zepx
