#include "platform/posix/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/posix/fd_io.h"

namespace platform::posix {
namespace {

bool IsDir(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool ReadWholeFile(const std::string& hostPath, std::string& out) {
  out.clear();
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buf[65536];
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  if (!ok) out.clear();
  return ok;
}

bool WriteFileAtomically(const std::string& hostPath, const std::string& data) {
  std::vector<char> tmpl(hostPath.begin(), hostPath.end());
  const char suffix[] = ".tmp-XXXXXX";
  tmpl.insert(tmpl.end(), suffix, suffix + sizeof suffix);  // includes the terminating NUL
  const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const std::string tmp(tmpl.data());
  bool ok = WriteAll(fd, data.data(), data.size());
  ok = ::fchmod(fd, 0644) == 0 && ok;
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(tmp.c_str(), hostPath.c_str()) == 0;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

bool MakeDirs(const std::string& hostDir) {
  if (hostDir.empty()) return false;
  if (IsDir(hostDir)) return true;
  // Create each missing component in turn; a folder that appears meanwhile
  // (another process doing the same) is fine.
  for (size_t pos = 1;; ++pos) {
    pos = hostDir.find('/', pos);
    const std::string part = hostDir.substr(0, pos);
    if (!part.empty() && ::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return IsDir(hostDir);
    if (pos == std::string::npos) break;
  }
  return IsDir(hostDir);
}

}  // namespace platform::posix
