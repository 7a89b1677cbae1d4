#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "platform/folder.h"

namespace platform {

std::vector<std::string> Folder::Names() const {
  std::vector<std::string> names;
  if (!IsOpen()) return names;
  // A handle of its own: reading a folder moves the position of the handle.
  const int fd = ::openat(static_cast<int>(handle_), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return names;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return names;
  }
  while (const dirent* entry = ::readdir(dir))
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
      names.emplace_back(entry->d_name);
  ::closedir(dir);
  return names;
}

}  // namespace platform
