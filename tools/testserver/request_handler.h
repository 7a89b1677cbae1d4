// Answers the one request of a connection: routing, fault modes, file serving.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "tools/testserver/socket_io.h"
#include "tools/testserver/test_http_server.h"

namespace ostrel::testserver {

struct HandlerContext {
  std::string rootDir;
  uint16_t port = 0;
  std::atomic<uint64_t>* bodyBytes = nullptr;
  std::function<void(Request)> recordRequest;
};

// Reads one request from conn and answers it. The caller closes the socket.
void ServeConnection(const Connection& conn, const HandlerContext& context);

}  // namespace ostrel::testserver
