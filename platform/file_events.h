// The file layer's durable steps, reported in the order they happen to one observer: a test can
// check that data reaches the disk before the record that describes it replaces the old one.
// Without an observer a report costs one atomic load.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

enum class FileEvent {
  kDataSynced,  // File::Sync: the file's data is on the disk
  kReplaced,    // ReplaceFileAtomically: the new content is under its name
};

struct FileEventRecord {
  FileEvent event;
  uint64_t fileId;       // the file's identity on its volume (inode or file index)
  std::string hostPath;  // for kReplaced; empty for kDataSynced
};

using FileEventObserver = std::function<void(const FileEventRecord&)>;

// Installs observer (an empty one removes it). Reports may come from any thread; the observer
// is called under a lock, one report at a time.
void SetFileEventObserver(FileEventObserver observer);

// Called by the layer's implementations.
void ReportFileEvent(FileEvent event, uint64_t fileId, const std::string& hostPath = {});
// The identity of what is at hostPath (a link itself, never its target) as the reports name it;
// nothing when it can't be read.
std::optional<uint64_t> FileIdOf(const std::string& hostPath);

}  // namespace platform
