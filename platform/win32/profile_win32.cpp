// INI reading through GetPrivateProfileStringW. Windows reads a file without a byte-order mark
// in the system's code page; the files here come in code page 936 (or UTF-8) whatever that
// is, so the bytes are converted first and handed over as a UTF-16 copy with its mark.
#include <windows.h>

#include <optional>
#include <vector>

#include "platform/file.h"
#include "platform/profile.h"
#include "platform/text_codec.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

constexpr size_t kMaxIniBytes = 16u << 20;  // far more than any INI file
constexpr DWORD kValueChars = 65536;        // the longest value the private-profile calls return

// A UTF-16 copy of the INI text in the temporary folder, removed with the object.
class Utf16Copy {
 public:
  explicit Utf16Copy(const std::string& text) {
    wchar_t folder[MAX_PATH + 1], name[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, L"ini", 0, name)) return;
    path_ = name;
    const std::wstring wide = L"\xFEFF" + win32::Wide(text);
    File file = File::Open(win32::Utf8(path_), File::Mode::CreateOrTruncate);
    ok_ = file.Write(wide.data(), wide.size() * sizeof(wchar_t)) && file.Close();
  }
  ~Utf16Copy() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  Utf16Copy(const Utf16Copy&) = delete;
  Utf16Copy& operator=(const Utf16Copy&) = delete;

  bool ok() const { return ok_; }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
  bool ok_ = false;
};

std::optional<std::string> FindValue(const std::string& text, const std::string& section, const std::string& key) {
  const Utf16Copy copy(text);
  if (!copy.ok()) return std::nullopt;
  // A default no value can have (a lone surrogate) tells "missing" from "empty".
  const wchar_t missing[] = {0xDC00, 0};
  std::vector<wchar_t> value(kValueChars);
  const DWORD n = GetPrivateProfileStringW(win32::Wide(section).c_str(), win32::Wide(key).c_str(), missing,
                                           value.data(), kValueChars, copy.path().c_str());
  const std::wstring_view got(value.data(), n);
  if (got == missing) return std::nullopt;
  return win32::Utf8(got);
}

}  // namespace

std::string GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& def,
                                     const std::string& file, size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::optional<std::string> value;
  if (!file.empty() && !section.empty() && !key.empty())
    if (const std::optional<std::string> bytes = ReadWholeFile(file, kMaxIniBytes))
      value = FindValue(HostTextFromTargetBytes(*bytes), section, key);
  return CutUtf8(value ? *value : def, bufferSize - 1);
}

}  // namespace platform
