#include "support/UnzipFileEntry.h"

#include <random>
#include <string>

#include "platform/file.h"
#include "support/CRC_32.h"
#include "support/UnzipEntryData.h"
#include "support/ZipFolders.h"

namespace {

// A new file under a unique hidden name, removed again unless kept.
class TemporaryFile {
 public:
  TemporaryFile(const platform::Folder& folder, unsigned permissions) : folder_(folder) {
    static std::atomic<uint64_t> counter{std::random_device{}()};
    for (int attempt = 0; attempt < 100 && !file_.IsOpen(); ++attempt) {
      name_ = ".ostrel-unzip-" + std::to_string(counter++) + ".part";
      file_ = folder_.CreateFile(name_, permissions);
      if (file_.Error() != platform::FileError::Exists) break;
    }
    created_ = file_.IsOpen();
  }
  ~TemporaryFile() {
    file_.Close();
    if (created_) folder_.Remove(name_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  platform::File& file() { return file_; }

  // Moves the file onto name; afterwards it is no longer removed.
  bool RenameTo(const std::string& name) {
    if (!folder_.Rename(name_, name)) return false;
    created_ = false;
    return true;
  }

 private:
  const platform::Folder& folder_;
  platform::File file_;
  bool created_ = false;
  std::string name_;
};

// The stored permissions, less the umask as for any new file (the system
// applies it when the file is created).
unsigned CreationMode(const UnzipEntry& entry) {
  if (entry.unixMode) return *entry.unixMode;
  return entry.readOnly ? 0444 : 0666;
}

// Streams the entry's data into file and checks its size and CRC-32.
UnzipOutcome CopyEntryData(zip_t* archive, const UnzipEntry& entry, platform::File& file, UnzipWorkspace& workspace,
                           const std::atomic<bool>& cancel) {
  uint32_t crc = 0xFFFFFFFF;
  uint64_t total = 0;
  bool cancelled = false;
  const bool read = ReadZipEntryData(archive, entry, workspace, [&](const unsigned char* data, size_t size) {
    if (cancel.load(std::memory_order_relaxed)) {
      cancelled = true;
      return false;
    }
    // More data than the entry declares can only fail its check: stop before
    // it fills the disk (a small archive may inflate to gigabytes).
    if (size > entry.size - total) return false;
    UpdateCRC32(data, static_cast<uint32_t>(size), crc);
    total += size;
    return file.Write(data, size);
  });
  if (cancelled) return UnzipOutcome::kCancelled;
  if (!read || total != entry.size || (entry.crc && ~crc != *entry.crc)) return UnzipOutcome::kFailed;
  return UnzipOutcome::kExtracted;
}

}  // namespace

bool ZipPlaceIsFree(const platform::Folder& folder, const std::string& name) {
  using Kind = platform::Folder::EntryKind;
  const platform::Folder::Entry entry = folder.Inspect(name);
  if (entry.kind == Kind::Missing || entry.kind == Kind::Link) return true;
  // The read-only attribute, or a file this user may not write (another user's), takes the place.
  return entry.kind == Kind::File && entry.ownerMayWrite && entry.writable;
}

UnzipOutcome ExtractZipFileEntry(zip_t* archive, const UnzipEntry& entry, const platform::Folder& root,
                                 UnzipWorkspace& workspace, const std::atomic<bool>& cancel) {
  if (entry.parts.empty()) return UnzipOutcome::kSkipped;
  const platform::Folder folder = OpenFolderBelow(root, entry.parts, entry.parts.size() - 1, true);
  if (!folder.IsOpen()) return UnzipOutcome::kSkipped;
  const std::string& name = entry.parts.back();
  if (!ZipPlaceIsFree(folder, name)) return UnzipOutcome::kSkipped;

  TemporaryFile temp(folder, CreationMode(entry));
  if (!temp.file().IsOpen()) return UnzipOutcome::kSkipped;
  const UnzipOutcome copied = CopyEntryData(archive, entry, temp.file(), workspace, cancel);
  if (copied != UnzipOutcome::kExtracted) return copied;
  if (entry.mtime) temp.file().SetModifiedTime(*entry.mtime);
  if (!temp.file().Close()) return UnzipOutcome::kFailed;
  // The place may have been taken meanwhile (another entry of the same name).
  if (!ZipPlaceIsFree(folder, name)) return UnzipOutcome::kSkipped;
  return temp.RenameTo(name) ? UnzipOutcome::kExtracted : UnzipOutcome::kSkipped;
}
