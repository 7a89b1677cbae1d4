// What the demonstration platform package holds: the three files the installer relies on,
// a few folders, Chinese names in both of the forms archives carry, and one large file that
// does not compress, so that the download's progress can be watched.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::demosite {

// How an entry's name is stored in the archive.
enum class NameForm {
  kCodePage936,  // the target systems' code page, without the UTF-8 flag
  kUtf8,         // UTF-8 with the UTF-8 flag
};

struct PackageEntry {
  std::string name;  // UTF-8, "/" between folders, a trailing "/" for a folder
  std::string data;  // empty for a folder
  NameForm form = NameForm::kCodePage936;
  uint32_t unixMode = 0644;  // permission bits
  bool compress = true;      // false: stored as it is
};

inline constexpr size_t kLargeFileSize = 3 * 1024 * 1024;

// The package's entries, folders before what they hold. version is the manifest's version
// text and must be writable in code page 936.
std::vector<PackageEntry> PlatformPackageEntries(std::string_view version);

}  // namespace ostrel::demosite
