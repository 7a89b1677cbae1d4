// A real HTTP proxy for tests: Debian's tinyproxy (tinyproxy-bin), started by the test as its
// child on 127.0.0.1 with a configuration file of its own and a free port, ended with the
// object. It logs every request it takes ("Request ...: GET http://..." or "CONNECT host:port")
// and adds "Via: 1.1 tinyproxy" to what it forwards. Linux only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/testkit/child_process.h"
#include "tests/testkit/temp_dir.h"

namespace testkit {

class LocalProxy {
 public:
  // basicAuth "user password": requests without those credentials are answered 407.
  // Throws std::runtime_error when tinyproxy does not start or answer.
  explicit LocalProxy(const std::string& basicAuth = "");
  ~LocalProxy();
  LocalProxy(const LocalProxy&) = delete;
  LocalProxy& operator=(const LocalProxy&) = delete;

  static bool Installed();  // tinyproxy is on the PATH
  uint16_t Port() const { return port_; }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }
  // The requests it has taken, in order: "GET http://127.0.0.1:1234/a.zip", "CONNECT 127.0.0.1:443".
  std::vector<std::string> Requests() const;

 private:
  bool Launch(const std::string& basicAuth);

  TempDir dir_;
  std::unique_ptr<ChildProcess> child_;
  uint16_t port_ = 0;
};

}  // namespace testkit
