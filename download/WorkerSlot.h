// What one worker shares with the controller: its segment and two flags. The controller hands a
// slot to each worker it starts, as a segment manager hands out segments; both hold it, so it
// stays valid for whichever of them lets go last.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "download/DownloadSegment.h"

namespace ostrel::download {

struct WorkerSlot {
  explicit WorkerSlot(int32_t index) : Index(index) {}

  const int32_t Index;  // the segment number k, 1 to 10
  TDownloadSegment Segment;
  std::atomic<bool> StopRequested{false};  // set by the controller, cleared by the worker as it ends
  std::atomic<bool> WorkerEnded{true};     // cleared by the controller as it starts the worker
  // Set by the controller before the worker starts: sent as If-Range with the range request, so
  // that a server whose resource has changed answers with the whole new version instead.
  std::string IfRange;
  std::atomic<bool> ResourceChanged{false};  // set by the worker when the server said so
};

}  // namespace ostrel::download
