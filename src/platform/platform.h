// The operating-system services the program logic uses, as small
// interfaces. Two implementations exist: the real Win32 one
// (src/platform/win32, MinGW only) and a recording substitute with a
// virtual clock (src/platform/fake) for host tests.
//
// All text crossing these interfaces is cp932 bytes, exactly what the logic
// keeps; the Win32 side converts to UTF-16 where the system wants it.
// Operations keep their Win32 names where they are one Win32 call, so that
// a reader can map the logic onto the system directly.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/input_events.h"
#include "platform/types.h"

namespace zepx {

// --- message loop, timers, plain sleeps ---------------------------------
class IMessageLoop {
 public:
  virtual ~IMessageLoop() = default;
  // Blocks (never spins) until one message has been dispatched. Returns
  // false when the application has been told to quit.
  virtual bool ProcessOneMessage() = 0;
  // Dispatches everything already queued, without blocking.
  virtual void ProcessPendingMessages() = 0;
  // Runs fn later from the message loop (a message posted to our own
  // hidden window).
  virtual void PostTask(std::function<void()> fn) = 0;
  // Window timer: fn runs every interval_ms from the message loop until
  // KillTimer. Returns a non-zero id.
  virtual std::uint32_t SetTimer(std::uint32_t interval_ms, std::function<void()> fn) = 0;
  // The same for a wait that must end on time: where the system has a
  // high-resolution waitable timer the loop waits on it, not bound to the
  // window timers' tick. KillTimer ends either kind.
  virtual std::uint32_t SetPreciseTimer(std::uint32_t interval_ms, std::function<void()> fn) {
    return SetTimer(interval_ms, std::move(fn));
  }
  virtual void KillTimer(std::uint32_t id) = 0;
  // Blocking sleep that processes no messages.
  virtual void Sleep(std::uint32_t ms) = 0;
  // Milliseconds of a monotonic clock (virtual in the substitute).
  virtual std::int64_t NowMs() = 0;
  // Ends the message loop (PostQuitMessage).
  virtual void Quit() = 0;
};

// --- message boxes, beeps and file dialogs --------------------------------------
enum class MsgKind { Info, YesNo, OkCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct FileDialogOptions {
  std::string filter;        // "ZEP SendBatch List (*.mcr)|*.mcr"
  std::string default_ext;   // "mcr"
  std::string file_name;     // proposed name or path
  std::string initial_dir;
  bool overwrite_prompt = false;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  virtual MsgResult MessageBox(const std::string& text, MsgKind kind) = 0;
  // The system sound of the given kind (0: the default beep), as a refused
  // keystroke makes.
  virtual void MessageBeep(std::uint32_t type) = 0;
  // Return the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> OpenFileDialog(const FileDialogOptions& o) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogOptions& o) = 0;
  // The shell's folder browser over the computer's drives, owned by
  // `owner`, with `title` above the tree and the selected folder's path in
  // a status line; `preselect` (when not empty) is selected when it opens.
  // Returns the chosen folder's path, or nothing when cancelled.
  virtual std::optional<std::string> BrowseForFolder(Hwnd owner, const std::string& title,
                                                     const std::string& preselect) = 0;
};

// --- files ----------------------------------------------------------------
enum class SaveResult {
  Saved,
  Failed,         // nothing was changed: an old file is as it was
  NoSafeReplace,  // an old file could only be overwritten in place; nothing was changed yet
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Whole-file read of raw bytes. False on any failure.
  virtual bool ReadFile(const std::string& path, std::string& bytes) = 0;
  // Writes the whole file so that a failure half-way (a full disk) leaves an
  // old file untouched: the bytes go to a temporary file beside it, which
  // then replaces it, keeping the old file's attributes. A read-only or
  // missing folder fails. Where no file can be created beside an existing
  // one, or the replacement is refused, the answer is NoSafeReplace.
  virtual SaveResult WriteFile(const std::string& path, const std::string& bytes) = 0;
  // Truncates and rewrites in place: what NoSafeReplace leaves as the only
  // way, at the risk of losing the old contents if it fails half-way.
  virtual bool WriteFileInPlace(const std::string& path, const std::string& bytes) = 0;
};

// --- windows and messages -------------------------------------------------
class IWindows {
 public:
  virtual ~IWindows() = default;
  // class_name or title may be null for "any".
  virtual Hwnd FindWindowA(const char* class_name, const char* title) = 0;
  virtual Hwnd FindWindowExA(Hwnd parent, Hwnd child_after, const char* class_name,
                             const char* title) = 0;
  virtual bool IsWindow(Hwnd w) = 0;
  virtual bool PostMessageA(Hwnd w, std::uint32_t msg, std::uintptr_t wparam,
                            std::intptr_t lparam) = 0;
  virtual Hwnd WindowFromPoint(Point p) = 0;
  virtual bool ScreenToClient(Hwnd w, Point& p) = 0;
  virtual Hwnd GetForegroundWindow() = 0;
  virtual bool SetForegroundWindow(Hwnd w) = 0;
  virtual Hwnd SetActiveWindow(Hwnd w) = 0;
  virtual Hwnd SetFocus(Hwnd w) = 0;
  virtual bool SetWindowPos(Hwnd w, Hwnd insert_after, int x, int y, int cx, int cy,
                            std::uint32_t flags) = 0;
  // Visible, unowned top-level windows in z-order, topmost first, at most
  // `limit` of them, with their texts (WM_GETTEXT).
  struct TopLevel {
    Hwnd hwnd;
    std::string text;
  };
  virtual std::vector<TopLevel> EnumTopLevelWindows(std::size_t limit) = 0;
  // The mandatory integrity level (0x2000 medium, 0x3000 high, 0x4000
  // system) of the process that owns a window, or of our own process for
  // 0; nothing when the system does not tell. The system drops injected
  // input aimed at a process above our own level.
  virtual std::optional<std::uint32_t> IntegrityLevel(Hwnd w) = 0;
  // GetParent: for a pop-up window its owner, as the system answers.
  virtual Hwnd GetParent(Hwnd w) = 0;
  // The window's text as the window itself gives it (WM_GETTEXTLENGTH, then
  // WM_GETTEXT into that length plus one); empty for a null handle or a
  // window that does not answer.
  virtual std::string WindowText(Hwnd w) = 0;
  // GetClassNameA with a 100-byte buffer: at most 99 bytes.
  virtual std::string WindowClassName(Hwnd w) = 0;
  // What a point bound to a window's client area needs.
  virtual bool IsWindowVisible(Hwnd w) = 0;
  virtual bool IsIconic(Hwnd w) = 0;
  virtual bool ShowWindow(Hwnd w, int cmd) = 0;
  virtual bool ClientToScreen(Hwnd w, Point& p) = 0;
  // GetDpiForWindow where the system has it (Windows 10 1607 on), looked
  // up when first needed; 96 elsewhere and for a window it cannot tell.
  virtual std::uint32_t GetDpiForWindow(Hwnd w) = 0;
  virtual Hwnd GetAncestor(Hwnd w, std::uint32_t flags) = 0;
  // The child of `parent` at p, given in the parent's client coordinates;
  // the parent itself when no child is there, 0 outside it.
  virtual Hwnd ChildWindowFromPointEx(Hwnd parent, Point p, std::uint32_t flags) = 0;
  // GetPixel on the screen's device context, as 0xRRGGBB; nothing where
  // the point is on no screen.
  virtual std::optional<std::uint32_t> GetPixel(Point p) = 0;
};

// --- synthetic input --------------------------------------------------------
class IInput {
 public:
  virtual ~IInput() = default;
  virtual void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                           std::uintptr_t extra) = 0;
  virtual std::uint32_t SendInput(const std::vector<KeyRecord>& records) = 0;
  virtual std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t map_type) = 0;
  virtual std::int16_t VkKeyScanA(char ch) = 0;
  // The system's ANSI code page, whose letters VkKeyScanA takes bytes for.
  virtual std::uint32_t GetACP() = 0;
  // The UTF-16 of cp932 text (MultiByteToWideChar with code page 932).
  virtual std::u16string Cp932ToUtf16(const std::string& text) = 0;
  virtual void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                           std::uint32_t data, std::uintptr_t extra) = 0;
  virtual bool SetCursorPos(int x, int y) = 0;
  virtual bool GetCursorPos(Point& p) = 0;
  virtual bool ClipCursor(const Rect* r) = 0;  // null releases

  // The window picker: the button state, mouse capture, the cursor shape
  // and the hooks it installs while the user points.
  // GetAsyncKeyState: bit 0x8000 while the key or button is down.
  virtual std::int16_t GetAsyncKeyState(int vk) = 0;
  virtual Hwnd SetCapture(Hwnd w) = 0;
  virtual bool ReleaseCapture() = 0;
  // The cursor shown over every window of the program, whatever their own:
  // a system cursor id (win::IDC_CROSS ...), or 0 to let each window decide.
  virtual std::uint32_t GetScreenCursor() = 0;
  virtual void SetScreenCursor(std::uint32_t cursor_id) = 0;
  // SetWindowsHookExA(WH_JOURNALRECORD) for the whole desktop, with a
  // procedure that records nothing. 0 when the system refuses it (current
  // Windows without UI access, Wine).
  virtual std::uintptr_t SetJournalRecordHook() = 0;
  // SetWindowsHookExA(WH_MOUSE_LL): on_left_down runs on our thread, from
  // inside message retrieval, for every press of the left button anywhere
  // on the desktop; it must only take note. 0 when refused.
  virtual std::uintptr_t SetLeftButtonHook(std::function<void()> on_left_down) = 0;
  virtual bool UnhookWindowsHookEx(std::uintptr_t hook) = 0;
};

