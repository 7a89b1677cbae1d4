#include "support_test_files.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/host_path.h"

ScratchDir::ScratchDir() {
  std::string pattern = (fs::temp_directory_path() / "ostrel-support-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  // Give back write permission that extraction may have taken away.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void WriteFile(const fs::path& path, const std::string& data) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << data;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> ListTree(const fs::path& root) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::string name = fs::relative(it->path(), root).string();
    if (it->is_directory() && !it->is_symlink()) name += "/";
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool RunningAsRoot() { return ::geteuid() == 0; }

ScopedPrefix::ScopedPrefix(const fs::path& dir) : driveC_(dir / "drive_c") {
  if (const char* old = std::getenv("OSTREL_PREFIX")) {
    hadOld_ = true;
    old_ = old;
  }
  fs::create_directories(dir / "prefix" / "dosdevices");
  fs::create_directories(driveC_);
  fs::create_directory_symlink(driveC_, dir / "prefix" / "dosdevices" / "c:");
  ::setenv("OSTREL_PREFIX", (dir / "prefix").c_str(), 1);
  platform::ForgetPrefix();
}

ScopedPrefix::~ScopedPrefix() {
  if (hadOld_)
    ::setenv("OSTREL_PREFIX", old_.c_str(), 1);
  else
    ::unsetenv("OSTREL_PREFIX");
  platform::ForgetPrefix();
}
