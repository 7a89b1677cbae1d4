// Drives and the Windows folder through the system's own calls.
#include <windows.h>

#include "platform/drives.h"
#include "platform/win32/wide_text.h"

namespace platform {

std::string GetWindowsDirectoryA(size_t bufferSize) {
  wchar_t dir[MAX_PATH + 1];
  const UINT n = GetWindowsDirectoryW(dir, MAX_PATH + 1);
  if (n == 0 || n > MAX_PATH) return {};
  std::string text = win32::Utf8(std::wstring_view(dir, n));
  if (text.size() + 1 > bufferSize) return {};
  return text;
}

unsigned GetDriveTypeA(const std::string& root) {
  return root.empty() ? kDriveNoRootDir : ::GetDriveTypeW(win32::Wide(root).c_str());
}

bool GetDiskFreeSpaceA(const std::string& root, DiskFreeSpace& out) {
  out = {};
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
  if (root.empty() || !::GetDiskFreeSpaceW(win32::Wide(root).c_str(), &sectorsPerCluster, &bytesPerSector,
                                           &freeClusters, &totalClusters))
    return false;
  out = {sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
  return true;
}

}  // namespace platform
