// The bytes of a Shell Link file (MS-SHLLINK): header, LinkInfo with the
// target as local base path (ANSI and UTF-16), the string data (description,
// working folder, arguments) in UTF-16, and the terminal block.
#pragma once

#include <cstdint>
#include <string>

namespace platform::posix {

struct ShellLinkData {
  std::string target;  // "C:\...\OstrelLauncher.exe"
  std::string workingDirectory;
  std::string description;
  std::string arguments;
  uint32_t driveType = 3;  // of the target's volume
  uint32_t fileAttributes = 0;
  uint32_t fileSize = 0;
  uint64_t creationTime = 0, accessTime = 0, writeTime = 0;  // FILETIME
  uint32_t showCommand = 1;                                  // SW_SHOWNORMAL
};

// The file's bytes; empty when a text is too long for the format (65535 UTF-16 units).
std::string BuildShellLink(const ShellLinkData& data);

}  // namespace platform::posix
