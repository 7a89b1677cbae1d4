// The entry list of an archive as the extraction uses it.
#pragma once

#include <sys/types.h>
#include <zip.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

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
  std::optional<mode_t> unixMode;
  // The DOS read-only attribute: the file gets no write permission.
  bool readOnly = false;
};

struct UnzipListing {
  std::vector<UnzipEntry> entries;
  size_t rejectedNames = 0;  // names that could leave the destination
  size_t unreadable = 0;     // entries the library can't describe
};

// Lists every entry of the open archive whose name stays below the destination.
UnzipListing ListUnzipEntries(zip_t* archive);

// The stored attributes of one entry, applied to entry (exposed for tests).
void ApplyStoredAttributes(zip_uint8_t opsys, zip_uint32_t attributes, UnzipEntry& entry);
