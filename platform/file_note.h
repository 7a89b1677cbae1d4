// A short note kept with a file, outside its bytes (an extended attribute on Linux, an alternate
// data stream on Windows): the download engine keeps there what names the version of the resource
// that a receive file holds. Where the file system keeps no notes, writing fails and reading finds
// nothing; callers then do without.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The note of the file at hostPath (never through a link), replacing an earlier one.
bool WriteFileNote(const std::string& hostPath, std::string_view note);
// The note, or nothing when there is none (or the file is a link, or notes aren't kept).
std::optional<std::string> ReadFileNote(const std::string& hostPath);

}  // namespace platform
