// Time and check of the native controls under Wine: how long the batch
// list takes to follow the list object up to the next message loop turn (a
// whole 1000-line list replaced, lines appended one at a time as the loader
// does, rows exchanged as Up and Down do), and that the native side and the
// objects agree afterwards and after typing, clicking and picking in the
// other kinds of control.
//
//   wine native_ui_bench.exe      prints timings and checks; exit code 1 on a failed check
#include "ui/win32/native_ui.h"
#include "platform/win32/text.h"
#include "ui/controls.h"
#include "ui/form.h"

#include <windows.h>

#include "bench_support.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

int g_failed = 0;

void Check(bool ok, const char* what, int line) {
  if (!ok) {
    ++g_failed;
    std::printf("FAIL line %d: %s\n", line, what);
  }
}
#define CHECK(cond) Check((cond), #cond, __LINE__)

class BenchForm : public zepx::TForm {
 public:
  BenchForm() : TForm("BenchForm", "native ui bench") {
    ClientWidth = 420;
    ClientHeight = 420;
    list.bounds = {8, 8, 260, 400};
    list.Hint = "rows";  // a tool tip's hook in front of the list, as in the program
    Own(list);
    spin.bounds = {280, 8, 100, 22};
    Own(spin);
    check.SetCaption("Shift");
    check.bounds = {280, 40, 100, 20};
    Own(check);
    combo.editable = true;
    combo.SetItems({"Alpha <1>", "Beta <2>", "Gamma <3>"});
    combo.bounds = {280, 70, 130, 22};
    Own(combo);
    radios.SetText("method");
    radios.SetItems({"_event", "SendInput", "WinMessage"});
    radios.SetItemIndex(1);
    radios.bounds = {280, 100, 130, 80};
    Own(radios);
  }
  zepx::TListBox list{"List"};
  zepx::TWinSpinEdit spin{"Spin", 0, 9999, 1, 5};
  zepx::TCheckBox check{"Check"};
  zepx::TComboBox combo{"Combo"};
  zepx::TRadioGroup radios{"Radios"};
};

double Ms(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

std::string Row(HWND list, int i) {
  const auto n = SendMessageW(list, LB_GETTEXTLEN, i, 0);
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(w.data()));
  w.resize(static_cast<std::size_t>(n));
  return zepx::win32::Narrow(w);
}

}  // namespace

