#include "tests/testkit/junction.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace testkit {
namespace {

// REPARSE_DATA_BUFFER's mount-point form (the kernel headers' layout).
struct MountPointBuffer {
  DWORD tag;
  WORD dataLength;
  WORD reserved;
  WORD substituteOffset;
  WORD substituteLength;
  WORD printOffset;
  WORD printLength;
  wchar_t paths[1024];
};

}  // namespace

bool MakeJunction(const std::string& link, const std::string& target) {
  const std::wstring linkPath = platform::win32::Wide(link);
  if (!CreateDirectoryW(linkPath.c_str(), nullptr)) return false;
  const HANDLE h = CreateFileW(linkPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const std::wstring substitute = L"\\??\\" + platform::win32::Wide(target);
  const std::wstring print = platform::win32::Wide(target);
  MountPointBuffer buffer{};
  buffer.tag = IO_REPARSE_TAG_MOUNT_POINT;
  buffer.substituteLength = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
  buffer.printOffset = static_cast<WORD>(buffer.substituteLength + sizeof(wchar_t));
  buffer.printLength = static_cast<WORD>(print.size() * sizeof(wchar_t));
  std::copy(substitute.begin(), substitute.end(), buffer.paths);
  std::copy(print.begin(), print.end(), buffer.paths + substitute.size() + 1);
  buffer.dataLength = static_cast<WORD>(8 + buffer.printOffset + buffer.printLength + sizeof(wchar_t));
  DWORD returned = 0;
  const BOOL ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, &buffer, buffer.dataLength + 8, nullptr, 0, &returned,
                                  nullptr);
  CloseHandle(h);
  return ok != FALSE;
}

}  // namespace testkit
