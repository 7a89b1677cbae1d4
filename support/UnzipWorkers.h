// The threads that write an archive's file entries, and the calling thread's
// message pumping while they do.
#pragma once

#include <zip.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/folder.h"
#include "support/UnzipEntries.h"
#include "support/UnzipFileEntry.h"
#include "support/UnzipJournal.h"

// Two workers keep two cores busy inflating while the calling thread pumps.
constexpr size_t kMaxUnzipWorkers = 2;
constexpr auto kUnzipPumpInterval = std::chrono::milliseconds(40);

// Calls the caller's pump, at most once per interval when asked IfDue, and
// asks the caller's stop request after each call.
class UnzipPump {
 public:
  UnzipPump(const std::function<void()>& pump, const std::function<bool()>& stop)
      : pump_(pump), stop_(stop), last_(std::chrono::steady_clock::now()) {}
  void Now() {
    last_ = std::chrono::steady_clock::now();
    if (pump_) pump_();
    if (stop_ && !stopped_) stopped_ = stop_();
  }
  void IfDue() {
    if (std::chrono::steady_clock::now() - last_ >= kUnzipPumpInterval) Now();
  }
  bool Stopped() const { return stopped_; }

 private:
  const std::function<void()>& pump_;
  const std::function<bool()>& stop_;
  bool stopped_ = false;
  std::chrono::steady_clock::time_point last_;
};

// An open archive, discarded (never written) when it goes.
struct ZipDiscard {
  void operator()(zip_t* zip) const { zip_discard(zip); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipDiscard>;
ZipArchive OpenZipArchive(const std::string& hostPath);

// The entries that go to one place, extracted in archive order by one worker.
struct UnzipWorkItem {
  std::vector<const UnzipEntry*> entries;
  uint64_t bytes = 0;
};

// The file entries grouped by the place they go to, the largest group first.
std::vector<UnzipWorkItem> GroupUnzipWorkByPlace(const std::vector<const UnzipEntry*>& files);

struct UnzipSharedWork {
  const platform::Folder* root = nullptr;
  UnzipJournal* journal = nullptr;
  std::vector<UnzipWorkItem> items;
  std::atomic<size_t> next{0};
  std::atomic<bool> cancel{false};  // set by the first failure: the rest is not worth doing
  std::atomic<size_t> extracted{0};
  std::atomic<size_t> blocked{0};  // kInTheWay
  std::atomic<size_t> failed{0};   // everything else
  std::mutex mutex;
  std::condition_variable finished;
  size_t running = 0;
  // The first entry that could not be written, and why (under mutex).
  std::string firstFailureEntry;
  UnzipEntryResult firstFailure;
};

// Joins every worker on every path; a pending exception stops them first.
class UnzipWorkers {
 public:
  explicit UnzipWorkers(UnzipSharedWork& work) : work_(work), exceptionsBefore_(std::uncaught_exceptions()) {}
  ~UnzipWorkers();
  UnzipWorkers(const UnzipWorkers&) = delete;
  UnzipWorkers& operator=(const UnzipWorkers&) = delete;

  // Starts one worker per archive; when no thread can be had, the work is
  // done here instead.
  void Start(std::vector<ZipArchive> archives);
  // Returns when every worker is done; pumps meanwhile.
  void WaitPumping(UnzipPump& pump);

 private:
  void AddRunning(int n = 1);

  UnzipSharedWork& work_;
  const int exceptionsBefore_;
  std::vector<std::thread> threads_;
};
