#include "app/PackageFile.h"

#include <string_view>

#include "download/ResumeNames.h"
#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "support/PubCrc.h"
#include "support/SingleDownload.h"

namespace ostrel::app {
PackageCheck CheckPackage(const std::string& file, const std::string& crc) {
  if (crc.empty()) return PackageCheck::kUnchecked;
  // An unreadable file gives the empty text, which never equals a given checksum.
  return GetFileCRC(file) == crc ? PackageCheck::kMatches : PackageCheck::kDiffers;
}

std::optional<uint32_t> ChecksumNumber(std::string_view crc) {
  while (crc.size() > 1 && crc.front() == '0') crc.remove_prefix(1);
  if (crc.empty() || crc.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (const char c : crc) {
    const int digit = platform::HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return value;
}

PackageCheck CheckDownloadedPackage(const std::string& file, const std::string& crc) {
  const std::optional<uint32_t> wanted = ChecksumNumber(crc);
  if (crc.empty() || !wanted) return CheckPackage(file, crc);
  const std::optional<uint32_t> found = ChecksumNumber(GetFileCRC(file));  // the empty text of an unreadable file: none
  return found == wanted ? PackageCheck::kMatches : PackageCheck::kDiffers;
}

void DiscardPackage(const std::string& file) {
  const download::TargetParts parts = download::SplitTarget(file);
  platform::RemoveFile(file);
  platform::RemoveFile(download::ReceiveFileName(parts));
  platform::RemoveFile(download::StateFileName(parts));
}

namespace {

// The engine's note beside a receive file where the file system keeps no alternate streams (Wine,
// FAT) is a file of its own, "<package>.rpc:ostrel.note" (Wine lists the ":" as U+F03A).
bool IsStaleNote(std::string_view name, const std::string& packageName) {
  constexpr std::string_view kRpc = ".rpc", kNote = "ostrel.note";
  if (!name.ends_with(kNote)) return false;
  const size_t rpc = name.rfind(kRpc);
  if (rpc == std::string_view::npos) return false;
  const std::string_view separator = name.substr(rpc + kRpc.size(), name.size() - kNote.size() - rpc - kRpc.size());
  return (separator == ":" || separator == "\xEF\x80\xBA") && !platform::EqualsNoCase(name.substr(0, rpc), packageName);
}

}  // namespace

void DiscardStaleResumeFiles(const std::string& downloadsFolder, const std::string& packageName) {
  constexpr std::string_view kStateTemporary = ".rpc.cfg.tmp-";
  for (const std::string& name : platform::ListFiles(downloadsFolder)) {
    bool stale = name.find(kStateTemporary) != std::string::npos || IsStaleNote(name, packageName);
    for (const std::string_view suffix : {std::string_view(".rpc"), std::string_view(".rpc.cfg")}) {
      if (name.size() <= suffix.size() || !name.ends_with(suffix)) continue;
      stale = stale || !platform::EqualsNoCase(std::string_view(name).substr(0, name.size() - suffix.size()), packageName);
    }
    if (stale) platform::RemoveFile(downloadsFolder + "\\" + name);
  }
  RemoveSingleDownloadLeftovers(downloadsFolder + "\\" + packageName);
}

}  // namespace ostrel::app
