// Builds and sends response heads and short text responses.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/testserver/socket_io.h"

namespace ostrel::testserver {

struct ResponseHead {
  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;

  void Add(std::string name, std::string value) {
    headers.emplace_back(std::move(name), std::move(value));
  }
  // Status line, the headers, "Connection: close" and the blank line.
  std::string Serialize() const;
};

std::string_view ReasonPhrase(int status);

// Sends a complete response whose body is "<status> <reason>\n" (no body for HEAD).
IoResult SendTextResponse(const Connection& conn, int status, bool isHead,
                          std::atomic<uint64_t>* bodyCounter,
                          std::vector<std::pair<std::string, std::string>> extraHeaders = {});

// Sends a complete response without a body ("Content-Length: 0").
IoResult SendEmptyResponse(const Connection& conn, ResponseHead head);

}  // namespace ostrel::testserver
