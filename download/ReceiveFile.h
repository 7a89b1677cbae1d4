// The receive file: the resource's bytes at their own offsets, exactly TotalSize bytes long, and
// its move to the final name once complete. Paths here are host paths unless said otherwise.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace download {

enum class CreateResult { Ok, CannotCreate, CannotSize };

// Creates the file (truncating an old one) and sets its length to size (sparse, not zero-filled).
CreateResult CreateReceiveFile(const std::string& hostPath, int64_t size);

// The file's length, or -1 if it does not exist (or cannot be examined).
int64_t FileLength(const std::string& hostPath);

// Sets the length of an existing file.
bool SetFileLength(const std::string& hostPath, int64_t size);

bool FileExists(const std::string& hostPath);

// Moves the receive file to target (a path text, mapped to the host) or, when target exists, to
// its first free numbered name; an existing file is never replaced. A failing rename is retried
// until retryFor has passed. Returns the path text used, or an empty text on failure.
std::string PutInPlace(const std::string& receiveHostPath, const std::string& target,
                       std::chrono::milliseconds retryFor);

}  // namespace download
