#include "platform/fake/fake_platform.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <sstream>

namespace zepx {

namespace {

std::string Join(std::initializer_list<long long> args) {
  std::string s;
  for (long long a : args) {
    if (!s.empty()) s += ',';
    s += std::to_string(a);
  }
  return s;
}

std::string Str(const char* s) { return s ? std::string("\"") + s + "\"" : std::string("null"); }

std::string NormalizeKey(const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.front() == '\\') p.erase(p.begin());
  return p;
}

bool Matches(const std::string& text, std::initializer_list<const char*> prefixes) {
  if (prefixes.size() == 0) return true;
  for (const char* p : prefixes)
    if (text.compare(0, std::strlen(p), p) == 0) return true;
  return false;
}

// US layout, set-1 scan codes, for the keys the tests use.
std::uint32_t ScanCode(std::uint32_t vk) {
  static const char* const kLetters = "QWERTYUIOPASDFGHJKLZXCVBNM";
  static const std::uint8_t kLetterScans[] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18,
                                              0x19, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25,
                                              0x26, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32};
  for (int i = 0; i < 26; ++i)
    if (static_cast<std::uint32_t>(kLetters[i]) == vk) return kLetterScans[i];
  if (vk >= '1' && vk <= '9') return 0x02 + (vk - '1');
  if (vk >= 0x70 && vk <= 0x79) return 0x3B + (vk - 0x70);  // F1..F10
  switch (vk) {
    case '0': return 0x0B;
    case 0x7A: return 0x57;
    case 0x7B: return 0x58;
    case 0x08: return 0x0E;
    case 0x09: return 0x0F;
    case 0x0D: return 0x1C;
    case 0x10: return 0x2A;
    case 0x11: return 0x1D;
    case 0x12: return 0x38;
    case 0x1B: return 0x01;
    case 0x20: return 0x39;
    case 0x21: return 0x49;
    case 0x22: return 0x51;
    case 0x23: return 0x4F;
    case 0x24: return 0x47;
    case 0x25: return 0x4B;
    case 0x26: return 0x48;
    case 0x27: return 0x4D;
    case 0x28: return 0x50;
    case 0x2C: return 0x54;  // SysRq's code, as the system answers for PrtSc
    case 0x2D: return 0x52;
    case 0x2E: return 0x53;
    case 0x5B: return 0x5B;
    case 0xBB: return 0x0D;
    case 0xBD: return 0x0C;
    case 0xBF: return 0x35;
    default: return 0;
  }
}

}  // namespace

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

SystemTime CivilFromMs(std::int64_t ms) {
  std::int64_t days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
  std::int64_t rest = ms - days * 86400000;
  SystemTime t;
  t.day_of_week = static_cast<std::uint16_t>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  t.year = static_cast<std::uint16_t>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
  t.month = static_cast<std::uint16_t>(m);
  t.day = static_cast<std::uint16_t>(d);
  t.hour = static_cast<std::uint16_t>(rest / 3600000);
  t.minute = static_cast<std::uint16_t>(rest / 60000 % 60);
  t.second = static_cast<std::uint16_t>(rest / 1000 % 60);
  t.milliseconds = static_cast<std::uint16_t>(rest % 1000);
  return t;
}

std::int64_t MsFromCivil(const SystemTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400000 + t.hour * 3600000LL +
         t.minute * 60000LL + t.second * 1000LL + t.milliseconds;
}

}  // namespace

FakePlatform::FakePlatform()
    : platform_{*this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this},
      local_origin_ms_(MsFromCivil(SystemTime{2026, 12, 0, 6, 12, 34, 56, 0})) {}

std::vector<std::string> FakePlatform::Texts(std::initializer_list<const char*> prefixes) const {
  std::vector<std::string> out;
  for (const Call& c : calls)
    if (Matches(c.text, prefixes)) out.push_back(c.text);
  return out;
}

std::vector<std::string> FakePlatform::Timed(std::initializer_list<const char*> prefixes) const {
  std::vector<std::string> out;
  for (const Call& c : calls)
    if (Matches(c.text, prefixes)) out.push_back(std::to_string(c.t) + ":" + c.text);
  return out;
}

void FakePlatform::Record(std::string text) { calls.push_back({now, std::move(text)}); }

// ---- message loop --------------------------------------------------------------

void FakePlatform::At(std::int64_t t, std::function<void()> fn) {
  scripted_.push_back({t, scripted_seq_++, std::move(fn)});
}

bool FakePlatform::RunDue(bool advance) {
  if (++dispatched_ > max_dispatch)
    throw FakeDeadlock("more messages dispatched than max_dispatch: endless run?");
  if (!tasks_.empty()) {
    auto fn = std::move(tasks_.front());
    tasks_.pop_front();
    fn();
    return true;
  }
  // The earliest of the timers and the scripted events; scripted events win
  // ties, as input arrives before WM_TIMER in a real queue.
  const Scripted* s = nullptr;
  for (const Scripted& x : scripted_)
    if (!s || x.t < s->t || (x.t == s->t && x.seq < s->seq)) s = &x;
  const Timer* tm = nullptr;
  for (const Timer& x : timers_)
    if (!tm || x.due < tm->due) tm = &x;
  const bool take_script = s && (!tm || s->t <= tm->due);
  const std::int64_t due = take_script ? s->t : (tm ? tm->due : 0);
  if (!s && !tm) return false;
  if (!advance && due > now) return false;
  if (due > now) now = due;
  if (take_script) {
    auto fn = std::move(const_cast<Scripted*>(s)->fn);
    const std::uint64_t seq = s->seq;
    scripted_.erase(std::remove_if(scripted_.begin(), scripted_.end(),
                                   [seq](const Scripted& x) { return x.seq == seq; }),
                    scripted_.end());
    fn();
  } else {
    Timer* t = const_cast<Timer*>(tm);
    t->due = now + t->interval;
    auto fn = t->fn;  // the handler may kill its own timer
    (*fn)();
  }
  return true;
}

