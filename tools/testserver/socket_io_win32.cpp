// The Winsock side of socket_io.h.
#include <winsock2.h>
#include <io.h>

#include <algorithm>
#include <chrono>

#include "tools/testserver/socket_io.h"

namespace ostrel::testserver {
namespace {

using Clock = std::chrono::steady_clock;

// A client that stops reading for this long is given up.
constexpr int kWriteTimeoutMs = 60000;
constexpr char kTlsHandshakeRecord = 0x16;

// Waits for `events` on the socket, the stop signal, or the time-out.
IoResult WaitFor(const Connection& conn, short events, int timeoutMs) {
  WSAPOLLFD fds[2] = {{conn.socket, events, 0}, {conn.stop, POLLRDNORM, 0}};
  const int n = WSAPoll(fds, 2, timeoutMs);
  if (n < 0) return IoResult::kError;
  if (n == 0) return IoResult::kTimeout;
  if (fds[1].revents) return IoResult::kStopped;
  if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
    return (fds[0].revents & events) ? IoResult::kOk : IoResult::kPeerGone;
  return IoResult::kOk;
}

IoResult LastErrorResult() {
  const int error = WSAGetLastError();
  return (error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAESHUTDOWN) ? IoResult::kPeerGone
                                                                                       : IoResult::kError;
}

bool WouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }

}  // namespace

IoResult ReadRequestHead(const Connection& conn, int timeoutMs, size_t maxBytes, std::string* head) {
  head->clear();
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  char buffer[4096];
  while (head->find("\r\n\r\n") == std::string::npos && head->find("\n\n") == std::string::npos) {
    if (head->size() >= maxBytes) return IoResult::kError;
    const int n = recv(conn.socket, buffer, sizeof buffer, 0);
    if (n > 0) {
      head->append(buffer, static_cast<size_t>(n));
      if (head->front() == kTlsHandshakeRecord) return IoResult::kError;  // no TLS spoken here
      continue;
    }
    if (n == 0) return IoResult::kPeerGone;
    if (!WouldBlock()) return LastErrorResult();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return IoResult::kTimeout;
    const IoResult waited = WaitFor(conn, POLLRDNORM, static_cast<int>(left.count()));
    if (waited != IoResult::kOk) return waited;
  }
  return IoResult::kOk;
}

// Winsock tells a hang-up only through a read: input that comes after the request is read and
// dropped, the end of the stream or a reset ends the pause.
IoResult Pause(const Connection& conn, uint64_t ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return IoResult::kOk;
    const IoResult waited =
        WaitFor(conn, POLLRDNORM, static_cast<int>(std::min<int64_t>(left.count(), 1000)));
    if (waited == IoResult::kTimeout) continue;
    if (waited != IoResult::kOk) return waited;
    char drop[4096];
    const int n = recv(conn.socket, drop, sizeof drop, 0);
    if (n == 0 || (n < 0 && !WouldBlock())) return IoResult::kPeerGone;
  }
}

IoResult SendAll(const Connection& conn, const char* data, size_t size, std::atomic<uint64_t>* bodyCounter) {
  while (size > 0) {
    const int n = send(conn.socket, data, static_cast<int>(std::min<size_t>(size, 1u << 20)), 0);
    if (n > 0) {
      data += n;
      size -= static_cast<size_t>(n);
      if (bodyCounter) bodyCounter->fetch_add(static_cast<uint64_t>(n));
      continue;
    }
    if (n < 0 && !WouldBlock()) return LastErrorResult();
    const IoResult waited = WaitFor(conn, POLLWRNORM, kWriteTimeoutMs);
    if (waited != IoResult::kOk) return waited;
  }
  return IoResult::kOk;
}

IoResult SendFileBytes(const Connection& conn, int fileFd, uint64_t offset, uint64_t size,
                       std::atomic<uint64_t>* bodyCounter) {
  if (_lseeki64(fileFd, static_cast<__int64>(offset), SEEK_SET) < 0) return IoResult::kError;
  char buffer[64 * 1024];
  while (size > 0) {
    const int n = _read(fileFd, buffer, static_cast<unsigned>(std::min<uint64_t>(size, sizeof buffer)));
    if (n <= 0) return IoResult::kError;  // the file is shorter than it was
    const IoResult sent = SendAll(conn, buffer, static_cast<size_t>(n), bodyCounter);
    if (sent != IoResult::kOk) return sent;
    size -= static_cast<uint64_t>(n);
  }
  return IoResult::kOk;
}

}  // namespace ostrel::testserver
