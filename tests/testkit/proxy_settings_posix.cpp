#include <cstdlib>
#include <stdexcept>
#include <utility>
#include <vector>

#include "tests/testkit/host_only.h"
#include "tests/testkit/local_proxy.h"
#include "tests/testkit/proxy_settings.h"

namespace testkit {
namespace {

constexpr const char* kProxyVariables[] = {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"};
constexpr const char* kBypassVariables[] = {"no_proxy", "NO_PROXY"};
constexpr const char* kOtherVariables[] = {"all_proxy", "ALL_PROXY"};

class ChildProxy : public TestProxy {
 public:
  explicit ChildProxy(const std::string& basicAuth) : proxy_(basicAuth) {}
  std::string Url() const override { return proxy_.Url(); }

 private:
  LocalProxy proxy_;
};

using Saved = std::vector<std::pair<std::string, std::optional<std::string>>>;

void Set(Saved& saved, const char* name, const std::optional<std::string>& value) {
  const char* old = std::getenv(name);
  saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  SetEnv(name, value);
}

}  // namespace

std::unique_ptr<TestProxy> TestProxy::Start(bool askCredentials, std::string& why) {
  if (!LocalProxy::Installed()) {
    why = "tinyproxy is not installed (Debian package tinyproxy-bin; see tools/setup.sh)";
    return nullptr;
  }
  try {
    return std::make_unique<ChildProxy>(askCredentials ? "ostrel secret" : "");
  } catch (const std::runtime_error& error) {
    why = error.what();
    return nullptr;
  }
}

ProxySettings::ProxySettings(const std::optional<std::string>& proxy, const std::string& bypass) {
  for (const char* name : kProxyVariables) Set(saved_, name, proxy);
  for (const char* name : kBypassVariables) Set(saved_, name, bypass.empty() ? std::nullopt : std::optional(bypass));
  for (const char* name : kOtherVariables) Set(saved_, name, std::nullopt);
}

ProxySettings::~ProxySettings() {
  for (const auto& [name, value] : saved_) SetEnv(name, value);
}

}  // namespace testkit
