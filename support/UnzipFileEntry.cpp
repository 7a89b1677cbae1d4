#include "support/UnzipFileEntry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/posix/fd_io.h"
#include "support/CRC_32.h"
#include "support/UnzipEntryData.h"
#include "support/ZipFolders.h"

namespace {

// A new file under a unique hidden name, removed again unless kept.
class TemporaryFile {
 public:
  TemporaryFile(int folderFd, mode_t mode) : folderFd_(folderFd) {
    static std::atomic<unsigned long> counter{0};
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      name_ = ".ostrel-unzip-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".part";
      fd_ = ::openat(folderFd_, name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    created_ = fd_ >= 0;
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (created_) ::unlinkat(folderFd_, name_.c_str(), 0);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool valid() const { return fd_ >= 0; }
  int fd() const { return fd_; }

  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

  // Moves the file onto name; afterwards it is no longer removed.
  bool RenameTo(const std::string& name) {
    if (::renameat(folderFd_, name_.c_str(), folderFd_, name.c_str()) != 0) return false;
    created_ = false;
    return true;
  }

 private:
  int folderFd_;
  int fd_ = -1;
  bool created_ = false;
  std::string name_;
};

// The stored permissions, less the umask as for any new file (the system
// applies it when the file is created).
mode_t CreationMode(const UnzipEntry& entry) {
  if (entry.unixMode) return *entry.unixMode;
  return entry.readOnly ? 0444 : 0666;
}

void ApplyTime(int fd, const UnzipEntry& entry) {
  if (!entry.mtime) return;
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_NOW;
  times[1].tv_sec = *entry.mtime;
  times[1].tv_nsec = 0;
  ::futimens(fd, times);
}

// Streams the entry's data into fd and checks its size and CRC-32.
UnzipOutcome CopyEntryData(zip_t* archive, const UnzipEntry& entry, int fd, UnzipWorkspace& workspace,
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
    return platform::posix::WriteAll(fd, data, size);
  });
  if (cancelled) return UnzipOutcome::kCancelled;
  if (!read || total != entry.size || (entry.crc && ~crc != *entry.crc)) return UnzipOutcome::kFailed;
  return UnzipOutcome::kExtracted;
}

}  // namespace

bool ZipPlaceIsFree(int folderFd, const char* name) {
  struct stat st;
  if (::fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
  if (S_ISLNK(st.st_mode)) return true;
  if (!S_ISREG(st.st_mode) || (st.st_mode & S_IWUSR) == 0) return false;  // the read-only attribute
  // A file this user may not write (another user's) is taken as well.
  return ::faccessat(folderFd, name, W_OK, AT_EACCESS) == 0 || errno != EACCES;
}

UnzipOutcome ExtractZipFileEntry(zip_t* archive, const UnzipEntry& entry, int rootFd, UnzipWorkspace& workspace,
                                 const std::atomic<bool>& cancel) {
  if (entry.parts.empty()) return UnzipOutcome::kSkipped;
  const ZipFd folder = OpenFolderBelow(rootFd, entry.parts, entry.parts.size() - 1, true);
  if (!folder.valid()) return UnzipOutcome::kSkipped;
  const std::string& name = entry.parts.back();
  if (!ZipPlaceIsFree(folder.get(), name.c_str())) return UnzipOutcome::kSkipped;

  TemporaryFile temp(folder.get(), CreationMode(entry));
  if (!temp.valid()) return UnzipOutcome::kSkipped;
  const UnzipOutcome copied = CopyEntryData(archive, entry, temp.fd(), workspace, cancel);
  if (copied != UnzipOutcome::kExtracted) return copied;
  ApplyTime(temp.fd(), entry);
  if (!temp.Close()) return UnzipOutcome::kFailed;
  // The place may have been taken meanwhile (another entry of the same name).
  if (!ZipPlaceIsFree(folder.get(), name.c_str())) return UnzipOutcome::kSkipped;
  return temp.RenameTo(name) ? UnzipOutcome::kExtracted : UnzipOutcome::kSkipped;
}