int wmain() {
  zepx::win32::NativeUi ui;
  BenchForm f;
  BenchForm hidden;  // never shown until the end
  ui.Bind(f);
  ui.Bind(hidden);
  // The hooks in front of the list, to be as they were after every update.
  const LONG_PTR chain = GetWindowLongPtrW(reinterpret_cast<HWND>(f.list.Handle()), GWLP_WNDPROC);
  f.Show();
  Pump();
  HWND list = reinterpret_cast<HWND>(f.list.Handle());

  std::vector<std::string> lines;
  for (int i = 0; i < 1000; ++i)
    lines.push_back("L_Click:" + std::to_string(i) + "x" + std::to_string(2 * i) + " 座標");

  auto t = std::chrono::steady_clock::now();
  for (int k = 0; k < 20; ++k) {
    std::vector<std::string> copy = lines;
    copy[0] = "[F" + std::to_string(k) + "]";  // a different list each time
    f.list.SetItems(std::move(copy));
    Pump();
  }
  std::printf("replace 1000 lines: %.2f ms per replacement\n", Ms(t) / 20);
  CHECK(SendMessageW(list, LB_GETCOUNT, 0, 0) == 1000);
  CHECK(Row(list, 0) == "[F19]");
  CHECK(Row(list, 999) == lines[999]);

  f.list.Clear();
  t = std::chrono::steady_clock::now();
  for (const std::string& line : lines) f.list.Add(line);
  Pump();
  std::printf("append 1000 lines one by one: %.2f ms in all\n", Ms(t));
  CHECK(SendMessageW(list, LB_GETCOUNT, 0, 0) == 1000);
  CHECK(Row(list, 500) == lines[500]);

  f.list.SetItemIndex(10);
  t = std::chrono::steady_clock::now();
  for (int k = 0; k < 500; ++k) {
    // Up and Down: exchange two rows, select the moved one.
    std::vector<std::string> items = f.list.Items();
    std::swap(items[10], items[11]);
    f.list.SetItems(std::move(items));
    f.list.SetItemIndex(k % 2 ? 10 : 11);
    Pump();
  }
  std::printf("exchange two rows of 1000: %.3f ms per move\n", Ms(t) / 500);
  CHECK(Row(list, 10) == lines[10] && Row(list, 11) == lines[11]);
  CHECK(SendMessageW(list, LB_GETCURSEL, 0, 0) == 10);
  CHECK(GetWindowLongPtrW(list, GWLP_WNDPROC) == chain);

  // A list in a window not shown: a question from outside, and the window
  // shown, find it up to date.
  {
    HWND other = reinterpret_cast<HWND>(hidden.list.Handle());
    hidden.list.SetItems(lines);
    Pump();
    CHECK(SendMessageW(other, LB_GETCOUNT, 0, 0) == 1000);
    CHECK(Row(other, 999) == lines[999]);
    std::vector<std::string> fewer(lines.begin(), lines.begin() + 3);
    hidden.list.SetItems(fewer);
    hidden.list.SetItemIndex(2);
    Pump();
    hidden.Show();
    Pump();
    CHECK(SendMessageW(other, LB_GETCOUNT, 0, 0) == 3);
    CHECK(SendMessageW(other, LB_GETCURSEL, 0, 0) == 2);
    hidden.Hide();
    Pump();
  }

  // The user picks a row: the object follows and runs OnSelect.
  int selects = 0;
  f.list.OnSelect = [&] { ++selects; };
  SendMessageW(list, LB_SETCURSEL, 42, 0);
  SendMessageW(reinterpret_cast<HWND>(f.Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  CHECK(f.list.ItemIndex() == 42 && selects == 1);

  // Spin edit: letters are refused, digits reach the object; the arrow key
  // steps through the object and the value is clamped when the field is left.
  HWND spin = reinterpret_cast<HWND>(f.spin.Handle());
  SetFocus(spin);
  SendMessageW(spin, EM_SETSEL, 1, 1);
  SendMessageW(spin, WM_CHAR, L'x', 0);
  CHECK(f.spin.Text() == "5");
  SendMessageW(spin, WM_CHAR, L'7', 0);
  CHECK(f.spin.Text() == "57");
  SendMessageW(spin, WM_KEYDOWN, VK_UP, 0);
  SendMessageW(spin, WM_KEYUP, VK_UP, 0);
  CHECK(f.spin.Text() == "58");
  f.spin.SetText("123456");
  SetFocus(list);
  CHECK(f.spin.Text() == "9999");
  f.spin.SetFontColor(zepx::kColorBlue);
  f.spin.Repaint();

  // Check box clicked by the user.
  HWND check = reinterpret_cast<HWND>(f.check.Handle());
  SendMessageW(check, BM_CLICK, 0, 0);
  CHECK(f.check.Checked());
  f.check.SetChecked(false);
  CHECK(SendMessageW(check, BM_GETCHECK, 0, 0) == BST_UNCHECKED);

  // Editable combo: the program's selection shows its entry and sets the
  // text; the user's typing reaches the text and selects nothing.
  HWND combo = reinterpret_cast<HWND>(f.combo.Handle());
  f.combo.SetItemIndex(2);
  CHECK(f.combo.Text() == "Gamma <3>");
  f.combo.SetText("typed");
  f.combo.SetItems({"Alpha <1>", "Beta <2>"});
  wchar_t shown[64] = {};
  GetWindowTextW(combo, shown, 64);
  CHECK(std::wstring(shown) == L"typed");

  // Background colour of the edit field, asked for by the field through the box.
  f.combo.SetColor(zepx::kColorSkyBlue);
  HWND field = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  HDC dc = GetDC(field);
  const LRESULT brush = SendMessageW(combo, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(field));
  CHECK(brush != 0 && GetBkColor(dc) == zepx::kColorSkyBlue);
  ReleaseDC(field, dc);
  f.combo.SetColor(zepx::kColorWindow);

  // Radio group: a click selects through the object once.
  int methods = 0;
  f.radios.OnSelect = [&] { ++methods; };
  HWND first = FindWindowExW(reinterpret_cast<HWND>(f.Handle()), nullptr, L"Button", L"_event");
  CHECK(first != nullptr);
  SendMessageW(first, BM_CLICK, 0, 0);
  CHECK(f.radios.ItemIndex() == 0 && methods == 1);
  f.radios.SetItemIndex(2);
  CHECK(SendMessageW(first, BM_GETCHECK, 0, 0) == BST_UNCHECKED);

  Pump();
  std::printf("%s\n", g_failed ? "native ui checks FAILED" : "native ui checks passed");
  return g_failed ? 1 : 0;
}
