// Sends a response body from a file, with the body faults: drop, stall, rate.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include "tools/testserver/socket_io.h"

namespace ostrel::testserver {

struct BodyPlan {
  uint64_t offset = 0;                // first file byte of the body
  uint64_t length = 0;                // body length
  std::optional<uint64_t> dropAfter;  // stop after this many bytes
  uint64_t stallAt = 0;               // pause after this many bytes ...
  uint64_t stallMs = 0;               // ... for this long (0 = no pause)
  uint64_t rateBps = 0;               // pace to this many bytes per second (0 = unpaced)
  bool endless = false;               // the body repeats from offset until the peer goes
};

// Sends the body as planned. kOk also when the plan dropped it on purpose. An endless body
// ends only with the peer or the server (its result says which); an empty one sends nothing.
IoResult SendBody(const Connection& conn, int fileFd, const BodyPlan& plan,
                  std::atomic<uint64_t>* bodyCounter);

}  // namespace ostrel::testserver
