// The dial-up countdown dialog ("切断 - ZEP"): "あと 9 秒で..." counting
// down to the hang-up, with the disconnect button (the default, so Enter)
// and cancel (also Escape and the close box). Created at start-up and
// shown modally by the event action "ダイヤルアップ切断"; the countdown
// itself is events/cut_line.*.
#pragma once

#include <functional>

#include "events/cut_line.h"
#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace zepx {

class TCutLineForm : public TForm {
 public:
  // stop_macro: the run controller's return to idle.
  TCutLineForm(Platform& platform, std::function<void()> stop_macro);

  TLabel Label1{"Label1"};                  // "あと"
  TLabel TimeCountLabel{"TimeCountLabel"};  // the seconds left, bold and blue
  TLabel Label2{"Label2"};                  // "秒でダイヤルアップネットワークは自動切断されます."
  TButton BitBtn1{"BitBtn1"};               // "切断"
  TButton BitBtn2{"BitBtn2"};               // "キャンセル"
  CutLineCountdown countdown;
  TTimer& CutTimer1;

  // Shows the dialog modally with the countdown running; returns when it
  // has closed, whether it hung up or was cancelled.
  void Execute();
  void FormShow();
  void BitBtn1Click() { countdown.Disconnect(); }
  void BitBtn2Click() { countdown.Cancel(); }
  void CloseRequested() override { BitBtn2Click(); }

 private:
  Platform& platform_;
};

}  // namespace zepx
