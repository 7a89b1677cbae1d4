#include "tools/testserver/safe_path.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrel::testserver {
namespace {

bool RealPath(const std::string& path, std::string* out) {
  char buffer[PATH_MAX];
  if (!realpath(path.c_str(), buffer)) return false;
  *out = buffer;
  return true;
}

}  // namespace

OpenedFile OpenServedFile(const std::string& rootDir, const std::string& decodedPath) {
  OpenedFile result;
  if (IsRefusedRequestPath(decodedPath)) {
    result.outcome = OpenedFile::kForbidden;
    return result;
  }
  std::string root, target;
  if (!RealPath(rootDir, &root) || !RealPath(rootDir + "/" + decodedPath, &target))
    return result;
  if (target.size() <= root.size() || target.compare(0, root.size(), root) != 0 ||
      (root != "/" && target[root.size()] != '/')) {
    result.outcome = target == root ? OpenedFile::kMissing : OpenedFile::kForbidden;
    return result;
  }
  int fd = open(target.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return result;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return result;
  }
  result.outcome = OpenedFile::kOpened;
  result.fd = fd;
  result.size = static_cast<uint64_t>(info.st_size);
  return result;
}

std::string FileVersionTag(int fd) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return {};
  return "\"" + std::to_string(st.st_ino) + "-" + std::to_string(st.st_size) + "-" +
         std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + "\"";
}

}  // namespace ostrel::testserver
