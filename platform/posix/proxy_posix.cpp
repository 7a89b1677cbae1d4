// Linux: libcurl reads the proxy variables itself; the route names what they give.
#include <cstdlib>

#include "platform/proxy.h"
#include "platform/proxy_rules.h"

namespace platform {

ProxyRoute ProxyFor(const std::string& url) {
  ProxyRoute route;
  route.fromEnvironment = true;
  if (const std::optional<ServerOf> server = ServerOfUrl(url))
    route.proxy = EnvironmentProxy(*server, [](const char* name) -> std::optional<std::string> {
      const char* value = std::getenv(name);
      return value ? std::optional<std::string>(value) : std::nullopt;
    });
  return route;
}

}  // namespace platform
