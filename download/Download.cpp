#include "download/Download.h"

#include <fcntl.h>
#include <unistd.h>

#include <system_error>
#include <thread>

#include "download/CurlTransfer.h"
#include "download/DownloadManager.h"
#include "platform/host_path.h"

using namespace download;

bool TDownload::Start(std::shared_ptr<TDownloadManager> Manager, const std::string& DataFileName,
                      const std::string& URL, int32_t Index) {
  const int stream = ::open(platform::HostPath(DataFileName).c_str(), O_WRONLY | O_CLOEXEC);
  if (stream < 0) return false;
  std::unique_ptr<TDownload> worker(new TDownload(std::move(Manager), DataFileName, URL, Index, stream));
  try {
    std::thread([w = std::move(worker)] { w->Execute(); }).detach();
  } catch (const std::system_error&) {
    return false;  // the lambda, and with it the worker and its descriptor, are gone
  }
  return true;
}

TDownload::TDownload(std::shared_ptr<TDownloadManager> manager, std::string dataFileName,
                     std::string url, int32_t index, int stream)
    : Manager(std::move(manager)),
      Index(index),
      Position(int64_t{Manager->Segments[index].StartPos} + Manager->Segments[index].DoneSize.load()),
      URL(std::move(url)),
      DataFileName(std::move(dataFileName)),
      Stream(stream) {}

TDownload::~TDownload() {
  if (Stream >= 0) ::close(Stream);
}

std::string TDownload::RangeValue(int64_t position, int32_t endPos) {
  return std::to_string(position) + "-" + std::to_string(endPos);
}

void TDownload::Execute() {
  TDownloadJob& job = *Manager->Job;
  if (!Receive()) {
    job.Log.Append(logtext::WorkerFailed(Index));
    job.NotifyFailed();
  }
  job.Log.Append(logtext::WorkerEnded(Index));
  ::close(Stream);
  Stream = -1;
  Manager->StopRequested[Index].store(false);
  Manager->WorkerEnded[Index].store(true);  // the last access to the controller's slot
}

// One ranged GET; true when the segment is complete or the worker was told to stop.
bool TDownload::Receive() {
  TDownloadSegment& segment = Manager->Segments[Index];
  CurlTransfer request(URL);
  request.SetReceiveBufferSize(kReceiveBufferSize);
  request.SetRange(RangeValue(Position, segment.EndPos));
  Remaining = static_cast<int32_t>(segment.EndPos - Position);

  FileBlockOutput output(Stream);
  SegmentWriter writer(output, Position, Remaining, segment.DoneSize, Manager->StopRequested[Index],
                       Buffer);
  bool bodyChecked = false;
  bool bodyMisplaced = false;
  request.SetBodySink([&](const char* data, size_t size) -> size_t {
    if (!bodyChecked) {
      // A body that does not start at the asked offset (a server that ignores Range, or answers
      // another range) would land at the wrong place in the file.
      bodyChecked = true;
      const int status = request.Headers().Status();
      if (status < 200 || status > 299 || request.Headers().BodyOffset() != Position) {
        bodyMisplaced = true;
        return 0;
      }
    }
    return writer.Feed(data, size);
  });
  // A complete segment ends the request at once: the surplus byte of the range, or anything a
  // server sends after it, is not waited for.
  request.SetDoneCheck([&] { return writer.state() == SegmentWriter::State::Complete; });
  // The outcome is read from the writer: a transfer that libcurl ends with an error after the
  // segment is complete (the surplus byte is refused) still counts as done.
  request.Perform(kWorkerReadTimeout);
  Position = writer.Position();
  Remaining = writer.Remaining();
  if (bodyMisplaced) return false;
  // Still receiving means the request failed or the response ended before the segment did.
  return writer.state() == SegmentWriter::State::Complete ||
         writer.state() == SegmentWriter::State::Stopped;
}