bool FakePlatform::ProcessOneMessage() {
  if (quit_requested) return false;
  if (!RunDue(true))
    throw FakeDeadlock("waiting for a message that can never arrive (no timer, nothing posted)");
  return !quit_requested;
}

void FakePlatform::ProcessPendingMessages() {
  while (RunDue(false)) {
  }
}

void FakePlatform::RunUntil(std::int64_t t) {
  At(t, [] {});
  const std::uint64_t marker = scripted_seq_ - 1;
  auto pending = [&] {
    return std::any_of(scripted_.begin(), scripted_.end(),
                       [marker](const Scripted& s) { return s.seq == marker; });
  };
  while (pending() && !quit_requested) RunDue(true);
}

void FakePlatform::PostTask(std::function<void()> fn) { tasks_.push_back(std::move(fn)); }

std::uint32_t FakePlatform::SetTimer(std::uint32_t interval_ms, std::function<void()> fn) {
  const std::uint32_t id = next_timer_id_++;
  timers_.push_back({id, interval_ms, now + interval_ms,
                     std::make_shared<std::function<void()>>(std::move(fn))});
  Record("SetTimer(" + Join({id, interval_ms}) + ")");
  return id;
}

void FakePlatform::KillTimer(std::uint32_t id) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [id](const Timer& t) { return t.id == id; }),
                timers_.end());
  Record("KillTimer(" + Join({id}) + ")");
}

void FakePlatform::Sleep(std::uint32_t ms) {
  Record("Sleep(" + Join({ms}) + ")");
  now += ms;
}

void FakePlatform::Quit() {
  Record("PostQuitMessage()");
  quit_requested = true;
}

// ---- dialogs ----------------------------------------------------------------------

