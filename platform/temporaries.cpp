// Temporary files beside a target, their names, and the removal of those a killed writer left.
#include "platform/temporaries.h"

#include <atomic>
#include <chrono>
#include <random>
#include <string_view>

#include "platform/file.h"
#include "platform/folder.h"
#include "platform/host_path.h"

namespace platform {
namespace {

constexpr size_t kUniqueTagLength = 6;
constexpr char kTagDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";

// Six characters that differ between calls, threads and processes.
std::string UniqueTag() {
  static const uint64_t processSeed = (uint64_t{std::random_device{}()} << 32) ^ std::random_device{}();
  static std::atomic<uint64_t> counter{0};
  uint64_t v = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  v ^= processSeed ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
  v ^= v >> 29;
  v *= 0xBF58476D1CE4E5B9ull;
  v ^= v >> 32;
  std::string tag;
  for (size_t i = 0; i < kUniqueTagLength; ++i, v /= 36) tag += kTagDigits[v % 36];
  return tag;
}

// name == prefix followed by exactly six characters of [a-z0-9].
bool IsTemporaryName(std::string_view name, std::string_view prefix) {
  if (name.size() != prefix.size() + kUniqueTagLength || name.substr(0, prefix.size()) != prefix) return false;
  return name.substr(prefix.size()).find_first_not_of(std::string_view(kTagDigits)) == std::string_view::npos;
}

}  // namespace

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

int RemoveTemporariesBeside(const std::string& hostPath, const std::string& tag) {
  const size_t slash = LastHostSeparator(hostPath);
  const std::string folder = slash == std::string::npos ? "." : hostPath.substr(0, slash + 1);
  const std::string prefix = hostPath.substr(slash == std::string::npos ? 0 : slash + 1) + tag + "-";
  if (prefix.size() == tag.size() + 1) return 0;  // no file name
  const Folder dir = Folder::Open(folder);
  int removed = 0;
  for (const std::string& name : dir.Names())
    if (IsTemporaryName(name, prefix) && dir.Inspect(name).kind == Folder::EntryKind::File && dir.Remove(name))
      ++removed;
  return removed;
}

}  // namespace platform
