// What an open Folder holds on Windows: the folder's handle, opened without delete sharing so
// that neither it nor a folder above it can be renamed or removed while it is open, and its
// full "\\?\" path, under which its entries are reached by name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace platform::win32 {

struct FolderState {
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::wstring path;
};

inline FolderState* StateOf(intptr_t handle) { return reinterpret_cast<FolderState*>(handle); }

// A name that stays one entry of its folder: no separator, no stream (":"), not "..".
bool IsPlainName(const std::string& name);

// What the handle is: its attributes and file index; false when it can't be asked.
bool HandleInfo(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info);

}  // namespace platform::win32
