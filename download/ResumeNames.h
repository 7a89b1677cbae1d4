// Names of the files a download works with, all formed from the target path text. Texts may be
// Windows paths ("C:\dir\pkg.zip") or host paths; they are split at the last "\" or "/".
#pragma once

#include <functional>
#include <string>

namespace ostrel::download {

struct TargetParts {
  std::string Directory;  // up to and including the last separator; empty when there is none
  std::string BaseName;   // the rest: the file name with its extension
};

TargetParts SplitTarget(const std::string& fileName);

// Directory + BaseName + ".rpc"
std::string ReceiveFileName(const TargetParts& target);
// Directory + BaseName + ".rpc.cfg"
std::string StateFileName(const TargetParts& target);

// "%s(%d)%s" of (target without extension, counter, extension with its dot or empty).
std::string NumberedName(const std::string& fileName, int counter);

// fileName if exists(fileName) is false, else the first NumberedName(fileName, 1, 2, ...) that
// does not exist.
std::string FirstFreeName(const std::string& fileName,
                          const std::function<bool(const std::string&)>& exists);

}  // namespace ostrel::download
