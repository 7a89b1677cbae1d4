// Extraction of a whole ZIP archive into a folder.
//
// Before anything is written the archive is checked: every entry must have
// bytes of its own (no two entries sharing data, none reaching into the central
// directory), and the declared sizes of the files to write must fit in the
// free space of the destination's file system. Then every entry is extracted
// below the destination; existing files are replaced; stored attributes are
// applied (DOS read-only, Unix permissions); no entry writes more than its
// declared size. Names are taken as UTF-8 when they are valid UTF-8 and as code
// page 936 otherwise, at every folder depth. Names that could leave the
// destination (absolute, drive, "..") are skipped silently.
//
// The extraction is all or nothing. A file that an entry replaces is set aside
// beside itself first ("<name>.ostrel-old-<n>": a read-only or hidden file, a
// running program and a loaded library can all be renamed) and removed once
// every entry is in place; one still in use then stays until the next
// extraction or, where the system allows it, the next restart. An entry that
// should be written and could not be makes the extraction fail: a folder or
// something else in its place, a link or a file on the way to it, a file held
// open without delete sharing, a full disk, a failed write, data that is
// unreadable or fails its CRC-32, a stop request. The extraction then removes
// every file and folder it added and puts back every file it set aside, so the
// destination holds what it held before. A journal in the destination
// (".ostrel-unzip-<n>.journal") records each change before it is made, so that
// an extraction ended by a kill is undone by the next one (or by
// RecoverUnZipFolder). Temporary files (".ostrel-unzip-<n>.part") are removed
// on every path, and those that a killed earlier run left in the folders this
// one writes into are removed first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Called on the calling thread every few tens of milliseconds while an archive
// is extracted, so the caller can handle its pending window messages. May throw:
// the extraction then stops, cleans up and lets the exception through.
using MessagePump = std::function<void()>;

// The bytes that new files may still take in a host folder; nullopt when that
// can't be told (the extraction then goes on).
using FreeSpaceQuery = std::function<std::optional<uint64_t>(const std::string& hostFolder)>;

struct UnZipOptions {
  MessagePump pump;
  // Asked after each pump: true stops the extraction, which is then undone.
  std::function<bool()> stop;
  // Stands in for the system's free space query when given.
  FreeSpaceQuery freeSpace;
};

enum class UnZipError {
  kNone,
  kUnreadable,        // missing, not a ZIP archive, a directory that can't be read
  kOverlapping,       // entries share bytes or reach into the central directory
  kNothingToExtract,  // no entry at all whose name stays below the destination
  kNoSpace,           // the declared sizes exceed the free space
  kDestination,       // the destination folder can't be made or opened
  kInTheWay,          // an entry's place is taken or can't be written
  kWriteFailed,       // a write failed (full disk, input/output error)
  kBadData,           // an entry's data is unreadable or fails its size or CRC-32
  kIncomplete,        // the work stopped before every entry was done
  kStopped,           // the caller asked the extraction to stop
  kEarlierUnfinished,  // what a killed earlier extraction changed can't be undone yet
};

// A short text for error, e.g. "the archive's entries overlap".
const char* UnZipErrorText(UnZipError error);

struct UnZipReport {
  bool opened = false;       // the archive could be read
  size_t entries = 0;        // entries the archive lists
  size_t extracted = 0;      // files written, folders present
  size_t blocked = 0;        // their place was taken or not writable
  size_t failed = 0;         // unreadable data, a CRC-32 mismatch, a write error
  size_t rejectedNames = 0;  // names that would leave the destination
  uint64_t declaredBytes = 0;  // the declared sizes of the files to write
  UnZipError error = UnZipError::kNone;  // the first failure
  std::string reason;                    // its text and what it concerns, for messages
  // After a failure: false when not everything could be put back yet (the next extraction
  // goes on with it).
  bool restored = true;
  size_t inUseLeft = 0;  // files set aside that are still in use, removed later
  std::string holders;   // the programs that held a file that had to be replaced, where known
  bool ok() const { return error == UnZipError::kNone; }
};

// archive and destination are Windows path texts or host paths; one trailing
// backslash of the destination is ignored. True when every entry that should
// be written was written (at least one).
bool UnZipFile(const std::string& archive, const std::string& destination, const MessagePump& pump = {});

// The same, with the counts and the reason.
UnZipReport UnZipFileReport(const std::string& archive, const std::string& destination,
                            const UnZipOptions& options = {});

// Takes up what an extraction into destination that a kill ended left: undoes it, or removes
// the files it set aside when it had finished. False when something of it can't be undone yet.
bool RecoverUnZipFolder(const std::string& destination);
