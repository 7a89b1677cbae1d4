// The proxy environment variables, read the way libcurl reads them (CURLOPT_PROXY and
// CURLOPT_NOPROXY in libcurl's documentation): only to name the proxy libcurl will use.
#include <algorithm>
#include <cstdint>

#include "platform/ascii_case.h"
#include "platform/proxy_rules.h"
#include "platform/text.h"

namespace platform {
namespace {

std::optional<std::string> NonEmpty(const EnvironmentReader& read, const char* name) {
  std::optional<std::string> value = read(name);
  if (value && value->empty()) return std::nullopt;
  return value;
}

std::optional<uint32_t> Ipv4(std::string_view text) {
  uint32_t address = 0;
  for (int part = 0; part < 4; ++part) {
    const size_t dot = part < 3 ? text.find('.') : text.size();
    if (dot == std::string_view::npos) return std::nullopt;
    const std::optional<uint32_t> byte = ParseDigits<uint32_t>(text.substr(0, dot));
    if (!byte || *byte > 255) return std::nullopt;
    address = (address << 8) | *byte;
    text.remove_prefix(part < 3 ? dot + 1 : dot);
  }
  return address;
}

// One entry of the list against the host.
bool EntryNames(std::string_view entry, std::string_view host) {
  if (entry.size() > 1 && entry.front() == '[' && entry.back() == ']') entry = entry.substr(1, entry.size() - 2);
  if (const size_t slash = entry.find('/'); slash != std::string_view::npos) {
    const auto network = Ipv4(entry.substr(0, slash));
    const auto bits = ParseDigits<uint32_t>(entry.substr(slash + 1));
    const auto address = Ipv4(host);
    if (!network || !bits || *bits > 32 || !address) return false;
    const uint32_t mask = *bits == 0 ? 0 : ~uint32_t{0} << (32 - *bits);
    return (*network & mask) == (*address & mask);
  }
  if (!entry.empty() && entry.front() == '.') entry.remove_prefix(1);
  if (!entry.empty() && entry.back() == '.') entry.remove_suffix(1);
  if (entry.empty() || entry.size() > host.size()) return false;
  if (entry.size() == host.size()) return EqualsNoCase(entry, host);
  return host[host.size() - entry.size() - 1] == '.' && EqualsNoCase(host.substr(host.size() - entry.size()), entry);
}

}  // namespace

bool NoProxyNames(std::string_view list, std::string_view host) {
  list = Trim(list);
  if (list == "*") return true;
  if (!host.empty() && host.back() == '.') host.remove_suffix(1);
  while (!list.empty()) {
    const size_t start = list.find_first_not_of(", \t");
    if (start == std::string_view::npos) break;
    list.remove_prefix(start);
    const size_t end = std::min(list.find_first_of(", \t"), list.size());
    if (EntryNames(list.substr(0, end), host)) return true;
    list.remove_prefix(end);
  }
  return false;
}

std::string EnvironmentProxy(const ServerOf& server, const EnvironmentReader& read) {
  std::optional<std::string> noProxy = NonEmpty(read, "no_proxy");
  if (!noProxy) noProxy = NonEmpty(read, "NO_PROXY");
  if (noProxy && NoProxyNames(*noProxy, server.host)) return {};
  const std::string own = server.scheme + "_proxy";
  std::optional<std::string> proxy = NonEmpty(read, own.c_str());
  // HTTP_PROXY is never read: a CGI program finds the request's "Proxy:" header there.
  if (!proxy && own != "http_proxy") proxy = NonEmpty(read, AsciiUpperCopy(own).c_str());
  if (!proxy) proxy = NonEmpty(read, "all_proxy");
  if (!proxy) proxy = NonEmpty(read, "ALL_PROXY");
  return proxy ? ProxyAsUrl(*proxy) : std::string();
}

}  // namespace platform
