// The recorder's input: low-level keyboard and mouse hooks and a
// foreground event hook, on a thread of their own. The system calls a
// low-level hook on the thread that set it and silently removes a hook
// that does not answer in time, and the user-interface thread may be
// blocked (a plain Sleep of a timed event); so the hook thread only stamps
// and queues each event and tells the user-interface thread, which takes
// the queue, looks up the windows and hands the events on in order.
#include "platform/win32/win32_internal.h"

#include <vector>

#include <imm.h>
#include <oleacc.h>

namespace zepx::win32 {

namespace {
constexpr UINT kTakeInput = WM_APP + 2;   // to the sink window: the queue has events
constexpr UINT kStopHooks = WM_APP + 3;   // to the hook thread: unhook and end
constexpr DWORD kImeAskMs = 100;          // a hung window must not stall recording

bool Own(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return w && pid == GetCurrentProcessId();
}

// The title as the system keeps it: no message to a window that may hang.
std::string Title(HWND w) {
  wchar_t buf[512] = {};
  GetWindowTextW(w, buf, 512);
  return Narrow(buf);
}

struct TaskbarSearch {
  const std::wstring& name;
  bool found;
};
BOOL CALLBACK FindTaskbarOwner(HWND top, LPARAM lp) {
  auto& s = *reinterpret_cast<TaskbarSearch*>(lp);
  wchar_t title[512] = L"";
  if (IsWindowVisible(top) && GetWindowTextW(top, title, 512) > 0 && s.name.rfind(title, 0) == 0) s.found = true;
  return !s.found;
}

// A click on the task bar's button of one of our windows. The task bar is
// another program's window: only the button's accessible name, which
// begins with the window's title, tells whose button is under the point.
// The libraries are looked up when such a click first comes (start-up
// needs none of them), on the user-interface thread, whose COM stays
// initialised for the rest of the program.
bool OnOwnTaskbarButton(HWND w, POINT p) {
  wchar_t cls[64] = L"";
  GetClassNameW(GetAncestor(w, GA_ROOT), cls, 64);
  if (lstrcmpW(cls, L"Shell_TrayWnd") != 0 && lstrcmpW(cls, L"Shell_SecondaryTrayWnd") != 0) return false;
  using Init = HRESULT(WINAPI*)(void*, DWORD);
  using FromPoint = HRESULT(WINAPI*)(POINT, IAccessible**, VARIANT*);
  using Free = void(WINAPI*)(BSTR);
  static const Init co_init = SystemProc<Init>(L"ole32.dll", "CoInitializeEx");
  static const bool com = co_init && SUCCEEDED(co_init(nullptr, COINIT_APARTMENTTHREADED));
  static const FromPoint from_point = SystemProc<FromPoint>(L"oleacc.dll", "AccessibleObjectFromPoint");
  static const Free free_string = SystemProc<Free>(L"oleaut32.dll", "SysFreeString");
  IAccessible* button = nullptr;
  VARIANT child;
  if (!com || !from_point || !free_string || FAILED(from_point(p, &button, &child)) || !button) return false;
  BSTR name = nullptr;
  const bool named = SUCCEEDED(button->get_accName(child, &name)) && name;
  const std::wstring text = named ? std::wstring(name) : L"";
  if (name) free_string(name);
  button->Release();
  TaskbarSearch search{text, false};
  EnumThreadWindows(GetCurrentThreadId(), FindTaskbarOwner, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ImeOpen(HWND focus) {
  HWND ime = ImmGetDefaultIMEWnd(focus);
  DWORD_PTR open = 0;
  if (!ime || !SendMessageTimeoutW(ime, WM_IME_CONTROL, 0x0005 /* IMC_GETOPENSTATUS */, 0,
                                   SMTO_ABORTIFHUNG, kImeAskMs, &open))
    return false;
  return open != 0;
}
}  // namespace

// One recording's hooks. The hook procedures get no context, so the one
// instance that exists while recording is reached through `current`.
class InputHooks {
 public:
  InputHooks(Win32Platform& platform, HWND sink) : platform_(platform), sink_(sink) {
    InitializeCriticalSection(&lock_);
  }

  ~InputHooks() {
    if (thread_) {
      PostThreadMessageW(thread_id_, kStopHooks, 0, 0);
      WaitForSingleObject(thread_, INFINITE);
      CloseHandle(thread_);
    }
    current = nullptr;
    DeleteCriticalSection(&lock_);
  }

  bool Start() {
    current = this;
    last_front_ = GetForegroundWindow();
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ready_ = ready;
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, &thread_id_);
    if (thread_) WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
    return thread_ && hooked_;
  }

  // On the user-interface thread: the events so far, with their windows.
  std::vector<InputEvent> Take() {
    std::vector<InputEvent> events;
    EnterCriticalSection(&lock_);
    events.swap(queue_);
    told_ = false;
    LeaveCriticalSection(&lock_);
    for (InputEvent& e : events) {
      HWND w = reinterpret_cast<HWND>(e.window);
      if (e.kind == InputEvent::Key) {
        HWND top = GetAncestor(w, GA_ROOT);
        e.top = reinterpret_cast<Hwnd>(top);
        e.title = Title(top);
        e.class_name = platform_.WindowClassName(e.window);
        e.own = Own(w);
        e.ime_open = !e.up && !e.own && ImeOpen(w);
      } else if (e.kind == InputEvent::Foreground) {
        e.title = Title(w);
      } else if (e.button != InputEvent::None && !e.own) {
        e.own = platform_.OnOwnTrayIcon(e.point) || OnOwnTaskbarButton(w, POINT{e.point.x, e.point.y});
      }
    }
    return events;
  }

  static InputHooks* current;

 private:
  static DWORD WINAPI ThreadMain(void* self_ptr) {
    auto* self = static_cast<InputHooks*>(self_ptr);
    HINSTANCE inst = GetModuleHandleW(nullptr);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before anyone posts
    HHOOK keys = SetWindowsHookExW(WH_KEYBOARD_LL, KeyProc, inst, 0);
    HHOOK mouse = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, inst, 0);
    HWINEVENTHOOK front = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                          ForegroundProc, 0, 0, WINEVENT_OUTOFCONTEXT);
    self->hooked_ = keys && mouse;
    SetEvent(self->ready_);
    if (self->hooked_) {
      while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != kStopHooks) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    if (keys) UnhookWindowsHookEx(keys);
    if (mouse) UnhookWindowsHookEx(mouse);
    if (front) UnhookWinEvent(front);
    return 0;
  }

