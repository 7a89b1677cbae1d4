#include "support/PubZip.h"

#include <zip.h>

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "platform/host_path.h"
#include "support/UnzipEntries.h"
#include "support/UnzipJournal.h"
#include "support/UnzipSpace.h"
#include "support/UnzipTemporary.h"
#include "support/UnzipWorkers.h"
#include "support/ZipEntryName.h"
#include "support/ZipEntryRanges.h"
#include "support/ZipFolders.h"

namespace {

// Keeps the first failure only.
void Fail(UnZipReport& report, UnZipError error, const std::string& detail) {
  if (!report.ok()) return;
  report.error = error;
  report.reason = std::string(UnZipErrorText(error)) + (detail.empty() ? "" : ": " + detail);
}

UnZipError ErrorOf(UnzipOutcome outcome) {
  switch (outcome) {
    case UnzipOutcome::kInTheWay: return UnZipError::kInTheWay;
    case UnzipOutcome::kWriteFailed: return UnZipError::kWriteFailed;
    case UnzipOutcome::kBadData: return UnZipError::kBadData;
    default: return UnZipError::kIncomplete;
  }
}

std::string ParentKey(const UnzipEntry& entry) {
  return JoinZipEntryPath(std::vector<std::string>(entry.parts.begin(), entry.parts.end() - 1));
}

// The first entry of each folder that files go to.
std::vector<const UnzipEntry*> OnePerFileFolder(const std::vector<UnzipEntry>& entries) {
  std::vector<const UnzipEntry*> firsts;
  std::unordered_set<std::string> seen;
  for (const UnzipEntry& entry : entries)
    if (!entry.isFolder && seen.insert(ParentKey(entry)).second) firsts.push_back(&entry);
  return firsts;
}

// Undoes or finishes what killed runs left, and removes their temporary files in the folders
// that already exist. False when an earlier extraction can't be undone.
bool TakeUpEarlierRuns(const std::string& destination, const std::vector<const UnzipEntry*>& fileFolders,
                       UnzipPump& pump) {
  const platform::Folder root = platform::OpenFolderNoLinks(destination, false);
  if (!root.IsOpen()) return true;
  if (!RecoverUnzipJournals(root)) return false;
  for (const UnzipEntry* entry : fileFolders) {
    pump.IfDue();
    RemoveUnzipLeftovers(OpenFolderBelow(root, entry->parts, entry->parts.size() - 1, false));
  }
  return true;
}

// Opens the folder of the first count parts below root, making each missing one after the
// journal has it.
bool MakeFolderBelow(const platform::Folder& root, const std::vector<std::string>& parts, size_t count,
                     UnzipJournal& journal) {
  platform::Folder current = root.OpenChild(".", false);
  for (size_t i = 0; i < count && current.IsOpen(); ++i) {
    platform::Folder next = current.OpenChild(parts[i], false);
    if (!next.IsOpen() && current.Inspect(parts[i]).kind == platform::Folder::EntryKind::Missing &&
        journal.Record({UnzipChange::Kind::kAddedFolder, {parts.begin(), parts.begin() + i + 1}, {}}))
      next = current.OpenChild(parts[i], true);
    current = std::move(next);
  }
  return current.IsOpen();
}

// Makes the folder entries and the folders of the file entries, before any
// file is written; the file entries go to files.
void MakeFolders(const platform::Folder& root, const UnzipListing& listing,
                 const std::vector<const UnzipEntry*>& fileFolders, std::vector<const UnzipEntry*>& files,
                 UnzipJournal& journal, UnZipReport& report, UnzipPump& pump) {
  for (const UnzipEntry& entry : listing.entries) {
    pump.IfDue();
    if (!entry.isFolder) {
      files.push_back(&entry);
    } else if (MakeFolderBelow(root, entry.parts, entry.parts.size(), journal)) {
      ++report.extracted;
    } else {
      ++report.blocked;
      Fail(report, UnZipError::kInTheWay, JoinZipEntryPath(entry.parts) + ": the folder can't be made");
    }
  }
  // A failure shows again when the file is written, and fails it then.
  for (const UnzipEntry* entry : fileFolders) MakeFolderBelow(root, entry->parts, entry->parts.size() - 1, journal);
}

void ExtractFiles(const std::string& archivePath, ZipArchive zip, const platform::Folder& root,
                  const std::vector<const UnzipEntry*>& files, UnzipJournal& journal, UnZipReport& report,
                  UnzipPump& pump) {
  UnzipSharedWork work;
  work.root = &root;
  work.journal = &journal;
  work.items = GroupUnzipWorkByPlace(files);
  pump.Now();  // the caller's events run at least once per extraction, however quick it is
  if (!work.items.empty()) {
    std::vector<ZipArchive> archives;
    archives.push_back(std::move(zip));
    while (archives.size() < std::min(kMaxUnzipWorkers, work.items.size())) {
      ZipArchive another = OpenZipArchive(archivePath);
      if (!another) break;
      archives.push_back(std::move(another));
    }
    UnzipWorkers workers(work);
    workers.Start(std::move(archives));
    workers.WaitPumping(pump);
  }
  report.extracted += work.extracted;
  report.blocked += work.blocked;
  report.failed += work.failed;
  if (pump.Stopped()) Fail(report, UnZipError::kStopped, "");
  if (!work.firstFailureEntry.empty()) {
    Fail(report, ErrorOf(work.firstFailure.outcome), work.firstFailureEntry + ": " + work.firstFailure.why);
    report.holders = work.firstFailure.holders;
  }
  const size_t done = work.extracted + work.blocked + work.failed;
  if (done < files.size()) {
    report.failed += files.size() - done;
    Fail(report, UnZipError::kIncomplete, std::to_string(files.size() - done) + " files not done");
  }
}

std::string WithoutTrailingBackslash(std::string text) {
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

// Undoes the extraction's changes when it goes, unless they are kept.
struct UndoUnlessKept {
  UnzipJournal& journal;
  UnZipReport& report;
  bool kept = false;
  ~UndoUnlessKept() {
    if (!kept) report.restored = journal.RollBack();
  }
};

}  // namespace

const char* UnZipErrorText(UnZipError error) {
  switch (error) {
    case UnZipError::kNone: return "no error";
    case UnZipError::kUnreadable: return "the archive can't be read";
    case UnZipError::kOverlapping: return "the archive's entries overlap";
    case UnZipError::kNothingToExtract: return "the archive holds nothing to extract";
    case UnZipError::kNoSpace: return "not enough free space for the archive";
    case UnZipError::kDestination: return "the destination folder can't be made";
    case UnZipError::kInTheWay: return "a file can't be put in its place";
    case UnZipError::kWriteFailed: return "a file can't be written";
    case UnZipError::kBadData: return "an entry's data is broken";
    case UnZipError::kIncomplete: return "the extraction stopped early";
    case UnZipError::kStopped: return "the extraction was stopped";
    case UnZipError::kEarlierUnfinished: return "an earlier extraction into the folder can't be undone yet";
  }
  return "unknown error";
}

UnZipReport UnZipFileReport(const std::string& archive, const std::string& destination,
                            const UnZipOptions& options) {
  UnZipReport report;
  const std::string destinationText = WithoutTrailingBackslash(destination);
  const std::string archivePath = platform::HostPath(archive);
  const std::string destinationPath = platform::HostPath(destinationText);
  UnzipPump pumper(options.pump, options.stop);

  // The archives are opened here, one after the other: opening converts every
  // entry's time under the C library's time-zone lock.
  ZipArchive zip = OpenZipArchive(archivePath);
  if (!zip) {
    Fail(report, UnZipError::kUnreadable, archive);
    return report;
  }
  report.opened = true;
  report.entries = static_cast<size_t>(std::max<zip_int64_t>(0, zip_get_num_entries(zip.get(), 0)));
  const ZipRangesCheck ranges = CheckZipEntryRanges(archivePath, zip.get());
  if (ranges.result != ZipRangesResult::kOk) {
    Fail(report, ranges.result == ZipRangesResult::kOverlapping ? UnZipError::kOverlapping : UnZipError::kUnreadable,
         ranges.detail);
    return report;
  }
  const UnzipListing listing = ListUnzipEntries(zip.get());
  report.rejectedNames = listing.rejectedNames;
  if (listing.unreadable > 0) {
    report.failed = listing.unreadable;
    Fail(report, UnZipError::kUnreadable, std::to_string(listing.unreadable) + " entries can't be listed");
    return report;
  }
  if (listing.entries.empty()) {
    Fail(report, UnZipError::kNothingToExtract, "");
    return report;
  }

  // A drive that doesn't exist is never made up by creating the folder chain.
  const bool onMissingDrive =
      platform::HasDriveLetter(destinationText) && !platform::DirectoryExists(destinationText.substr(0, 2) + "\\");
  if (destinationPath.empty() || onMissingDrive) {
    report.blocked = listing.entries.size();
    Fail(report, UnZipError::kDestination, destination);
    return report;
  }

  const std::vector<const UnzipEntry*> fileFolders = OnePerFileFolder(listing.entries);
  if (!TakeUpEarlierRuns(destinationText, fileFolders, pumper)) {
    Fail(report, UnZipError::kEarlierUnfinished, destination);
    return report;
  }
  report.declaredBytes = DeclaredUnzipBytes(listing.entries);
  const std::optional<uint64_t> free =
      options.freeSpace ? options.freeSpace(destinationPath) : SystemFreeSpace(destinationPath);
  if (free && report.declaredBytes > *free) {
    Fail(report, UnZipError::kNoSpace,
         std::to_string(report.declaredBytes) + " bytes to write, " + std::to_string(*free) + " free");
    return report;
  }

  // The destination is entered one name at a time: a link planted on the way is never followed.
  const platform::Folder root = platform::OpenFolderNoLinks(destinationText, true);
  if (!root.IsOpen()) {
    report.blocked = listing.entries.size();
    Fail(report, UnZipError::kDestination, destination);
    return report;
  }
  const std::unique_ptr<UnzipJournal> journal = UnzipJournal::Begin(root);
  if (!journal) {
    report.blocked = listing.entries.size();
    Fail(report, UnZipError::kDestination, destination + ": its journal can't be written");
    return report;
  }
  UndoUnlessKept undo(*journal, report);  // also when the caller's pump throws
  std::vector<const UnzipEntry*> files;
  MakeFolders(root, listing, fileFolders, files, *journal, report, pumper);
  if (pumper.Stopped()) Fail(report, UnZipError::kStopped, "");
  if (report.ok()) ExtractFiles(archivePath, std::move(zip), root, files, *journal, report, pumper);
  if (report.ok() && report.extracted == 0) Fail(report, UnZipError::kNothingToExtract, "");
  if (report.ok()) {
    report.inUseLeft = journal->Commit();
    undo.kept = true;
  }
  return report;
}

bool UnZipFile(const std::string& archive, const std::string& destination, const MessagePump& pump) {
  UnZipOptions options;
  options.pump = pump;
  return UnZipFileReport(archive, destination, options).ok();
}

bool RecoverUnZipFolder(const std::string& destination) {
  const platform::Folder root = platform::OpenFolderNoLinks(WithoutTrailingBackslash(destination), false);
  return !root.IsOpen() || RecoverUnzipJournals(root);
}
