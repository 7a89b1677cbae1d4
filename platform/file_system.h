// File operations on Windows path texts ("D:\Program Files\Ostrel\...").
//
// No link is followed below a drive's root: the drive itself (its dosdevices
// entry and where that leads) is the prefix's own, but every folder under it
// is entered by name without following a symbolic link, and a link found
// there is neither a file nor a folder. So a link planted anywhere on a path
// can't lead a test, a write or a delete outside the drive.
//
// A host path (no drive letter; tests and tools) is walked the same way from
// "/" (as its "Z:\..." text would be), a relative one from the working folder.
// A ".." name is taken by the text, never past the drive's root.
#pragma once

#include <string>
#include <vector>

#include "platform/folder.h"

namespace platform {

bool FileExists(const std::string& path);       // a regular file, not through a link, is there
bool DirectoryExists(const std::string& path);  // a folder, not through a link, is there

// Creates the folder and every missing parent, one at a time. A drive that
// doesn't exist is never created. True when the folder exists afterwards;
// false when a name on the way is a link or not a folder.
bool ForceDirectories(const std::string& dir);

// Deletes one file through its folder opened without links; false when it is
// not there, is a folder or can't be deleted. A link at the name is removed as
// a link (its target stays untouched): the name is free afterwards.
bool RemoveFile(const std::string& path);

// The hidden clean-up "del <folder>\*.zip": deletes the entries of the folder
// (opened without links) whose name ends in ".zip" (any letter case): files,
// and links as links. Not recursive; folders are left alone. Returns how many
// were deleted.
int DeleteZipFiles(const std::string& folder);

// The names of the plain files (no folder, no link) directly in folder; empty when it can't be
// read or is itself a link.
std::vector<std::string> ListFiles(const std::string& folder);

// True when no existing name on the folder's chain below the drive root is a
// link or anything but a folder; names that don't exist yet are fine (they
// would be made as folders). False for a drive that can't be opened and for a
// chain that can't be checked (a folder that can't be entered). Checked right
// before a step that writes or deletes in the folder by path.
bool IsLinkFreeFolder(const std::string& dir);

// The folder itself, entered from the drive root one name at a time without
// following a link; missing folders made first when create is set (never the
// drive). Closed when that fails. Acting through it (Folder::CreateNewFile,
// Remove, OpenChild) stays inside whatever is planted meanwhile.
Folder OpenFolderNoLinks(const std::string& dir, bool create);

}  // namespace platform
