// The server part of a URL and the spelling of proxy addresses.
#include "platform/ascii_case.h"
#include "platform/proxy_rules.h"
#include "platform/text.h"

namespace platform {
namespace {

int DefaultPort(std::string_view scheme) {
  if (scheme == "http") return 80;
  if (scheme == "https") return 443;
  return 0;
}

}  // namespace

std::optional<ServerOf> ServerOfUrl(std::string_view url) {
  url = Trim(url);
  const size_t mark = url.find("://");
  if (mark == 0 || mark == std::string_view::npos) return std::nullopt;
  ServerOf server;
  server.scheme = AsciiLowerCopy(std::string(url.substr(0, mark)));
  std::string_view authority = url.substr(mark + 3);
  authority = authority.substr(0, authority.find_first_of("/?#"));
  if (const size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  std::string_view host = authority, port;
  if (!authority.empty() && authority.front() == '[') {
    const size_t close = authority.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = authority.substr(1, close - 1);
    if (authority.size() > close + 1) {
      if (authority[close + 1] != ':') return std::nullopt;
      port = authority.substr(close + 2);
    }
  } else if (const size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
  }
  if (host.empty()) return std::nullopt;
  server.host = AsciiLowerCopy(std::string(host));
  if (port.empty()) {
    server.port = DefaultPort(server.scheme);
  } else {
    const std::optional<int> number = ParseDigits<int>(port);
    if (!number || *number > 65535) return std::nullopt;
    server.port = *number;
  }
  return server;
}

std::string ServerBase(const ServerOf& server) {
  const bool ipv6 = server.host.find(':') != std::string::npos;
  return server.scheme + "://" + (ipv6 ? "[" + server.host + "]" : server.host) + ":" + std::to_string(server.port);
}

std::string ProxyAsUrl(std::string_view address) {
  address = Trim(address);
  if (address.empty() || address.find("://") != std::string_view::npos) return std::string(address);
  return "http://" + std::string(address);
}

}  // namespace platform
