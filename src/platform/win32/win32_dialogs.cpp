// Message boxes, file dialogs and whole-file reads and writes.
#include "platform/win32/win32_internal.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace zepx::win32 {

MsgResult Win32Platform::MessageBox(const std::string& text, MsgKind kind) {
  UINT type = MB_OK | MB_ICONINFORMATION;
  if (kind == MsgKind::YesNo) type = MB_YESNO | MB_ICONQUESTION;
  if (kind == MsgKind::OkCancel) type = MB_OKCANCEL | MB_ICONQUESTION;
  const Hwnd owner = DialogOwner();
  // Without an owner the box would open behind whatever has the focus.
  if (!owner) type |= MB_SETFOREGROUND | MB_TASKMODAL;
  switch (MessageBoxW(H(owner), Wide(text).c_str(), Wide(DialogTitle()).c_str(), type)) {
    case IDOK: return MsgResult::Ok;
    case IDYES: return MsgResult::Yes;
    case IDNO: return MsgResult::No;
    case IDCANCEL: return MsgResult::Cancel;
    default:
      // The box could not be shown: nothing was confirmed.
      return kind == MsgKind::Info ? MsgResult::Ok
             : kind == MsgKind::YesNo ? MsgResult::No
                                      : MsgResult::Cancel;
  }
}

void Win32Platform::MessageBeep(std::uint32_t type) { ::MessageBeep(type); }

namespace {

// "Text (*.mcr)|*.mcr|All|*.*" -> "Text (*.mcr)\0*.mcr\0All\0*.*\0\0"
std::wstring Win32Filter(const std::string& filter) {
  std::wstring f = Wide(filter);
  for (wchar_t& c : f)
    if (c == L'|') c = L'\0';
  f.push_back(L'\0');
  f.push_back(L'\0');
  return f;
}

}  // namespace

std::optional<std::string> Win32Platform::FileDialog(const FileDialogOptions& o, bool save) {
  using Dialog = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const Dialog open_dialog = SystemProc<Dialog>(L"comdlg32.dll", "GetOpenFileNameW");
  static const Dialog save_dialog = SystemProc<Dialog>(L"comdlg32.dll", "GetSaveFileNameW");
  const Dialog dialog = save ? save_dialog : open_dialog;
  if (!dialog) return std::nullopt;
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring proposed = Wide(o.file_name);
  if (proposed.size() < file.size()) proposed.copy(file.data(), proposed.size());
  const std::wstring filter = Win32Filter(o.filter);
  const std::wstring dir = Wide(o.initial_dir);
  const std::wstring ext = Wide(o.default_ext);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = H(DialogOwner());
  ofn.lpstrFilter = o.filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  // The logic keeps full paths, so the current directory stays put.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR |
              OFN_PATHMUSTEXIST;
  if (save && o.overwrite_prompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (!dialog(&ofn)) return std::nullopt;
  return Narrow(std::wstring(file.data()));
}

std::optional<std::string> Win32Platform::OpenFileDialog(const FileDialogOptions& o) {
  return FileDialog(o, false);
}

std::optional<std::string> Win32Platform::SaveFileDialog(const FileDialogOptions& o) {
  return FileDialog(o, true);
}

// ---- the folder browser ----------------------------------------------------------

namespace {

struct BrowseState {
  std::wstring preselect;
};

// The path of a shell item, or "" for one that is no file-system folder
// (the computer itself, a printer).
std::wstring PathOf(LPCITEMIDLIST item) {
  wchar_t buf[MAX_PATH] = L"";
  if (!item || !SHGetPathFromIDListW(item, buf)) return {};
  return buf;
}

int CALLBACK BrowseCallback(HWND w, UINT msg, LPARAM lparam, LPARAM data) {
  const auto* state = reinterpret_cast<const BrowseState*>(data);
  switch (msg) {
    case BFFM_INITIALIZED:
      if (!state->preselect.empty())
        SendMessageW(w, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state->preselect.c_str()));
      break;
    case BFFM_SELCHANGED: {
      const std::wstring path = PathOf(reinterpret_cast<LPCITEMIDLIST>(lparam));
      SendMessageW(w, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path.c_str()));
      break;
    }
    default:
      break;
  }
  return 0;
}

}  // namespace

