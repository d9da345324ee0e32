// Plain value types and Win32 constants shared by the logic and both
// platform implementations. The logic never sees <windows.h>; the numbers
// here are the documented Win32 values, so the real implementation can pass
// them straight through.
#pragma once

#include <cstdint>
#include <string>

namespace zepx {

// A window handle as a number (HWND on Win32). 0 means "no window".
using Hwnd = std::uintptr_t;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// One keyboard INPUT record as SendInput takes it.
struct KeyRecord {
  std::uint16_t vk = 0;
  std::uint16_t scan = 0;
  std::uint32_t flags = 0;
  std::uint32_t time = 0;
  std::uintptr_t extra = 0;
};

// A local date and time as the system gives it (SYSTEMTIME): day_of_week
// 0 is Sunday.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day_of_week = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// One dial-up connection record (RASCONNA) in its first form: size,
// connection handle, entry name, device type and device name, laid out as
// the system lays it out in this build. HRASCONN is a pointer-sized handle,
// so a 32-bit build gets the 412-byte record and a 64-bit one 424 bytes.
struct RasConnA {
  std::uint32_t dwSize = 0;
  std::uintptr_t hrasconn = 0;
  char szEntryName[257] = {};
  char szDeviceType[17] = {};
  char szDeviceName[129] = {};
};
static_assert(sizeof(void*) != 4 || sizeof(RasConnA) == 412, "the 32-bit RASCONNA is 412 bytes");

namespace win {
constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_CHAR = 0x0102;
constexpr std::uint32_t WM_HOTKEY = 0x0312;
constexpr std::uint32_t WM_DROPFILES = 0x0233;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;

constexpr std::uint32_t KEYEVENTF_EXTENDEDKEY = 0x0001;
constexpr std::uint32_t KEYEVENTF_KEYUP = 0x0002;
constexpr std::uint32_t KEYEVENTF_UNICODE = 0x0004;
constexpr std::uint32_t KEYEVENTF_SCANCODE = 0x0008;

constexpr std::uint32_t MOUSEEVENTF_LEFTDOWN = 0x0002;
constexpr std::uint32_t MOUSEEVENTF_LEFTUP = 0x0004;
constexpr std::uint32_t MOUSEEVENTF_RIGHTDOWN = 0x0008;
constexpr std::uint32_t MOUSEEVENTF_RIGHTUP = 0x0010;

constexpr std::uint8_t VK_SHIFT = 0x10;
constexpr std::uint8_t VK_CONTROL = 0x11;
constexpr std::uint8_t VK_MENU = 0x12;

constexpr std::uint32_t MOD_ALT = 1;
constexpr std::uint32_t MOD_CONTROL = 2;
constexpr std::uint32_t MOD_SHIFT = 4;

constexpr Hwnd HWND_TOPMOST = static_cast<Hwnd>(-1);
constexpr Hwnd HWND_NOTOPMOST = static_cast<Hwnd>(-2);
constexpr std::uint32_t SWP_NOSIZE = 0x0001;
constexpr std::uint32_t SWP_NOMOVE = 0x0002;
constexpr std::uint32_t SWP_NOACTIVATE = 0x0010;

constexpr std::uint8_t VK_LBUTTON = 0x01;
constexpr std::uint32_t IDC_CROSS = 32515;  // the cross cursor of the picker

constexpr std::uint32_t WS_EX_LAYERED = 0x00080000;
constexpr std::uint32_t LWA_ALPHA = 0x00000002;
constexpr int GWL_EXSTYLE = -20;

// Keys of the batch list box.
constexpr std::uint8_t VK_UP = 0x26;
constexpr std::uint8_t VK_DOWN = 0x28;
constexpr std::uint8_t VK_INSERT = 0x2D;
constexpr std::uint8_t VK_DELETE = 0x2E;
constexpr std::uint8_t VK_F1 = 0x70;
constexpr std::uint8_t VK_F12 = 0x7B;

constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SW_RESTORE = 9;
constexpr std::uint32_t GA_ROOT = 2;
constexpr std::uint32_t CWP_SKIPINVISIBLE = 0x0001;
constexpr std::uint32_t CWP_SKIPTRANSPARENT = 0x0004;

constexpr std::uint32_t TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr std::uint32_t TOKEN_QUERY = 0x0008;
constexpr std::uint32_t SE_PRIVILEGE_ENABLED = 0x00000002;
constexpr std::uint32_t EWX_SHUTDOWN = 0x00000001;
constexpr std::uint32_t EWX_REBOOT = 0x00000002;
constexpr std::uint32_t EWX_FORCE = 0x00000004;

constexpr std::uint32_t ERROR_BUFFER_TOO_SMALL = 603;
}  // namespace win

}  // namespace zepx
