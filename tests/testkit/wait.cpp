#include "tests/testkit/wait.h"

#include <thread>

namespace testkit {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
               std::chrono::milliseconds step) {
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= giveUp) return done();
    std::this_thread::sleep_for(step);
  }
  return true;
}

}  // namespace testkit
