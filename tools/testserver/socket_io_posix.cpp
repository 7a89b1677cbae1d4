#include "tools/testserver/socket_io.h"

#include <errno.h>
#include <poll.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace ostrel::testserver {
namespace {

using Clock = std::chrono::steady_clock;

// A client that stops reading for this long is given up.
constexpr int kWriteTimeoutMs = 60000;

// Waits for `events` on the socket, the stop descriptor, or the time-out.
IoResult WaitFor(const Connection& conn, short events, int timeoutMs) {
  pollfd fds[2] = {{conn.socket, events, 0}, {conn.stop, POLLIN, 0}};
  for (;;) {
    int n = poll(fds, 2, timeoutMs);
    if (n < 0) {
      if (errno == EINTR) continue;
      return IoResult::kError;
    }
    if (n == 0) return IoResult::kTimeout;
    if (fds[1].revents) return IoResult::kStopped;
    if (fds[0].revents & (POLLERR | POLLHUP | POLLRDHUP | POLLNVAL))
      return (fds[0].revents & events & ~POLLRDHUP) ? IoResult::kOk : IoResult::kPeerGone;
    return IoResult::kOk;
  }
}

IoResult ErrnoResult(int err) {
  return (err == EPIPE || err == ECONNRESET) ? IoResult::kPeerGone : IoResult::kError;
}

constexpr char kTlsHandshakeRecord = 0x16;

}  // namespace

IoResult ReadRequestHead(const Connection& conn, int timeoutMs, size_t maxBytes,
                         std::string* head) {
  head->clear();
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  char buffer[4096];
  while (head->find("\r\n\r\n") == std::string::npos &&
         head->find("\n\n") == std::string::npos) {
    if (head->size() >= maxBytes) return IoResult::kError;
    ssize_t n = recv(conn.socket, buffer, sizeof buffer, 0);
    if (n > 0) {
      head->append(buffer, static_cast<size_t>(n));
      if (head->front() == kTlsHandshakeRecord) return IoResult::kError;  // no TLS spoken here
      continue;
    }
    if (n == 0) return IoResult::kPeerGone;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return ErrnoResult(errno);
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return IoResult::kTimeout;
    IoResult waited = WaitFor(conn, POLLIN, static_cast<int>(left.count()));
    if (waited != IoResult::kOk) return waited;
  }
  return IoResult::kOk;
}

IoResult Pause(const Connection& conn, uint64_t ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return IoResult::kOk;
    // Only the peer's hang-up wakes the socket side: unread input doesn't count.
    IoResult waited = WaitFor(conn, POLLRDHUP, static_cast<int>(std::min<int64_t>(left.count(), 1000)));
    if (waited == IoResult::kOk) return IoResult::kPeerGone;
    if (waited != IoResult::kTimeout) return waited;
  }
}

IoResult SendAll(const Connection& conn, const char* data, size_t size,
                 std::atomic<uint64_t>* bodyCounter) {
  while (size > 0) {
    ssize_t n = send(conn.socket, data, size, MSG_NOSIGNAL);
    if (n > 0) {
      data += n;
      size -= static_cast<size_t>(n);
      if (bodyCounter) bodyCounter->fetch_add(static_cast<uint64_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return ErrnoResult(errno);
    IoResult waited = WaitFor(conn, POLLOUT, kWriteTimeoutMs);
    if (waited != IoResult::kOk) return waited;
  }
  return IoResult::kOk;
}

IoResult SendFileBytes(const Connection& conn, int fileFd, uint64_t offset,
                       uint64_t size, std::atomic<uint64_t>* bodyCounter) {
  off_t position = static_cast<off_t>(offset);
  while (size > 0) {
    size_t chunk = static_cast<size_t>(std::min<uint64_t>(size, 1u << 30));
    ssize_t n = sendfile(conn.socket, fileFd, &position, chunk);
    if (n > 0) {
      size -= static_cast<uint64_t>(n);
      if (bodyCounter) bodyCounter->fetch_add(static_cast<uint64_t>(n));
      continue;
    }
    if (n == 0) return IoResult::kError;  // the file is shorter than it was
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return ErrnoResult(errno);
    IoResult waited = WaitFor(conn, POLLOUT, kWriteTimeoutMs);
    if (waited != IoResult::kOk) return waited;
  }
  return IoResult::kOk;
}

}  // namespace ostrel::testserver
