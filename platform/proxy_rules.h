// The rules behind ProxyFor, free of any system call so that both systems' rules are tested
// everywhere: the parts of a URL that choose a proxy, the environment variables as libcurl reads
// them, and Windows' proxy server and bypass texts.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct ServerOf {
  std::string scheme;  // lower case, "http" or "https" (or another)
  std::string host;    // lower case, IPv6 without its brackets
  int port = 0;        // the scheme's default when the URL gives none
};

// The server of an absolute URL; nothing for a URL without "scheme://" or a host.
std::optional<ServerOf> ServerOfUrl(std::string_view url);
// "scheme://host:port", the key of the per-base lookup.
std::string ServerBase(const ServerOf& server);
// A proxy address as a URL: "host:port" gets "http://" (Windows' and libcurl's default type).
std::string ProxyAsUrl(std::string_view address);

// --- The environment, as libcurl reads it -------------------------------------------------
using EnvironmentReader = std::function<std::optional<std::string>(const char* name)>;
// The proxy libcurl takes for server: "<scheme>_proxy" (http_proxy only in lower case, the
// others in either), else all_proxy / ALL_PROXY; none when no_proxy / NO_PROXY names the host.
std::string EnvironmentProxy(const ServerOf& server, const EnvironmentReader& read);
// A no_proxy list names host: "*", the host itself, or a domain it lies in (".example.com" and
// "example.com" both take "a.example.com"); entries are separated by commas or blanks.
bool NoProxyNames(std::string_view list, std::string_view host);

// --- Windows' Internet settings -------------------------------------------------------------
// The proxy that a ProxyServer text gives for scheme: "host:port" for every scheme, or
// "http=h1:p1;https=h2:p2;socks=h3:p3" per scheme (socks for schemes without their own entry,
// as "socks4://"). Empty when none applies.
std::string SettingsProxy(std::string_view proxyServer, std::string_view scheme);
// A ProxyOverride text (entries separated by ";", blanks or commas) bypasses the proxy for
// server: "<local>" takes host names without a dot; other entries are patterns with "*" matched
// against the host without regard to case, optionally with "scheme://" before and ":port" after.
bool SettingsBypass(std::string_view bypassList, const ServerOf& server);

}  // namespace platform
