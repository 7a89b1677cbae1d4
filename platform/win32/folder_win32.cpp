// Folders entered by name, never through a reparse point (a symbolic link or a junction).
#include <windows.h>

#include "platform/folder.h"
#include "platform/win32/folder_state.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

using win32::FolderState;
using win32::StateOf;

// A folder handle that lets others read and write in it but neither rename nor remove it.
HANDLE OpenFolderHandle(const std::wstring& path, DWORD flags) {
  return CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

// A Folder over the handle when it is a folder (and, with noLinks, not a reparse point).
Folder Adopt(HANDLE h, std::wstring path, bool noLinks, Folder (*make)(FolderState*)) {
  if (h == INVALID_HANDLE_VALUE) return Folder();
  BY_HANDLE_FILE_INFORMATION info;
  const DWORD unwanted = noLinks ? FILE_ATTRIBUTE_REPARSE_POINT : 0;
  if (!win32::HandleInfo(h, info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (info.dwFileAttributes & unwanted)) {
    CloseHandle(h);
    return Folder();
  }
  return make(new FolderState{h, std::move(path)});
}

// Attributes as SetFileAttributesW takes them: none at all is "normal".
DWORD Settable(DWORD attributes) { return attributes ? attributes : FILE_ATTRIBUTE_NORMAL; }

void Release(intptr_t handle) {
  if (FolderState* state = StateOf(handle)) {
    CloseHandle(state->handle);
    delete state;
  }
}

}  // namespace

namespace win32 {

bool IsPlainName(const std::string& name) {
  return !name.empty() && name != ".." && name.find_first_of("\\/:") == std::string::npos;
}

bool HandleInfo(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info) {
  return GetFileInformationByHandle(handle, &info) != 0;
}

}  // namespace win32

Folder Folder::Open(const std::string& hostPath) {
  std::wstring path = win32::WidePath(hostPath);
  if (path.empty()) return Folder();
  // The root of a drive keeps its "\"; every other folder is named without one.
  if (path.size() > 7 && path.back() == L'\\') path.pop_back();
  if (path.size() == 6 && path[5] == L':') path += L'\\';
  const HANDLE h = OpenFolderHandle(path, 0);
  return Adopt(h, std::move(path), false, [](FolderState* s) { return Folder(reinterpret_cast<intptr_t>(s)); });
}

Folder::~Folder() {
  if (IsOpen()) Release(handle_);
}

Folder& Folder::operator=(Folder&& other) noexcept {
  if (this != &other) {
    if (IsOpen()) Release(handle_);
    handle_ = other.handle_;
    other.handle_ = kNoHandle;
  }
  return *this;
}

Folder Folder::OpenChild(const std::string& name, bool create, unsigned) const {
  if (!IsOpen()) return Folder();
  const auto make = [](FolderState* s) { return Folder(reinterpret_cast<intptr_t>(s)); };
  if (name == ".") {
    const FolderState* self = StateOf(handle_);
    return Adopt(OpenFolderHandle(self->path, 0), self->path, false, make);
  }
  if (!win32::IsPlainName(name)) return Folder();
  std::wstring path = win32::Below(StateOf(handle_)->path, name);
  HANDLE h = OpenFolderHandle(path, FILE_FLAG_OPEN_REPARSE_POINT);
  const DWORD error = GetLastError();
  if (h == INVALID_HANDLE_VALUE && create && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)) {
    if (CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
      h = OpenFolderHandle(path, FILE_FLAG_OPEN_REPARSE_POINT);
  }
  return Adopt(h, std::move(path), true, make);
}

std::vector<std::string> Folder::Names() const {
  std::vector<std::string> names;
  if (!IsOpen()) return names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((StateOf(handle_)->path + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(win32::Utf8(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

Folder::Entry Folder::Inspect(const std::string& name) const {
  Entry entry;
  if (!IsOpen() || !win32::IsPlainName(name)) return entry;
  WIN32_FILE_ATTRIBUTE_DATA data;
  // The attributes of the name itself: a reparse point is reported, never followed.
  if (!GetFileAttributesExW(win32::Below(StateOf(handle_)->path, name).c_str(), GetFileExInfoStandard, &data)) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) entry.kind = EntryKind::Missing;
    return entry;
  }
  const DWORD a = data.dwFileAttributes;
  entry.kind = (a & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::Link
               : (a & FILE_ATTRIBUTE_DIRECTORY)   ? EntryKind::Folder
               : (a & FILE_ATTRIBUTE_DEVICE)      ? EntryKind::Other
                                                  : EntryKind::File;
  // Windows keeps no owner bits: the read-only attribute is what says "no writes" (folders ignore it).
  entry.ownerMayWrite = (a & FILE_ATTRIBUTE_DIRECTORY) || !(a & FILE_ATTRIBUTE_READONLY);
  entry.writable = entry.ownerMayWrite;
  return entry;
}

File Folder::CreateNewFile(const std::string& name, unsigned permissions) const {
  return File::OpenIn(this, name, File::Mode::CreateNew, permissions);
}

File Folder::OpenForReading(const std::string& name) const { return File::OpenIn(this, name, File::Mode::Read, 0); }

bool Folder::Rename(const std::string& from, const std::string& to) const {
  if (!IsOpen() || !win32::IsPlainName(from) || !win32::IsPlainName(to)) return false;
  const std::wstring& path = StateOf(handle_)->path;
  return MoveFileExW(win32::Below(path, from).c_str(), win32::Below(path, to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

FileError Folder::RenameNoReplace(const std::string& from, const std::string& to) const {
  if (!IsOpen() || !win32::IsPlainName(from) || !win32::IsPlainName(to)) return FileError::NotFound;
  const std::wstring& path = StateOf(handle_)->path;
  // Without MOVEFILE_REPLACE_EXISTING a taken name fails.
  if (MoveFileExW(win32::Below(path, from).c_str(), win32::Below(path, to).c_str(), 0)) return FileError::None;
  return win32::FileErrorFromWin32(GetLastError());
}

bool Folder::Remove(const std::string& name) const {
  if (!IsOpen() || !win32::IsPlainName(name)) return false;
  const std::wstring path = win32::Below(StateOf(handle_)->path, name);
  const DWORD a = GetFileAttributesW(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  // A link to a folder is removed as a folder entry, never its target; a real folder stays.
  if (a & FILE_ATTRIBUTE_DIRECTORY) return (a & FILE_ATTRIBUTE_REPARSE_POINT) && RemoveDirectoryW(path.c_str());
  if (DeleteFileW(path.c_str())) return true;
  if (!(a & FILE_ATTRIBUTE_READONLY) || !SetFileAttributesW(path.c_str(), Settable(a & ~FILE_ATTRIBUTE_READONLY))) return false;
  if (DeleteFileW(path.c_str())) return true;
  SetFileAttributesW(path.c_str(), a);  // still there (in use): as it was
  return false;
}

bool Folder::RemoveFolder(const std::string& name) const {
  if (!IsOpen() || !win32::IsPlainName(name)) return false;
  const std::wstring path = win32::Below(StateOf(handle_)->path, name);
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT) &&
         RemoveDirectoryW(path.c_str());
}

bool Folder::RemoveAtRestart(const std::string& name) const {
  if (!IsOpen() || !win32::IsPlainName(name)) return false;
  const std::wstring path = win32::Below(StateOf(handle_)->path, name);
  const DWORD a = GetFileAttributesW(path.c_str());
  // The removal at restart honours the read-only attribute.
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), Settable(a & ~FILE_ATTRIBUTE_READONLY));
  return MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

bool Folder::SetHiddenAndSystem(const std::string& name, bool hidden, bool system) const {
  if (!IsOpen() || !win32::IsPlainName(name)) return false;
  const std::wstring path = win32::Below(StateOf(handle_)->path, name);
  const DWORD a = GetFileAttributesW(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  DWORD wanted = a & ~(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  if (hidden) wanted |= FILE_ATTRIBUTE_HIDDEN;
  if (system) wanted |= FILE_ATTRIBUTE_SYSTEM;
  return wanted == a || SetFileAttributesW(path.c_str(), Settable(wanted)) != 0;
}

}  // namespace platform
