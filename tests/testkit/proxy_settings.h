// A proxy for a test and the user's settings that name it, the same calls on both systems.
//
// TestProxy: Linux starts a LocalProxy (local_proxy.h) as the test's child. A Windows test
// program can't start a Linux tinyproxy from inside Wine: tests/testkit/with-tinyproxy.sh starts
// two before it runs the program and names them in OSTREL_TEST_PROXY and, for the one that asks
// for credentials, OSTREL_TEST_PROXY_407.
//
// ProxySettings: the settings for the scope, put back at its end. Linux: http_proxy,
// https_proxy and no_proxy (their upper-case twins too; all_proxy removed). Windows: the current
// user's Internet settings as Windows keeps them (ProxyEnable, ProxyServer, ProxyOverride and the
// Connections value DefaultConnectionSettings), left as "no proxy" at the end.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testkit {

class TestProxy {
 public:
  virtual ~TestProxy() = default;
  // A proxy (one that answers 407 to requests without credentials when asked); nothing, with
  // the reason in why, when none can be had here.
  static std::unique_ptr<TestProxy> Start(bool askCredentials, std::string& why);
  virtual std::string Url() const = 0;  // "http://127.0.0.1:<port>"
};

class ProxySettings {
 public:
  // proxy: "http://127.0.0.1:<port>", nothing for none; bypass: hosts that go straight to their
  // server ("127.0.0.1"), in the system's own list form.
  ProxySettings(const std::optional<std::string>& proxy, const std::string& bypass);
  ~ProxySettings();
  ProxySettings(const ProxySettings&) = delete;
  ProxySettings& operator=(const ProxySettings&) = delete;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;  // Linux: the variables
};

}  // namespace testkit
