// String values under HKEY_LOCAL_MACHINE (in the 32-bit view, where a 32-bit program's
// settings live on a 64-bit Windows too) and HKEY_CURRENT_USER.
#include <windows.h>

#include <vector>

#include "platform/registry.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

// The root's handle and the view flag; false for any other root.
bool Root(RootKey root, HKEY& key, REGSAM& view) {
  if (root == kHkeyLocalMachine) {
    key = HKEY_LOCAL_MACHINE;
    view = KEY_WOW64_32KEY;
    return true;
  }
  if (root == kHkeyCurrentUser) {
    key = HKEY_CURRENT_USER;
    view = 0;
    return true;
  }
  return false;
}

RegResult KeyError(LONG error) {
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return RegResult::kKeyNotFound;
  if (error == ERROR_INVALID_PARAMETER || error == ERROR_BAD_PATHNAME) return RegResult::kBadArgument;
  return RegResult::kIoError;
}

// The key open for the call, closed on every path.
class OpenKey {
 public:
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

RegResult RegReadString(RootKey root, const std::string& keyPath, const std::string& valueName, std::string& out) {
  out.clear();
  HKEY base;
  REGSAM view;
  if (!Root(root, base, view) || keyPath.empty()) return RegResult::kBadArgument;
  OpenKey key;
  const LONG opened = RegOpenKeyExW(base, win32::Wide(keyPath).c_str(), 0, KEY_QUERY_VALUE | view, key.out());
  if (opened != ERROR_SUCCESS) return KeyError(opened);
  const std::wstring name = win32::Wide(valueName);
  DWORD type = 0, size = 0;
  LONG got = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
  std::vector<wchar_t> data;
  while (got == ERROR_SUCCESS || got == ERROR_MORE_DATA) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return RegResult::kNotText;
    data.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    got = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (got == ERROR_SUCCESS) break;
  }
  if (got == ERROR_FILE_NOT_FOUND) return RegResult::kValueNotFound;
  if (got != ERROR_SUCCESS) return RegResult::kIoError;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return RegResult::kNotText;
  // The stored text may or may not end in a zero.
  size_t length = size / sizeof(wchar_t);
  while (length > 0 && data[length - 1] == L'\0') --length;
  out = win32::Utf8(std::wstring_view(data.data(), length));
  return RegResult::kOk;
}

RegResult RegWriteString(RootKey root, const std::string& keyPath, const std::string& valueName,
                         const std::string& value) {
  HKEY base;
  REGSAM view;
  if (!Root(root, base, view) || keyPath.empty()) return RegResult::kBadArgument;
  OpenKey key;
  const LONG made = RegCreateKeyExW(base, win32::Wide(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_SET_VALUE | view, nullptr, key.out(), nullptr);
  if (made != ERROR_SUCCESS) return made == ERROR_INVALID_PARAMETER ? RegResult::kBadArgument : RegResult::kIoError;
  const std::wstring text = win32::Wide(value);
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  const LONG set = RegSetValueExW(key.get(), win32::Wide(valueName).c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(text.c_str()), bytes);
  return set == ERROR_SUCCESS ? RegResult::kOk : RegResult::kIoError;
}

}  // namespace platform
