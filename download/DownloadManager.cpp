#include "download/DownloadManager.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>

#include "download/Download.h"
#include "download/HttpProbe.h"
#include "download/ReceiveFile.h"
#include "download/ResumeNames.h"
#include "download/StateFile.h"
#include "platform/file_system.h"
#include "platform/host_path.h"

using namespace download;

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
  for (int32_t k = 1; k <= kMaxSegments; ++k) {
    StopRequested[k].store(false);
    WorkerEnded[k].store(true);
  }
  Job->Running.store(1);
}

void TDownloadManager::Launch(std::shared_ptr<TDownloadJob> job, const std::string& URL,
                              const std::string& FileName, int32_t ThreadCount) {
  auto manager = std::make_shared<TDownloadManager>(std::move(job), URL, FileName, ThreadCount);
  std::thread([manager] { manager->Execute(); }).detach();
}

int32_t TDownloadManager::GetRemoteSize(const std::string& URL) { return ProbeRemoteSize(URL); }

void TDownloadManager::Log(const std::string& text) { Job->Log.Append(ControllerLine(text)); }

void TDownloadManager::Execute() {
  BaseName = SplitTarget(FileName).BaseName;
  const std::string stateFile = StateFileName({Directory, BaseName});
  const std::string receiveFile = ReceiveFileName({Directory, BaseName});
  Job->Log.Clear();

  // A state file that cannot be read or does not describe a download counts as absent.
  if (const auto state = ReadStateFile(platform::HostPath(stateFile))) {
    Log(logtext::EnterResumeBranch(Job->TotalSize.load()));
    Job->TotalSize.store(state->TotalSize);
    SegmentCount = state->SegmentCount;
    Log(logtext::GotSize(Job->TotalSize.load()));
    for (int32_t k = 1; k <= SegmentCount; ++k) Segments[k].Assign(state->Segments[k - 1]);
  } else if (!PrepareFreshDownload(receiveFile)) {
    return;  // failed early: Running stays 1
  }
  savedTotalSize_ = Job->TotalSize.load();
  savedSegmentCount_ = SegmentCount;

  if (!CheckReceiveFile(receiveFile)) return;

  Job->Finished.store(false);
  const TransferEnd end = Transfer(receiveFile, stateFile);
  // Workers of an abandoned run are left to finish on their own; they keep this object alive.
  if (end != TransferEnd::Abandoned) WaitForWorkers();
  SaveState(stateFile);
}

bool TDownloadManager::PrepareFreshDownload(const std::string& receiveFile) {
  Log(logtext::EnterFreshBranch(Job->TotalSize.load()));
  Job->TotalSize.store(GetRemoteSize(URL));
  Log(logtext::GotSize(Job->TotalSize.load()));
  if (Job->TotalSize.load() <= 0) {
    Job->NotifyFailed();
    return false;
  }
  Log(logtext::GotSizeAgain(Job->TotalSize.load()));

  const SegmentTable cut = CutIntoSegments(Job->TotalSize.load(), SegmentCount);
  for (int32_t k = 1; k <= SegmentCount; ++k) Segments[k].Assign(cut[k - 1]);

  Log(logtext::kCreatingReceiveFile);
  if (CreateReceiveFile(platform::HostPath(receiveFile), Job->TotalSize.load()) != CreateResult::Ok) {
    Job->NotifyFailed();
    Log(logtext::kCreateReceiveFileFailed);
    return false;
  }
  Log(logtext::kCreateReceiveFileDone);
  return true;
}

bool TDownloadManager::CheckReceiveFile(const std::string& receiveFile) {
  const std::string hostPath = platform::HostPath(receiveFile);
  const int64_t length = FileLength(hostPath);
  if (length < 0) {
    Job->NotifyFailed();
    Log(logtext::kReceiveFileMissing);
    return false;
  }
  if (length == 0) {
    Job->NotifyFailed();
    Log(logtext::kReceiveFileEmpty);
    return false;
  }
  // The complete file must be exactly as long as the resource.
  if (length != Job->TotalSize.load() && !SetFileLength(hostPath, Job->TotalSize.load())) {
    Job->NotifyFailed();
    return false;
  }
  return true;
}

TDownloadManager::TransferEnd TDownloadManager::Transfer(const std::string& receiveFile,
                                                         const std::string& stateFile) {
  Log(logtext::kStartingWorkers);
  if (!StartWorkers(receiveFile)) {
    Job->NotifyFailed();
    StopAndWaitForWorkers();
    return TransferEnd::Failed;
  }
  Log(logtext::kWorkersStarted);

  bool completed = false;
  while (!Job->Finished.load()) {
    if (Job->CancelRequested.load()) {
      StopAndWaitForWorkers();
      return TransferEnd::Cancelled;
    }
    PublishProgress();
    std::this_thread::sleep_for(kMonitorCycle);
    if (Job->ReceivedSize.load() == Job->TotalSize.load()) {
      WaitForWorkers();  // all segments are complete: their workers are ending
      if (PutInPlace(platform::HostPath(receiveFile), FileName, kRenameRetryTime).empty()) {
        Job->NotifyFailed();
        return TransferEnd::Failed;
      }
      std::remove(platform::HostPath(stateFile).c_str());
      completed = true;
      Job->Finished.store(true);
    }
  }
  return completed ? TransferEnd::Completed : TransferEnd::Abandoned;
}

bool TDownloadManager::StartWorkers(const std::string& receiveFile) {
  auto self = shared_from_this();
  for (int32_t k = 1; k <= SegmentCount; ++k) {
    if (Segments[k].Complete()) continue;
    WorkerEnded[k].store(false);
    if (!TDownload::Start(self, receiveFile, URL, k)) {
      WorkerEnded[k].store(true);
      return false;
    }
  }
  return true;
}

void TDownloadManager::PublishProgress() {
  Job->ProgressValid.store(false);
  int32_t received = 0;
  for (int32_t k = 1; k <= SegmentCount; ++k) received += Segments[k].DoneSize.load();
  Job->ReceivedSize.store(received);
  Job->ProgressValid.store(true);
}

void TDownloadManager::StopAndWaitForWorkers() {
  for (int32_t k = 1; k <= SegmentCount; ++k) StopRequested[k].store(true);
  WaitForWorkers();
}

void TDownloadManager::WaitForWorkers() {
  for (int32_t k = 1; k <= SegmentCount; ++k)
    while (!WorkerEnded[k].load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void TDownloadManager::SaveState(const std::string& stateFile) {
  if (!Job->Finished.load()) {
    DownloadState state;
    state.TotalSize = savedTotalSize_;
    state.SegmentCount = savedSegmentCount_;
    for (int32_t k = 1; k <= savedSegmentCount_; ++k) state.Segments[k - 1] = Segments[k].Record();
    if (!WriteStateFile(platform::HostPath(stateFile), state)) return;  // Running stays 1
    Log(logtext::kRunStopped);
  }
  Job->CancelRequested.store(false);
  Job->Running.store(0);
}
