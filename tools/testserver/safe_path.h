// Opens a file below the served folder, refusing anything that leads outside it.
// safe_path.cpp holds the request rules, safe_path_posix.cpp the Linux side, safe_path_win32.cpp
// the Windows one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel::testserver {

struct OpenedFile {
  enum Outcome { kOpened, kMissing, kForbidden } outcome = kMissing;
  int fd = -1;        // kOpened: the caller closes it
  uint64_t size = 0;  // kOpened: the file's size
};

// A request path that is refused before any look at the disk: a ".." segment, or a backslash.
bool IsRefusedRequestPath(std::string_view decodedPath);

// decodedPath is the percent-decoded request path without its leading "/".
// A ".." segment or a resolved path outside rootDir gives kForbidden; a missing
// file or anything that isn't a regular file gives kMissing.
OpenedFile OpenServedFile(const std::string& rootDir, const std::string& decodedPath);

// A strong validator of an opened file's version (an ETag with its quotes): it changes
// whenever the file is written. Empty when the system can't tell.
std::string FileVersionTag(int fd);

}  // namespace ostrel::testserver
