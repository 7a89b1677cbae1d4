#include "platform/file_events.h"

#include <atomic>
#include <mutex>

namespace platform {
namespace {

std::mutex& ObserverLock() {
  static std::mutex lock;
  return lock;
}
FileEventObserver& Observer() {
  static FileEventObserver observer;
  return observer;
}
std::atomic<bool> observed{false};

}  // namespace

void SetFileEventObserver(FileEventObserver observer) {
  const std::lock_guard<std::mutex> hold(ObserverLock());
  observed.store(static_cast<bool>(observer));
  Observer() = std::move(observer);
}

void ReportFileEvent(FileEvent event, uint64_t fileId, const std::string& hostPath) {
  if (!observed.load(std::memory_order_relaxed)) return;
  const std::lock_guard<std::mutex> hold(ObserverLock());
  if (Observer()) Observer()({event, fileId, hostPath});
}

}  // namespace platform
