// Folders below an extraction's destination, reached without following links.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/folder.h"

// Opens the folder named by the first count parts below root, one part at a
// time, never through a symbolic link; creates missing folders when create is
// set. Not open on failure: a link or a file in the way, no permission.
platform::Folder OpenFolderBelow(const platform::Folder& root, const std::vector<std::string>& parts, size_t count,
                                 bool create);
