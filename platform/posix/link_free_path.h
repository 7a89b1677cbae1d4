// Paths walked one folder at a time from their root, never through a link.
//
// The root of a drive path ("D:\...") is the drive's entry in dosdevices with its
// link followed: the drive and where it leads are the prefix's own. Every name
// below it is entered with O_NOFOLLOW, so a link planted on the way is in the
// way, never followed. An absolute host path is walked the same way from "/"
// (as its "Z:\..." text would be), a relative one from the working folder.
#pragma once

#include <string>
#include <vector>

#include "platform/folder.h"

namespace platform::posix {

struct RootedPath {
  bool valid = false;              // false for an empty text or a ".." above a relative start
  std::string root;                // host path of the folder the walk starts from
  std::vector<std::string> names;  // the names below it; "." and empty ones dropped, ".." taken lexically
};

// Splits a Windows path text or a host path (a ".." at a drive root or at "/" stays there,
// as Windows and POSIX have it).
RootedPath SplitRooted(const std::string& path);

// The folder of the first count names below the root, each entered without following a
// link; missing ones made (permissions less the umask) when create is set. Closed when
// a name is a link, not a folder, missing (without create) or can't be entered.
Folder OpenRooted(const RootedPath& path, size_t count, bool create, unsigned permissions = 0777);

}  // namespace platform::posix
