// The real platform: every interface of platform.h on top of Win32.
//
// Text arrives as cp932 bytes. Where the logic names other programs'
// windows, registry values or files, the "A" functions are used only when
// the system ANSI code page is 932; otherwise the text is converted to
// UTF-16 and the "W" function called, so Japanese names work on any system.
//
// This header does not include <windows.h>, so that the method names
// MessageBox and friends are not renamed by its macros in files that include
// both; a file that includes <windows.h> after this one must not call
// MessageBox through the interfaces by name.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <string>

#include "platform/platform.h"

struct tagMSG;  // MSG of <windows.h>

namespace zepx::win32 {

class InputHooks;
struct InputHooksDeleter {  // win32_record.cpp, where the hooks are complete
  void operator()(InputHooks* hooks) const;
};

class Win32Platform : public IMessageLoop,
                      public IDialogs,
                      public IFileSystem,
                      public IWindows,
                      public IInput,
                      public IRegistry,
                      public IHotKeys,
                      public IShell,
                      public ITranslucency,
                      public IClock,
                      public IPower,
                      public IDialUp,
                      public IInputEvents {
 public:
  Win32Platform();
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Platform& platform() { return platform_; }

  // Caption and owner of message boxes and file dialogs. The sources are
  // asked each time a box opens, so the caption follows the application
  // title ("ZEPX", "ZEPX - 実行中"). Default caption "ZEPX", no owner.
  void SetTitle(const std::string& cp932);
  void SetOwner(Hwnd owner);
  void SetTitleSource(std::function<std::string()> title);
  void SetOwnerSource(std::function<Hwnd()> owner);

  // Called for every message taken from the queue before it is translated
  // and dispatched; returns true when it consumed the message (for example
  // IsDialogMessageW for keyboard navigation in a form).
  void SetMessageFilter(std::function<bool(tagMSG&)> filter);

  // True after WM_QUIT was taken from the queue.
  bool QuitReceived() const { return quit_; }

  // ---- IMessageLoop ----
  bool ProcessOneMessage() override;
  void ProcessPendingMessages() override;
  void PostTask(std::function<void()> fn) override;
  std::uint32_t SetTimer(std::uint32_t interval_ms, std::function<void()> fn) override;
  std::uint32_t SetPreciseTimer(std::uint32_t interval_ms, std::function<void()> fn) override;
  void KillTimer(std::uint32_t id) override;
  void Sleep(std::uint32_t ms) override;
  std::int64_t NowMs() override;
  void Quit() override;

  // ---- IDialogs ----
  MsgResult MessageBox(const std::string& text, MsgKind kind) override;
  void MessageBeep(std::uint32_t type) override;
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& o) override;
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& o) override;
  std::optional<std::string> BrowseForFolder(Hwnd owner, const std::string& title,
                                             const std::string& preselect) override;

  // ---- IFileSystem ----
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string& bytes) override;
  SaveResult WriteFile(const std::string& path, const std::string& bytes) override;
  bool WriteFileInPlace(const std::string& path, const std::string& bytes) override;

  // ---- IWindows ----
  Hwnd FindWindowA(const char* class_name, const char* title) override;
  Hwnd FindWindowExA(Hwnd parent, Hwnd child_after, const char* class_name,
                     const char* title) override;
  bool IsWindow(Hwnd w) override;
  bool PostMessageA(Hwnd w, std::uint32_t msg, std::uintptr_t wparam,
                    std::intptr_t lparam) override;
  Hwnd WindowFromPoint(Point p) override;
  bool ScreenToClient(Hwnd w, Point& p) override;
  Hwnd GetForegroundWindow() override;
  bool SetForegroundWindow(Hwnd w) override;
  Hwnd SetActiveWindow(Hwnd w) override;
  Hwnd SetFocus(Hwnd w) override;
  bool SetWindowPos(Hwnd w, Hwnd insert_after, int x, int y, int cx, int cy,
                    std::uint32_t flags) override;
  std::vector<TopLevel> EnumTopLevelWindows(std::size_t limit) override;
  std::optional<std::uint32_t> IntegrityLevel(Hwnd w) override;
  Hwnd GetParent(Hwnd w) override;
  std::string WindowText(Hwnd w) override;
  std::string WindowClassName(Hwnd w) override;
  bool IsWindowVisible(Hwnd w) override;
  bool IsIconic(Hwnd w) override;
  bool ShowWindow(Hwnd w, int cmd) override;
  bool ClientToScreen(Hwnd w, Point& p) override;
  std::uint32_t GetDpiForWindow(Hwnd w) override;
  Hwnd GetAncestor(Hwnd w, std::uint32_t flags) override;
  Hwnd ChildWindowFromPointEx(Hwnd parent, Point p, std::uint32_t flags) override;
  std::optional<std::uint32_t> GetPixel(Point p) override;

  // ---- IInput ----
  void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                   std::uintptr_t extra) override;
  std::uint32_t SendInput(const std::vector<KeyRecord>& records) override;
  std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t map_type) override;
  std::int16_t VkKeyScanA(char ch) override;
  std::uint32_t GetACP() override;
  std::u16string Cp932ToUtf16(const std::string& text) override;
  void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::uint32_t data,
                   std::uintptr_t extra) override;
  bool SetCursorPos(int x, int y) override;
  bool GetCursorPos(Point& p) override;
  bool ClipCursor(const Rect* r) override;
  // the picker's (win32_picker.cpp)
  std::int16_t GetAsyncKeyState(int vk) override;
  Hwnd SetCapture(Hwnd w) override;
  bool ReleaseCapture() override;
  std::uint32_t GetScreenCursor() override;
  void SetScreenCursor(std::uint32_t cursor_id) override;
  std::uintptr_t SetJournalRecordHook() override;
  std::uintptr_t SetLeftButtonHook(std::function<void()> on_left_down) override;
  bool UnhookWindowsHookEx(std::uintptr_t hook) override;

  // ---- IRegistry ----
  bool OpenKey(const std::string& path, Key& key) override;
  bool CreateKey(const std::string& path, Key& key) override;
  bool QueryValue(Key key, const std::string& name, RegType& type, std::string& data) override;
  bool SetValue(Key key, const std::string& name, RegType type, const std::string& data) override;
  bool DeleteValue(Key key, const std::string& name) override;
  void CloseKey(Key key) override;

  // ---- IHotKeys ----
  Hwnd CreateMessageWindow(std::function<void(int id)> on_hotkey) override;
  void DestroyMessageWindow(Hwnd w) override;
  bool RegisterHotKey(Hwnd w, int id, std::uint32_t modifiers, std::uint32_t vk) override;
  bool UnregisterHotKey(Hwnd w, int id) override;

  // ---- IShell ----
  std::uint32_t WindowsMajorVersion() override;
  std::string ProgramPath() override;
  std::vector<std::string> CommandLineArguments() override;
  bool CreateProcessA(const std::string& command_line, const std::string& current_dir) override;
  bool ShellExecuteRunAs(const std::string& file, const std::string& params) override;
  bool ShellExecuteA(const std::string& verb, const std::string& file) override;
  bool NotifyIconAdd(const NotifyIconData& d) override;
  bool NotifyIconDelete(const NotifyIconData& d) override;
  bool NotifyIconModify(const NotifyIconData& d) override;
  void DragAcceptFiles(Hwnd w, bool accept) override;
  std::string LocalDateTimeText() override;
  bool ShellExecuteFile(const std::string& file, int show) override;

  // ---- ITranslucency ----
  std::uintptr_t LoadLibraryA(const std::string& name) override;
  void* GetProcAddress(std::uintptr_t module, const std::string& name) override;
  void FreeLibrary(std::uintptr_t module) override;
  std::int32_t GetWindowLongA(Hwnd w, int index) override;
  std::int32_t SetWindowLongA(Hwnd w, int index, std::int32_t value) override;
  bool SetLayeredWindowAttributes(void* fn, Hwnd w, std::uint32_t color_key, std::uint8_t alpha,
                                  std::uint32_t flags) override;

  // ---- IClock, IPower, IDialUp (win32_events.cpp) ----
  SystemTime GetLocalTime() override;
  std::string GetDateFormatA(const SystemTime& t, const std::string& picture,
                             bool japanese_calendar) override;
  std::string GetTimeFormatA(const SystemTime& t, const std::string& picture) override;
  Handle GetCurrentProcess() override;
  bool OpenProcessToken(Handle process, std::uint32_t access, Handle& token) override;
  bool LookupPrivilegeValueA(const std::string& name, std::uint64_t& luid) override;
  bool AdjustTokenPrivileges(Handle token, bool disable_all, std::uint64_t luid,
                             std::uint32_t attributes) override;
  std::uint32_t GetLastError() override;
  bool CloseToken(Handle token) override;
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
  bool SetSystemPowerState(bool suspend, bool force) override;
  void WriteStdOut(const std::string& line) override;
  std::uint32_t RasEnumConnectionsA(RasConnA* connections, std::uint32_t& size_bytes,
                                    std::uint32_t& count) override;
  std::uint32_t RasHangUpA(std::uintptr_t connection) override;
  bool StartInputEvents(std::function<void(const InputEvent&)> sink) override;
  void StopInputEvents() override;
  InputMetrics GetInputMetrics() override;

  // The window procedure of our hidden windows (timers, tasks, hot keys).
  std::intptr_t HandleSinkMessage(Hwnd w, std::uint32_t msg, std::uintptr_t wparam,
                                  std::intptr_t lparam, bool& handled);

 private:
  std::string DialogTitle() const;
  Hwnd DialogOwner() const;
  bool DispatchOne(tagMSG& msg);
  void Guarded(const std::function<void()>& fn);
  std::optional<std::string> FileDialog(const FileDialogOptions& o, bool save);

  Platform platform_;
  Hwnd sink_ = 0;  // message-only window: timers and posted tasks
  bool quit_ = false;
  std::function<bool(tagMSG&)> filter_;
  std::function<std::string()> title_source_;
  std::function<Hwnd()> owner_source_;

  std::deque<std::function<void()>> tasks_;
  std::map<std::uint32_t, std::shared_ptr<std::function<void()>>> timers_;
  // Precise timers: a waitable timer each, waited on beside the queue.
  struct PreciseTimer {
    void* handle;  // HANDLE
    std::shared_ptr<std::function<void()>> fn;
  };
  std::map<std::uint32_t, PreciseTimer> precise_;
  bool FirePreciseTimer(std::size_t index);
  bool FireDuePreciseTimers();
  std::uint32_t next_timer_id_ = 1;
  std::map<Hwnd, std::shared_ptr<std::function<void(int)>>> hotkey_windows_;

  // WM_CHAR lead bytes waiting for their trail byte, per target window,
  // when cp932 text is posted on a system whose ANSI code page is not 932.
  std::map<Hwnd, unsigned char> pending_lead_;

  // The dial-up functions, looked up in rasapi32.dll at their first use
  // (the library stays loaded for the life of the process).
  bool LoadDialUp();
  bool dialup_looked_up_ = false;
  void* ras_enum_connections_ = nullptr;
  void* ras_hang_up_ = nullptr;

  // The recorder's hooks and their thread (win32_record.cpp), while on.
  std::unique_ptr<InputHooks, InputHooksDeleter> input_hooks_;
  std::function<void(const InputEvent&)> input_sink_;
  void TakeInputEvents();
  // Our icons in the notification area, by owner and id: a click on one
  // is a click on the program.
  std::set<std::pair<Hwnd, std::uint32_t>> tray_icons_;

 public:
  bool OnOwnTrayIcon(Point p) const;
};

}  // namespace zepx::win32
