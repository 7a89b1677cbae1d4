// Windows' proxy server and bypass texts (ProxyServer, ProxyOverride; the lpszProxy and
// lpszProxyBypass of WINHTTP_CURRENT_USER_IE_PROXY_CONFIG), read as Internet Options writes them.
#include <algorithm>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/proxy_rules.h"
#include "platform/text.h"

namespace platform {
namespace {

std::vector<std::string_view> Entries(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> entries;
  while (!text.empty()) {
    const size_t end = std::min(text.find_first_of(separators), text.size());
    if (const std::string_view entry = Trim(text.substr(0, end)); !entry.empty()) entries.push_back(entry);
    text.remove_prefix(end == text.size() ? end : end + 1);
  }
  return entries;
}

// "*" stands for any run of characters; letters compare without regard to case.
bool Wildcard(std::string_view pattern, std::string_view text) {
  size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && AsciiLower(pattern[p]) == AsciiLower(text[t])) {
      ++p, ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool EntryBypasses(std::string_view entry, const ServerOf& server) {
  if (EqualsNoCase(entry, "<local>"))
    return server.host.find_first_of(".:") == std::string::npos;
  if (const size_t mark = entry.find("://"); mark != std::string_view::npos) {
    if (!EqualsNoCase(entry.substr(0, mark), server.scheme)) return false;
    entry.remove_prefix(mark + 3);
  }
  if (const size_t colon = entry.rfind(':'); colon != std::string_view::npos && entry.find(']') == std::string_view::npos &&
                                             entry.find(':') == colon) {
    const std::optional<int> port = ParseDigits<int>(entry.substr(colon + 1));
    if (port && *port != server.port) return false;
    if (port || entry.substr(colon + 1) == "*") entry = entry.substr(0, colon);
  }
  if (entry.size() > 1 && entry.front() == '[' && entry.back() == ']') entry = entry.substr(1, entry.size() - 2);
  return Wildcard(entry, server.host);
}

}  // namespace

std::string SettingsProxy(std::string_view proxyServer, std::string_view scheme) {
  const std::vector<std::string_view> entries = Entries(proxyServer, "; \t");
  std::string socks;
  for (std::string_view entry : entries) {
    const size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      if (entries.size() == 1) return ProxyAsUrl(entry);  // one proxy for every scheme
      continue;
    }
    const std::string_view name = Trim(entry.substr(0, equals)), address = Trim(entry.substr(equals + 1));
    if (address.empty()) continue;
    if (EqualsNoCase(name, scheme)) return ProxyAsUrl(address);
    if (EqualsNoCase(name, "socks") && socks.empty()) socks = "socks4://" + std::string(address);
  }
  return socks;
}

bool SettingsBypass(std::string_view bypassList, const ServerOf& server) {
  for (std::string_view entry : Entries(bypassList, "; \t,"))
    if (EntryBypasses(entry, server)) return true;
  return false;
}

}  // namespace platform
