// A download worker: fetches what is missing of one segment with one ranged GET and writes it
// into the receive file at the segment's offsets (gathered in a buffer of its own into large
// writes, see SegmentWriter.h), on a detached thread of its own. It reports progress through its
// slot's DoneSize, stops within a fraction of a second when the slot's StopRequested is set (also
// while the server stalls), keeping what it received, and on failure logs a line and sends
// the failure notice; it never retries. A response that does not match the asked range and the
// resource's size fails the worker before anything is written.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "download/DownloadFailure.h"
#include "download/DownloadJob.h"
#include "download/WorkerSlot.h"
#include "download/SegmentWriter.h"

namespace ostrel::download {
inline constexpr std::chrono::milliseconds kWorkerReadTimeout{5000};
// libcurl's receive buffer; the worker gathers its pieces into writes of kWriteBufferSize.
inline constexpr long kReceiveBufferSize = 256 * 1024;
}  // namespace ostrel::download

class TDownload {
 public:
  // Opens the receive file for writing and starts the worker for the slot's segment on its own
  // thread. False if the file cannot be opened or no thread can be started; the worker then never
  // runs.
  static bool Start(std::shared_ptr<TDownloadJob> Job, std::shared_ptr<ostrel::download::WorkerSlot> Slot,
                    const std::string& DataFileName, const std::string& URL);

  ~TDownload();
  TDownload(const TDownload&) = delete;
  TDownload& operator=(const TDownload&) = delete;

  // "bytes=" value of the request: Position + "-" + the segment's exclusive end. The upper bound
  // asks for one byte more than the worker reads; it is dropped with the connection.
  static std::string RangeValue(int64_t position, int32_t endPos);

 private:
  TDownload(std::shared_ptr<TDownloadJob> job, std::shared_ptr<ostrel::download::WorkerSlot> slot,
            std::string dataFileName, std::string url, platform::File stream);
  void Execute();
  // One ranged GET. kind None when the segment is complete or the worker was told to stop.
  ostrel::download::DownloadFailure Receive();

  std::shared_ptr<TDownloadJob> Job;  // its log, its size, the failure notice
  std::shared_ptr<ostrel::download::WorkerSlot> Slot;
  int32_t Index;
  int64_t Position;
  int32_t Remaining = 0;
  std::string URL;
  std::string DataFileName;
  platform::File Stream;  // own write handle on the receive file
  std::unique_ptr<char[]> Buffer;  // kWriteBufferSize bytes, this worker's own
};
