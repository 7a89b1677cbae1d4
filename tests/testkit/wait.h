// Waiting for something another thread or process does, with a generous limit.
#pragma once

#include <chrono>
#include <functional>

namespace testkit {

// Asks done() every step until it holds or limit has passed; its last answer.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(20),
               std::chrono::milliseconds step = std::chrono::milliseconds(10));

}  // namespace testkit
