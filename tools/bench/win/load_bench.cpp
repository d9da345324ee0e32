// load_bench.exe: how long the program takes to bring a macro file into its
// visible list, measured inside the process. It starts the program as
// zepx.exe does (the real platform, the native windows, all six forms, the
// main window shown) and then loads the file COUNT times the way the File
// menu does once its dialog has returned (TMainForm::LoadMacro), each time
// over a one-line list, timing the load and the message loop turns after
// it until the queue is empty and the list has painted.
//
//   load_bench.exe COUNT FILE SMALL_FILE
//
// The files' names must not end in ".mcr": the program takes such names on
// its command line for files to open at start-up.
//
// Prints one line a load: "load <ms> call <ms> loop <ms> rows <rows>": in
// all, in LoadMacro itself, in the loop turns after it, and the rows the
// native list then holds.
#include "desktop_program.h"
#include "platform/win32/text.h"

#include <windows.h>

#include "bench_support.h"

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fwprintf(stderr, L"usage: load_bench COUNT FILE SMALL_FILE\n");
    return 2;
  }
  const int count = _wtoi(argv[1]);
  const std::string file = zepx::win32::Narrow(argv[2]);
  const std::string small = zepx::win32::Narrow(argv[3]);

  zepx::win32::DesktopProgram desktop;
  zepx::Program& program = desktop.program;
  program.Start();
  Pump();
  zepx::TMainForm& form = *program.MainForm;
  HWND list = reinterpret_cast<HWND>(form.SendList.Handle());

  for (int i = 0; i < count; ++i) {
    form.LoadMacro(small);
    Pump();
    Sleep(50);  // whatever the system does after a paint, not counted
    Pump();
    const double t0 = NowMs();
    form.LoadMacro(file);
    const double t_call = NowMs();
    Pump();
    const double t1 = NowMs();
    std::printf("load %.2f call %.2f loop %.2f rows %d\n", t1 - t0, t_call - t0, t1 - t_call,
                static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)));
    std::fflush(stdout);
  }
  form.Close();
  Pump();
  return 0;
}
