// Settings key under HKEY_CURRENT_USER.
#include "platform/win32/win32_internal.h"

#include <cstring>
#include <vector>

namespace zepx::win32 {
namespace {

// The logic writes key paths with a leading "\", which the registry API
// refuses.
std::string Relative(const std::string& path) {
  std::size_t i = 0;
  while (i < path.size() && path[i] == '\\') ++i;
  return path.substr(i);
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Registry text as stored: one terminating zero (two for a multi-string).
std::string WithTerminator(const std::string& s, DWORD type) {
  std::string out = s;
  out.push_back('\0');
  if (type == REG_MULTI_SZ && (s.empty() || s.back() != '\0')) out.push_back('\0');
  return out;
}

// Stored text without the terminating zero(s) that the writer added.
template <typename S>
void StripTerminator(S& s, DWORD type) {
  if (!s.empty() && s.back() == 0) s.pop_back();
  if (type == REG_MULTI_SZ && !s.empty() && s.back() == 0) s.pop_back();
}

}  // namespace

bool Win32Platform::OpenKey(const std::string& path, Key& key) {
  HKEY k = nullptr;
  const std::string rel = Relative(path);
  const LONG r = AnsiIsCp932()
                     ? RegOpenKeyExA(HKEY_CURRENT_USER, rel.c_str(), 0, KEY_ALL_ACCESS, &k)
                     : RegOpenKeyExW(HKEY_CURRENT_USER, Wide(rel).c_str(), 0, KEY_ALL_ACCESS, &k);
  if (r != ERROR_SUCCESS) return false;
  key = reinterpret_cast<Key>(k);
  return true;
}

bool Win32Platform::CreateKey(const std::string& path, Key& key) {
  HKEY k = nullptr;
  const std::string rel = Relative(path);
  const LONG r =
      AnsiIsCp932()
          ? RegCreateKeyExA(HKEY_CURRENT_USER, rel.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &k, nullptr)
          : RegCreateKeyExW(HKEY_CURRENT_USER, Wide(rel).c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &k, nullptr);
  if (r != ERROR_SUCCESS) return false;
  key = reinterpret_cast<Key>(k);
  return true;
}

bool Win32Platform::QueryValue(Key key, const std::string& name, RegType& type,
                               std::string& data) {
  HKEY k = reinterpret_cast<HKEY>(key);
  DWORD t = 0, size = 0;
  if (AnsiIsCp932()) {
    if (RegQueryValueExA(k, name.c_str(), nullptr, &t, nullptr, &size) != ERROR_SUCCESS)
      return false;
    std::string buf(size, '\0');
    // The value may grow between the two calls; ERROR_MORE_DATA asks again.
    LONG r;
    while ((r = RegQueryValueExA(k, name.c_str(), nullptr, &t,
                                 reinterpret_cast<BYTE*>(buf.data()), &size)) == ERROR_MORE_DATA)
      buf.resize(size);
    if (r != ERROR_SUCCESS) return false;
    buf.resize(size);
    if (IsText(t)) StripTerminator(buf, t);
    type = static_cast<RegType>(t);
    data = std::move(buf);
    return true;
  }
  const std::wstring wname = Wide(name);
  if (RegQueryValueExW(k, wname.c_str(), nullptr, &t, nullptr, &size) != ERROR_SUCCESS)
    return false;
  std::vector<BYTE> buf(size);
  LONG r;
  while ((r = RegQueryValueExW(k, wname.c_str(), nullptr, &t, buf.data(), &size)) ==
         ERROR_MORE_DATA)
    buf.resize(size);
  if (r != ERROR_SUCCESS) return false;
  buf.resize(size);
  type = static_cast<RegType>(t);
  if (IsText(t)) {
    std::wstring w(buf.size() / sizeof(wchar_t), L'\0');
    if (!w.empty()) std::memcpy(w.data(), buf.data(), w.size() * sizeof(wchar_t));
    StripTerminator(w, t);
    data = Narrow(w);
  } else {
    data.assign(reinterpret_cast<const char*>(buf.data()), buf.size());
  }
  return true;
}

bool Win32Platform::SetValue(Key key, const std::string& name, RegType type,
                             const std::string& data) {
  HKEY k = reinterpret_cast<HKEY>(key);
  const DWORD t = static_cast<DWORD>(type);
  if (AnsiIsCp932() || !IsText(t)) {
    const std::string bytes = IsText(t) ? WithTerminator(data, t) : data;
    if (AnsiIsCp932())
      return RegSetValueExA(k, name.c_str(), 0, t, reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    return RegSetValueExW(k, Wide(name).c_str(), 0, t,
                          reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
  }
  std::wstring w = Wide(WithTerminator(data, t));
  return RegSetValueExW(k, Wide(name).c_str(), 0, t, reinterpret_cast<const BYTE*>(w.data()),
                        static_cast<DWORD>(w.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool Win32Platform::DeleteValue(Key key, const std::string& name) {
  HKEY k = reinterpret_cast<HKEY>(key);
  if (AnsiIsCp932()) return RegDeleteValueA(k, name.c_str()) == ERROR_SUCCESS;
  return RegDeleteValueW(k, Wide(name).c_str()) == ERROR_SUCCESS;
}

void Win32Platform::CloseKey(Key key) {
  if (key) RegCloseKey(reinterpret_cast<HKEY>(key));
}

}  // namespace zepx::win32
