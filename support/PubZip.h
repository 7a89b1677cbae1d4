// Extraction of a whole ZIP archive into a folder.
//
// Every entry is extracted below the destination; existing files are replaced,
// an entry whose place holds a read-only file, a folder, or lies behind a
// symbolic link is skipped; stored attributes are applied (DOS read-only, Unix
// permissions); an entry whose data fails its CRC-32 leaves nothing behind and
// does not count. Names are taken as UTF-8 when they are valid UTF-8 and as code
// page 936 otherwise, at every folder depth. Names that could leave the
// destination (absolute, drive, "..") are skipped.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Called on the calling thread every few tens of milliseconds while an archive
// is extracted, so the caller can handle its pending window messages. May throw:
// the extraction then stops, cleans up and lets the exception through.
using MessagePump = std::function<void()>;

struct UnZipReport {
  bool opened = false;       // the archive could be read
  size_t entries = 0;        // entries the archive lists
  size_t extracted = 0;      // files written, folders present
  size_t skipped = 0;        // their place was taken or not writable
  size_t failed = 0;         // unreadable data or a CRC-32 mismatch
  size_t rejectedNames = 0;  // names that would leave the destination
};

// archive and destination are Windows path texts or host paths; one trailing
// backslash of the destination is ignored. True when at least one entry was
// extracted.
bool UnZipFile(const std::string& archive, const std::string& destination, const MessagePump& pump = {});

// The same, with the counts.
UnZipReport UnZipFileReport(const std::string& archive, const std::string& destination,
                            const MessagePump& pump = {});
