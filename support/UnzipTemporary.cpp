#include "support/UnzipTemporary.h"

#include <atomic>
#include <cstdint>
#include <random>

namespace {

const std::string kPrefix = ".ostrel-unzip-";
const std::string kSuffix = ".part";
constexpr int kCreateAttempts = 100;

}  // namespace

UnzipTemporaryFile::UnzipTemporaryFile(const platform::Folder& folder, unsigned permissions) : folder_(folder) {
  static std::atomic<uint64_t> counter{std::random_device{}()};
  for (int attempt = 0; attempt < kCreateAttempts && !file_.IsOpen(); ++attempt) {
    name_ = kPrefix + std::to_string(counter++) + kSuffix;
    file_ = folder_.CreateNewFile(name_, permissions);
    if (file_.Error() != platform::FileError::Exists) break;
  }
  created_ = file_.IsOpen();
}

UnzipTemporaryFile::~UnzipTemporaryFile() {
  file_.Close();
  if (created_) folder_.Remove(name_);
}

bool UnzipTemporaryFile::RenameTo(const std::string& name) {
  if (folder_.RenameNoReplace(name_, name) != platform::FileError::None) return false;
  created_ = false;
  return true;
}

bool IsUnzipTemporaryName(const std::string& name) {
  if (name.size() <= kPrefix.size() + kSuffix.size() || name.compare(0, kPrefix.size(), kPrefix) != 0 ||
      name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
    return false;
  for (size_t i = kPrefix.size(); i < name.size() - kSuffix.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

size_t RemoveUnzipLeftovers(const platform::Folder& folder) {
  size_t removed = 0;
  for (const std::string& name : folder.Names())
    if (IsUnzipTemporaryName(name) && folder.Inspect(name).kind == platform::Folder::EntryKind::File &&
        folder.Remove(name))
      ++removed;
  return removed;
}
