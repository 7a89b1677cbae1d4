#include "tests/testkit/temp_dir.h"

#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <stdexcept>
#include <system_error>

#include "tests/testkit/host_only.h"

namespace fs = std::filesystem;

namespace testkit {

namespace {

#ifdef _WIN32
// A new folder named pattern with its "XXXXXX" made random; fails only when it can't be made.
bool MakeUniqueFolder(std::string& pattern) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  const size_t at = pattern.size() - 6;
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (size_t i = at; i < pattern.size(); ++i) pattern[i] = kLetters[random() % (sizeof kLetters - 1)];
    std::error_code ec;
    if (fs::create_directory(pattern, ec)) return true;
    if (ec) {
      errno = ec.value();
      return false;
    }
  }
  errno = EEXIST;
  return false;
}
#else
bool MakeUniqueFolder(std::string& pattern) { return ::mkdtemp(pattern.data()) != nullptr; }
#endif

}  // namespace

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "ostrel-test-XXXXXX").string();
  if (!MakeUniqueFolder(pattern))
    throw std::runtime_error("cannot make a temporary folder " + pattern + ": " + std::strerror(errno));
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // A test may have taken write permission away; the iterator doesn't enter links (z: -> /).
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string TempDir::PathText(const std::string& below) const {
  std::string text = Utf8Text(below.empty() ? path_ : path_ / Utf8Path(below));
#ifdef _WIN32
  std::replace(text.begin(), text.end(), '/', '\\');
#endif
  return text;
}

}  // namespace testkit
