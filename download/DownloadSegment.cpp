#include "download/DownloadSegment.h"

namespace ostrel::download {

SegmentTable CutIntoSegments(int32_t totalSize, int32_t segmentCount) {
  SegmentTable cut{};
  const int32_t blockSize = totalSize / segmentCount;
  for (int32_t k = 1; k <= segmentCount; ++k) {
    SegmentRecord& s = cut[k - 1];
    s.StartPos = (k - 1) * blockSize;
    s.EndPos = (k == segmentCount) ? totalSize : k * blockSize;
    s.DoneSize = 0;
  }
  return cut;
}

}  // namespace ostrel::download
