// Message loop, window timers, posted tasks and the hidden windows that
// receive them.
#include "platform/win32/win32_internal.h"

#include <exception>
#include <iterator>
#include <vector>

// Older MinGW headers lack it (Windows 10 1803 and later).
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace zepx::win32 {
namespace {

constexpr UINT kRunTask = WM_APP + 1;
constexpr UINT kTakeInput = WM_APP + 2;  // the recorder's hooks queued events (win32_record.cpp)

LRESULT CALLBACK SinkProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    bool handled = false;
    const std::intptr_t r = self->HandleSinkMessage(N(hwnd), msg, wparam, lparam, handled);
    if (handled) return r;
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace

const wchar_t* SinkClassName() {
  static const wchar_t* const name = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZEPXSink";
    RegisterClassExW(&wc);
    return L"ZEPXSink";
  }();
  return name;
}

Win32Platform::Win32Platform()
    : platform_{*this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this} {
  sink_ = N(CreateWindowExW(0, SinkClassName(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), this));
}

Win32Platform::~Win32Platform() {
  StopInputEvents();
  for (auto& [w, fn] : hotkey_windows_) DestroyWindow(H(w));
  hotkey_windows_.clear();
  if (sink_) DestroyWindow(H(sink_));
}

void Win32Platform::SetTitle(const std::string& cp932) {
  title_source_ = [cp932] { return cp932; };
}
void Win32Platform::SetOwner(Hwnd owner) {
  owner_source_ = [owner] { return owner; };
}
void Win32Platform::SetTitleSource(std::function<std::string()> title) {
  title_source_ = std::move(title);
}
void Win32Platform::SetOwnerSource(std::function<Hwnd()> owner) {
  owner_source_ = std::move(owner);
}
void Win32Platform::SetMessageFilter(std::function<bool(tagMSG&)> filter) {
  filter_ = std::move(filter);
}

std::string Win32Platform::DialogTitle() const {
  std::string t = title_source_ ? title_source_() : std::string();
  return t.empty() ? std::string("ZEPX") : t;
}

Hwnd Win32Platform::DialogOwner() const {
  const Hwnd w = owner_source_ ? owner_source_() : 0;
  // While a modal window of ours is up, its owner is disabled: a box owned
  // by that owner would leave the modal window usable beside it and, when
  // it closed, enable the owner under the modal window. The box belongs to
  // the window the user is working in then.
  if (w && ::IsWindow(H(w)) && !::IsWindowEnabled(H(w))) {
    HWND active = ::GetActiveWindow();
    if (active && ::IsWindowEnabled(active) && ::IsWindowVisible(active)) return N(active);
  }
  return (w && ::IsWindow(H(w))) ? w : 0;
}

bool Win32Platform::DispatchOne(MSG& msg) {
  if (msg.message == WM_QUIT) {
    quit_ = true;
    return false;
  }
  // Window procedures should catch their own failures; this is the last net
  // for one that did not, where the system lets the exception through.
  Guarded([&] {
    if (filter_ && filter_(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  });
  return true;
}

bool Win32Platform::ProcessOneMessage() {
  if (quit_) return false;
  MSG msg;
  if (precise_.empty()) {
    const BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0) {
      quit_ = true;
      return false;
    }
    if (r == -1) return false;
    return DispatchOne(msg);
  }
  // With a precise timer running, the wait is on its handle and the queue
  // together; the timer's tick counts as the message dispatched.
  for (;;) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return DispatchOne(msg);
    std::vector<HANDLE> handles;
    for (const auto& [id, t] : precise_) handles.push_back(t.handle);
    const DWORD r = MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(),
                                                INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r >= WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + handles.size()) {
      FirePreciseTimer(r - WAIT_OBJECT_0);
      return !quit_;
    }
    if (r == WAIT_FAILED) return GetMessageW(&msg, nullptr, 0, 0) > 0 && DispatchOne(msg);
  }
}

void Win32Platform::ProcessPendingMessages() {
  MSG msg;
  while (!quit_) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchOne(msg);
    else if (!FireDuePreciseTimers()) break;
  }
}

bool Win32Platform::FirePreciseTimer(std::size_t index) {
  auto it = precise_.begin();
  std::advance(it, static_cast<std::ptrdiff_t>(index));
  // A copy: the callback may kill its own timer.
  const auto fn = it->second.fn;
  Guarded([&] { (*fn)(); });
  return true;
}

bool Win32Platform::FireDuePreciseTimers() {
  std::size_t i = 0;
  for (const auto& [id, t] : precise_) {
    if (WaitForSingleObject(t.handle, 0) == WAIT_OBJECT_0) return FirePreciseTimer(i);
    ++i;
  }
  return false;
}

