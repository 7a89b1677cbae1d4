// The central directory of a ZIP archive as this program reads it itself: the
// library doesn't say where an entry's local header lies.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file.h"

struct ZipCentralEntry {
  std::string name;  // the stored bytes
  uint64_t localOffset = 0;
  uint64_t compressedSize = 0;
  uint16_t flags = 0;  // the general purpose bits
};

struct ZipCentralDirectory {
  uint64_t offset = 0;  // where the first central entry starts
  std::vector<ZipCentralEntry> entries;
};

constexpr uint16_t kZipFlagDataDescriptor = 0x0008;

// Reads the central directory that an end record (and, where there is one, its
// ZIP64 end record) describes. End records are tried from the end of the file
// backwards (a comment may hold the signature too); the first directory that
// reads cleanly and that accept takes is the answer. nullopt when none does.
std::optional<ZipCentralDirectory> ReadZipCentralDirectory(
    platform::File& archive, const std::function<bool(const ZipCentralDirectory&)>& accept);
