#include "support/UnzipWorkers.h"

#include <algorithm>
#include <unordered_map>

#include "support/ZipEntryName.h"

namespace {

void Count(UnzipSharedWork& work, const UnzipEntry& entry, UnzipEntryResult result) {
  switch (result.outcome) {
    case UnzipOutcome::kExtracted: ++work.extracted; return;
    case UnzipOutcome::kInTheWay: ++work.blocked; break;
    default: ++work.failed; break;
  }
  work.cancel = true;
  const std::lock_guard<std::mutex> lock(work.mutex);
  if (!work.firstFailureEntry.empty() || result.outcome == UnzipOutcome::kCancelled) return;
  work.firstFailureEntry = JoinZipEntryPath(entry.parts);
  work.firstFailure = std::move(result);
}

void ExtractItems(UnzipSharedWork& work, zip_t* archive) {
  UnzipWorkspace workspace;
  for (;;) {
    const size_t i = work.next.fetch_add(1);
    if (i >= work.items.size()) break;
    for (const UnzipEntry* entry : work.items[i].entries)
      if (work.cancel) Count(work, *entry, {UnzipOutcome::kCancelled, "cancelled"});
      else Count(work, *entry, ExtractZipFileEntry(archive, *entry, *work.root, workspace, *work.journal, work.cancel));
  }
}

// Each worker has an archive of its own: the library's objects are not shared
// between threads.
void RunWorker(UnzipSharedWork& work, ZipArchive archive) {
  try {
    ExtractItems(work, archive.get());
  } catch (...) {
    // Out of memory: what is left counts as failed.
  }
  archive.reset();
  {
    const std::lock_guard<std::mutex> lock(work.mutex);
    --work.running;
  }
  work.finished.notify_all();
}

}  // namespace

ZipArchive OpenZipArchive(const std::string& hostPath) {
  int error = 0;
  return ZipArchive(zip_open(hostPath.c_str(), ZIP_RDONLY, &error));
}

std::vector<UnzipWorkItem> GroupUnzipWorkByPlace(const std::vector<const UnzipEntry*>& files) {
  std::vector<UnzipWorkItem> items;
  std::unordered_map<std::string, size_t> byPlace;
  for (const UnzipEntry* entry : files) {
    const auto [it, added] = byPlace.emplace(JoinZipEntryPath(entry->parts), items.size());
    if (added) items.emplace_back();
    UnzipWorkItem& item = items[it->second];
    item.entries.push_back(entry);
    item.bytes += entry->size;
  }
  std::stable_sort(items.begin(), items.end(),
                   [](const UnzipWorkItem& a, const UnzipWorkItem& b) { return a.bytes > b.bytes; });
  return items;
}

UnzipWorkers::~UnzipWorkers() {
  if (std::uncaught_exceptions() > exceptionsBefore_) work_.cancel = true;
  for (std::thread& t : threads_) t.join();
}

void UnzipWorkers::Start(std::vector<ZipArchive> archives) {
  threads_.reserve(archives.size());
  for (ZipArchive& archive : archives) {
    AddRunning();
    try {
      zip_t* zip = archive.get();
      threads_.emplace_back([this, zip] { RunWorker(work_, ZipArchive(zip)); });
      archive.release();
    } catch (const std::system_error&) {
      AddRunning(-1);
    }
  }
  if (threads_.empty() && !archives.empty() && archives.front()) {
    AddRunning();
    RunWorker(work_, std::move(archives.front()));
  }
}

void UnzipWorkers::WaitPumping(UnzipPump& pump) {
  std::unique_lock<std::mutex> lock(work_.mutex);
  while (work_.running > 0) {
    lock.unlock();
    pump.Now();
    if (pump.Stopped()) work_.cancel = true;
    lock.lock();
    work_.finished.wait_for(lock, kUnzipPumpInterval, [this] { return work_.running == 0; });
  }
}

void UnzipWorkers::AddRunning(int n) {
  const std::lock_guard<std::mutex> lock(work_.mutex);
  work_.running += n;
}
