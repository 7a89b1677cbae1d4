#include "app/PackageFile.h"

#include <string_view>

#include "download/ResumeNames.h"
#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "support/PubCrc.h"
#include "support/SingleDownload.h"

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

void DiscardStaleResumeFiles(const std::string& downloadsFolder, const std::string& packageName) {
  constexpr std::string_view kStateTemporary = ".rpc.cfg.tmp-";
  for (const std::string& name : platform::ListFiles(downloadsFolder)) {
    bool stale = name.find(kStateTemporary) != std::string::npos;
    for (const std::string_view suffix : {std::string_view(".rpc"), std::string_view(".rpc.cfg")}) {
      if (name.size() <= suffix.size() || !name.ends_with(suffix)) continue;
      stale = stale || !platform::EqualsNoCase(std::string_view(name).substr(0, name.size() - suffix.size()), packageName);
    }
    if (stale) platform::RemoveFile(downloadsFolder + "\\" + name);
  }
  RemoveSingleDownloadLeftovers(downloadsFolder + "\\" + packageName);
}

}  // namespace ostrel::app
