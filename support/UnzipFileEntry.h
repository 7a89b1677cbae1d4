// Extracting one file entry into its place below the destination.
#pragma once

#include <zip.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <utility>

#include "platform/folder.h"
#include "support/UnzipEntries.h"
#include "support/UnzipEntryData.h"
#include "support/UnzipJournal.h"

enum class UnzipOutcome {
  kExtracted,    // the file is in place with its stored attributes
  kInTheWay,     // its place is taken (read-only file, folder, link on the way) or not writable
  kWriteFailed,  // the data couldn't be written (full disk, write error)
  kBadData,      // unreadable data, a size or CRC-32 mismatch
  kCancelled,
};

struct UnzipEntryResult {
  UnzipEntryResult() = default;
  UnzipEntryResult(UnzipOutcome o, std::string w) : outcome(o), why(std::move(w)) {}

  UnzipOutcome outcome = UnzipOutcome::kExtracted;
  std::string why;  // for anything but kExtracted: a short reason text
  std::string holders;  // the programs that hold the file in its place open, where known
};

// The data goes to a temporary file in the target folder first and takes the
// entry's name only when its size and CRC-32 match the entry, so a bad entry
// never leaves a half file. A file already at the name (read-only, hidden, a
// running program) is set aside under a name of its own first, and the journal
// records both, so that the old file can be put back. The temporary file is
// gone again on every path but success.
UnzipEntryResult ExtractZipFileEntry(zip_t* archive, const UnzipEntry& entry, const platform::Folder& root,
                                     UnzipWorkspace& workspace, UnzipJournal& journal,
                                     const std::atomic<bool>& cancel);

// Empty when a file may be put at name in the folder: nothing there, a file or
// a link (set aside, never followed). Otherwise what takes the place: a folder
// or anything else.
std::string ZipPlaceTaken(const platform::Folder& folder, const std::string& name);
