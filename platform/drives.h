// Drives and the Windows folder: GetWindowsDirectoryA, GetDriveTypeA and
// GetDiskFreeSpaceA, plus a query interface so that decisions over the drive
// table can be tested with a made-up table.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// GetDriveTypeA's answers.
enum DriveType : unsigned {
  kDriveUnknown = 0,
  kDriveNoRootDir = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdrom = 5,
  kDriveRamdisk = 6,
};

// GetDiskFreeSpaceA's four numbers.
struct DiskFreeSpace {
  uint32_t sectorsPerCluster = 0;
  uint32_t bytesPerSector = 0;
  uint32_t freeClusters = 0;  // available to the caller
  uint32_t totalClusters = 0;
};

// The Windows folder without a trailing "\" ("C:\Windows"); empty on failure.
// At most bufferSize - 1 characters, as GetWindowsDirectoryA with that buffer.
std::string GetWindowsDirectoryA(size_t bufferSize = 260);

unsigned GetDriveTypeA(const std::string& root);
bool GetDiskFreeSpaceA(const std::string& root, DiskFreeSpace& out);

// Drive queries per root ("D:\"), real or made up.
class DriveQuery {
 public:
  virtual ~DriveQuery() = default;
  virtual unsigned DriveTypeOf(const std::string& root) const = 0;
  virtual bool FreeSpaceOf(const std::string& root, DiskFreeSpace& out) const = 0;
};

// The machine's own drives through the two calls above.
const DriveQuery& SystemDrives();

}  // namespace platform
