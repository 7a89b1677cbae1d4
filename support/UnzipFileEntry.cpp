#include "support/UnzipFileEntry.h"

#include <string>

#include "platform/file.h"
#include "support/CRC_32.h"
#include "support/UnzipEntryData.h"
#include "support/UnzipTemporary.h"
#include "support/ZipFolders.h"

namespace {

// The stored permissions, less the umask as for any new file (the system
// applies it when the file is created).
unsigned CreationMode(const UnzipEntry& entry) {
  if (entry.unixMode) return *entry.unixMode;
  return entry.readOnly ? 0444 : 0666;
}

// Streams the entry's data into file and checks its size and CRC-32.
UnzipEntryResult CopyEntryData(zip_t* archive, const UnzipEntry& entry, platform::File& file,
                               UnzipWorkspace& workspace, const std::atomic<bool>& cancel) {
  uint32_t crc = 0xFFFFFFFF;
  uint64_t total = 0;
  bool cancelled = false, tooLong = false, writeFailed = false;
  const bool read = ReadZipEntryData(archive, entry, workspace, [&](const unsigned char* data, size_t size) {
    if (cancel.load(std::memory_order_relaxed)) {
      cancelled = true;
      return false;
    }
    // More data than the entry declares can only fail its check: stop before
    // it fills the disk (a small archive may inflate to gigabytes).
    if (size > entry.size - total) {
      tooLong = true;
      return false;
    }
    UpdateCRC32(data, static_cast<uint32_t>(size), crc);
    total += size;
    writeFailed = !file.Write(data, size);
    return !writeFailed;
  });
  if (cancelled) return {UnzipOutcome::kCancelled, "cancelled"};
  if (writeFailed) return {UnzipOutcome::kWriteFailed, platform::FileErrorText(file.Error())};
  if (tooLong || (read && total != entry.size)) return {UnzipOutcome::kBadData, "its data is not of its stored size"};
  if (!read) return {UnzipOutcome::kBadData, "its data can't be read"};
  if (entry.crc && ~crc != *entry.crc) return {UnzipOutcome::kBadData, "its data fails its CRC-32"};
  return {};
}

const UnzipEntryResult kNoJournal = {UnzipOutcome::kWriteFailed, "the extraction's journal can't be written"};

// The temporary file takes the entry's name; a file there is set aside first.
UnzipEntryResult PutInPlace(const platform::Folder& folder, const UnzipEntry& entry, UnzipTemporaryFile& temp,
                            UnzipJournal& journal) {
  using Kind = platform::Folder::EntryKind;
  using Change = UnzipChange::Kind;
  const std::string& name = entry.parts.back();
  const Kind there = folder.Inspect(name).kind;
  if (there == Kind::Missing) {
    if (!journal.Record({Change::kAddedFile, entry.parts, {}})) return kNoJournal;
    if (!temp.RenameTo(name)) return {UnzipOutcome::kInTheWay, "the file can't be put under its name"};
    return {};
  }
  if (there != Kind::File && there != Kind::Link) return {UnzipOutcome::kInTheWay, ZipPlaceTaken(folder, name)};
  const std::string aside = FreeAsideName(folder, name);
  if (!journal.Record({Change::kSetAside, entry.parts, aside})) return kNoJournal;
  if (const platform::FileError error = folder.RenameNoReplace(name, aside); error != platform::FileError::None) {
    UnzipEntryResult blocked{UnzipOutcome::kInTheWay,
                             std::string("the file in its place can't be set aside: ") + platform::FileErrorText(error)};
    if (error == platform::FileError::InUse) blocked.holders = folder.ProgramsHolding(name);
    if (!blocked.holders.empty()) blocked.why += " (" + blocked.holders + ")";
    return blocked;
  }
  if (!temp.RenameTo(name)) {
    folder.RenameNoReplace(aside, name);
    return {UnzipOutcome::kInTheWay, "the file can't be put under its name"};
  }
  return {};
}

}  // namespace

std::string ZipPlaceTaken(const platform::Folder& folder, const std::string& name) {
  using Kind = platform::Folder::EntryKind;
  const platform::Folder::Entry entry = folder.Inspect(name);
  switch (entry.kind) {
    case Kind::Missing:
    case Kind::File:
    case Kind::Link: return {};
    case Kind::Folder: return "a folder is in its place";
    default: return "something that is not a file is in its place";
  }
}

UnzipEntryResult ExtractZipFileEntry(zip_t* archive, const UnzipEntry& entry, const platform::Folder& root,
                                     UnzipWorkspace& workspace, UnzipJournal& journal,
                                     const std::atomic<bool>& cancel) {
  if (entry.parts.empty()) return {UnzipOutcome::kInTheWay, "it has no name"};
  // The extraction has made the folders, each in the journal.
  const platform::Folder folder = OpenFolderBelow(root, entry.parts, entry.parts.size() - 1, false);
  if (!folder.IsOpen())
    return {UnzipOutcome::kInTheWay, "its folder can't be made or opened (a file or link on the way)"};
  const std::string& name = entry.parts.back();
  if (std::string taken = ZipPlaceTaken(folder, name); !taken.empty()) return {UnzipOutcome::kInTheWay, taken};

  UnzipTemporaryFile temp(folder, CreationMode(entry));
  if (!temp.file().IsOpen()) {
    const platform::FileError error = temp.file().Error();
    return {error == platform::FileError::NoSpace ? UnzipOutcome::kWriteFailed : UnzipOutcome::kInTheWay,
            std::string("no file can be made in its folder: ") + platform::FileErrorText(error)};
  }
  UnzipEntryResult copied = CopyEntryData(archive, entry, temp.file(), workspace, cancel);
  if (copied.outcome != UnzipOutcome::kExtracted) return copied;
  if (entry.mtime) temp.file().SetModifiedTime(*entry.mtime);
  if (!temp.file().Close()) return {UnzipOutcome::kWriteFailed, platform::FileErrorText(temp.file().Error())};
  UnzipEntryResult placed = PutInPlace(folder, entry, temp, journal);
  if (placed.outcome == UnzipOutcome::kExtracted && (entry.hidden || entry.system))
    folder.SetHiddenAndSystem(name, entry.hidden, entry.system);
  return placed;
}