// --- registry (HKEY_CURRENT_USER only) ------------------------------------
enum class RegType : std::uint32_t {
  None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4, MultiSz = 7, Qword = 11
};

class IRegistry {
 public:
  using Key = std::uintptr_t;
  virtual ~IRegistry() = default;
  // path is relative to HKEY_CURRENT_USER; a leading "\" is allowed.
  virtual bool OpenKey(const std::string& path, Key& key) = 0;    // RegOpenKeyExA, KEY_ALL_ACCESS
  virtual bool CreateKey(const std::string& path, Key& key) = 0;  // RegCreateKeyExA
  // RegQueryValueExA: false when the value is missing. String data comes
  // without its terminating zero; a DWORD comes as 4 little-endian bytes.
  virtual bool QueryValue(Key key, const std::string& name, RegType& type,
                          std::string& data) = 0;
  virtual bool SetValue(Key key, const std::string& name, RegType type,
                        const std::string& data) = 0;
  virtual bool DeleteValue(Key key, const std::string& name) = 0;
  virtual void CloseKey(Key key) = 0;
};

// --- global hot keys --------------------------------------------------------
class IHotKeys {
 public:
  virtual ~IHotKeys() = default;
  // A hidden window of our own that receives WM_HOTKEY; on_hotkey gets the
  // identifier (wParam).
  virtual Hwnd CreateMessageWindow(std::function<void(int id)> on_hotkey) = 0;
  virtual void DestroyMessageWindow(Hwnd w) = 0;
  virtual bool RegisterHotKey(Hwnd w, int id, std::uint32_t modifiers, std::uint32_t vk) = 0;
  virtual bool UnregisterHotKey(Hwnd w, int id) = 0;
};

