#include "tests/testkit/local_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "tests/testkit/files.h"
#include "tests/testkit/wait.h"

namespace testkit {
namespace {

// A socket on 127.0.0.1: bound to port 0 (the system picks a free port), or connected to port.
bool LoopbackSocket(uint16_t port, bool connectIt, uint16_t* bound = nullptr) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  auto* raw = reinterpret_cast<sockaddr*>(&address);
  socklen_t length = sizeof(address);
  const bool ok = connectIt ? ::connect(fd, raw, length) == 0
                            : ::bind(fd, raw, length) == 0 && ::getsockname(fd, raw, &length) == 0;
  if (ok && bound) *bound = ntohs(address.sin_port);
  ::close(fd);
  return ok;
}

// The program's path on PATH; empty when it is not there.
std::string OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/usr/sbin");
  for (std::string folder; std::getline(folders, folder, ':');)
    if (!folder.empty() && ::access((folder + "/" + program).c_str(), X_OK) == 0) return folder + "/" + program;
  return {};
}

}  // namespace

bool LocalProxy::Installed() { return !OnPath("tinyproxy").empty(); }

LocalProxy::LocalProxy(const std::string& basicAuth) {
  for (int attempt = 0; attempt < 3; ++attempt)  // another program may take the free port first
    if (Launch(basicAuth)) return;
  throw std::runtime_error("tinyproxy did not start; see " + (dir_ / "tinyproxy.err").string());
}

LocalProxy::~LocalProxy() = default;  // the child is ended and waited for

bool LocalProxy::Launch(const std::string& basicAuth) {
  child_.reset();
  if (!LoopbackSocket(0, false, &port_)) return false;
  std::ostringstream config;
  config << "Port " << port_ << "\nListen 127.0.0.1\nTimeout 30\nMaxClients 64\nAllow 127.0.0.1\n"
         << "LogFile \"" << (dir_ / "tinyproxy.log").string() << "\"\nLogLevel Connect\n";
  if (!basicAuth.empty()) config << "BasicAuth " << basicAuth << "\n";
  WriteFile(dir_ / "tinyproxy.conf", config.str());
  WriteFile(dir_ / "tinyproxy.log", "");
  child_ = std::make_unique<ChildProcess>(OnPath("tinyproxy"), std::vector<std::string>{"-d", "-c", (dir_ / "tinyproxy.conf").string()},
                                          (dir_ / "tinyproxy.out").string(), (dir_ / "tinyproxy.err").string());
  return WaitUntil([&] { return LoopbackSocket(port_, true); }, std::chrono::seconds(5));
}

std::vector<std::string> LocalProxy::Requests() const {
  std::vector<std::string> requests;
  std::istringstream log(ReadFile(dir_ / "tinyproxy.log"));
  for (std::string line; std::getline(log, line);) {
    const size_t mark = line.find("): ");
    if (line.find("Request (") == std::string::npos || mark == std::string::npos) continue;
    std::string request = line.substr(mark + 3);
    if (const size_t version = request.rfind(" HTTP/"); version != std::string::npos) request.resize(version);
    requests.push_back(request);
  }
  return requests;
}

}  // namespace testkit