MsgResult FakePlatform::MessageBox(const std::string& text, MsgKind kind) {
  boxes.push_back({now, text, kind});
  Record("MessageBox(" + Join({static_cast<int>(kind)}) + ")");
  if (on_box) {
    if (auto r = on_box(boxes.back())) return *r;
  }
  if (kind == MsgKind::Info) return MsgResult::Ok;
  if (!answers.empty()) {
    MsgResult r = answers.front();
    answers.pop_front();
    return r;
  }
  return kind == MsgKind::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

void FakePlatform::MessageBeep(std::uint32_t type) { Record("MessageBeep(" + Join({type}) + ")"); }

std::optional<std::string> FakePlatform::OpenFileDialog(const FileDialogOptions& o) {
  dialogs_shown.push_back(o);
  Record("GetOpenFileName()");
  if (open_dialog_results.empty()) return std::nullopt;
  auto r = open_dialog_results.front();
  open_dialog_results.pop_front();
  return r;
}

std::optional<std::string> FakePlatform::SaveFileDialog(const FileDialogOptions& o) {
  dialogs_shown.push_back(o);
  Record("GetSaveFileName()");
  if (save_dialog_results.empty()) return std::nullopt;
  auto r = save_dialog_results.front();
  save_dialog_results.pop_front();
  return r;
}

std::optional<std::string> FakePlatform::BrowseForFolder(Hwnd owner, const std::string& title,
                                                         const std::string& preselect) {
  Record("SHBrowseForFolder(" + std::to_string(owner) + "," + title + "," + preselect + ")");
  if (folder_dialog_results.empty()) return std::nullopt;
  auto r = folder_dialog_results.front();
  folder_dialog_results.pop_front();
  return r;
}

// ---- files ----------------------------------------------------------------------------

bool FakePlatform::FileExists(const std::string& path) { return files.count(path) > 0; }
bool FakePlatform::DirectoryExists(const std::string& path) { return directories.count(path) > 0; }

bool FakePlatform::ReadFile(const std::string& path, std::string& bytes) {
  auto it = files.find(path);
  if (it == files.end() || unreadable.count(path)) return false;
  bytes = it->second;
  return true;
}

namespace {
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
}  // namespace

SaveResult FakePlatform::WriteFile(const std::string& path, const std::string& bytes) {
  Record("WriteFile(" + path + ")");
  if (unwritable.count(path) || directories.count(path)) return SaveResult::Failed;
  const bool exists = files.count(path) > 0;
  if (no_new_files.count(FolderOf(path)))
    return exists ? SaveResult::NoSafeReplace : SaveResult::Failed;
  // The temporary file needs room beside the old one.
  if (disk_free && bytes.size() > *disk_free) return SaveResult::Failed;
  if (disk_free) *disk_free = *disk_free + (exists ? files[path].size() : 0) - bytes.size();
  files[path] = bytes;
  return SaveResult::Saved;
}

bool FakePlatform::WriteFileInPlace(const std::string& path, const std::string& bytes) {
  Record("WriteFileInPlace(" + path + ")");
  if (unwritable.count(path) || directories.count(path)) return false;
  if (!files.count(path) && no_new_files.count(FolderOf(path))) return false;
  std::string& f = files[path];
  if (disk_free) {
    // Truncated first, then written until the disk is full.
    const std::size_t room = *disk_free + f.size();
    f = bytes.substr(0, std::min(room, bytes.size()));
    *disk_free = room - f.size();
    return f.size() == bytes.size();
  }
  f = bytes;
  return true;
}

// ---- windows -------------------------------------------------------------------------------

Hwnd FakePlatform::AddWindow(const std::string& title, const std::string& class_name, Rect rect,
                             Hwnd parent) {
  Window w;
  w.hwnd = next_hwnd_;
  next_hwnd_ += 0x10;
  w.title = title;
  w.class_name = class_name;
  w.rect = rect;
  w.parent = parent;
  windows_.insert(windows_.begin(), w);
  return w.hwnd;
}

void FakePlatform::DestroyWindow(Hwnd w) {
  for (Window& x : windows_)
    if (x.hwnd == w || x.parent == w) x.alive = false;
}

FakePlatform::Window* FakePlatform::FindWindowByHandle(Hwnd w) {
  for (Window& x : windows_)
    if (x.hwnd == w && x.alive) return &x;
  return nullptr;
}

Hwnd FakePlatform::FindWindowA(const char* class_name, const char* title) {
  Hwnd found = 0;
  for (const Window& w : windows_) {
    if (!w.alive || w.parent != 0) continue;
    if (class_name && w.class_name != class_name) continue;
    if (title && w.title != title) continue;
    found = w.hwnd;
    break;
  }
  Record("FindWindowA(" + Str(class_name) + "," + Str(title) + ")=" + std::to_string(found));
  return found;
}

Hwnd FakePlatform::FindWindowExA(Hwnd parent, Hwnd child_after, const char* class_name,
                                 const char* title) {
  Hwnd found = 0;
  bool passed = child_after == 0;
  for (const Window& w : windows_) {
    if (!w.alive || w.parent != parent) continue;
    if (!passed) {
      passed = w.hwnd == child_after;
      continue;
    }
    if (class_name && w.class_name != class_name) continue;
    if (title && w.title != title) continue;
    found = w.hwnd;
    break;
  }
  Record("FindWindowExA(" + Join({static_cast<long long>(parent), static_cast<long long>(child_after)}) +
         "," + Str(class_name) + "," + Str(title) + ")=" + std::to_string(found));
  return found;
}

bool FakePlatform::IsWindow(Hwnd w) {
  const bool r = FindWindowByHandle(w) != nullptr;
  Record("IsWindow(" + Join({static_cast<long long>(w)}) + ")=" + (r ? "1" : "0"));
  return r;
}

bool FakePlatform::PostMessageA(Hwnd w, std::uint32_t msg, std::uintptr_t wparam,
                                std::intptr_t lparam) {
  Record("PostMessageA(" +
         Join({static_cast<long long>(w), msg, static_cast<long long>(wparam), static_cast<long long>(lparam)}) +
         ")");
  posted.push_back({now, w, msg, wparam, lparam});
  return w == 0 ? false : FindWindowByHandle(w) != nullptr;
}

Hwnd FakePlatform::WindowFromPoint(Point p) {
  Hwnd found = 0;
  // Children lie above their parents; among top-levels the z-order decides.
  for (const Window& w : windows_) {
    if (!w.alive || !w.visible || w.minimised || w.parent != 0) continue;
    if (p.x < w.rect.left || p.x >= w.rect.right || p.y < w.rect.top || p.y >= w.rect.bottom) continue;
    found = w.hwnd;
    for (const Window& c : windows_) {
      if (!c.alive || !c.visible || c.parent != w.hwnd) continue;
      if (p.x >= c.rect.left && p.x < c.rect.right && p.y >= c.rect.top && p.y < c.rect.bottom)
        found = c.hwnd;
    }
    break;
  }
  Record("WindowFromPoint(" + Join({p.x, p.y}) + ")=" + std::to_string(found));
  return found;
}

namespace {

// Where a window's client area begins on the screen: a minimised top-level
// window lies where the system parks it, and its children with it.
Point ClientOrigin(const std::vector<FakePlatform::Window>& all, const FakePlatform::Window& w) {
  bool parked = w.minimised;
  for (Hwnd up = w.parent; up && !parked;) {
    Hwnd next = 0;
    for (const FakePlatform::Window& x : all)
      if (x.hwnd == up) {
        parked = x.minimised;
        next = x.parent;
      }
    up = next;
  }
  if (parked) return {-32000 + w.client.x, -32000 + w.client.y};
  return {w.rect.left + w.client.x, w.rect.top + w.client.y};
}

}  // namespace

bool FakePlatform::ScreenToClient(Hwnd w, Point& p) {
  Record("ScreenToClient(" + Join({static_cast<long long>(w), p.x, p.y}) + ")");
  Window* win = FindWindowByHandle(w);
  if (!win) return false;
  const Point o = ClientOrigin(windows_, *win);
  p.x -= o.x;
  p.y -= o.y;
  return true;
}

bool FakePlatform::ClientToScreen(Hwnd w, Point& p) {
  Record("ClientToScreen(" + Join({static_cast<long long>(w), p.x, p.y}) + ")");
  Window* win = FindWindowByHandle(w);
  if (!win) return false;
  const Point o = ClientOrigin(windows_, *win);
  p.x += o.x;
  p.y += o.y;
  return true;
}

bool FakePlatform::IsWindowVisible(Hwnd w) {
  const Window* win = FindWindowByHandle(w);
  return win && win->visible;
}

bool FakePlatform::IsIconic(Hwnd w) {
  const Window* win = FindWindowByHandle(w);
  return win && win->minimised;
}

bool FakePlatform::ShowWindow(Hwnd w, int cmd) {
  Record("ShowWindow(" + Join({static_cast<long long>(w), cmd}) + ")");
  Window* win = FindWindowByHandle(w);
  if (!win) return false;
  if (cmd == win::SW_RESTORE) win->minimised = false;
  return true;
}

std::uint32_t FakePlatform::GetDpiForWindow(Hwnd w) {
  const Window* win = FindWindowByHandle(w);
  return win ? win->dpi : 96;
}

Hwnd FakePlatform::GetAncestor(Hwnd w, std::uint32_t flags) {
  const Window* win = FindWindowByHandle(w);
  if (!win || flags != win::GA_ROOT) return 0;
  while (win && win->parent) win = FindWindowByHandle(win->parent);
  return win ? win->hwnd : 0;
}

Hwnd FakePlatform::ChildWindowFromPointEx(Hwnd parent, Point p, std::uint32_t flags) {
  Hwnd found = 0;
  if (const Window* win = FindWindowByHandle(parent)) {
    const Point o = ClientOrigin(windows_, *win);
    const Point s{p.x + o.x, p.y + o.y};
    auto inside = [&s](const Rect& r) {
      return s.x >= r.left && s.x < r.right && s.y >= r.top && s.y < r.bottom;
    };
    if (inside(win->rect)) found = parent;
    // The topmost child there: the last one made.
    for (const Window& c : windows_) {
      if (!found) break;
      if (!c.alive || c.parent != parent || !inside(c.rect)) continue;
      if (!c.visible && (flags & win::CWP_SKIPINVISIBLE)) continue;
      found = c.hwnd;
      break;
    }
  }
  Record("ChildWindowFromPointEx(" + Join({static_cast<long long>(parent), p.x, p.y}) + ")=" +
         std::to_string(found));
  return found;
}

Hwnd FakePlatform::GetForegroundWindow() {
  Record("GetForegroundWindow()=" + std::to_string(foreground));
  return foreground;
}

bool FakePlatform::SetForegroundWindow(Hwnd w) {
  Record("SetForegroundWindow(" + Join({static_cast<long long>(w)}) + ")");
  if (!FindWindowByHandle(w)) return false;
  foreground = w;
  return true;
}

Hwnd FakePlatform::SetActiveWindow(Hwnd w) {
  Record("SetActiveWindow(" + Join({static_cast<long long>(w)}) + ")");
  const Hwnd before = active;
  if (FindWindowByHandle(w)) active = w;
  return before;
}

Hwnd FakePlatform::SetFocus(Hwnd w) {
  Record("SetFocus(" + Join({static_cast<long long>(w)}) + ")");
  const Hwnd before = focus;
  if (FindWindowByHandle(w)) focus = w;
  return before;
}

bool FakePlatform::SetWindowPos(Hwnd w, Hwnd insert_after, int x, int y, int cx, int cy,
                                std::uint32_t flags) {
  Record("SetWindowPos(" +
         Join({static_cast<long long>(w), static_cast<long long>(static_cast<std::intptr_t>(insert_after)), x, y, cx, cy, flags}) +
         ")");
  return true;
}

std::vector<IWindows::TopLevel> FakePlatform::EnumTopLevelWindows(std::size_t limit) {
  Record("EnumTopLevelWindows(" + Join({static_cast<long long>(limit)}) + ")");
  std::vector<TopLevel> out;
  for (const Window& w : windows_) {
    if (out.size() >= limit) break;
    if (!w.alive || !w.visible || w.parent != 0 || w.owner != 0) continue;
    out.push_back({w.hwnd, w.title});
  }
  return out;
}

Hwnd FakePlatform::GetParent(Hwnd w) {
  const Window* win = FindWindowByHandle(w);
  // A pop-up's owner is what the system gives as its parent.
  const Hwnd p = win ? (win->parent ? win->parent : win->owner) : 0;
  Record("GetParent(" + Join({static_cast<long long>(w)}) + ")=" + std::to_string(p));
  return p;
}

std::string FakePlatform::WindowText(Hwnd w) {
  const Window* win = FindWindowByHandle(w);
  Record("WindowText(" + Join({static_cast<long long>(w)}) + ")");
  return win ? win->title : std::string();
}

std::string FakePlatform::WindowClassName(Hwnd w) {
  const Window* win = FindWindowByHandle(w);
  Record("GetClassNameA(" + Join({static_cast<long long>(w)}) + ")");
  return win ? win->class_name.substr(0, 99) : std::string();
}

std::optional<std::uint32_t> FakePlatform::GetPixel(Point p) {
  Record("GetPixel(" + Join({p.x, p.y}) + ")");
  if (p.x < screen.left || p.x >= screen.right || p.y < screen.top || p.y >= screen.bottom) return std::nullopt;
  const auto it = pixels.find({p.x, p.y});
  return it == pixels.end() ? 0u : it->second;
}

// ---- input ----------------------------------------------------------------------------------

void FakePlatform::keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                               std::uintptr_t extra) {
  Record("keybd_event(" + Join({vk, scan, flags, static_cast<long long>(extra)}) + ")");
  if (flags & win::KEYEVENTF_KEYUP) keys_down.erase(vk);
  else keys_down.insert(vk);
}

