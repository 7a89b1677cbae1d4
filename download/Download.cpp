#include "download/Download.h"

#include <optional>
#include <system_error>
#include <thread>

#include "download/CurlTransfer.h"
#include "download/DownloadManager.h"
#include "download/ReceiveFile.h"
#include "download/ResponseCheck.h"
#include "platform/host_path.h"

using namespace download;

bool TDownload::Start(std::shared_ptr<TDownloadManager> Manager, const std::string& DataFileName,
                      const std::string& URL, int32_t Index) {
  platform::File stream = OpenReceiveFileForWriting(platform::HostPath(DataFileName));
  if (!stream.IsOpen()) return false;
  std::shared_ptr<TDownloadJob> job = Manager->Job;
  std::unique_ptr<TDownload> worker(new TDownload(std::move(Manager), DataFileName, URL, Index, std::move(stream)));
  job->ThreadStarted();
  try {
    std::thread([w = std::move(worker), job]() mutable {
      w->Execute();
      w.reset();  // lets go of the controller before the job hears that this thread ended
      job->ThreadEnded();
    }).detach();
  } catch (const std::system_error&) {
    job->ThreadEnded();
    return false;  // the lambda, and with it the worker and its descriptor, are gone
  }
  return true;
}

TDownload::TDownload(std::shared_ptr<TDownloadManager> manager, std::string dataFileName,
                     std::string url, int32_t index, platform::File stream)
    : Manager(std::move(manager)),
      Index(index),
      Position(int64_t{Manager->Segments[index].StartPos} + Manager->Segments[index].DoneSize.load()),
      URL(std::move(url)),
      DataFileName(std::move(dataFileName)),
      Stream(std::move(stream)) {}

TDownload::~TDownload() = default;

std::string TDownload::RangeValue(int64_t position, int32_t endPos) {
  return std::to_string(position) + "-" + std::to_string(endPos);
}

void TDownload::Execute() {
  TDownloadJob& job = *Manager->Job;
  if (DownloadFailure failure = Receive()) {
    job.Log.Append(logtext::WorkerFailed(Index));
    job.ReportFailure(std::move(failure));
  }
  job.Log.Append(logtext::WorkerEnded(Index));
  Stream.Close();
  Manager->StopRequested[Index].store(false);
  Manager->WorkerEnded[Index].store(true);  // the last access to the controller's slot
}

DownloadFailure TDownload::Receive() {
  TDownloadSegment& segment = Manager->Segments[Index];
  const std::atomic<bool>& stop = Manager->StopRequested[Index];
  const int32_t totalSize = Manager->Job->TotalSize.load();
  CurlTransfer request(URL);
  request.SetReceiveBufferSize(kReceiveBufferSize);
  request.SetRange(RangeValue(Position, segment.EndPos));
  Remaining = static_cast<int32_t>(segment.EndPos - Position);

  FileBlockOutput output(Stream);
  SegmentWriter writer(output, Position, Remaining, segment.DoneSize, stop, Buffer);
  std::optional<DownloadFailure> verdict;  // on the headers, taken at the first body byte
  request.SetBodySink([&](const char* data, size_t size) -> size_t {
    if (!verdict) verdict = CheckSegmentResponse(request.Headers(), Position, segment.EndPos, totalSize);
    if (*verdict) return 0;
    return writer.Feed(data, size);
  });
  // A complete segment ends the request at once: the surplus byte of the range, or anything a
  // server sends after it, is not waited for.
  request.SetDoneCheck([&] { return writer.state() == SegmentWriter::State::Complete; });
  request.SetAbortCheck([&] { return stop.load(std::memory_order_acquire); });
  // The outcome is read from the writer: a transfer that libcurl ends with an error after the
  // segment is complete (the surplus byte is refused) still counts as done.
  const CURLcode result = request.Perform(kWorkerReadTimeout);
  if (verdict && *verdict) return *verdict;  // nothing was written
  writer.FlushPartial();  // bytes of an unfinished block are kept, whatever ended the transfer
  Position = writer.Position();
  Remaining = writer.Remaining();
  switch (writer.state()) {
    case SegmentWriter::State::Complete:
    case SegmentWriter::State::Stopped:
      return {};
    case SegmentWriter::State::WriteFailed:
      return output.Failure();
    case SegmentWriter::State::Receiving:
      break;
  }
  if (stop.load()) return {};  // stopped inside a block
  if (DownloadFailure failure = request.FailureOf(result)) return failure;
  if (!verdict && request.Headers().Status() != 0)  // a response without any body
    if (DownloadFailure failure = CheckSegmentResponse(request.Headers(), Position, segment.EndPos, totalSize))
      return failure;
  return {FailureKind::Transfer,
          "the response ended " + std::to_string(Remaining) + " bytes before the segment's end"};
}
