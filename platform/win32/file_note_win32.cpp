// File notes as an alternate data stream of the file ("<file>:ostrel.note").
#include <windows.h>

#include "platform/file_note.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

constexpr wchar_t kStream[] = L":ostrel.note";
constexpr DWORD kMaxNote = 1024;

// The file itself must not be a reparse point: a note is never written through a link.
bool IsPlainFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

}  // namespace

bool WriteFileNote(const std::string& hostPath, std::string_view note) {
  const std::wstring path = win32::WidePath(hostPath);
  if (note.size() > kMaxNote || !IsPlainFile(path)) return false;
  HANDLE stream = ::CreateFileW((path + kStream).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (stream == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(stream, note.data(), static_cast<DWORD>(note.size()), &written, nullptr) &&
                  written == note.size();
  ::CloseHandle(stream);
  return ok;
}

std::optional<std::string> ReadFileNote(const std::string& hostPath) {
  const std::wstring path = win32::WidePath(hostPath);
  if (!IsPlainFile(path)) return std::nullopt;
  HANDLE stream = ::CreateFileW((path + kStream).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (stream == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string note(kMaxNote, '\0');
  DWORD got = 0;
  const bool ok = ::ReadFile(stream, note.data(), kMaxNote, &got, nullptr);
  ::CloseHandle(stream);
  if (!ok) return std::nullopt;
  note.resize(got);
  return note;
}

}  // namespace platform
