// Windows: the route of each server base is looked up once, then kept for the process.
#include <map>
#include <mutex>

#include "platform/proxy.h"
#include "platform/proxy_rules.h"
#include "platform/win32/proxy_lookup.h"

namespace platform {

ProxyRoute ProxyFor(const std::string& url) {
  static std::mutex lock;
  static std::map<std::string, ProxyRoute> routes;
  const std::optional<ServerOf> server = ServerOfUrl(url);
  if (!server) return {};
  const std::string base = ServerBase(*server);
  {
    std::lock_guard<std::mutex> guard(lock);
    if (const auto known = routes.find(base); known != routes.end()) return known->second;
  }
  // Outside the lock: automatic detection may take seconds and must not hold up other bases.
  ProxyRoute route = win32::LookUpProxy(url, *server);
  std::lock_guard<std::mutex> guard(lock);
  return routes.emplace(base, std::move(route)).first->second;
}

}  // namespace platform
