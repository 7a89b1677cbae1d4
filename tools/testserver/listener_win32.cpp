#include <winsock2.h>
#include <ws2tcpip.h>

#include <mutex>
#include <stdexcept>
#include <string>

#include "tools/testserver/listener.h"

namespace ostrel::testserver {
namespace {

[[noreturn]] void ThrowWinsock(const char* what) {
  throw std::runtime_error(std::string("testserver: ") + what + ": Winsock error " + std::to_string(WSAGetLastError()));
}

void StartWinsock() {
  static std::once_flag once;
  std::call_once(once, [] {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("testserver: WSAStartup failed");
  });
}

bool MakeNonBlocking(SOCKET socket) {
  u_long on = 1;
  return ioctlsocket(socket, FIONBIO, &on) == 0;
}

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

// The port a socket is bound to; 0 when it can't be told.
uint16_t BoundPort(SOCKET socket) {
  sockaddr_in address{};
  int length = sizeof address;
  if (getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

}  // namespace

// The stop signal is a datagram socket on 127.0.0.1 that no one reads: a datagram sent to it
// keeps it readable for every wait.
void OpenListener(uint16_t wantedPort, Listener* listener) {
  StartWinsock();
  listener->stop = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (listener->stop == INVALID_SOCKET) ThrowWinsock("socket (stop)");
  sockaddr_in address = Loopback(0);
  if (bind(listener->stop, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) ThrowWinsock("bind (stop)");
  listener->socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener->socket == INVALID_SOCKET) ThrowWinsock("socket");
  // Another process may not take the port over while it is ours.
  BOOL on = TRUE;
  setsockopt(listener->socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
  address = Loopback(wantedPort);
  if (bind(listener->socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) ThrowWinsock("bind 127.0.0.1");
  if (listen(listener->socket, 128) != 0) ThrowWinsock("listen");
  if (!MakeNonBlocking(listener->socket)) ThrowWinsock("ioctlsocket");
  listener->port = BoundPort(listener->socket);
  if (listener->port == 0) ThrowWinsock("getsockname");
}

std::optional<SocketHandle> AcceptClient(const Listener& listener) {
  WSAPOLLFD fds[2] = {{listener.socket, POLLRDNORM, 0}, {listener.stop, POLLRDNORM, 0}};
  for (;;) {
    if (WSAPoll(fds, 2, -1) < 0 || fds[1].revents) return std::nullopt;
    const SOCKET socket = accept(listener.socket, nullptr, nullptr);
    if (socket == INVALID_SOCKET) continue;  // the client went away
    if (MakeNonBlocking(socket)) return socket;
    closesocket(socket);
  }
}

void RaiseStop(const Listener& listener) {
  if (listener.stop == kNoSocket) return;
  const uint16_t port = BoundPort(listener.stop);
  if (port == 0) return;
  const sockaddr_in address = Loopback(port);
  const char one = 1;
  sendto(listener.stop, &one, 1, 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

void CloseListener(Listener* listener) {
  if (listener->socket != kNoSocket) closesocket(listener->socket);
  if (listener->stop != kNoSocket) closesocket(listener->stop);
  listener->socket = listener->stop = kNoSocket;
}

void CloseSocket(SocketHandle socket) { closesocket(socket); }

void PrepareServerThread() {}

}  // namespace ostrel::testserver