std::uint32_t FakePlatform::SendInput(const std::vector<KeyRecord>& records) {
  std::string s = "SendInput(";
  for (std::size_t i = 0; i < records.size(); ++i) {
    const KeyRecord& r = records[i];
    if (i) s += ';';
    s += Join({r.vk, r.scan, r.flags});
    if (r.flags & win::KEYEVENTF_KEYUP) keys_down.erase(static_cast<std::uint8_t>(r.vk));
    else keys_down.insert(static_cast<std::uint8_t>(r.vk));
  }
  Record(s + ")");
  return static_cast<std::uint32_t>(records.size());
}

std::u16string FakePlatform::Cp932ToUtf16(const std::string& text) {
  // The host's own converter; a byte it cannot read becomes U+FFFD, as the
  // system's does for an unmapped one.
  std::u16string out;
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  std::string in = text;
  char* src = in.data();
  std::size_t left = in.size();
  while (left > 0) {
    char buf[2];
    char* dst = buf;
    std::size_t room = sizeof buf;
    if (iconv(cd, &src, &left, &dst, &room) == static_cast<std::size_t>(-1) && room == sizeof buf) {
      ++src;
      --left;
      out += u'\uFFFD';
      continue;
    }
    if (room == 0) out += static_cast<char16_t>(static_cast<unsigned char>(buf[0]) | static_cast<unsigned char>(buf[1]) << 8);
  }
  iconv_close(cd);
  return out;
}