// --- processes, shell, notification area, system ---------------------------
struct NotifyIconData {
  Hwnd owner = 0;
  std::uint32_t id = 0;
  std::uint32_t flags = 7;             // NIF_MESSAGE | NIF_ICON | NIF_TIP
  std::uint32_t callback_message = 1124;
  std::string tip;                     // at most 63 bytes are kept
  // A warning balloon, shown when flags hold NIF_INFO (0x10).
  std::string info_title;              // at most 63 bytes are kept
  std::string info;                    // at most 255 bytes are kept
};

class IShell {
 public:
  virtual ~IShell() = default;
  virtual std::uint32_t WindowsMajorVersion() = 0;
  virtual std::string ProgramPath() = 0;  // full path of our own exe
  virtual std::vector<std::string> CommandLineArguments() = 0;  // without argv[0]
  // CreateProcessA(NULL, command_line, ..., current_dir, own startup info)
  virtual bool CreateProcessA(const std::string& command_line, const std::string& current_dir) = 0;
  // ShellExecuteExA with verb "runas", mask 0x500, show 5.
  virtual bool ShellExecuteRunAs(const std::string& file, const std::string& params) = 0;
  virtual bool ShellExecuteA(const std::string& verb, const std::string& file) = 0;
  virtual bool NotifyIconAdd(const NotifyIconData& d) = 0;
  virtual bool NotifyIconDelete(const NotifyIconData& d) = 0;
  virtual bool NotifyIconModify(const NotifyIconData& d) = 0;
  virtual void DragAcceptFiles(Hwnd w, bool accept) = 0;
  // Local date and time as "short date" + " " + "long time".
  virtual std::string LocalDateTimeText() = 0;
  // ShellExecuteA(NULL, NULL, file, NULL, NULL, show): opens a file with
  // its default verb, owned by no window.
  virtual bool ShellExecuteFile(const std::string& file, int show) = 0;
};

