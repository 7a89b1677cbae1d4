// The receive file: the resource's bytes at their own offsets, exactly TotalSize bytes long, and
// its move to the final name once complete. Paths here are host paths unless said otherwise.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/file.h"

namespace ostrel::download {

enum class CreateResult { Ok, CannotCreate, CannotSize, NoSpace };

// Creates the file afresh and reserves size bytes of disk for it, so that a full disk shows here
// and not in the middle of the transfer. Whatever stood under the name before (an old receive
// file, a symbolic link, a FIFO) is removed, never opened; a folder there makes creation fail.
CreateResult CreateReceiveFile(const std::string& hostPath, int64_t size);

// A worker's write handle: the regular file itself, never through a link, never blocking on a
// FIFO. Not open when it can't be opened.
platform::File OpenReceiveFileForWriting(const std::string& hostPath);

// Puts what was written into the file on the disk, before a state that describes it is saved.
bool SyncReceiveFile(const std::string& hostPath);

// Moves the receive file to target (a path text, mapped to the host) or, when target exists, to
// its first free numbered name; an existing file is never replaced. A failing rename is retried
// until retryFor has passed. Returns the path text used, or an empty text on failure.
std::string PutInPlace(const std::string& receiveHostPath, const std::string& target,
                       std::chrono::milliseconds retryFor);

}  // namespace ostrel::download
