#include "download/DownloadManager.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>

#include "download/Download.h"
#include "download/HttpProbe.h"
#include "download/PeriodicSave.h"
#include "download/ReceiveFile.h"
#include "download/ResumeNames.h"
#include "download/StateFile.h"
#include "platform/file.h"
#include "platform/file_note.h"
#include "platform/file_system.h"
#include "platform/host_path.h"

using namespace ostrel::download;

namespace {

// A missing drive is never created: the run then fails when it makes the receive file.
void CreateFolders(const std::string& directory) {
  if (directory.empty()) return;
  platform::ForceDirectories(directory);
}

}  // namespace

TDownloadManager::TDownloadManager(std::shared_ptr<TDownloadJob> job, const std::string& url,
                                   const std::string& fileName, int32_t segmentCount)
    : URL(url),
      Directory(SplitTarget(fileName).Directory),
      FileName(fileName),
      Job(std::move(job)) {
  CreateFolders(Directory);
  SegmentCount = std::clamp(segmentCount, kMinSegments, kMaxSegments);
  for (int32_t k = 1; k <= kMaxSegments; ++k)
    Slots[static_cast<size_t>(k - 1)] = std::make_shared<WorkerSlot>(k);
  Job->BeginRun();
}

void TDownloadManager::Launch(std::shared_ptr<TDownloadJob> job, const std::string& URL,
                              const std::string& FileName, int32_t ThreadCount) {
  auto manager = std::make_shared<TDownloadManager>(job, URL, FileName, ThreadCount);
  job->ThreadStarted();
  try {
    std::thread([manager, job]() mutable {
      manager->Execute();
      manager.reset();  // workers may hold it a little longer; they count for themselves
      job->ThreadEnded();
    }).detach();
  } catch (...) {
    job->ThreadEnded();
    throw;
  }
}

int32_t TDownloadManager::GetRemoteSize(const std::string& URL) { return ProbeRemoteSize(URL); }

void TDownloadManager::Log(const std::string& text) { Job->Log.Append(ControllerLine(text)); }

void TDownloadManager::Execute() {
  BaseName = SplitTarget(FileName).BaseName;
  const std::string stateFile = StateFileName({Directory, BaseName});
  const std::string receiveFile = ReceiveFileName({Directory, BaseName});
  Job->Log.Clear();
  // The resume files and the target are reached by path: a link planted on the way to the
  // folder would lead them elsewhere, so such a folder is never written.
  if (!Directory.empty() && !platform::IsLinkFreeFolder(Directory)) {
    Job->ReportFailure({FailureKind::FileError, "a link is on the way to " + Directory});
    return;  // failed early: Running stays 1
  }

  // A state file that cannot be read or does not describe a download counts as absent; so does
  // one whose receive file is not as long as the state says (its bytes can't be trusted).
  bool resume = false;
  if (const auto state = ReadStateFile(platform::HostPath(stateFile))) {
    Log(logtext::EnterResumeBranch(Job->TotalSize.load()));
    Job->SetTotalSize(state->TotalSize);
    SegmentCount = state->SegmentCount;
    Log(logtext::GotSize(Job->TotalSize.load()));
    for (int32_t k = 1; k <= SegmentCount; ++k) Slot(k).Segment.Assign(state->Segments[k - 1]);
    // The version the receive file's bytes are of, kept beside them when the download began.
    validator_ = platform::ReadFileNote(platform::HostPath(receiveFile)).value_or("");
    const int64_t length = platform::RegularFileLength(platform::HostPath(receiveFile));
    resume = length <= 0 || length == state->TotalSize;  // missing or empty: reported below
    if (!resume) {
      Log(logtext::kReceiveFileSizeMismatch);
      SegmentCount = std::clamp(Job->ThreadCount, kMinSegments, kMaxSegments);
    }
  }
  if (!resume && !PrepareFreshDownload(receiveFile)) return;  // failed early: Running stays 1
  savedTotalSize_ = Job->TotalSize.load();
  savedSegmentCount_ = SegmentCount;

  if (!CheckReceiveFile(receiveFile)) return;

  Job->BeginTransfer();
  const TransferEnd end = Transfer(receiveFile, stateFile);
  // Workers of an abandoned run are left to finish on their own; each holds its slot and the job.
  if (end != TransferEnd::Abandoned) WaitForWorkers();
  SaveState(stateFile, receiveFile);
}

