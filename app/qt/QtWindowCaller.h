// Calls from the engine's threads onto the window's (the application's main) thread: the
// caller waits until its call has run there, or until the window closes, whichever comes first.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "app/FormHost.h"

namespace ostrel::app::qt {

class QtWindowCaller : public WindowThreadCaller, public std::enable_shared_from_this<QtWindowCaller> {
 public:
  // A call from the window's thread runs at once; from any other, it is queued to the window's
  // thread and the caller blocks until it has run. Dropped once the window is closing.
  void Call(const std::function<void()>& call) override;
  // From now on calls are dropped, and callers still waiting return at once. Window thread.
  void Close();

 private:
  struct Pending {
    bool done = false;
  };
  void RunQueued(const std::shared_ptr<Pending>& pending, const std::function<void()>& call);

  std::mutex lock_;
  std::condition_variable settled_;
  bool closed_ = false;
};

}  // namespace ostrel::app::qt
