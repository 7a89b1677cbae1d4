// The window-thread caller of hosts whose window thread runs queued calls: a call from another
// thread is queued and its thread blocked until the window's thread has run it, or until the
// window has closed (then it is dropped). The host says how to wake the window's thread, which
// then runs RunQueued.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "app/FormHost.h"

namespace ostrel::app {

class QueuedWindowCaller : public WindowThreadCaller {
 public:
  // Asks the window's thread to run RunQueued soon; called with the queue locked, so it must not
  // call back into the caller. Empty: the window's thread runs RunQueued when it likes.
  using Wake = std::function<void()>;

  // The window's thread is the one that makes the caller.
  explicit QueuedWindowCaller(Wake wake = {});

  // From the window's thread the call runs at once (unless the window has closed).
  void Call(const std::function<void()>& call) override;
  // Runs the queued calls on the window's thread; how many ran.
  int RunQueued();
  // From now on calls are dropped, and callers still waiting return at once. Window thread.
  void Close();
  size_t Queued();

 private:
  struct Item {
    std::function<void()> call;
    bool done = false;
  };

  const Wake wake_;
  const std::thread::id windowThread_;
  std::mutex lock_;
  std::condition_variable settled_;
  std::deque<std::shared_ptr<Item>> queue_;
  bool closed_ = false;
};

}  // namespace ostrel::app
