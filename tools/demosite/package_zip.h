// Writes the package archive with libzip: names in the form each entry asks for, Unix
// permissions in the external attributes, one fixed modification time, so that the same
// entries always give the same bytes (and the same checksum).
#pragma once

#include <string>
#include <vector>

#include "tools/demosite/platform_package.h"

namespace ostrel::demosite {

// 2026-12-01 08:00:00 as the archive stores times (MS-DOS date and time fields).
inline constexpr unsigned kDosDate = ((2026 - 1980) << 9) | (12 << 5) | 1;
inline constexpr unsigned kDosTime = (8 << 11) | (0 << 5) | 0;

// Writes entries into a new archive at path (replacing any file there). False with the
// reason when the archive cannot be made or a name cannot be written in its form.
bool WritePackageZip(const std::string& path, const std::vector<PackageEntry>& entries, std::string& reason);

}  // namespace ostrel::demosite
