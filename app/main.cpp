// zepx.exe: the real platform, the native windows, and the program.
#include "desktop_program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  zepx::win32::DesktopProgram desktop;
  desktop.program.Start();
  return desktop.program.Run();
}
