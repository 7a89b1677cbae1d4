#include "download/Download.h"

#include <optional>
#include <system_error>
#include <thread>

#include "download/CurlTransfer.h"
#include "download/ReceiveFile.h"
#include "download/ResponseCheck.h"
#include "platform/host_path.h"

using namespace ostrel::download;

bool TDownload::Start(std::shared_ptr<TDownloadJob> Job, std::shared_ptr<ostrel::download::WorkerSlot> Slot,
                      const std::string& DataFileName, const std::string& URL) {
  platform::File stream = OpenReceiveFileForWriting(platform::HostPath(DataFileName));
  if (!stream.IsOpen()) return false;
  std::shared_ptr<TDownloadJob> job = Job;
  std::unique_ptr<TDownload> worker(
      new TDownload(std::move(Job), std::move(Slot), DataFileName, URL, std::move(stream)));
  job->ThreadStarted();
  try {
    std::thread([w = std::move(worker), job]() mutable {
      w->Execute();
      w.reset();
      job->ThreadEnded();
    }).detach();
  } catch (const std::system_error&) {
    job->ThreadEnded();
    return false;  // the lambda, and with it the worker and its file, are gone
  }
  return true;
}

TDownload::TDownload(std::shared_ptr<TDownloadJob> job, std::shared_ptr<ostrel::download::WorkerSlot> slot,
                     std::string dataFileName, std::string url, platform::File stream)
    : Job(std::move(job)),
      Slot(std::move(slot)),
      Index(Slot->Index),
      Position(int64_t{Slot->Segment.StartPos} + Slot->Segment.DoneSize.load()),
      URL(std::move(url)),
      DataFileName(std::move(dataFileName)),
      Stream(std::move(stream)),
      Buffer(std::make_unique_for_overwrite<char[]>(kWriteBufferSize)) {}

TDownload::~TDownload() = default;

std::string TDownload::RangeValue(int64_t position, int32_t endPos) {
  return std::to_string(position) + "-" + std::to_string(endPos);
}

void TDownload::Execute() {
  DownloadFailure failure = Receive();
  if (failure) Job->Log.Append(logtext::WorkerFailed(Index));
  if (failure.kind == FailureKind::ResourceChanged) Slot->ResourceChanged.store(true);
  Stream.Close();
  // The slot is given back before the notice is sent: an owner that is slow to handle the notice
  // never holds up the controller, which may then save the state at once.
  Slot->StopRequested.store(false);
  Slot->WorkerEnded.store(true);  // the last access to the slot
  Job->SignalWorkerEnded();       // wakes a controller that waits for its workers
  if (failure) Job->ReportFailure(std::move(failure));
  Job->Log.Append(logtext::WorkerEnded(Index));
}

DownloadFailure TDownload::Receive() {
  TDownloadSegment& segment = Slot->Segment;
  const std::atomic<bool>& stop = Slot->StopRequested;
  const int32_t totalSize = Job->TotalSize.load();
  CurlTransfer request(URL);
  request.SetReceiveBufferSize(kReceiveBufferSize);
  request.SetRange(RangeValue(Position, segment.EndPos));
  request.SetIfRange(Slot->IfRange);
  Remaining = static_cast<int32_t>(segment.EndPos - Position);

  FileBlockOutput output(Stream);
  SegmentWriter writer(output, Position, Remaining, segment.DoneSize, stop,
                       std::span<char>(Buffer.get(), kWriteBufferSize));
  std::optional<DownloadFailure> verdict;  // on the headers, taken at the first body byte
  request.SetBodySink([&](const char* data, size_t size) -> size_t {
    if (!verdict)
      verdict = CheckSegmentResponse(request.Headers(), Position, segment.EndPos, totalSize, Slot->IfRange);
    if (*verdict) return 0;
    return writer.Feed(data, size);
  });
  // A complete segment ends the request at once: the surplus byte of the range, or anything a
  // server sends after it, is not waited for.
  request.SetDoneCheck([&] { return writer.state() == SegmentWriter::State::Complete; });
  request.SetAbortCheck([&] { return stop.load(std::memory_order_acquire); });
  request.SetTick([&] { writer.Tick(SegmentWriter::Clock::now()); });
  // The outcome is read from the writer: a transfer that libcurl ends with an error after the
  // segment is complete (the surplus byte is refused) still counts as done.
  const CURLcode result = request.Perform(kWorkerReadTimeout);
  if (verdict && *verdict) return *verdict;  // nothing was written
  writer.Flush();  // the bytes still in the buffer are kept, whatever ended the transfer
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
    if (DownloadFailure failure =
            CheckSegmentResponse(request.Headers(), Position, segment.EndPos, totalSize, Slot->IfRange))
      return failure;
  return {FailureKind::Transfer,
          "the response ended " + std::to_string(Remaining) + " bytes before the segment's end"};
}
