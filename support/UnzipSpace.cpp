#include "support/UnzipSpace.h"

#include <filesystem>

uint64_t DeclaredUnzipBytes(const std::vector<UnzipEntry>& entries) {
  uint64_t total = 0;
  for (const UnzipEntry& entry : entries)
    if (!entry.isFolder) total = entry.size > UINT64_MAX - total ? UINT64_MAX : total + entry.size;
  return total;
}

std::optional<uint64_t> SystemFreeSpace(const std::string& hostFolder) {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::absolute(hostFolder, error);
  if (error) return std::nullopt;
  while (!std::filesystem::exists(folder, error) && folder.has_relative_path()) folder = folder.parent_path();
  const std::filesystem::space_info space = std::filesystem::space(folder, error);
  if (error || space.available == static_cast<std::uintmax_t>(-1)) return std::nullopt;
  return space.available;
}