  // Where the foreground event does not come (Wine), a change is still
  // seen at the next key or click, before it.
  void NoteForeground(HWND w) {
    if (w == last_front_) return;
    last_front_ = w;
    InputEvent e;
    e.kind = InputEvent::Foreground;
    e.window = reinterpret_cast<Hwnd>(w);
    e.own = Own(w);
    Push(std::move(e));
  }

  void Push(InputEvent e) {
    e.time_ms = platform_.NowMs();
    EnterCriticalSection(&lock_);
    queue_.push_back(std::move(e));
    const bool tell = !told_;
    told_ = true;
    LeaveCriticalSection(&lock_);
    if (tell) PostMessageW(sink_, kTakeInput, 0, 0);
  }

  static LRESULT CALLBACK KeyProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && current) {
      const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
      InputEvent e;
      e.kind = InputEvent::Key;
      e.vk = static_cast<std::uint8_t>(k->vkCode);
      e.scan = static_cast<std::uint16_t>(k->scanCode);
      e.extended = (k->flags & LLKHF_EXTENDED) != 0;
      e.up = (k->flags & LLKHF_UP) != 0;
      e.injected = (k->flags & (LLKHF_INJECTED | LLKHF_LOWER_IL_INJECTED)) != 0;
      GUITHREADINFO gui{};
      gui.cbSize = sizeof gui;
      if (GetGUIThreadInfo(0, &gui))
        e.window = reinterpret_cast<Hwnd>(gui.hwndFocus ? gui.hwndFocus : gui.hwndActive);
      current->NoteForeground(GetForegroundWindow());
      current->Push(std::move(e));
    }
    (void)wparam;
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }

  static LRESULT CALLBACK MouseProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && current) {
      const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lparam);
      InputEvent e;
      e.kind = InputEvent::Mouse;
      e.point = {m->pt.x, m->pt.y};
      e.injected = (m->flags & (LLMHF_INJECTED | LLMHF_LOWER_IL_INJECTED)) != 0;
      switch (wparam) {
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: e.button = InputEvent::Left; break;
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: e.button = InputEvent::Right; break;
        case WM_MOUSEWHEEL: case WM_MOUSEHWHEEL: e.button = InputEvent::Wheel; break;
        case WM_MOUSEMOVE: e.button = InputEvent::None; break;
        default: e.button = InputEvent::Middle; break;  // the middle and the side buttons
      }
      e.up = wparam == WM_LBUTTONUP || wparam == WM_RBUTTONUP || wparam == WM_MBUTTONUP ||
             wparam == WM_XBUTTONUP;
      if (e.button != InputEvent::None) {
        HWND w = WindowFromPoint(m->pt);
        e.window = reinterpret_cast<Hwnd>(w);
        e.own = Own(w);
        current->NoteForeground(GetForegroundWindow());
      }
      current->Push(std::move(e));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }

  static void CALLBACK ForegroundProc(HWINEVENTHOOK, DWORD, HWND w, LONG object, LONG, DWORD, DWORD) {
    if (current && object == OBJID_WINDOW) current->NoteForeground(w);
  }

  Win32Platform& platform_;
  HWND sink_;
  CRITICAL_SECTION lock_;
  std::vector<InputEvent> queue_;
  bool told_ = false;
  HANDLE thread_ = nullptr;
  HANDLE ready_ = nullptr;
  DWORD thread_id_ = 0;
  bool hooked_ = false;
  HWND last_front_ = nullptr;  // the hook thread's alone once started
};

InputHooks* InputHooks::current = nullptr;

void InputHooksDeleter::operator()(InputHooks* hooks) const { delete hooks; }

bool Win32Platform::StartInputEvents(std::function<void(const InputEvent&)> sink) {
  StopInputEvents();
  input_hooks_.reset(new InputHooks(*this, reinterpret_cast<HWND>(sink_)));
  if (!input_hooks_->Start()) {
    input_hooks_.reset();
    return false;
  }
  input_sink_ = std::move(sink);
  return true;
}

void Win32Platform::StopInputEvents() {
  input_hooks_.reset();
  input_sink_ = nullptr;
}

void Win32Platform::TakeInputEvents() {
  if (!input_hooks_) return;
  for (const InputEvent& e : input_hooks_->Take()) {
    // The receiver may end the recording on any event: nothing after that.
    const auto deliver = input_sink_;
    if (!deliver) break;
    Guarded([&] { deliver(e); });
  }
}

InputMetrics Win32Platform::GetInputMetrics() {
  InputMetrics m;
  m.double_click_ms = static_cast<std::int32_t>(GetDoubleClickTime());
  m.double_click_cx = GetSystemMetrics(SM_CXDOUBLECLK);
  m.double_click_cy = GetSystemMetrics(SM_CYDOUBLECLK);
  m.drag_cx = GetSystemMetrics(SM_CXDRAG);
  m.drag_cy = GetSystemMetrics(SM_CYDRAG);
  return m;
}

}  // namespace zepx::win32
