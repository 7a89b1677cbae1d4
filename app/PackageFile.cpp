#include "app/PackageFile.h"

#include "download/ResumeNames.h"
#include "platform/file_system.h"
#include "support/PubCrc.h"

namespace ostrel::app {

PackageCheck CheckPackage(const std::string& file, const std::string& crc) {
  if (crc.empty()) return PackageCheck::kUnchecked;
  // An unreadable file gives the empty text, which never equals a given checksum.
  return GetFileCRC(file) == crc ? PackageCheck::kMatches : PackageCheck::kDiffers;
}

void DiscardPackage(const std::string& file) {
  const download::TargetParts parts = download::SplitTarget(file);
  platform::RemoveFile(file);
  platform::RemoveFile(download::ReceiveFileName(parts));
  platform::RemoveFile(download::StateFileName(parts));
}

}  // namespace ostrel::app
