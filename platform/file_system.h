// File operations on Windows path texts ("D:\Program Files\Ostrel\...").
#pragma once

#include <string>
#include <vector>

namespace platform {

bool FileExists(const std::string& path);       // a file (not a folder) is there
bool DirectoryExists(const std::string& path);  // a folder is there

// Creates the folder and every missing parent. A drive that doesn't exist is
// never created. True when the folder exists afterwards.
bool ForceDirectories(const std::string& dir);

// Deletes one file; false when it is not there or can't be deleted.
bool RemoveFile(const std::string& path);

// The hidden clean-up "del <folder>\*.zip": deletes the files of the folder
// whose name ends in ".zip" (any letter case). Not recursive; folders are left
// alone. Returns how many files were deleted.
int DeleteZipFiles(const std::string& folder);

// The names of the plain files (no folder, no link) directly in folder; empty when it can't be
// read or is itself a link.
std::vector<std::string> ListFiles(const std::string& folder);

}  // namespace platform
