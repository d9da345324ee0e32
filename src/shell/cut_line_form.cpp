#include "shell/cut_line_form.h"

#include <string>

namespace zepx {

TCutLineForm::TCutLineForm(Platform& platform, std::function<void()> stop_macro)
    : TForm("CutLineForm", "切断 - ZEP"),
      countdown(platform.loop, platform.dialup,
                {[this](int n) { TimeCountLabel.SetCaption(std::to_string(n)); }, [this] { Hide(); },
                 std::move(stop_macro)}),
      CutTimer1(countdown.CutTimer1),
      platform_(platform) {
  ClientWidth = 390;
  ClientHeight = 104;
  ScreenCenter = true;

  // One line of text: the count sits between its two parts.
  Label1.SetCaption("あと");
  Label1.bounds = {18, 26, 25, 18};
  TimeCountLabel.SetCaption("9");
  TimeCountLabel.FontBold = true;
  TimeCountLabel.SetFontColor(kColorBlue);
  TimeCountLabel.bounds = {44, 26, 12, 18};
  Label2.SetCaption("秒でダイヤルアップネットワークは自動切断されます.");
  Label2.bounds = {57, 26, 318, 18};
  BitBtn1.SetCaption("切断");
  BitBtn1.Default = true;
  BitBtn1.bounds = {96, 64, 92, 28};
  BitBtn2.SetCaption("キャンセル");
  BitBtn2.bounds = {202, 64, 92, 28};
  Own(Label1);
  Own(TimeCountLabel);
  Own(Label2);
  Own(BitBtn1);
  Own(BitBtn2);

  BitBtn1.OnClick = [this] { BitBtn1Click(); };
  BitBtn2.OnClick = [this] { BitBtn2Click(); };
}

void TCutLineForm::FormShow() {
  countdown.Start();
  platform_.windows.SetForegroundWindow(Handle());
}

void TCutLineForm::Execute() {
  // Already counting down for another event's action: that countdown
  // stands for this one too.
  if (Visible()) return;
  FormShow();
  ShowModal();
}

}  // namespace zepx
