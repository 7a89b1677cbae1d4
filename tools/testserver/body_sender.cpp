#include "tools/testserver/body_sender.h"

#include <algorithm>
#include <chrono>

namespace ostrel::testserver {
namespace {

using Clock = std::chrono::steady_clock;

// Paced bodies go out in about 50 pieces a second, each at most this big.
constexpr uint64_t kMaxPacedChunk = 16 * 1024;

uint64_t PacedChunk(uint64_t rateBps) {
  return std::clamp<uint64_t>(rateBps / 50, 1, kMaxPacedChunk);
}

// The file's bytes from plan.offset, over and over, paced like any body.
IoResult SendEndless(const Connection& conn, int fileFd, const BodyPlan& plan, std::atomic<uint64_t>* bodyCounter) {
  if (plan.length == 0) return IoResult::kOk;
  BodyPlan round = plan;
  round.endless = false;
  for (;;) {
    const IoResult sent = SendBody(conn, fileFd, round, bodyCounter);
    if (sent != IoResult::kOk) return sent;
  }
}

}  // namespace

IoResult SendBody(const Connection& conn, int fileFd, const BodyPlan& plan,
                  std::atomic<uint64_t>* bodyCounter) {
  if (plan.endless) return SendEndless(conn, fileFd, plan, bodyCounter);
  const uint64_t limit = plan.dropAfter ? std::min(plan.length, *plan.dropAfter) : plan.length;
  bool stallPending = plan.stallMs > 0 && plan.stallAt < limit;
  uint64_t sent = 0;
  // Pacing restarts after a stall: bytes since paceBase are due at paceStart + bytes/rate.
  auto paceStart = Clock::now();
  uint64_t paceBase = 0;

  while (sent < limit) {
    if (stallPending && sent == plan.stallAt) {
      stallPending = false;
      IoResult paused = Pause(conn, plan.stallMs);
      if (paused != IoResult::kOk) return paused;
      paceStart = Clock::now();
      paceBase = sent;
    }
    uint64_t chunk = limit - sent;
    if (stallPending) chunk = std::min(chunk, plan.stallAt - sent);
    if (plan.rateBps > 0) {
      chunk = std::min(chunk, PacedChunk(plan.rateBps));
      auto due = paceStart + std::chrono::microseconds((sent - paceBase) * 1000000 / plan.rateBps);
      auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now());
      if (wait.count() > 0) {
        IoResult paused = Pause(conn, static_cast<uint64_t>(wait.count()));
        if (paused != IoResult::kOk) return paused;
      }
    }
    IoResult written = SendFileBytes(conn, fileFd, plan.offset + sent, chunk, bodyCounter);
    if (written != IoResult::kOk) return written;
    sent += chunk;
  }
  return IoResult::kOk;
}

}  // namespace ostrel::testserver
