// Whole-file operations on host paths.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "platform/file.h"
#include "platform/file_events.h"
#include "platform/posix/system_error.h"

namespace platform {
namespace {

std::string FolderOf(const std::string& hostPath) {
  const size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : hostPath.substr(0, slash);
}

// Six characters that differ between calls, threads and processes.
std::string UniqueTag() {
  static std::atomic<uint64_t> counter{0};
  uint64_t v = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  v ^= (static_cast<uint64_t>(::getpid()) << 32) ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
  v ^= v >> 29;
  v *= 0xBF58476D1CE4E5B9ull;
  v ^= v >> 32;
  constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string tag;
  for (int i = 0; i < 6; ++i, v /= 36) tag += kDigits[v % 36];
  return tag;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& hostPath, size_t maxBytes) {
  File file = File::Open(hostPath, File::Mode::Read);
  const int64_t length = file.Length();
  if (length < 0 || static_cast<uint64_t>(length) > maxBytes) return std::nullopt;
  std::string bytes;
  bytes.resize(static_cast<size_t>(length));
  int64_t got = file.ReadAt(bytes.data(), bytes.size(), 0);
  if (got != length) return std::nullopt;
  // A file that grew since: only up to the cap.
  char extra;
  if (file.ReadAt(&extra, 1, length) != 0) return std::nullopt;
  return bytes;
}

File CreateTemporaryBeside(const std::string& hostPath, const std::string& tag, std::string& tempPath,
                           unsigned permissions) {
  File file;
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = hostPath + tag + "-" + UniqueTag();
    file = File::Open(tempPath, File::Mode::CreateNew, permissions);
    if (file.IsOpen() || file.Error() != FileError::Exists) break;
  }
  if (!file.IsOpen()) tempPath.clear();
  return file;
}

bool ReplaceFileAtomically(const std::string& hostPath, std::string_view bytes, unsigned permissions) {
  std::string temp;
  File file = CreateTemporaryBeside(hostPath, ".tmp", temp, permissions);
  if (!file.IsOpen()) return false;
  bool ok = file.Write(bytes.data(), bytes.size()) && file.Sync();
  ok = file.Close() && ok;
  ok = ok && std::rename(temp.c_str(), hostPath.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolder(FolderOf(hostPath));
  struct stat st;
  if (::lstat(hostPath.c_str(), &st) == 0) ReportFileEvent(FileEvent::kReplaced, st.st_ino, hostPath);
  return true;
}

FileError RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return FileError::None;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return posix::FileErrorFromErrno(errno);
  // No RENAME_NOREPLACE here: a hard link can't replace anything either.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return FileError::None;
  }
  if (errno == EEXIST) return FileError::Exists;
  struct stat st;
  if (::lstat(to.c_str(), &st) == 0) return FileError::Exists;
  return std::rename(from.c_str(), to.c_str()) == 0 ? FileError::None : posix::FileErrorFromErrno(errno);
}

FileError RenameReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? FileError::None : posix::FileErrorFromErrno(errno);
}

int64_t RegularFileLength(const std::string& hostPath) {
  struct stat st;
  if (::lstat(hostPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool PathExists(const std::string& hostPath) {
  struct stat st;
  return ::lstat(hostPath.c_str(), &st) == 0;
}

bool RemovePath(const std::string& hostPath) { return ::unlink(hostPath.c_str()) == 0; }

bool SyncFolder(const std::string& hostDir) {
  const int fd = ::open(hostDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

bool MakeFolders(const std::string& hostDir, unsigned permissions) {
  struct stat st;
  const auto isFolder = [&] { return ::stat(hostDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode); };
  if (hostDir.empty()) return false;
  if (isFolder()) return true;
  for (size_t pos = 1;; ++pos) {
    pos = hostDir.find('/', pos);
    const std::string part = hostDir.substr(0, pos);
    if (::mkdir(part.c_str(), static_cast<mode_t>(permissions & 07777)) != 0 && errno != EEXIST) return isFolder();
    if (pos == std::string::npos) break;
  }
  return isFolder();
}

}  // namespace platform
