// The windows created after the main window and kept, hidden, for the life
// of the program.
#pragma once

#include "ui/form.h"

namespace zepx {

class TSettingForm : public TForm {
 public:
  TSettingForm() : TForm("SettingForm", "ZEPX設定") {}
};

class TCutLineForm : public TForm {
 public:
  TCutLineForm() : TForm("CutLineForm", "ダイヤルアップ切断") {}
};

class TAboutForm : public TForm {
 public:
  TAboutForm() : TForm("AboutForm", "ZEPXについて") {}
};

class TSendListForm : public TForm {
 public:
  TSendListForm() : TForm("SendListForm", "ZEPX Batch処理送信リスト (0行)") {}
};

class TInputForm : public TForm {
 public:
  TInputForm() : TForm("InputForm", "コマンド入力フォーム") {}
};

}  // namespace zepx
