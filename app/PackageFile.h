// The platform package in the staging folder: its checksum against the manifest's, and its
// removal together with the resume files of the download that made it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel::app {

enum class PackageCheck {
  kMatches,    // the file's checksum text equals the manifest's
  kUnchecked,  // the manifest gives no checksum: nothing to compare with
  kDiffers,    // another checksum, or the file can't be read
};

// file's checksum text against crc, as exact texts (a package found before a download).
PackageCheck CheckPackage(const std::string& file, const std::string& crc);
// The same for a package just downloaded, comparing the checksums as numbers: a manifest may
// write "7de96c49" or "07DE96C49" for the checksum text "7DE96C49". A crc that is not a
// hexadecimal number of at most 32 bits is compared as text.
PackageCheck CheckDownloadedPackage(const std::string& file, const std::string& crc);
// crc as a hexadecimal number of at most 32 bits (any case, leading zeros allowed).
std::optional<uint32_t> ChecksumNumber(std::string_view crc);

// A package found before a download is reused only when it matches; one that was just
// downloaded may also go on unchecked when the manifest gives no checksum.
inline bool MayReuse(PackageCheck check) { return check == PackageCheck::kMatches; }
inline bool MayExtractDownloaded(PackageCheck check) { return check != PackageCheck::kDiffers; }

// Removes file and its resume files (file + ".rpc", file + ".rpc.cfg"), so that the next
// download starts afresh.
void DiscardPackage(const std::string& file);

// Before a new package download: removes from the staging Downloads folder the resume files of
// other package names (".rpc", ".rpc.cfg"), the state-file temporaries that a killed run left
// (".rpc.cfg.tmp-*") and the package's part files of a killed single request
// ("<package>.part-*"); packageName's own resume files stay, so that its download resumes.
void DiscardStaleResumeFiles(const std::string& downloadsFolder, const std::string& packageName);

}  // namespace ostrel::app
