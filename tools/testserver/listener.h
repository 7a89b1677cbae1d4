// The server's listening socket on 127.0.0.1 and its stop signal, the system calls behind
// TestHttpServer: listener_posix.cpp on Linux, listener_win32.cpp on Windows (Winsock).
#pragma once

#include <cstdint>
#include <optional>

#include "tools/testserver/socket_io.h"

namespace ostrel::testserver {

struct Listener {
  SocketHandle socket = kNoSocket;
  SocketHandle stop = kNoSocket;  // becomes readable, and stays so, once RaiseStop is called
  uint16_t port = 0;
};

// Listens on 127.0.0.1:wantedPort (0 = ephemeral). Throws std::runtime_error naming the step
// that failed; what was opened before it is in *listener for CloseListener.
void OpenListener(uint16_t wantedPort, Listener* listener);
// Waits for the next client: its socket, non-blocking; nothing once the stop is raised.
std::optional<SocketHandle> AcceptClient(const Listener& listener);
void RaiseStop(const Listener& listener);
void CloseListener(Listener* listener);
void CloseSocket(SocketHandle socket);
// Called first on every server thread (Linux: a write to a closed socket raises no SIGPIPE).
void PrepareServerThread();

}  // namespace ostrel::testserver
