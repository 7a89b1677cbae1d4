// The version manifest's places on the servers and on disk, and what a package name may be.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::app {

inline constexpr std::string_view kManifestPath = "dlcpx/DOWN_CENTER/OSTREL/OSTREL/OSTREL.XML";
inline constexpr std::string_view kPackageFolder = "dlcpx/DOWN_CENTER/OSTREL/OSTREL/";
inline constexpr std::string_view kManifestCopy = "Downloads\\KELOPRO.INI";  // under StagingDir

// A name that stays inside the staging Downloads folder: no separator, drive, control character,
// wildcard, nothing made of dots only. The empty name (a manifest without the key) passes.
bool IsPlainFileName(std::string_view name);

}  // namespace ostrel::app
