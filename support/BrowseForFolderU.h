// The folder picker: the host's folder dialog opened at a folder, its answer as a Windows path.
#pragma once

#include <functional>
#include <optional>
#include <string>

// The folder the dialog pre-selects; each BrowseForFolder call sets it.
extern std::string BrowseInitialDir;

// The host's dialog: title and start folder (empty for its default); the chosen folder as a
// Windows path, or nothing when the user cancelled or the item has no file-system path.
using FolderDialog = std::function<std::optional<std::string>(const std::string& title, const std::string& start)>;

// The chosen folder's path: a drive root keeps its "\" ("D:\"), any other folder has none at
// its end; the empty text when cancelled.
std::string BrowseForFolder(const std::string& title, const std::string& initialFolder, const FolderDialog& dialog);
