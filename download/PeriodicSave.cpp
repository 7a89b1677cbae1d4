#include "download/PeriodicSave.h"

#include <system_error>

namespace ostrel::download {

PeriodicSave::PeriodicSave(std::chrono::milliseconds interval, std::function<void()> save)
    : interval_(interval), save_(std::move(save)) {
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
  }
}

void PeriodicSave::Stop() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void PeriodicSave::Run() {
  std::unique_lock<std::mutex> hold(lock_);
  while (!wake_.wait_for(hold, interval_, [this] { return stopping_; })) {
    hold.unlock();  // a save may take a while (it puts data on the disk): Stop waits for it
    save_();
    hold.lock();
  }
}

}  // namespace ostrel::download
