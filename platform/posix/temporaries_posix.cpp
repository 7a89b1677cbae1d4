#include "platform/temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>

namespace platform {
namespace {

constexpr size_t kUniqueTagLength = 6;

bool IsTagCharacter(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// name == prefix followed by exactly six characters of [a-z0-9].
bool IsTemporaryName(std::string_view name, std::string_view prefix) {
  if (name.size() != prefix.size() + kUniqueTagLength || name.substr(0, prefix.size()) != prefix) return false;
  for (char c : name.substr(prefix.size()))
    if (!IsTagCharacter(c)) return false;
  return true;
}

}  // namespace

int RemoveTemporariesBeside(const std::string& hostPath, const std::string& tag) {
  const size_t slash = hostPath.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : hostPath.substr(0, slash);
  const std::string prefix = hostPath.substr(slash == std::string::npos ? 0 : slash + 1) + tag + "-";
  if (prefix.size() == tag.size() + 1) return 0;  // no file name

  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return 0;
  DIR* dir = ::fdopendir(fd);  // owns fd from here on
  if (!dir) {
    ::close(fd);
    return 0;
  }
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryName(entry->d_name, prefix)) continue;
    struct stat st;
    if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (::unlinkat(fd, entry->d_name, 0) == 0) ++removed;  // never resolves a link
  }
  ::closedir(dir);
  return removed;
}

}  // namespace platform
