// The recording substitute for host tests: a small stateful model of the
// desktop (windows, cursor, foreground, keyboard layout, registry, hot keys,
// files, tray) whose message loop runs on a virtual clock. Every platform
// call is recorded with the virtual time at which it happened, so a test can
// run a whole run with its waits instantly and assert what was called when.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zepx {

// Thrown when the program waits for a message that can never come (no
// timer, no scripted event, nothing posted): on a real desktop it would
// hang forever.
class FakeDeadlock : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class FakePlatform : public IMessageLoop,
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
  FakePlatform();
  Platform& platform() { return platform_; }

  // ---- the record ---------------------------------------------------------
  struct Call {
    std::int64_t t;    // virtual ms
    std::string text;  // "keybd_event(16,42,0,0)": name and decimal arguments
  };
  std::vector<Call> calls;
  // Texts of the recorded calls whose name starts with one of the prefixes
  // (all calls when none given), in order.
  std::vector<std::string> Texts(std::initializer_list<const char*> prefixes = {}) const;
  // Same, as "t:text".
  std::vector<std::string> Timed(std::initializer_list<const char*> prefixes = {}) const;
  void ClearCalls() { calls.clear(); }

  // ---- virtual clock and message loop ---------------------------------------
  std::int64_t now = 0;
  // Runs fn as a message at virtual time t (e.g. the Stop button at 3200).
  void At(std::int64_t t, std::function<void()> fn);
  // Advances the clock to t, dispatching everything that falls due.
  void RunUntil(std::int64_t t);
  bool quit_requested = false;
  int max_dispatch = 1000000;  // guards a test against an endless run
  std::size_t ActiveTimers() const { return timers_.size(); }
  // Messages dispatched so far (tasks, timer ticks, scripted events): a
  // wait that blocks costs one per tick, a spinning one thousands.
  int Dispatched() const { return dispatched_; }

  // ---- message boxes and dialogs ------------------------------------------
  struct Box {
    std::int64_t t;
    std::string text;
    MsgKind kind;
  };
  std::vector<Box> boxes;
  // Answers for Yes/No and OK/Cancel boxes, used in order; when empty the
  // answer is Yes / OK. A handler, when set, runs while the box is open
  // (boxes are modal loops) and may answer instead.
  std::deque<MsgResult> answers;
  std::function<std::optional<MsgResult>(const Box&)> on_box;
  std::deque<std::optional<std::string>> open_dialog_results;
  std::deque<std::optional<std::string>> save_dialog_results;
  std::vector<FileDialogOptions> dialogs_shown;
  // Answers of the folder browser, used in order; cancelled when empty.
  std::deque<std::optional<std::string>> folder_dialog_results;

  // ---- files ----------------------------------------------------------------
  std::map<std::string, std::string> files;  // path -> bytes
  std::set<std::string> directories;
  std::set<std::string> unwritable;  // paths whose write fails
  std::set<std::string> no_new_files;  // folders where no file can be created
  std::optional<std::size_t> disk_free;  // bytes left on the disk, when limited
  std::set<std::string> unreadable;  // exist, but reading fails

  // ---- windows ----------------------------------------------------------------
  struct Window {
    Hwnd hwnd = 0;
    std::string class_name;
    std::string title;
    Hwnd parent = 0;
    Hwnd owner = 0;
    Rect rect;  // screen coordinates
    bool visible = true;
    bool alive = true;
    std::int32_t ex_style = 0;
    std::optional<std::uint8_t> alpha;  // layered alpha once set
    std::optional<std::uint32_t> integrity;  // of its process, when known
    Point client{0, 0};  // the client area's origin within rect
    std::uint32_t dpi = 96;
    bool minimised = false;  // then off the screen, at -32000, -32000
  };
  std::optional<std::uint32_t> own_integrity;  // ours, when known
  // Top-level windows are kept topmost first; a new one goes on top.
  Hwnd AddWindow(const std::string& title, const std::string& class_name,
                 Rect rect = {0, 0, 100, 100}, Hwnd parent = 0);
  void DestroyWindow(Hwnd w);
  Window* FindWindowByHandle(Hwnd w);
  Hwnd foreground = 0;
  Hwnd focus = 0;
  Hwnd active = 0;
  struct Posted {
    std::int64_t t;
    Hwnd hwnd;
    std::uint32_t msg;
    std::uintptr_t wparam;
    std::intptr_t lparam;
  };
  std::vector<Posted> posted;
  // The screen's pixels as 0xRRGGBB (by x, then y); a point not set is
  // black, one outside `screen` on no screen. A test changes them at a
  // virtual time with At().
  std::map<std::pair<std::int32_t, std::int32_t>, std::uint32_t> pixels;
  Rect screen{0, 0, 1920, 1080};

  // ---- input --------------------------------------------------------------------
  Point cursor{400, 300};
  std::optional<Rect> clip;
  std::set<std::uint8_t> keys_down;  // after the injected events
  std::uint32_t ansi_code_page = 932;  // GetACP; another one makes VkKeyScanA European
  // Keys of a layout the user switched to (VkKeyScanA's answers), over the
  // US layout's.
  std::map<char, std::int16_t> layout_keys;
  std::set<std::uint32_t> buttons_down;  // MOUSEEVENTF_*DOWN flags held
  // What the user holds on the real keyboard and mouse (virtual keys,
  // win::VK_LBUTTON for the left button), seen by GetAsyncKeyState.
  std::set<int> user_keys_down;
  // The user presses or releases the left button: the low-level mouse hooks
  // hear of a press at once, GetAsyncKeyState reads the button until it is
  // released. A quick click is both at one virtual moment.
  void UserLeftDown();
  void UserLeftUp();
  Hwnd capture = 0;
  std::uint32_t screen_cursor = 0;
  struct Hook {
    std::uintptr_t id;
    int type;  // 0 WH_JOURNALRECORD, 14 WH_MOUSE_LL
    std::function<void()> on_left_down;
  };
  std::vector<Hook> hooks;  // installed now
  bool journal_hooks_refused = false;
  bool low_level_hooks_refused = false;

  // ---- registry ---------------------------------------------------------------
  struct RegValue {
    RegType type;
    std::string data;
  };
  // key path (without leading "\", case as given) -> value name -> value
  std::map<std::string, std::map<std::string, RegValue>> registry;
  std::set<std::string> registry_readonly;  // keys that cannot be opened for writing
  bool registry_create_fails = false;
  std::set<std::string> registry_write_fails;  // value names whose RegSetValueExA fails
  std::uint32_t RegDword(const std::string& key, const std::string& name) const;
  std::string RegString(const std::string& key, const std::string& name) const;

  // ---- hot keys --------------------------------------------------------------
  struct HotKey {
    Hwnd window;
    int id;
    std::uint32_t modifiers;
    std::uint32_t vk;
  };
  std::vector<HotKey> hotkeys;  // currently registered
  // Presses a combination on the "desktop": the registered owner gets
  // WM_HOTKEY as a posted message. False when nobody holds it.
  bool PressHotKey(std::uint32_t modifiers, std::uint32_t vk);

  // ---- shell and system ------------------------------------------------------
  std::uint32_t major_version = 10;
  std::string program_path = "C:\\ZEPX\\zepx.exe";
  std::vector<std::string> arguments;
  struct Process {
    std::string command_line;
    std::string current_dir;
    bool runas = false;
  };
  std::vector<Process> processes;
  std::vector<NotifyIconData> tray;  // icons present now
  std::vector<Hwnd> drop_targets;
  std::string local_date_time = "2026/12/06 12:34:56";
  bool has_layered_function = true;
  std::vector<std::uintptr_t> loaded_libraries;

  // ---- local time -------------------------------------------------------------
  // The local time follows the virtual clock: at virtual time 0 it is
  // 2026-12-06 (a Sunday) 12:34:56.000, the moment of local_date_time.
  SystemTime LocalTime() const;
  // Sets the computer's clock (forward or back) to t at the current
  // virtual time; it goes on running from there.
  void SetLocalTime(const SystemTime& t);
  // What the system calls the Japanese era of every date, and the
  // Gregorian year in which that era's year 1 falls; the morning and
  // afternoon words and the weekday names of the user's locale.
  std::string era_name = "令和";
  int era_first_year = 2019;
  std::string am_word = "午前";
  std::string pm_word = "午後";
  std::vector<std::string> short_day_names = {"日", "月", "火", "水", "木", "金", "土"};
  std::vector<std::string> long_day_names = {"日曜日", "月曜日", "火曜日", "水曜日",
                                             "木曜日", "金曜日", "土曜日"};

  // ---- power and dial-up ---------------------------------------------------------
  // Names of the calls that fail ("OpenProcessToken", "ExitWindowsEx", ...).
  std::set<std::string> failing_calls;
  // What GetLastError tells after AdjustTokenPrivileges (1300: the
  // privilege is not held).
  std::uint32_t adjust_last_error = 0;
  std::vector<std::string> stdout_lines;
  // Active dial-up connections, by handle, in enumeration order.
  std::vector<std::uintptr_t> dialup_connections;
  bool dialup_library_missing = false;

  // ---- IMessageLoop ----------------------------------------------------------
  bool ProcessOneMessage() override;
  void ProcessPendingMessages() override;
  void PostTask(std::function<void()> fn) override;
  std::uint32_t SetTimer(std::uint32_t interval_ms, std::function<void()> fn) override;
  void KillTimer(std::uint32_t id) override;
  void Sleep(std::uint32_t ms) override;
  std::int64_t NowMs() override { return now; }
  void Quit() override;

  // ---- IDialogs ------------------------------------------------------------------
  MsgResult MessageBox(const std::string& text, MsgKind kind) override;
  void MessageBeep(std::uint32_t type) override;
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& o) override;
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& o) override;
  std::optional<std::string> BrowseForFolder(Hwnd owner, const std::string& title,
                                             const std::string& preselect) override;

  // ---- IFileSystem ---------------------------------------------------------------
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string& bytes) override;
  SaveResult WriteFile(const std::string& path, const std::string& bytes) override;
  bool WriteFileInPlace(const std::string& path, const std::string& bytes) override;

  // ---- IWindows ---------------------------------------------------------------------
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

  // ---- IInput -------------------------------------------------------------------------
  void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                   std::uintptr_t extra) override;
  std::uint32_t SendInput(const std::vector<KeyRecord>& records) override;
  std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t map_type) override;
  std::int16_t VkKeyScanA(char ch) override;
  std::uint32_t GetACP() override { return ansi_code_page; }
  std::u16string Cp932ToUtf16(const std::string& text) override;
  void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::uint32_t data,
                   std::uintptr_t extra) override;
  bool SetCursorPos(int x, int y) override;
  bool GetCursorPos(Point& p) override;
  bool ClipCursor(const Rect* r) override;
  std::int16_t GetAsyncKeyState(int vk) override;
  Hwnd SetCapture(Hwnd w) override;
  bool ReleaseCapture() override;
  std::uint32_t GetScreenCursor() override { return screen_cursor; }
  void SetScreenCursor(std::uint32_t cursor_id) override;
  std::uintptr_t SetJournalRecordHook() override;
  std::uintptr_t SetLeftButtonHook(std::function<void()> on_left_down) override;
  bool UnhookWindowsHookEx(std::uintptr_t hook) override;

  // ---- IRegistry ------------------------------------------------------------------------
  bool OpenKey(const std::string& path, Key& key) override;
  bool CreateKey(const std::string& path, Key& key) override;
  bool QueryValue(Key key, const std::string& name, RegType& type, std::string& data) override;
  bool SetValue(Key key, const std::string& name, RegType type, const std::string& data) override;
  bool DeleteValue(Key key, const std::string& name) override;
  void CloseKey(Key key) override;

  // ---- IHotKeys -----------------------------------------------------------------------
  Hwnd CreateMessageWindow(std::function<void(int id)> on_hotkey) override;
  void DestroyMessageWindow(Hwnd w) override;
  bool RegisterHotKey(Hwnd w, int id, std::uint32_t modifiers, std::uint32_t vk) override;
  bool UnregisterHotKey(Hwnd w, int id) override;

  // ---- IShell ---------------------------------------------------------------------------
  std::uint32_t WindowsMajorVersion() override { return major_version; }
  std::string ProgramPath() override { return program_path; }
  std::vector<std::string> CommandLineArguments() override { return arguments; }
  bool CreateProcessA(const std::string& command_line, const std::string& current_dir) override;
  bool ShellExecuteRunAs(const std::string& file, const std::string& params) override;
  bool ShellExecuteA(const std::string& verb, const std::string& file) override;
  bool NotifyIconAdd(const NotifyIconData& d) override;
  bool NotifyIconDelete(const NotifyIconData& d) override;
  bool NotifyIconModify(const NotifyIconData& d) override;
  void DragAcceptFiles(Hwnd w, bool accept) override;
  std::string LocalDateTimeText() override { return local_date_time; }
  bool ShellExecuteFile(const std::string& file, int show) override;

  // ---- ITranslucency -----------------------------------------------------------------------
  std::uintptr_t LoadLibraryA(const std::string& name) override;
  void* GetProcAddress(std::uintptr_t module, const std::string& name) override;
  void FreeLibrary(std::uintptr_t module) override;
  std::int32_t GetWindowLongA(Hwnd w, int index) override;
  std::int32_t SetWindowLongA(Hwnd w, int index, std::int32_t value) override;
  bool SetLayeredWindowAttributes(void* fn, Hwnd w, std::uint32_t color_key, std::uint8_t alpha,
                                  std::uint32_t flags) override;

  // ---- IClock --------------------------------------------------------------------------------
  SystemTime GetLocalTime() override { return LocalTime(); }
  std::string GetDateFormatA(const SystemTime& t, const std::string& picture,
                             bool japanese_calendar) override;
  std::string GetTimeFormatA(const SystemTime& t, const std::string& picture) override;

  // ---- IPower --------------------------------------------------------------------------------
  Handle GetCurrentProcess() override;
  bool OpenProcessToken(Handle process, std::uint32_t access, Handle& token) override;
  bool LookupPrivilegeValueA(const std::string& name, std::uint64_t& luid) override;
  bool AdjustTokenPrivileges(Handle token, bool disable_all, std::uint64_t luid,
                             std::uint32_t attributes) override;
  std::uint32_t GetLastError() override { return last_error_; }
  bool CloseToken(Handle token) override;
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
  bool SetSystemPowerState(bool suspend, bool force) override;
  void WriteStdOut(const std::string& line) override;

  // ---- IDialUp -------------------------------------------------------------------------------
  std::uint32_t RasEnumConnectionsA(RasConnA* connections, std::uint32_t& size_bytes,
                                    std::uint32_t& count) override;
  std::uint32_t RasHangUpA(std::uintptr_t connection) override;

  // ---- IInputEvents: the user's keys and mouse, scripted ------------------
  bool StartInputEvents(std::function<void(const InputEvent&)> sink) override;
  void StopInputEvents() override;
  InputMetrics GetInputMetrics() override;
  InputMetrics input_metrics;
  bool input_events_refused = false;
  bool InputEventsOn() const { return static_cast<bool>(input_sink_); }
  // Delivers each event at its own time while the events are on.
  void ScriptInput(const std::vector<InputEvent>& events);

 private:
  std::function<void(const InputEvent&)> input_sink_;
  void Record(std::string text);
  bool RunDue(bool advance);  // one due item; advance: move the clock to the next one
  Platform platform_;
  std::deque<std::function<void()>> tasks_;
  struct Timer {
    std::uint32_t id;
    std::uint32_t interval;
    std::int64_t due;
    std::shared_ptr<std::function<void()>> fn;
  };
  std::vector<Timer> timers_;
  std::uint32_t next_timer_id_ = 1;
  struct Scripted {
    std::int64_t t;
    std::uint64_t seq;
    std::function<void()> fn;
  };
  std::vector<Scripted> scripted_;
  std::uint64_t scripted_seq_ = 0;
  int dispatched_ = 0;
  std::vector<Window> windows_;  // top-level z-order topmost first; children anywhere
  Hwnd next_hwnd_ = 0x10010;
  std::map<Key, std::string> open_keys_;
  Key next_key_ = 1;
  std::map<Hwnd, std::function<void(int)>> message_windows_;
  std::uintptr_t next_hook_ = 0x5000;
  std::int64_t local_origin_ms_;  // local time at virtual time 0, ms since 1970-01-01
  std::uint32_t last_error_ = 0;
  bool Fails(const char* call) const { return failing_calls.count(call) > 0; }

 public:
  const std::vector<Window>& Windows() const { return windows_; }
  // The user's answers to the program's own windows (the native forms of
  // the host tests play them): the item the user picks in each pop-up menu
  // opened (front first; none when the queue is empty), and what the user
  // does while a window of the given class is shown modally (the modal
  // show ends when it returns).
  std::deque<int> popup_choices;
  std::function<void(const std::string& class_name)> on_modal;
};

}  // namespace zepx