bool TDownloadManager::PrepareFreshDownload(const std::string& receiveFile) {
  Log(logtext::EnterFreshBranch(Job->TotalSize.load()));
  DownloadFailure probeFailure;
  Job->SetTotalSize(ProbeRemoteSize(URL, kProbeReadTimeout, &probeFailure, &validator_));
  Log(logtext::GotSize(Job->TotalSize.load()));
  if (Job->TotalSize.load() <= 0) {
    Job->ReportFailure(std::move(probeFailure));
    return false;
  }
  Log(logtext::GotSizeAgain(Job->TotalSize.load()));

  const SegmentTable cut = CutIntoSegments(Job->TotalSize.load(), SegmentCount);
  for (int32_t k = 1; k <= SegmentCount; ++k) Slot(k).Segment.Assign(cut[k - 1]);

  Log(logtext::kCreatingReceiveFile);
  const CreateResult created = CreateReceiveFile(platform::HostPath(receiveFile), Job->TotalSize.load());
  if (created != CreateResult::Ok) {
    Job->ReportFailure(created == CreateResult::NoSpace
                           ? DownloadFailure{FailureKind::DiskFull, receiveFile}
                           : DownloadFailure{FailureKind::FileError, "cannot create " + receiveFile});
    Log(logtext::kCreateReceiveFileFailed);
    return false;
  }
  if (!validator_.empty()) platform::WriteFileNote(platform::HostPath(receiveFile), validator_);
  Log(logtext::kCreateReceiveFileDone);
  return true;
}

bool TDownloadManager::CheckReceiveFile(const std::string& receiveFile) {
  const std::string hostPath = platform::HostPath(receiveFile);
  const int64_t length = platform::RegularFileLength(hostPath);
  if (length < 0) {
    Job->ReportFailure({FailureKind::ReceiveFileMissing, receiveFile});
    Log(logtext::kReceiveFileMissing);
    return false;
  }
  if (length == 0) {
    Job->ReportFailure({FailureKind::FileError, receiveFile + " is empty"});
    Log(logtext::kReceiveFileEmpty);
    return false;
  }
  if (length != Job->TotalSize.load()) {  // changed under our feet since it was made or checked
    Job->ReportFailure({FailureKind::FileError, receiveFile + " changed its length"});
    return false;
  }
  return true;
}

TDownloadManager::TransferEnd TDownloadManager::Transfer(const std::string& receiveFile,
                                                         const std::string& stateFile) {
  Log(logtext::kStartingWorkers);
  if (!StartWorkers(receiveFile)) {
    Job->ReportFailure({FailureKind::FileError, "cannot open " + receiveFile + " for a worker"});
    StopAndWaitForWorkers();
    return TransferEnd::Failed;
  }
  Log(logtext::kWorkersStarted);
  // From here a kill loses at most the last few seconds: the state is saved as the workers go.
  lastSaved_ = CurrentState();
  PeriodicSave saver(kSaveInterval, [&] { SaveProgress(stateFile, receiveFile); });

  bool completed = false;
  uint64_t seen = Job->Events();
  while (!Job->Finished.load()) {
    if (Job->CancelRequested.load()) {
      StopAndWaitForWorkers();
      return TransferEnd::Cancelled;
    }
    PublishProgress();
    // The cycle's pause ends early when a worker ends or a cancel comes, so that the end of a
    // transfer is seen at once; the progress is then published afresh.
    const uint64_t latest = Job->WaitForEvent(seen, kMonitorCycle);
    if (latest != seen) {
      seen = latest;
      PublishProgress();
    }
    if (Job->ReceivedSize.load() == Job->TotalSize.load()) {
      WaitForWorkers();  // all segments are complete: their workers are ending
      saver.Stop();      // no state is written after the file is in place and the state gone
      const std::string finalName = PutInPlace(platform::HostPath(receiveFile), FileName, kRenameRetryTime);
      if (finalName.empty()) {
        Job->ReportFailure({FailureKind::FileError, "cannot rename " + receiveFile});
        return TransferEnd::Failed;
      }
      platform::RemovePath(platform::HostPath(stateFile));
      Job->Complete(finalName);
      completed = true;
    }
  }
  return completed ? TransferEnd::Completed : TransferEnd::Abandoned;
}

bool TDownloadManager::StartWorkers(const std::string& receiveFile) {
  for (int32_t k = 1; k <= SegmentCount; ++k) {
    if (Slot(k).Segment.Complete()) continue;
    Slot(k).WorkerEnded.store(false);
    Slot(k).IfRange = validator_;
    if (!TDownload::Start(Job, Slots[static_cast<size_t>(k - 1)], receiveFile, URL)) {
      Slot(k).WorkerEnded.store(true);
      return false;
    }
  }
  return true;
}

void TDownloadManager::PublishProgress() {
  int32_t received = 0;
  for (int32_t k = 1; k <= SegmentCount; ++k) received += Slot(k).Segment.DoneSize.load();
  Job->PublishProgress(received);
}

void TDownloadManager::StopAndWaitForWorkers() {
  for (int32_t k = 1; k <= SegmentCount; ++k) Slot(k).StopRequested.store(true);
  WaitForWorkers();
}

void TDownloadManager::WaitForWorkers() {
  // Each worker raises an event as it gives its slot back; the bound only guards the wait itself.
  uint64_t seen = Job->Events();
  for (int32_t k = 1; k <= SegmentCount; ++k)
    while (!Slot(k).WorkerEnded.load()) seen = Job->WaitForEvent(seen, kMonitorCycle);
}

bool TDownloadManager::ResourceChanged() {
  for (int32_t k = 1; k <= SegmentCount; ++k)
    if (Slot(k).ResourceChanged.load()) return true;
  return false;
}
