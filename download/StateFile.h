// The state file of an unfinished download: little-endian, 8 + 12N bytes.
//   offset 0: TotalSize (signed 32-bit), offset 4: SegmentCount N (signed 32-bit),
//   then per segment k = 1..N at 8 + 12(k-1): StartPos, EndPos, DoneSize (signed 32-bit each).
// A file that is short or long, or whose values don't describe a download (size not positive,
// count outside 1 to 10, segments that don't tile 0..TotalSize in order, DoneSize outside its
// segment), is not accepted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "download/DownloadSegment.h"

namespace ostrel::download {

struct DownloadState {
  int32_t TotalSize = 0;
  int32_t SegmentCount = 0;
  SegmentTable Segments{};  // entries 0 to SegmentCount - 1 are used
  bool operator==(const DownloadState&) const = default;
};

std::vector<uint8_t> EncodeState(const DownloadState& state);

// The state held by the bytes, or nothing if they are not an acceptable state file.
std::optional<DownloadState> DecodeState(const std::vector<uint8_t>& bytes);

// Reads and decodes the file at hostPath; nothing if it is absent, unreadable, not a regular file
// (a link, a FIFO) or not acceptable.
std::optional<DownloadState> ReadStateFile(const std::string& hostPath);

// Writes the state through a new temporary file beside hostPath (made by exclusive creation,
// written, flushed to disk, renamed over hostPath), so that hostPath always holds either the old
// or the new state, never a part. A link or FIFO under either name is never opened.
bool WriteStateFile(const std::string& hostPath, const DownloadState& state);

}  // namespace ostrel::download
