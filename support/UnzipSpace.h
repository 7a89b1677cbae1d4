// The room an extraction needs and the room its destination has.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/UnzipEntries.h"

// The declared sizes of the file entries added up (at most UINT64_MAX).
uint64_t DeclaredUnzipBytes(const std::vector<UnzipEntry>& entries);

// The bytes that new files may take in the host folder or, while it doesn't
// exist yet, in the nearest folder above it; nullopt when unknown.
std::optional<uint64_t> SystemFreeSpace(const std::string& hostFolder);
