// The controller's saves of the state file. Each one puts the receive file's data on the disk
// first and only then replaces the state file (through a flushed temporary and a rename), and the
// counts it records are read before that data is put on the disk: a state file read at the next
// start describes only bytes that are on the disk. The counts themselves are DoneSize values,
// which count bytes the workers have written into the file, never bytes still in their buffers.
#include "download/DownloadManager.h"
#include "download/ReceiveFile.h"
#include "platform/file.h"
#include "platform/host_path.h"

using namespace ostrel::download;

DownloadState TDownloadManager::CurrentState() const {
  DownloadState state;
  state.TotalSize = savedTotalSize_;
  state.SegmentCount = savedSegmentCount_;
  for (int32_t k = 1; k <= savedSegmentCount_; ++k)
    state.Segments[k - 1] = Slots[static_cast<size_t>(k - 1)]->Segment.Record();
  return state;
}

void TDownloadManager::SaveProgress(const std::string& stateFile, const std::string& receiveFile) {
  if (ResourceChanged()) return;  // the run's end removes both files
  const DownloadState state = CurrentState();
  if (state == lastSaved_) return;  // nothing new arrived: neither a sync nor a write
  if (!SyncReceiveFile(platform::HostPath(receiveFile))) return;
  if (WriteStateFile(platform::HostPath(stateFile), state)) lastSaved_ = state;
}

void TDownloadManager::SaveState(const std::string& stateFile, const std::string& receiveFile) {
  if (!Job->Finished.load()) {
    if (ResourceChanged()) {
      // The bytes kept are of another version of the resource: the next run starts afresh.
      platform::RemovePath(platform::HostPath(stateFile));
      platform::RemovePath(platform::HostPath(receiveFile));
    } else {
      const DownloadState state = CurrentState();  // the workers have ended: nothing moves
      SyncReceiveFile(platform::HostPath(receiveFile));
      if (!WriteStateFile(platform::HostPath(stateFile), state)) return;  // Running stays 1
    }
    Log(logtext::kRunStopped);
  }
  Job->EndRun();
}
