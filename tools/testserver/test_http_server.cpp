#include "tools/testserver/test_http_server.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <string.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <list>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "tools/testserver/request_handler.h"

namespace testserver {

struct ClientThread {
  std::thread thread;
  std::atomic<bool> finished{false};
};

struct TestHttpServer::Impl {
  std::string rootDir;
  int listenFd = -1;
  int stopFd = -1;
  uint16_t port = 0;
  std::thread acceptor;

  std::atomic<uint64_t> bodyBytes{0};
  mutable std::mutex requestsMutex;
  std::vector<Request> requests;

  std::mutex clientsMutex;  // guards clients (touched by the acceptor and the destructor)
  std::list<ClientThread> clients;

  HandlerContext context;

  void Listen(uint16_t wantedPort);
  void AcceptLoop();
  void StartClient(int socket);
  void JoinFinishedClients();
  void Stop();
};

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
  throw std::runtime_error(std::string("testserver: ") + what + ": " + strerror(errno));
}

// A write to a closed socket through sendfile would raise SIGPIPE; the error
// code is all this thread needs.
void BlockSigpipeInThisThread() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

}  // namespace

void TestHttpServer::Impl::Listen(uint16_t wantedPort) {
  stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stopFd < 0) ThrowErrno("eventfd");
  listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listenFd < 0) ThrowErrno("socket");
  int one = 1;
  setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(wantedPort);
  if (bind(listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    ThrowErrno("bind 127.0.0.1");
  if (listen(listenFd, 128) != 0) ThrowErrno("listen");
  socklen_t length = sizeof address;
  if (getsockname(listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    ThrowErrno("getsockname");
  port = ntohs(address.sin_port);
}

void TestHttpServer::Impl::AcceptLoop() {
  BlockSigpipeInThisThread();
  pollfd fds[2] = {{listenFd, POLLIN, 0}, {stopFd, POLLIN, 0}};
  for (;;) {
    int n = poll(fds, 2, -1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || fds[1].revents) return;
    int socket = accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (socket < 0) continue;  // the client went away, or a passing shortage of descriptors
    JoinFinishedClients();
    StartClient(socket);
  }
}

void TestHttpServer::Impl::StartClient(int socket) {
  std::lock_guard<std::mutex> lock(clientsMutex);
  ClientThread& client = clients.emplace_back();
  client.thread = std::thread([this, socket, &client] {
    BlockSigpipeInThisThread();
    ServeConnection(Connection{socket, stopFd}, context);
    close(socket);
    client.finished = true;
  });
}

void TestHttpServer::Impl::JoinFinishedClients() {
  std::lock_guard<std::mutex> lock(clientsMutex);
  for (auto it = clients.begin(); it != clients.end();) {
    if (it->finished) {
      it->thread.join();
      it = clients.erase(it);
    } else {
      ++it;
    }
  }
}

void TestHttpServer::Impl::Stop() {
  if (stopFd >= 0) {
    uint64_t one = 1;
    (void)!write(stopFd, &one, sizeof one);
  }
  if (acceptor.joinable()) acceptor.join();
  {
    std::lock_guard<std::mutex> lock(clientsMutex);
    for (ClientThread& client : clients) client.thread.join();
    clients.clear();
  }
  if (listenFd >= 0) close(listenFd);
  if (stopFd >= 0) close(stopFd);
  listenFd = stopFd = -1;
}

TestHttpServer::TestHttpServer(std::string rootDir, uint16_t port) : impl_(new Impl) {
  impl_->rootDir = std::move(rootDir);
  try {
    impl_->Listen(port);
  } catch (...) {
    impl_->Stop();
    throw;
  }
  Impl* impl = impl_.get();
  impl->context.rootDir = impl->rootDir;
  impl->context.port = impl->port;
  impl->context.bodyBytes = &impl->bodyBytes;
  impl->context.recordRequest = [impl](Request request) {
    std::lock_guard<std::mutex> lock(impl->requestsMutex);
    impl->requests.push_back(std::move(request));
  };
  impl->acceptor = std::thread([impl] { impl->AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() { impl_->Stop(); }

uint16_t TestHttpServer::Port() const { return impl_->port; }

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(impl_->port) + "/" + path;
}

uint64_t TestHttpServer::BodyBytesSent() const { return impl_->bodyBytes.load(); }

std::vector<Request> TestHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(impl_->requestsMutex);
  return impl_->requests;
}

void TestHttpServer::ResetCounters() {
  std::lock_guard<std::mutex> lock(impl_->requestsMutex);
  impl_->requests.clear();
  impl_->bodyBytes = 0;
}

}  // namespace testserver
