// One segment of a resource and the cut of a fresh download into segments.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace ostrel::download {

// Segments and workers per download: at least one, at most ten.
inline constexpr int32_t kMinSegments = 1;
inline constexpr int32_t kMaxSegments = 10;

// A plain copy of a segment, as stored in the state file.
struct SegmentRecord {
  int32_t StartPos = 0;
  int32_t EndPos = 0;
  int32_t DoneSize = 0;
  bool operator==(const SegmentRecord&) const = default;
};

using SegmentTable = std::array<SegmentRecord, kMaxSegments>;

// Cuts totalSize bytes into segmentCount consecutive segments of totalSize / segmentCount bytes
// (truncated); the last one takes the remainder. segmentCount must be 1 to 10; entries 0 to
// segmentCount - 1 of the result are used, the others stay zero.
SegmentTable CutIntoSegments(int32_t totalSize, int32_t segmentCount);

}  // namespace ostrel::download

// A segment of the controller's table. Offsets are bytes from the start of the resource; EndPos
// is exclusive and equals the next segment's StartPos. DoneSize counts the bytes from StartPos
// already written to the receive file. StartPos and EndPos are set before any worker starts;
// DoneSize is raised by the segment's worker while the controller reads it.
struct TDownloadSegment {
  int32_t StartPos = 0;
  int32_t EndPos = 0;
  std::atomic<int32_t> DoneSize{0};

  bool Complete() const { return int64_t{StartPos} + DoneSize.load() >= EndPos; }
  void Assign(const ostrel::download::SegmentRecord& r) {
    StartPos = r.StartPos;
    EndPos = r.EndPos;
    DoneSize.store(r.DoneSize);
  }
  ostrel::download::SegmentRecord Record() const { return {StartPos, EndPos, DoneSize.load()}; }
};
