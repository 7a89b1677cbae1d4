// Paths walked one folder at a time from their root, never through a link (a symbolic link on
// Linux, a reparse point on Windows).
//
// Where a walk starts is the platform's: on Linux the root of a drive path ("D:\...") is the
// drive's entry in the prefix's dosdevices with its link followed (the drive and where it leads
// are the prefix's own) and an absolute host path starts at "/"; on Windows a drive's root, a
// share ("\\server\share") or the current drive's root. A relative path starts at the working
// folder. Every name below the root is entered without following a link, so a link planted on the
// way is in the way, never followed. A ".." is taken by the text and never climbs above the root.
#pragma once

#include <string>
#include <vector>

#include "platform/folder.h"

namespace platform {

struct RootedPath {
  bool valid = false;              // false for an empty text or a ".." above a relative start
  std::string root;                // the folder the walk starts from, as the system names it
  std::vector<std::string> names;  // the names below it; "." and empty ones dropped, ".." taken by the text
};

// Splits a path text as above (the platform's part).
RootedPath SplitRooted(const std::string& path);

// The folder of the first count names below the root, each entered without following a link;
// missing ones made when create is set. Closed when a name is a link, not a folder, missing
// (without create) or can't be entered.
Folder OpenRooted(const RootedPath& path, size_t count, bool create);

// Appends the names of text split at any of separators, ".." taken by the text; false for a ".."
// above the start of a relative path (absolute: a ".." at the root stays there).
bool AddRootedNames(const std::string& text, const char* separators, bool absolute, std::vector<std::string>& names);

}  // namespace platform
