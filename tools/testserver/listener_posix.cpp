#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <string.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "tools/testserver/listener.h"

namespace ostrel::testserver {
namespace {

[[noreturn]] void ThrowErrno(const char* what) {
  throw std::runtime_error(std::string("testserver: ") + what + ": " + strerror(errno));
}

}  // namespace

void OpenListener(uint16_t wantedPort, Listener* listener) {
  listener->stop = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (listener->stop < 0) ThrowErrno("eventfd");
  listener->socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listener->socket < 0) ThrowErrno("socket");
  int one = 1;
  setsockopt(listener->socket, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(wantedPort);
  if (bind(listener->socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    ThrowErrno("bind 127.0.0.1");
  if (listen(listener->socket, 128) != 0) ThrowErrno("listen");
  socklen_t length = sizeof address;
  if (getsockname(listener->socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    ThrowErrno("getsockname");
  listener->port = ntohs(address.sin_port);
}

std::optional<SocketHandle> AcceptClient(const Listener& listener) {
  pollfd fds[2] = {{listener.socket, POLLIN, 0}, {listener.stop, POLLIN, 0}};
  for (;;) {
    int n = poll(fds, 2, -1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || fds[1].revents) return std::nullopt;
    int socket = accept4(listener.socket, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (socket >= 0) return socket;
    // else the client went away, or a passing shortage of descriptors
  }
}

void RaiseStop(const Listener& listener) {
  if (listener.stop < 0) return;
  uint64_t one = 1;
  (void)!write(listener.stop, &one, sizeof one);
}

void CloseListener(Listener* listener) {
  if (listener->socket >= 0) close(listener->socket);
  if (listener->stop >= 0) close(listener->stop);
  listener->socket = listener->stop = kNoSocket;
}

void CloseSocket(SocketHandle socket) { close(socket); }

// A write to a closed socket through sendfile would raise SIGPIPE; the error code is all a
// server thread needs.
void PrepareServerThread() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

}  // namespace ostrel::testserver
