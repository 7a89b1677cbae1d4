// Stop-aware socket I/O on a non-blocking socket: every wait also watches the
// server's stop signal, so a stopping server never waits on a client.
// socket_io_posix.cpp holds the Linux side, socket_io_win32.cpp the Winsock one.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace ostrel::testserver {

enum class IoResult {
  kOk,
  kStopped,   // the server is stopping
  kPeerGone,  // the client closed or reset the connection
  kTimeout,
  kError,
};

#ifdef _WIN32
using SocketHandle = uintptr_t;  // a Winsock SOCKET
inline constexpr SocketHandle kNoSocket = ~SocketHandle{0};
#else
using SocketHandle = int;
inline constexpr SocketHandle kNoSocket = -1;
#endif

struct Connection {
  SocketHandle socket = kNoSocket;
  SocketHandle stop = kNoSocket;  // readable once the server stops (Linux: an eventfd)
};

// Reads until the blank line that ends a request head (at most maxBytes). A connection that
// opens with a TLS handshake record gives kError at once.
IoResult ReadRequestHead(const Connection& conn, int timeoutMs, size_t maxBytes,
                         std::string* head);

// Sleeps for ms milliseconds; ends early with kStopped or kPeerGone.
IoResult Pause(const Connection& conn, uint64_t ms);

// Writes all of data. bodyCounter (may be null) grows by each byte written.
IoResult SendAll(const Connection& conn, const char* data, size_t size,
                 std::atomic<uint64_t>* bodyCounter);

// Writes size bytes of fileFd from offset (Linux: through sendfile).
IoResult SendFileBytes(const Connection& conn, int fileFd, uint64_t offset,
                       uint64_t size, std::atomic<uint64_t>* bodyCounter);

}  // namespace ostrel::testserver
