// The machine's own drives behind the query interface, on every system.
#include "platform/drives.h"

namespace platform {
namespace {

class SystemDriveQuery : public DriveQuery {
 public:
  unsigned DriveTypeOf(const std::string& root) const override { return GetDriveTypeA(root); }
  bool FreeSpaceOf(const std::string& root, DiskFreeSpace& out) const override { return GetDiskFreeSpaceA(root, out); }
};

}  // namespace

const DriveQuery& SystemDrives() {
  static const SystemDriveQuery drives;
  return drives;
}

}  // namespace platform