std::uint32_t FakePlatform::MapVirtualKeyA(std::uint32_t code, std::uint32_t map_type) {
  return map_type == 0 ? ScanCode(code) : 0;
}

std::int16_t FakePlatform::VkKeyScanA(char ch) {
  if (const auto k = layout_keys.find(ch); k != layout_keys.end()) return k->second;
  const unsigned char c = static_cast<unsigned char>(ch);
  // A European layout types the accented letters of its code page, where
  // a Japanese one has no key for a byte of a double-byte character.
  if (c >= 0xC0 && ansi_code_page != 932) return 0xDE;
  if (c >= 'a' && c <= 'z') return static_cast<std::int16_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<std::int16_t>(0x100 | c);
  if (c >= '0' && c <= '9') return static_cast<std::int16_t>(c);
  static const char kShiftedDigits[] = ")!@#$%^&*(";
  for (int i = 0; i < 10; ++i)
    if (c == static_cast<unsigned char>(kShiftedDigits[i])) return static_cast<std::int16_t>(0x100 | ('0' + i));
  switch (c) {
    case ' ': return 0x20;
    case '-': return 0xBD;
    case '_': return 0x1BD;
    case '=': return 0xBB;
    case '+': return 0x1BB;
    case '/': return 0xBF;
    case '?': return 0x1BF;
    case '.': return 0xBE;
    case ',': return 0xBC;
    case ';': return 0xBA;
    case ':': return 0x1BA;
    case '\t': return 0x09;
    default: return -1;
  }
}

void FakePlatform::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                               std::uint32_t data, std::uintptr_t extra) {
  Record("mouse_event(" + Join({flags, dx, dy, data, static_cast<long long>(extra)}) + ")");
  const std::uint32_t downs[] = {win::MOUSEEVENTF_LEFTDOWN, win::MOUSEEVENTF_RIGHTDOWN};
  for (std::uint32_t d : downs) {
    if (flags & d) buttons_down.insert(d);
    if (flags & (d << 1)) buttons_down.erase(d);
  }
}

bool FakePlatform::SetCursorPos(int x, int y) {
  Record("SetCursorPos(" + Join({x, y}) + ")");
  cursor = {x, y};
  if (clip) {
    cursor.x = std::clamp(cursor.x, clip->left, std::max(clip->left, clip->right));
    cursor.y = std::clamp(cursor.y, clip->top, std::max(clip->top, clip->bottom));
  }
  return true;
}

bool FakePlatform::GetCursorPos(Point& p) {
  Record("GetCursorPos()=" + Join({cursor.x, cursor.y}));
  p = cursor;
  return true;
}

bool FakePlatform::ClipCursor(const Rect* r) {
  if (r) {
    Record("ClipCursor(" + Join({r->left, r->top, r->right, r->bottom}) + ")");
    clip = *r;
  } else {
    Record("ClipCursor(null)");
    clip.reset();
  }
  return true;
}

void FakePlatform::UserLeftDown() {
  user_keys_down.insert(win::VK_LBUTTON);
  // A hook may unhook itself from its callback.
  std::vector<std::function<void()>> calls_due;
  for (const Hook& h : hooks)
    if (h.type == 14 && h.on_left_down) calls_due.push_back(h.on_left_down);
  for (auto& fn : calls_due) fn();
}

void FakePlatform::UserLeftUp() { user_keys_down.erase(win::VK_LBUTTON); }

std::int16_t FakePlatform::GetAsyncKeyState(int vk) {
  bool down = user_keys_down.count(vk) > 0 || keys_down.count(static_cast<std::uint8_t>(vk)) > 0;
  if (vk == win::VK_LBUTTON && buttons_down.count(win::MOUSEEVENTF_LEFTDOWN)) down = true;
  const std::int16_t r = down ? static_cast<std::int16_t>(0x8000) : 0;
  Record("GetAsyncKeyState(" + Join({vk}) + ")=" + (down ? "1" : "0"));
  return r;
}

Hwnd FakePlatform::SetCapture(Hwnd w) {
  Record("SetCapture(" + Join({static_cast<long long>(w)}) + ")");
  const Hwnd before = capture;
  capture = w;
  return before;
}

bool FakePlatform::ReleaseCapture() {
  Record("ReleaseCapture()");
  capture = 0;
  return true;
}

void FakePlatform::SetScreenCursor(std::uint32_t cursor_id) {
  Record("SetScreenCursor(" + Join({cursor_id}) + ")");
  screen_cursor = cursor_id;
}

std::uintptr_t FakePlatform::SetJournalRecordHook() {
  const std::uintptr_t id = journal_hooks_refused ? 0 : next_hook_++;
  Record("SetWindowsHookExA(0)=" + std::to_string(id));
  if (id) hooks.push_back({id, 0, nullptr});
  return id;
}

std::uintptr_t FakePlatform::SetLeftButtonHook(std::function<void()> on_left_down) {
  const std::uintptr_t id = low_level_hooks_refused ? 0 : next_hook_++;
  Record("SetWindowsHookExA(14)=" + std::to_string(id));
  if (id) hooks.push_back({id, 14, std::move(on_left_down)});
  return id;
}

bool FakePlatform::UnhookWindowsHookEx(std::uintptr_t hook) {
  Record("UnhookWindowsHookEx(" + std::to_string(hook) + ")");
  auto it = std::find_if(hooks.begin(), hooks.end(), [hook](const Hook& h) { return h.id == hook; });
  if (it == hooks.end()) return false;
  hooks.erase(it);
  return true;
}

