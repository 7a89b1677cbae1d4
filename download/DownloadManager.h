// The segment controller of one download job, running on a detached thread of its own: it resumes
// from the state file or probes the size and cuts the resource afresh, prepares the receive file,
// starts one worker per unfinished segment, publishes their progress in the job every 100 ms, and
// at the end puts the complete file in place or saves the state for a later run. While the workers
// run, the state is also saved every few seconds (DownloadManagerState.cpp), so that a run that is
// killed resumes from its last save.
//
// Ownership: the controller is held by its own thread and holds the job and one slot per segment.
// Each worker holds the job and its own slot, so everything a worker touches (its slot, the job,
// the log) stays valid until the last thread has let go, whichever way the run ends.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "download/DownloadJob.h"
#include "download/DownloadSegment.h"
#include "download/StateFile.h"
#include "download/WorkerSlot.h"

class TDownloadManager {
 public:
  // Construction on the caller's thread (records the values, creates the target's folder with its
  // parents, prepares the slots, sets the job's Running to 1), then the run on a new thread.
  static void Launch(std::shared_ptr<TDownloadJob> job, const std::string& URL,
                     const std::string& FileName, int32_t ThreadCount);

  // The size probe (HEAD): Content-Length, -1 when it is missing or unreadable, 0 on failure.
  static int32_t GetRemoteSize(const std::string& URL);

  const std::string URL;
  const std::string Directory;  // path part of FileName, with its trailing separator
  const std::string FileName;
  std::string BaseName;
  int32_t SegmentCount = 0;
  const std::shared_ptr<TDownloadJob> Job;
  // Slot k (1 to 10) serves segment k: its table entry and its two flags.
  ostrel::download::WorkerSlot& Slot(int32_t k) { return *Slots[static_cast<size_t>(k - 1)]; }
  std::array<std::shared_ptr<ostrel::download::WorkerSlot>, ostrel::download::kMaxSegments> Slots;

  TDownloadManager(std::shared_ptr<TDownloadJob> job, const std::string& url,
                   const std::string& fileName, int32_t segmentCount);

 private:
  enum class TransferEnd { Completed, Abandoned, Cancelled, Failed };

  void Execute();
  bool PrepareFreshDownload(const std::string& receiveFile);
  bool CheckReceiveFile(const std::string& receiveFile);
  TransferEnd Transfer(const std::string& receiveFile, const std::string& stateFile);
  bool StartWorkers(const std::string& receiveFile);
  bool ResourceChanged();  // a worker found the resource changed since the download began
  void PublishProgress();
  void StopAndWaitForWorkers();
  void WaitForWorkers();
  // The state as the run ends (cancel, failure): written unless the job is Finished.
  void SaveState(const std::string& stateFile, const std::string& receiveFile);
  // The state while the workers run, on the periodic saver's thread: written when it has changed.
  void SaveProgress(const std::string& stateFile, const std::string& receiveFile);
  ostrel::download::DownloadState CurrentState() const;  // the header and the segments' records
  void Log(const std::string& text);

  int32_t savedTotalSize_ = 0;  // the header for a later save
  int32_t savedSegmentCount_ = 0;
  std::string validator_;  // names the resource's version: asked back with every range
  ostrel::download::DownloadState lastSaved_;  // by the periodic saver: what the state file holds
};

namespace ostrel::download {
inline constexpr std::chrono::milliseconds kMonitorCycle{100};
// How often the state is saved while the workers run (only when it has changed).
inline constexpr std::chrono::milliseconds kSaveInterval{3000};
// How long a failing final rename is retried before the run counts as failed.
inline constexpr std::chrono::milliseconds kRenameRetryTime{2000};
}  // namespace ostrel::download
