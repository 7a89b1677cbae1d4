// Paths walked one folder at a time from their root, never through a reparse point.
//
// The root of "D:\..." is the drive's root folder; "\\server\share\..." starts at the share;
// a text rooted on the current drive ("\x") at that drive's root; a relative path at the
// working folder. Every name below the root is entered without following a reparse point.
#pragma once

#include <string>
#include <vector>

#include "platform/folder.h"

namespace platform::win32 {

struct RootedPath {
  bool valid = false;              // false for an empty text or a ".." above a relative start
  std::string root;                // the folder the walk starts from
  std::vector<std::string> names;  // the names below it; "." and empty ones dropped, ".." taken by the text
};

RootedPath SplitRooted(const std::string& path);

// The folder of the first count names below the root (see posix/link_free_path.h).
Folder OpenRooted(const RootedPath& path, size_t count, bool create);

}  // namespace platform::win32