// ---- registry ------------------------------------------------------------------------------------

bool FakePlatform::OpenKey(const std::string& path, Key& key) {
  const std::string p = NormalizeKey(path);
  Record("RegOpenKeyExA(" + p + ")");
  if (!registry.count(p) || registry_readonly.count(p)) return false;
  key = next_key_++;
  open_keys_[key] = p;
  return true;
}

bool FakePlatform::CreateKey(const std::string& path, Key& key) {
  const std::string p = NormalizeKey(path);
  Record("RegCreateKeyExA(" + p + ")");
  if (registry_create_fails || registry_readonly.count(p)) return false;
  registry[p];
  key = next_key_++;
  open_keys_[key] = p;
  return true;
}

bool FakePlatform::QueryValue(Key key, const std::string& name, RegType& type, std::string& data) {
  auto k = open_keys_.find(key);
  if (k == open_keys_.end()) return false;
  auto& values = registry[k->second];
  auto v = values.find(name);
  if (v == values.end()) return false;
  type = v->second.type;
  data = v->second.data;
  return true;
}

bool FakePlatform::SetValue(Key key, const std::string& name, RegType type, const std::string& data) {
  auto k = open_keys_.find(key);
  if (k == open_keys_.end()) return false;
  Record("RegSetValueExA(" + name + "," + std::to_string(static_cast<int>(type)) + ")");
  if (registry_write_fails.count(name)) return false;
  registry[k->second][name] = {type, data};
  return true;
}

bool FakePlatform::DeleteValue(Key key, const std::string& name) {
  auto k = open_keys_.find(key);
  if (k == open_keys_.end()) return false;
  Record("RegDeleteValueA(" + name + ")");
  return registry[k->second].erase(name) > 0;
}

void FakePlatform::CloseKey(Key key) {
  Record("RegCloseKey()");
  open_keys_.erase(key);
}

std::uint32_t FakePlatform::RegDword(const std::string& key, const std::string& name) const {
  const RegValue& v = registry.at(key).at(name);
  if (v.type != RegType::Dword || v.data.size() != 4) throw std::runtime_error(name + " is not a DWORD");
  std::uint32_t x = 0;
  for (int i = 3; i >= 0; --i) x = (x << 8) | static_cast<unsigned char>(v.data[static_cast<std::size_t>(i)]);
  return x;
}

std::string FakePlatform::RegString(const std::string& key, const std::string& name) const {
  const RegValue& v = registry.at(key).at(name);
  if (v.type != RegType::Sz && v.type != RegType::ExpandSz) throw std::runtime_error(name + " is not a string");
  return v.data;
}

// ---- hot keys ----------------------------------------------------------------------------------------

Hwnd FakePlatform::CreateMessageWindow(std::function<void(int id)> on_hotkey) {
  const Hwnd w = AddWindow("", "ZEPXHotKeySink");
  FindWindowByHandle(w)->visible = false;
  message_windows_[w] = std::move(on_hotkey);
  Record("CreateWindowEx(message)=" + std::to_string(w));
  return w;
}

void FakePlatform::DestroyMessageWindow(Hwnd w) {
  Record("DestroyWindow(" + std::to_string(w) + ")");
  message_windows_.erase(w);
  DestroyWindow(w);
  hotkeys.erase(std::remove_if(hotkeys.begin(), hotkeys.end(),
                               [w](const HotKey& h) { return h.window == w; }),
                hotkeys.end());
}

bool FakePlatform::RegisterHotKey(Hwnd w, int id, std::uint32_t modifiers, std::uint32_t vk) {
  Record("RegisterHotKey(" + Join({static_cast<long long>(w), id, modifiers, vk}) + ")");
  if (vk == 0) return false;
  for (const HotKey& h : hotkeys) {
    if (h.window == w && h.id == id) return false;
    if (h.modifiers == modifiers && h.vk == vk) return false;
  }
  hotkeys.push_back({w, id, modifiers, vk});
  return true;
}

bool FakePlatform::UnregisterHotKey(Hwnd w, int id) {
  Record("UnregisterHotKey(" + Join({static_cast<long long>(w), id}) + ")");
  auto it = std::find_if(hotkeys.begin(), hotkeys.end(),
                         [&](const HotKey& h) { return h.window == w && h.id == id; });
  if (it == hotkeys.end()) return false;
  hotkeys.erase(it);
  return true;
}

bool FakePlatform::PressHotKey(std::uint32_t modifiers, std::uint32_t vk) {
  for (const HotKey& h : hotkeys) {
    if (h.modifiers != modifiers || h.vk != vk) continue;
    const Hwnd w = h.window;
    const int id = h.id;
    PostTask([this, w, id] {
      auto it = message_windows_.find(w);
      if (it != message_windows_.end()) it->second(id);
    });
    return true;
  }
  return false;
}

// ---- shell ------------------------------------------------------------------------------------------------

bool FakePlatform::CreateProcessA(const std::string& command_line, const std::string& current_dir) {
  Record("CreateProcessA(" + command_line + "|" + current_dir + ")");
  processes.push_back({command_line, current_dir, false});
  return true;
}

bool FakePlatform::ShellExecuteRunAs(const std::string& file, const std::string& params) {
  Record("ShellExecuteExA(runas," + file + "," + params + ")");
  processes.push_back({file + (params.empty() ? "" : " " + params), "", true});
  return true;
}

bool FakePlatform::ShellExecuteA(const std::string& verb, const std::string& file) {
  Record("ShellExecuteA(" + verb + "," + file + ")");
  return true;
}