void Win32Platform::PostTask(std::function<void()> fn) {
  tasks_.push_back(std::move(fn));
  PostMessageW(H(sink_), kRunTask, 0, 0);
}

std::uint32_t Win32Platform::SetTimer(std::uint32_t interval_ms, std::function<void()> fn) {
  std::uint32_t id = next_timer_id_++;
  if (next_timer_id_ == 0) next_timer_id_ = 1;
  if (!::SetTimer(H(sink_), id, interval_ms, nullptr)) return 0;
  timers_[id] = std::make_shared<std::function<void()>>(std::move(fn));
  return id;
}

std::uint32_t Win32Platform::SetPreciseTimer(std::uint32_t interval_ms, std::function<void()> fn) {
  // The high-resolution kind exists from Windows 10 1803 on; before it the
  // call fails and the window timer serves, as it always did.
  HANDLE h = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                    TIMER_ALL_ACCESS);
  if (!h) return SetTimer(interval_ms, std::move(fn));
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(interval_ms) * 10000;  // relative, 100 ns units
  if (!SetWaitableTimer(h, &due, static_cast<LONG>(interval_ms), nullptr, nullptr, FALSE)) {
    CloseHandle(h);
    return SetTimer(interval_ms, std::move(fn));
  }
  std::uint32_t id = next_timer_id_++;
  if (next_timer_id_ == 0) next_timer_id_ = 1;
  precise_[id] = {h, std::make_shared<std::function<void()>>(std::move(fn))};
  return id;
}

void Win32Platform::KillTimer(std::uint32_t id) {
  if (timers_.erase(id)) ::KillTimer(H(sink_), id);
  auto p = precise_.find(id);
  if (p != precise_.end()) {
    CancelWaitableTimer(p->second.handle);
    CloseHandle(p->second.handle);
    precise_.erase(p);
  }
}

void Win32Platform::Sleep(std::uint32_t ms) { ::Sleep(ms); }

std::int64_t Win32Platform::NowMs() {
  static const std::int64_t freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<std::int64_t>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  const std::int64_t n = c.QuadPart;
  return n / freq * 1000 + n % freq * 1000 / freq;
}

void Win32Platform::Quit() { PostQuitMessage(0); }

// Nothing may unwind through DispatchMessageW (on Windows an exception
// crossing the system's frames is lost or ends the process): a failing
// callback is reported the way the application reports any failure.
void Win32Platform::Guarded(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    MessageBox(e.what(), MsgKind::Info);
  }
}

std::intptr_t Win32Platform::HandleSinkMessage(Hwnd w, std::uint32_t msg, std::uintptr_t wparam,
                                               std::intptr_t /*lparam*/, bool& handled) {
  if (w == sink_) {
    if (msg == WM_TIMER) {
      auto it = timers_.find(static_cast<std::uint32_t>(wparam));
      if (it != timers_.end()) {
        // A copy: the callback may kill its own timer.
        const auto fn = it->second;
        handled = true;
        Guarded([&] { (*fn)(); });
        return 0;
      }
    } else if (msg == kTakeInput) {
      handled = true;
      TakeInputEvents();
      return 0;
    } else if (msg == kRunTask) {
      handled = true;
      if (!tasks_.empty()) {
        auto fn = std::move(tasks_.front());
        tasks_.pop_front();
        if (fn) Guarded(fn);
      }
      return 0;
    }
    return 0;
  }
  if (msg == WM_HOTKEY) {
    auto it = hotkey_windows_.find(w);
    if (it != hotkey_windows_.end()) {
      const auto fn = it->second;
      handled = true;
      if (*fn) Guarded([&] { (*fn)(static_cast<int>(wparam)); });
      return 0;
    }
  }
  return 0;
}

// ---- hot keys ---------------------------------------------------------------

Hwnd Win32Platform::CreateMessageWindow(std::function<void(int id)> on_hotkey) {
  HWND w = CreateWindowExW(0, SinkClassName(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), this);
  if (!w) return 0;
  hotkey_windows_[N(w)] = std::make_shared<std::function<void(int)>>(std::move(on_hotkey));
  return N(w);
}

void Win32Platform::DestroyMessageWindow(Hwnd w) {
  if (hotkey_windows_.erase(w)) DestroyWindow(H(w));
}

bool Win32Platform::RegisterHotKey(Hwnd w, int id, std::uint32_t modifiers, std::uint32_t vk) {
  return ::RegisterHotKey(H(w), id, modifiers, vk) != FALSE;
}

bool Win32Platform::UnregisterHotKey(Hwnd w, int id) {
  return ::UnregisterHotKey(H(w), id) != FALSE;
}

}  // namespace zepx::win32
