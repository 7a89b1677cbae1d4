// Shell Links (.lnk files): what IShellLinkA + IPersistFile::Save make.
#pragma once

#include <string>

namespace platform {

struct ShellLink {
  std::string path;              // the target, a Windows path text
  std::string workingDirectory;  // may be empty
  std::string description;       // may be empty
  std::string arguments;         // may be empty
};

enum class ShellLinkResult {
  kOk = 0,
  kNoShellLinkObject,  // the shell link object or one of its interfaces isn't available
  kSaveFailed,         // the file can't be written
};

// Writes the link to file (a Windows path text), replacing any file of that name.
ShellLinkResult SaveShellLink(const ShellLink& link, const std::string& file);

}  // namespace platform