std::optional<std::string> Win32Platform::BrowseForFolder(Hwnd owner, const std::string& title,
                                                          const std::string& preselect) {
  using Init = HRESULT(WINAPI*)(void*, DWORD);
  using Uninit = void(WINAPI*)();
  static const Init co_initialize = SystemProc<Init>(L"ole32.dll", "CoInitializeEx");
  static const Uninit co_uninitialize = SystemProc<Uninit>(L"ole32.dll", "CoUninitialize");
  const HRESULT com = co_initialize ? co_initialize(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
  IMalloc* malloc = nullptr;
  SHGetMalloc(&malloc);
  LPITEMIDLIST root = nullptr;
  SHGetSpecialFolderLocation(H(owner), CSIDL_DRIVES, &root);

  BrowseState state{Wide(preselect)};
  const std::wstring wtitle = Wide(title);
  wchar_t display[MAX_PATH] = L"";
  BROWSEINFOW bi{};
  bi.hwndOwner = H(owner);
  bi.pidlRoot = root;
  bi.pszDisplayName = display;
  bi.lpszTitle = wtitle.c_str();
  bi.ulFlags = BIF_STATUSTEXT;
  bi.lpfn = BrowseCallback;
  bi.lParam = reinterpret_cast<LPARAM>(&state);
  LPITEMIDLIST chosen = SHBrowseForFolderW(&bi);

  std::optional<std::string> result;
  if (chosen) result = Narrow(PathOf(chosen));
  if (malloc) {
    if (chosen) malloc->Free(chosen);
    if (root) malloc->Free(root);
    malloc->Release();
  }
  if (SUCCEEDED(com) && co_uninitialize) co_uninitialize();
  return result;
}

// ---- files ----------------------------------------------------------------------

namespace {

// A file name as the file API takes it. Past MAX_PATH the plain form is
// refused, so a long absolute path goes in the extended-length form, which
// takes no "." or ".." and no "/" (the dialogs give neither).
std::wstring FilePath(const std::string& path) {
  std::wstring w = Wide(path);
  if (w.size() < MAX_PATH || w.rfind(L"\\\\?\\", 0) == 0) return w;
  if (w.size() > 2 && w[1] == L':' && w[2] == L'\\') return L"\\\\?\\" + w;
  if (w.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + w.substr(2);
  return w;
}

// Whether an old file could be overwritten in place at all: one another
// program holds open without sharing cannot, and asking would be pointless.
bool CanOverwrite(const std::wstring& target) {
  HANDLE h = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

}  // namespace

bool Win32Platform::FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD a = GetFileAttributesW(FilePath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::DirectoryExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD a = GetFileAttributesW(FilePath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::ReadFile(const std::string& path, std::string& bytes) {
  if (path.empty()) return false;
  // Read access only, sharing with writers: read-only files and files
  // another program holds open still load.
  HANDLE h = CreateFileW(FilePath(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::string out;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31))
    out.reserve(static_cast<std::size_t>(size.QuadPart));
  char buf[65536];
  bool ok = true;
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(h, buf, sizeof buf, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    out.append(buf, got);
  }
  CloseHandle(h);
  if (ok) bytes = std::move(out);
  return ok;
}

namespace {

bool WriteAll(HANDLE h, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD wrote = 0;
    if (!::WriteFile(h, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return true;
}

}  // namespace

SaveResult Win32Platform::WriteFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) return SaveResult::Failed;
  const std::wstring target = FilePath(path);
  const DWORD attrs = GetFileAttributesW(target.c_str());
  const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
  if (exists && (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return SaveResult::Failed;

  const std::wstring temp = target + L".zepx-tmp";
  HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    // A new file loses nothing when written directly; an old one would.
    if (!exists) return WriteFileInPlace(path, bytes) ? SaveResult::Saved : SaveResult::Failed;
    return CanOverwrite(target) ? SaveResult::NoSafeReplace : SaveResult::Failed;
  }
  const bool written = WriteAll(h, bytes) && FlushFileBuffers(h);
  CloseHandle(h);
  if (!written) {
    DeleteFileW(temp.c_str());
    return SaveResult::Failed;
  }
  if (!exists) {
    if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return SaveResult::Saved;
    DeleteFileW(temp.c_str());
    return SaveResult::Failed;
  }
  // ReplaceFile keeps the old file's security and creation time, and on
  // Windows its attributes; Wine's drops the attributes, so they are put
  // back by hand.
  if (ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                   nullptr)) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD now = GetFileAttributesW(target.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & kKept) != (attrs & kKept))
      SetFileAttributesW(target.c_str(), (now & ~kKept) | (attrs & kKept));
    return SaveResult::Saved;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    // The old file has left its name and the new contents are still under
    // the temporary one: move them in, and never delete them.
    return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) ? SaveResult::Saved
                                                                             : SaveResult::Failed;
  }
  DeleteFileW(temp.c_str());
  return CanOverwrite(target) ? SaveResult::NoSafeReplace : SaveResult::Failed;
}

bool Win32Platform::WriteFileInPlace(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  HANDLE h = CreateFileW(FilePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = WriteAll(h, bytes) && FlushFileBuffers(h);
  CloseHandle(h);
  return ok;
}

}  // namespace zepx::win32