bool FakePlatform::NotifyIconAdd(const NotifyIconData& d) {
  Record("Shell_NotifyIconA(NIM_ADD," + d.tip + (d.flags & 0x10 ? "," + d.info_title + "," + d.info : "") + ")");
  for (const NotifyIconData& x : tray)
    if (x.owner == d.owner && x.id == d.id) return false;
  tray.push_back(d);
  return true;
}

bool FakePlatform::NotifyIconDelete(const NotifyIconData& d) {
  Record("Shell_NotifyIconA(NIM_DELETE)");
  auto it = std::find_if(tray.begin(), tray.end(), [&](const NotifyIconData& x) {
    return x.owner == d.owner && x.id == d.id;
  });
  if (it == tray.end()) return false;
  tray.erase(it);
  return true;
}

bool FakePlatform::NotifyIconModify(const NotifyIconData& d) {
  Record("Shell_NotifyIconA(NIM_MODIFY," + d.tip + (d.flags & 0x10 ? "," + d.info_title + "," + d.info : "") + ")");
  for (NotifyIconData& x : tray)
    if (x.owner == d.owner && x.id == d.id) {
      x = d;
      return true;
    }
  return false;
}

std::optional<std::uint32_t> FakePlatform::IntegrityLevel(Hwnd w) {
  Record("IntegrityLevel(" + std::to_string(w) + ")");
  if (w == 0) return own_integrity;
  const Window* win = FindWindowByHandle(w);
  return win ? win->integrity : std::nullopt;
}

void FakePlatform::DragAcceptFiles(Hwnd w, bool accept) {
  Record("DragAcceptFiles(" + Join({static_cast<long long>(w), accept ? 1 : 0}) + ")");
  if (accept) drop_targets.push_back(w);
}

// ---- translucency ----------------------------------------------------------------------------------------

std::uintptr_t FakePlatform::LoadLibraryA(const std::string& name) {
  Record("LoadLibraryA(" + name + ")");
  loaded_libraries.push_back(0x7000);
  return 0x7000;
}

void* FakePlatform::GetProcAddress(std::uintptr_t module, const std::string& name) {
  Record("GetProcAddress(" + name + ")");
  static int marker;
  return (module && has_layered_function && name == "SetLayeredWindowAttributes") ? &marker : nullptr;
}

void FakePlatform::FreeLibrary(std::uintptr_t module) {
  Record("FreeLibrary()");
  auto it = std::find(loaded_libraries.begin(), loaded_libraries.end(), module);
  if (it != loaded_libraries.end()) loaded_libraries.erase(it);
}

std::int32_t FakePlatform::GetWindowLongA(Hwnd w, int index) {
  Record("GetWindowLongA(" + Join({static_cast<long long>(w), index}) + ")");
  Window* win = FindWindowByHandle(w);
  return (win && index == -20) ? win->ex_style : 0;
}

std::int32_t FakePlatform::SetWindowLongA(Hwnd w, int index, std::int32_t value) {
  Record("SetWindowLongA(" + Join({static_cast<long long>(w), index, value}) + ")");
  Window* win = FindWindowByHandle(w);
  if (!win || index != -20) return 0;
  const std::int32_t before = win->ex_style;
  win->ex_style = value;
  return before;
}

bool FakePlatform::SetLayeredWindowAttributes(void* fn, Hwnd w, std::uint32_t color_key,
                                              std::uint8_t alpha, std::uint32_t flags) {
  Record("SetLayeredWindowAttributes(" + Join({static_cast<long long>(w), color_key, alpha, flags}) + ")");
  Window* win = FindWindowByHandle(w);
  if (!fn || !win || !(win->ex_style & static_cast<std::int32_t>(win::WS_EX_LAYERED))) return false;
  win->alpha = alpha;
  return true;
}

}  // namespace zepx

