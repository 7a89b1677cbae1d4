// The entry list of an archive as the extraction uses it.
#pragma once

#include <zip.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

// The file type in the upper half of an entry's external attributes when the archive was made
// on Unix: the same octal encoding on every host, whatever the host's own mode_t.
namespace zip_unix_type {
constexpr uint32_t kMask = 0170000;
constexpr uint32_t kFolder = 0040000;
constexpr uint32_t kRegular = 0100000;
constexpr uint32_t kLink = 0120000;
}  // namespace zip_unix_type

struct UnzipEntry {
  zip_uint64_t index = 0;
  std::vector<std::string> parts;  // folders below the destination, then the name
  bool isFolder = false;
  uint64_t size = 0;
  uint16_t method = ZIP_CM_STORE;  // compression method
  bool encrypted = false;
  std::optional<uint32_t> crc;
  std::optional<time_t> mtime;
  // Permission bits stored by an archive made on Unix (regular files only);
  // otherwise the default mode applies. The umask applies either way.
  std::optional<uint32_t> unixMode;
  // The DOS read-only attribute: the file gets no write permission.
  bool readOnly = false;
  // The DOS hidden and system attributes (applied where the system has them).
  bool hidden = false;
  bool system = false;
};

struct UnzipListing {
  std::vector<UnzipEntry> entries;
  size_t rejectedNames = 0;  // names that could leave the destination or are the extraction's own
  size_t unreadable = 0;     // entries the library can't describe
};

// Lists every entry of the open archive whose name stays below the destination.
UnzipListing ListUnzipEntries(zip_t* archive);

// The stored attributes of one entry, applied to entry (exposed for tests).
void ApplyStoredAttributes(zip_uint8_t opsys, zip_uint32_t attributes, UnzipEntry& entry);
