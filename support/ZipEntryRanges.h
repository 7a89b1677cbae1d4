// The check that every entry of an archive has bytes of its own. Without it
// one compressed stream can be listed under many entries (or an entry's data
// can hold the next entry whole), and a small archive writes gigabytes.
#pragma once

#include <zip.h>

#include <string>

enum class ZipRangesResult {
  kOk,
  kUnreadable,   // the central directory or a local header can't be read, or the
                 // central directory read here lists other entries than the library's
  kOverlapping,  // two entries share bytes, or an entry reaches into the central directory
};

struct ZipRangesCheck {
  ZipRangesResult result = ZipRangesResult::kOk;
  std::string detail;  // the entries concerned, for messages
};

// Each entry's range is its local header, name and extra field, compressed
// data and data descriptor (counted in its shortest form, 12 bytes, plus the
// optional signature when it is there). Every range must end before the central
// directory starts and no two ranges may overlap. archive is the library's
// open copy of the file at hostPath (which is not read through a link); both
// must list the same entries.
ZipRangesCheck CheckZipEntryRanges(const std::string& hostPath, zip_t* archive);