// --- layered windows, looked up at run time ---------------------------------
class ITranslucency {
 public:
  virtual ~ITranslucency() = default;
  virtual std::uintptr_t LoadLibraryA(const std::string& name) = 0;
  virtual void* GetProcAddress(std::uintptr_t module, const std::string& name) = 0;
  virtual void FreeLibrary(std::uintptr_t module) = 0;
  virtual std::int32_t GetWindowLongA(Hwnd w, int index) = 0;
  virtual std::int32_t SetWindowLongA(Hwnd w, int index, std::int32_t value) = 0;
  // Calls the function found by GetProcAddress.
  virtual bool SetLayeredWindowAttributes(void* fn, Hwnd w, std::uint32_t color_key,
                                          std::uint8_t alpha, std::uint32_t flags) = 0;
};

// --- local time and the system's words for it -------------------------------
class IClock {
 public:
  virtual ~IClock() = default;
  virtual SystemTime GetLocalTime() = 0;
  // GetDateFormatA with a picture of the system's own date language ("ddd"
  // the short weekday name, "MMM" the short month name, "gg" the era, "y"
  // the year), in the user's locale; with japanese_calendar, in the
  // Japanese calendar, whose era and era year the system knows. Empty when
  // the system cannot format it.
  virtual std::string GetDateFormatA(const SystemTime& t, const std::string& picture,
                                     bool japanese_calendar) = 0;
  // GetTimeFormatA in the user's locale ("tt": the morning or afternoon word).
  virtual std::string GetTimeFormatA(const SystemTime& t, const std::string& picture) = 0;
};

// --- power state and shutdown -------------------------------------------------
class IPower {
 public:
  using Handle = std::uintptr_t;
  virtual ~IPower() = default;
  virtual Handle GetCurrentProcess() = 0;
  virtual bool OpenProcessToken(Handle process, std::uint32_t access, Handle& token) = 0;
  // On the local system.
  virtual bool LookupPrivilegeValueA(const std::string& name, std::uint64_t& luid) = 0;
  // A list of one privilege; no previous state wanted.
  virtual bool AdjustTokenPrivileges(Handle token, bool disable_all, std::uint64_t luid,
                                     std::uint32_t attributes) = 0;
  virtual std::uint32_t GetLastError() = 0;
  virtual bool CloseToken(Handle token) = 0;  // CloseHandle
  virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;
  virtual bool SetSystemPowerState(bool suspend, bool force) = 0;
  // One line to the process's standard output.
  virtual void WriteStdOut(const std::string& line) = 0;
};

// --- dial-up connections (Remote Access Service) ------------------------------
class IDialUp {
 public:
  virtual ~IDialUp() = default;
  // RasEnumConnectionsA into an array of records whose first dwSize is set;
  // size_bytes is the array's size in, the size needed out; count is the
  // number of connections out. 0 or an error code; where the library is
  // missing, an error and a count of 0.
  virtual std::uint32_t RasEnumConnectionsA(RasConnA* connections, std::uint32_t& size_bytes,
                                            std::uint32_t& count) = 0;
  virtual std::uint32_t RasHangUpA(std::uintptr_t connection) = 0;
};

// Everything together; forms hold a reference to this.
struct Platform {
  IMessageLoop& loop;
  IDialogs& dialogs;
  IFileSystem& files;
  IWindows& windows;
  IInput& input;
  IRegistry& registry;
  IHotKeys& hotkeys;
  IShell& shell;
  ITranslucency& translucency;
  IClock& clock;
  IPower& power;
  IDialUp& dialup;
  IInputEvents& input_events;
};

}  // namespace zepx
