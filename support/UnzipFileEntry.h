// Extracting one file entry into its place below the destination.
#pragma once

#include <zip.h>

#include <atomic>
#include <cstddef>
#include <string>

#include "platform/folder.h"
#include "support/UnzipEntries.h"
#include "support/UnzipEntryData.h"

enum class UnzipOutcome {
  kExtracted,    // the file is in place with its stored attributes
  kInTheWay,     // its place is taken (read-only file, folder, link on the way) or not writable
  kWriteFailed,  // the data couldn't be written (full disk, write error)
  kBadData,      // unreadable data, a size or CRC-32 mismatch
  kCancelled,
};

struct UnzipEntryResult {
  UnzipOutcome outcome = UnzipOutcome::kExtracted;
  std::string why;  // for anything but kExtracted: a short reason text
};

// The data goes to a temporary file in the target folder first and replaces
// the old file only when its size and CRC-32 match the entry, so a bad entry
// never leaves a half file and never destroys the old one. The temporary file
// is gone again on every path but success.
UnzipEntryResult ExtractZipFileEntry(zip_t* archive, const UnzipEntry& entry, const platform::Folder& root,
                                     UnzipWorkspace& workspace, const std::atomic<bool>& cancel);

// Empty when a file may be put at name in the folder: nothing there, a file
// this user may write, or a link (the link itself is replaced, never followed).
// Otherwise what takes the place: a read-only file (no owner write permission,
// whoever runs this), a folder or anything else.
std::string ZipPlaceTaken(const platform::Folder& folder, const std::string& name);
