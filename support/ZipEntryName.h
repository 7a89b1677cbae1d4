// Stored names of archive entries: their text on this host and the place they
// name below the destination folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The host (UTF-8) text of a stored name: valid UTF-8 (which includes every
// name stored with the UTF-8 flag) as it is, anything else as code page 936.
std::string DecodeZipEntryName(std::string_view raw);

// Where an entry goes: its folder parts, then its own name.
struct ZipEntryPath {
  std::vector<std::string> parts;
  bool isDirectory = false;  // the name ends with a separator
};

// Splits a decoded name at "/" and "\" and drops empty and "." parts.
// nullopt for a name that could reach outside the destination or that names
// nothing: absolute names, names starting with a drive ("C:"), ".." parts,
// NUL characters, names without any part.
std::optional<ZipEntryPath> ZipEntryPathFromName(std::string_view name);

// The parts joined with "/", as a key and for messages.
std::string JoinZipEntryPath(const std::vector<std::string>& parts);