namespace zepx {

// ---- local time ------------------------------------------------------------------------------

SystemTime FakePlatform::LocalTime() const { return CivilFromMs(local_origin_ms_ + now); }

void FakePlatform::SetLocalTime(const SystemTime& t) {
  local_origin_ms_ = MsFromCivil(t) - now;
}

namespace {

// The runs of one letter of a picture ("yyyy", "gg") and the quoted texts
// of the system's picture language, handed to fn(letter, count) or copied.
template <typename Fn>
std::string Picture(const std::string& picture, Fn fn) {
  std::string out;
  for (std::size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    if (c == '\'') {
      const std::size_t end = picture.find('\'', i + 1);
      out += picture.substr(i + 1, (end == std::string::npos ? picture.size() : end) - i - 1);
      i = end == std::string::npos ? picture.size() : end + 1;
      continue;
    }
    std::size_t n = 1;
    while (i + n < picture.size() && picture[i + n] == c) ++n;
    const std::string piece = fn(c, n);
    out += piece.empty() && !std::isalpha(static_cast<unsigned char>(c)) ? picture.substr(i, n) : piece;
    i += n;
  }
  return out;
}

std::string Padded(int v, std::size_t width) {
  std::string s = std::to_string(v);
  while (s.size() < width) s.insert(s.begin(), '0');
  return s;
}

}  // namespace

std::string FakePlatform::GetDateFormatA(const SystemTime& t, const std::string& picture,
                                         bool japanese_calendar) {
  return Picture(picture, [&](char c, std::size_t n) -> std::string {
    switch (c) {
      case 'd':
        if (n <= 2) return Padded(t.day, n);
        return (n == 3 ? short_day_names : long_day_names).at(t.day_of_week);
      case 'M': return n <= 2 ? Padded(t.month, n) : std::to_string(t.month) + "月";
      case 'g': return japanese_calendar ? era_name : "西暦";
      case 'y': {
        const int year = japanese_calendar ? t.year - era_first_year + 1 : t.year;
        if (n == 1) return std::to_string(japanese_calendar ? year : year % 100);
        if (n == 2) return Padded(year % 100, 2);
        return std::to_string(year);
      }
      default: return std::string(n, c);
    }
  });
}

std::string FakePlatform::GetTimeFormatA(const SystemTime& t, const std::string& picture) {
  return Picture(picture, [&](char c, std::size_t n) -> std::string {
    if (c == 't') return t.hour < 12 ? am_word : pm_word;
    if (c == 'H') return Padded(t.hour, n);
    if (c == 'm') return Padded(t.minute, n);
    if (c == 's') return Padded(t.second, n);
    return std::string(n, c);
  });
}

// ---- power -------------------------------------------------------------------------------------

IPower::Handle FakePlatform::GetCurrentProcess() {
  Record("GetCurrentProcess()");
  return static_cast<Handle>(-1);
}

bool FakePlatform::OpenProcessToken(Handle process, std::uint32_t access, Handle& token) {
  Record("OpenProcessToken(" + Join({static_cast<long long>(static_cast<std::intptr_t>(process)), access}) + ")");
  if (Fails("OpenProcessToken")) {
    last_error_ = 5;  // access denied
    return false;
  }
  token = 0x7A0;
  return true;
}

bool FakePlatform::LookupPrivilegeValueA(const std::string& name, std::uint64_t& luid) {
  Record("LookupPrivilegeValueA(" + name + ")");
  if (name != "SeShutdownPrivilege" || Fails("LookupPrivilegeValueA")) return false;
  luid = 19;
  return true;
}

bool FakePlatform::AdjustTokenPrivileges(Handle token, bool disable_all, std::uint64_t luid,
                                         std::uint32_t attributes) {
  Record("AdjustTokenPrivileges(" +
         Join({static_cast<long long>(token), disable_all ? 1 : 0, static_cast<long long>(luid), attributes}) + ")");
  if (token == 0) {
    last_error_ = 6;  // invalid handle
    return false;
  }
  last_error_ = adjust_last_error;
  return !Fails("AdjustTokenPrivileges");
}

bool FakePlatform::CloseToken(Handle token) {
  Record("CloseHandle(" + Join({static_cast<long long>(token)}) + ")");
  return token != 0;
}

bool FakePlatform::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
  Record("ExitWindowsEx(" + Join({flags, reason}) + ")");
  return !Fails("ExitWindowsEx");
}

bool FakePlatform::SetSystemPowerState(bool suspend, bool force) {
  Record("SetSystemPowerState(" + Join({suspend ? 1 : 0, force ? 1 : 0}) + ")");
  return !Fails("SetSystemPowerState");
}

void FakePlatform::WriteStdOut(const std::string& line) {
  Record("WriteStdOut(" + line + ")");
  stdout_lines.push_back(line);
}

// ---- dial-up --------------------------------------------------------------------------------------

std::uint32_t FakePlatform::RasEnumConnectionsA(RasConnA* connections, std::uint32_t& size_bytes,
                                                std::uint32_t& count) {
  Record("RasEnumConnectionsA(" + Join({connections ? connections->dwSize : 0, size_bytes}) + ")");
  if (dialup_library_missing) {
    count = 0;
    return 1157;  // ERROR_DLL_NOT_FOUND
  }
  if (!connections || connections->dwSize != sizeof(RasConnA)) return 632;  // ERROR_INVALID_SIZE
  // The records that fit are filled; with more connections than that the
  // call says so, and how many there are.
  const std::size_t fit = size_bytes / sizeof(RasConnA);
  const std::size_t n = dialup_connections.size();
  for (std::size_t i = 0; i < n && i < fit; ++i) {
    RasConnA& r = connections[i];
    r = RasConnA{};
    r.dwSize = sizeof(RasConnA);
    r.hrasconn = dialup_connections[i];
    std::snprintf(r.szEntryName, sizeof r.szEntryName, "entry%zu", i);
    std::snprintf(r.szDeviceType, sizeof r.szDeviceType, "modem");
  }
  count = static_cast<std::uint32_t>(n);
  size_bytes = static_cast<std::uint32_t>(n * sizeof(RasConnA));
  return n > fit ? win::ERROR_BUFFER_TOO_SMALL : 0;
}

std::uint32_t FakePlatform::RasHangUpA(std::uintptr_t connection) {
  Record("RasHangUpA(" + Join({static_cast<long long>(connection)}) + ")");
  auto it = std::find(dialup_connections.begin(), dialup_connections.end(), connection);
  if (it == dialup_connections.end()) return 668;  // ERROR_NO_CONNECTION
  dialup_connections.erase(it);
  return 0;
}

// ---- shell ---------------------------------------------------------------------------------------

bool FakePlatform::ShellExecuteFile(const std::string& file, int show) {
  Record("ShellExecuteFile(" + file + "," + std::to_string(show) + ")");
  return FileExists(file);
}

}  // namespace zepx

namespace zepx {

bool FakePlatform::StartInputEvents(std::function<void(const InputEvent&)> sink) {
  Record("StartInputEvents()");
  if (input_events_refused) return false;
  input_sink_ = std::move(sink);
  return true;
}

void FakePlatform::StopInputEvents() {
  Record("StopInputEvents()");
  input_sink_ = nullptr;
}

InputMetrics FakePlatform::GetInputMetrics() { return input_metrics; }

void FakePlatform::ScriptInput(const std::vector<InputEvent>& events) {
  // Each event is a message at its own time; one that falls due while the
  // program is blocked arrives late, still stamped with when it happened,
  // as the hooks' queue hands it over.
  for (const InputEvent& e : events)
    At(e.time_ms, [this, e] {
      if (input_sink_) input_sink_(e);
    });
}

}  // namespace zepx
