// What every host shares: the window's first position, and the queued window-thread caller
// (blocks its caller until the window's thread has run the call, drops calls once closed).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

#include "app/QueuedWindowCaller.h"
#include "app/WindowSession.h"

namespace ostrel::app {
namespace {

using namespace std::chrono_literals;

TEST(FirstPosition, CentredOnTheVirtualScreenRoundedTowardZeroNeverNegative) {
  struct Case {
    int width, height;
    WindowPosition expected;
  };
  for (const Case& c : {Case{1024, 768, {191, 143}}, Case{1920, 1080, {639, 299}}, Case{3840, 1080, {1599, 299}},
                        Case{643, 483, {0, 0}}, Case{645, 485, {1, 1}}, Case{600, 400, {0, 0}}}) {
    EXPECT_EQ(FirstPosition(c.width, c.height), c.expected) << c.width << " x " << c.height;
  }
}

TEST(QueuedWindowCaller, AnotherThreadWaitsUntilTheWindowsThreadRanItsCall) {
  std::atomic<int> wakes = 0;
  QueuedWindowCaller caller([&] { ++wakes; });
  int ran = 0;
  caller.Call([&] { ++ran; });
  EXPECT_EQ(ran, 1) << "the window's own thread runs at once";

  auto sent = std::async(std::launch::async, [&] { caller.Call([&] { ++ran; }); });
  while (caller.Queued() == 0) std::this_thread::sleep_for(1ms);
  EXPECT_EQ(sent.wait_for(50ms), std::future_status::timeout) << "blocked until run";
  EXPECT_EQ(wakes, 1);
  EXPECT_EQ(caller.RunQueued(), 1);
  EXPECT_EQ(sent.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(ran, 2);
}

TEST(QueuedWindowCaller, ClosingReleasesWaitingCallersAndDropsEveryCall) {
  QueuedWindowCaller caller;
  int ran = 0;
  auto waiting = std::async(std::launch::async, [&] { caller.Call([&] { ++ran; }); });
  while (caller.Queued() == 0) std::this_thread::sleep_for(1ms);
  caller.Close();
  EXPECT_EQ(waiting.wait_for(10s), std::future_status::ready);
  auto late = std::async(std::launch::async, [&] { caller.Call([&] { ++ran; }); });
  EXPECT_EQ(late.wait_for(10s), std::future_status::ready);
  caller.Call([&] { ++ran; });
  EXPECT_EQ(caller.RunQueued(), 0);
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace ostrel::app
