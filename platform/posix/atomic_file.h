// Whole-file reads and atomic whole-file writes on host paths.
#pragma once

#include <string>

namespace platform::posix {

// Reads the whole file into out. False when it can't be opened or read.
bool ReadWholeFile(const std::string& hostPath, std::string& out);

// Writes data to a temporary file beside hostPath, flushes it to disk and
// renames it over hostPath, so readers see either the old or the new file,
// never a part. The temporary file is removed on failure.
bool WriteFileAtomically(const std::string& hostPath, const std::string& data);

// mkdir -p: creates hostDir and every missing parent. True when it exists afterwards.
bool MakeDirs(const std::string& hostDir);

}  // namespace platform::posix
