#include "support/PubZip.h"

#include <zip.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "platform/host_path.h"
#include "support/UnzipEntries.h"
#include "support/UnzipFileEntry.h"
#include "support/ZipEntryName.h"
#include "support/ZipFolders.h"

namespace {

// Two workers keep two cores busy inflating while the calling thread pumps.
constexpr size_t kMaxWorkers = 2;
constexpr auto kPumpInterval = std::chrono::milliseconds(40);

// Calls the caller's pump, at most once per interval when asked IfDue.
class Pump {
 public:
  explicit Pump(const MessagePump& pump) : pump_(pump), last_(std::chrono::steady_clock::now()) {}
  void Now() {
    last_ = std::chrono::steady_clock::now();
    if (pump_) pump_();
  }
  void IfDue() {
    if (std::chrono::steady_clock::now() - last_ >= kPumpInterval) Now();
  }

 private:
  const MessagePump& pump_;
  std::chrono::steady_clock::time_point last_;
};

// The entries that go to one place, extracted in archive order by one worker.
struct WorkItem {
  std::vector<const UnzipEntry*> entries;
  uint64_t bytes = 0;
};

struct SharedWork {
  const platform::Folder* root = nullptr;
  std::vector<WorkItem> items;  // largest first
  std::atomic<size_t> next{0};
  std::atomic<bool> cancel{false};
  std::atomic<size_t> extracted{0};
  std::atomic<size_t> skipped{0};
  std::atomic<size_t> failed{0};
  std::mutex mutex;
  std::condition_variable finished;
  size_t running = 0;
};

// An open archive, discarded (never written) when it goes.
struct ZipDiscard {
  void operator()(zip_t* zip) const { zip_discard(zip); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipDiscard>;

ZipArchive OpenArchive(const std::string& path) {
  int error = 0;
  return ZipArchive(zip_open(path.c_str(), ZIP_RDONLY, &error));
}

void ExtractItems(SharedWork& work, zip_t* archive) {
  UnzipWorkspace workspace;
  for (;;) {
    const size_t i = work.next.fetch_add(1);
    if (i >= work.items.size()) break;
    for (const UnzipEntry* entry : work.items[i].entries) {
      switch (ExtractZipFileEntry(archive, *entry, *work.root, workspace, work.cancel)) {
        case UnzipOutcome::kExtracted: ++work.extracted; break;
        case UnzipOutcome::kSkipped: ++work.skipped; break;
        case UnzipOutcome::kFailed:
        case UnzipOutcome::kCancelled: ++work.failed; break;
      }
    }
  }
}

// Each worker has an archive of its own: the library's objects are not shared
// between threads.
void RunWorker(SharedWork& work, ZipArchive archive) {
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

// Joins every worker on every path; a pending exception stops them first.
class Workers {
 public:
  explicit Workers(SharedWork& work) : work_(work), exceptionsBefore_(std::uncaught_exceptions()) {}
  ~Workers() {
    if (std::uncaught_exceptions() > exceptionsBefore_) work_.cancel = true;
    for (std::thread& t : threads_) t.join();
  }
  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;

  // Starts one worker per archive; when no thread can be had, the work is
  // done here instead.
  void Start(std::vector<ZipArchive> archives) {
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

  void WaitPumping(Pump& pump) {
    std::unique_lock<std::mutex> lock(work_.mutex);
    while (work_.running > 0) {
      lock.unlock();
      pump.Now();
      lock.lock();
      work_.finished.wait_for(lock, kPumpInterval, [this] { return work_.running == 0; });
    }
  }

 private:
  void AddRunning(int n = 1) {
    const std::lock_guard<std::mutex> lock(work_.mutex);
    work_.running += n;
  }

  SharedWork& work_;
  const int exceptionsBefore_;
  std::vector<std::thread> threads_;
};

std::vector<WorkItem> GroupByPlace(const std::vector<const UnzipEntry*>& files) {
  std::vector<WorkItem> items;
  std::unordered_map<std::string, size_t> byPlace;
  for (const UnzipEntry* entry : files) {
    const auto [it, added] = byPlace.emplace(JoinZipEntryPath(entry->parts), items.size());
    if (added) items.emplace_back();
    WorkItem& item = items[it->second];
    item.entries.push_back(entry);
    item.bytes += entry->size;
  }
  std::stable_sort(items.begin(), items.end(), [](const WorkItem& a, const WorkItem& b) { return a.bytes > b.bytes; });
  return items;
}

std::string ParentKey(const UnzipEntry& entry) {
  return JoinZipEntryPath(std::vector<std::string>(entry.parts.begin(), entry.parts.end() - 1));
}

}  // namespace

UnZipReport UnZipFileReport(const std::string& archive, const std::string& destination, const MessagePump& pump) {
  UnZipReport report;
  std::string destinationText = destination;
  if (!destinationText.empty() && destinationText.back() == '\\') destinationText.pop_back();

  SharedWork work;
  const std::string archivePath = platform::HostPath(archive);
  const std::string destinationPath = platform::HostPath(destinationText);
  Pump pumper(pump);

  // The archives are opened here, one after the other: opening converts every
  // entry's time under the C library's time-zone lock.
  ZipArchive zip = OpenArchive(archivePath);
  if (!zip) return report;
  report.opened = true;
  report.entries = static_cast<size_t>(std::max<zip_int64_t>(0, zip_get_num_entries(zip.get(), 0)));
  const UnzipListing listing = ListUnzipEntries(zip.get());
  report.rejectedNames = listing.rejectedNames;
  if (listing.entries.empty()) return report;

  // A drive that doesn't exist is never made up by creating the folder chain.
  const bool onMissingDrive =
      platform::HasDriveLetter(destinationText) && !platform::DirectoryExists(destinationText.substr(0, 2) + "\\");
  if (destinationPath.empty() || onMissingDrive || !platform::MakeFolders(destinationPath)) {
    report.skipped = listing.entries.size();
    return report;
  }
  const platform::Folder root = platform::Folder::Open(destinationPath);
  if (!root.IsOpen()) {
    report.skipped = listing.entries.size();
    return report;
  }
  work.root = &root;

  // Folders are made here, before any file is written.
  std::vector<const UnzipEntry*> files;
  std::unordered_set<std::string> madeFolders;
  for (const UnzipEntry& entry : listing.entries) {
    pumper.IfDue();
    if (entry.isFolder) {
      if (OpenFolderBelow(root, entry.parts, entry.parts.size(), true).IsOpen()) {
        ++report.extracted;
        madeFolders.insert(JoinZipEntryPath(entry.parts));
      } else {
        ++report.skipped;
      }
      continue;
    }
    // A failure shows again when the file is written, and skips it then.
    if (madeFolders.insert(ParentKey(entry)).second)
      OpenFolderBelow(root, entry.parts, entry.parts.size() - 1, true);
    files.push_back(&entry);
  }

  work.items = GroupByPlace(files);
  if (!work.items.empty()) {
    std::vector<ZipArchive> archives;
    archives.push_back(std::move(zip));
    while (archives.size() < std::min(kMaxWorkers, work.items.size())) {
      ZipArchive another = OpenArchive(archivePath);
      if (!another) break;
      archives.push_back(std::move(another));
    }
    Workers workers(work);
    workers.Start(std::move(archives));
    workers.WaitPumping(pumper);
  }

  report.extracted += work.extracted;
  report.skipped += work.skipped;
  report.failed += work.failed;
  report.failed += files.size() - std::min(files.size(), work.extracted + work.skipped + work.failed);
  return report;
}

bool UnZipFile(const std::string& archive, const std::string& destination, const MessagePump& pump) {
  return UnZipFileReport(archive, destination, pump).extracted > 0;
}
