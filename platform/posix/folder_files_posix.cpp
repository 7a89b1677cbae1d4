// The names of the plain files in a folder.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "platform/host_path.h"

namespace platform {

std::vector<std::string> ListFiles(const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  const int fd = ::open(HostPath(folder).c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return names;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return names;
  }
  while (const dirent* e = ::readdir(dir)) {
    struct stat st;
    if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) names.emplace_back(e->d_name);
  }
  ::closedir(dir);
  return names;
}

}  // namespace platform
