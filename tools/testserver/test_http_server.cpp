#include "tools/testserver/test_http_server.h"

#include <atomic>
#include <list>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "tools/testserver/listener.h"
#include "tools/testserver/request_handler.h"

namespace ostrel::testserver {

struct ClientThread {
  std::thread thread;
  std::atomic<bool> finished{false};
};

struct TestHttpServer::Impl {
  std::string rootDir;
  Listener listener;
  std::thread acceptor;

  std::atomic<uint64_t> bodyBytes{0};
  mutable std::mutex requestsMutex;
  std::vector<Request> requests;

  std::mutex clientsMutex;  // guards clients (touched by the acceptor and the destructor)
  std::list<ClientThread> clients;

  HandlerContext context;

  void AcceptLoop();
  void StartClient(SocketHandle socket);
  void JoinFinishedClients();
  void Stop();
};

void TestHttpServer::Impl::AcceptLoop() {
  PrepareServerThread();
  while (const std::optional<SocketHandle> socket = AcceptClient(listener)) {
    JoinFinishedClients();
    StartClient(*socket);
  }
}

void TestHttpServer::Impl::StartClient(SocketHandle socket) {
  std::lock_guard<std::mutex> lock(clientsMutex);
  ClientThread& client = clients.emplace_back();
  client.thread = std::thread([this, socket, &client] {
    PrepareServerThread();
    ServeConnection(Connection{socket, listener.stop}, context);
    CloseSocket(socket);
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
  RaiseStop(listener);
  if (acceptor.joinable()) acceptor.join();
  {
    std::lock_guard<std::mutex> lock(clientsMutex);
    for (ClientThread& client : clients) client.thread.join();
    clients.clear();
  }
  CloseListener(&listener);
}

TestHttpServer::TestHttpServer(std::string rootDir, uint16_t port) : impl_(new Impl) {
  impl_->rootDir = std::move(rootDir);
  try {
    OpenListener(port, &impl_->listener);
  } catch (...) {
    impl_->Stop();
    throw;
  }
  Impl* impl = impl_.get();
  impl->context.rootDir = impl->rootDir;
  impl->context.port = impl->listener.port;
  impl->context.bodyBytes = &impl->bodyBytes;
  impl->context.recordRequest = [impl](Request request) {
    std::lock_guard<std::mutex> lock(impl->requestsMutex);
    impl->requests.push_back(std::move(request));
  };
  impl->acceptor = std::thread([impl] { impl->AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() { impl_->Stop(); }

uint16_t TestHttpServer::Port() const { return impl_->listener.port; }

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(impl_->listener.port) + "/" + path;
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

}  // namespace ostrel::testserver
