// The hive files of the prefix and their locked read-modify-write.
#pragma once

#include <string>

#include "platform/registry.h"

namespace platform::posix {

// Host path of the hive file for a root key in the prefix dir, empty for an unknown root.
std::string HiveFileFor(const std::string& prefixDir, RootKey root);

// The longest hive file that is read.
inline constexpr size_t kMaxHiveBytes = 64u << 20;

// Writes a string value into the hive of root in the prefix dir. With
// onlyIfMissing an existing value (of any type) is left alone. Serialised against
// other writers, also in other processes; the file is replaced atomically.
// Doesn't seed the prefix.
RegResult WriteHiveString(const std::string& prefixDir, RootKey root, const std::string& keyPath,
                          const std::string& valueName, const std::string& value, bool onlyIfMissing);

}  // namespace platform::posix
