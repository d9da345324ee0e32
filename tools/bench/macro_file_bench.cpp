// Host benchmark: loading and saving a macro file of 999 command lines
// through the main window's own load and save operations, with the files
// held by the recording substitute. Prints the median and the worst of
// repeated loads and saves, and the same for the bare reader and writer.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "model/macro_file.h"
#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"

namespace {

using Clock = std::chrono::steady_clock;

// 999 lines of every kind the composer writes, cp932 text included.
std::string MakeFile() {
  const std::vector<std::string> kinds = {
      "Wait=1500",
      "[Text]~~こんにちは、テキストの送信です|>メモ帳 <1234>",
      "[A]+Shift+Ctrl|>Ultima Online <4321>",
      "L_Click:120x45",
      "R_DClick:640x480",
      "[ｱﾌﾟﾘを前面に]@@無題 - メモ帳",
      "[F12]+Alt",
      "[↑]",
      "L_Drag:10x20",
      "L_Drop:300x20",
      "【ZEP Event 1】",
  };
  std::vector<std::string> lines;
  for (int i = 0; i < 999; ++i) lines.push_back(kinds[static_cast<std::size_t>(i) % kinds.size()]);
  zepx::MacroSettings s;
  s.key = 800;
  s.loop = 3;
  s.send_api = 2;
  return zepx::WriteMacroFile(lines, s);
}

struct Stats {
  double median_us;
  double worst_us;
};

template <typename Fn>
Stats Measure(int runs, Fn fn) {
  std::vector<double> us;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = Clock::now();
    fn();
    const auto t1 = Clock::now();
    us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
  }
  std::sort(us.begin(), us.end());
  return {us[us.size() / 2], us.back()};
}

void Print(const char* what, const Stats& s) {
  std::printf("%-44s median %9.1f us   worst %9.1f us\n", what, s.median_us, s.worst_us);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  const std::string file = MakeFile();
  const std::string path = "C:\\bench\\long.mcr";
  const std::string out = "C:\\bench\\saved.mcr";

  zepx::FakePlatform fake;
  zepx::TApplication app;
  zepx::TMainForm form{fake.platform(), app};
  if (form.PostRadioGroup.Count() == 0)
    form.PostRadioGroup.SetItems({"_event", "SendInput(DirectX)", "WinMessage"});
  fake.files[path] = file;

  std::printf("macro file: %d command lines, %zu bytes, %d runs each\n", 999, file.size(), runs);

  const Stats load = Measure(runs, [&] {
    form.LoadMacro(path);
    fake.ClearCalls();
  });
  if (form.SendList.Count() != 999 || !fake.boxes.empty()) {
    std::printf("load failed: %d lines, %zu message boxes\n", form.SendList.Count(),
                fake.boxes.size());
    return 1;
  }
  Print("load (main window, 999 lines)", load);

  const Stats save = Measure(runs, [&] {
    fake.save_dialog_results.push_back(out);
    form.mSaveClick();
    fake.ClearCalls();
  });
  if (fake.files[out] != file) {
    std::printf("save did not reproduce the loaded file\n");
    return 1;
  }
  Print("save (main window, 999 lines)", save);

  std::size_t sink = 0;
  Print("reader alone (ReadMacroFile)",
        Measure(runs, [&] { sink += zepx::ReadMacroFile(file).lines.size(); }));
  const std::vector<std::string> lines = form.SendList.Items();
  zepx::MacroSettings s;
  Print("writer alone (WriteMacroFile)",
        Measure(runs, [&] { sink += zepx::WriteMacroFile(lines, s).size(); }));
  return sink == 0 ? 1 : 0;
}
