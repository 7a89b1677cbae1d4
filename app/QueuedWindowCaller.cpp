#include "app/QueuedWindowCaller.h"

#include <utility>

namespace ostrel::app {

QueuedWindowCaller::QueuedWindowCaller(Wake wake)
    : wake_(std::move(wake)), windowThread_(std::this_thread::get_id()) {}

void QueuedWindowCaller::Call(const std::function<void()>& call) {
  if (std::this_thread::get_id() == windowThread_) {
    bool closed;
    {
      std::lock_guard hold(lock_);
      closed = closed_;
    }
    if (!closed) call();
    return;
  }
  auto item = std::make_shared<Item>(Item{call});
  std::unique_lock hold(lock_);
  if (closed_) return;
  queue_.push_back(item);
  if (wake_) wake_();
  settled_.wait(hold, [&] { return item->done || closed_; });
}

int QueuedWindowCaller::RunQueued() {
  int ran = 0;
  for (;;) {
    std::shared_ptr<Item> item;
    {
      std::lock_guard hold(lock_);
      if (closed_ || queue_.empty()) return ran;
      item = queue_.front();
      queue_.pop_front();
    }
    item->call();  // on the window's thread, which alone closes the window: it is still there
    ++ran;
    std::lock_guard hold(lock_);
    item->done = true;
    settled_.notify_all();
  }
}

void QueuedWindowCaller::Close() {
  std::lock_guard hold(lock_);
  closed_ = true;
  queue_.clear();
  settled_.notify_all();
}

size_t QueuedWindowCaller::Queued() {
  std::lock_guard hold(lock_);
  return queue_.size();
}

}  // namespace ostrel::app
