#include "app/Servers.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/ascii_case.h"
#include "platform/text.h"

#ifndef OSTREL_DOWNLOAD_SERVER_URL
#define OSTREL_DOWNLOAD_SERVER_URL "http://download.ostrel.example/"
#endif
#ifndef OSTREL_WEB_SERVER_URL
#define OSTREL_WEB_SERVER_URL "http://www.ostrel.example/"
#endif

namespace ostrel::app {
namespace {

constexpr std::string_view kSchemes[] = {"http://", "https://"};

// The length of the value's scheme with its "://"; 0 for another scheme.
size_t SchemeLength(const std::string& value) {
  for (std::string_view scheme : kSchemes)
    if (value.size() > scheme.size() && platform::EqualsNoCase(value.substr(0, scheme.size()), scheme))
      return scheme.size();
  return 0;
}

// The authority of a URL ("host", "host:port", "[v6]:port") split into the host and the port
// text after its colon (empty without one).
struct Authority {
  std::string host;
  std::optional<std::string> port;
};
Authority SplitAuthority(const std::string& authority) {
  const size_t bracket = authority.rfind(']');
  const size_t colon = authority.rfind(':');
  if (colon == std::string::npos || (bracket != std::string::npos && colon < bracket)) return {authority, std::nullopt};
  return {authority.substr(0, colon), authority.substr(colon + 1)};
}

struct Setting {
  const char* variable;
  const char* builtIn;  // nullptr: derived from another base
};
constexpr Setting kDownload{"OSTREL_DOWNLOAD_SERVER", OSTREL_DOWNLOAD_SERVER_URL};
constexpr Setting kWeb{"OSTREL_WEB_SERVER", OSTREL_WEB_SERVER_URL};
constexpr Setting kWebAlt{"OSTREL_WEB_SERVER_ALT", nullptr};

// The value in force: the environment's when set (even when empty, which is then refused).
std::optional<std::string> Value(const Setting& s) {
  if (const char* env = std::getenv(s.variable)) return std::string(env);
  if (s.builtIn) return std::string(s.builtIn);
  return std::nullopt;
}

std::string Refusal(const Setting& s, const std::string& value) {
  return std::string(s.variable) + ": \"" + value + "\" is not an http or https URL (http[s]://host[:port]/[path])";
}

std::string BaseOf(const Setting& s) {
  const std::string value = Value(s).value_or("");
  if (auto base = ServerBase(value)) return *base;
  throw std::runtime_error(Refusal(s, value));
}

}  // namespace

std::optional<std::string> ServerBase(const std::string& value) {
  const size_t schemeLength = SchemeLength(value);
  if (schemeLength == 0) return std::nullopt;
  for (char c : value)
    if (platform::IsBlankOrControl(c) || static_cast<unsigned char>(c) >= 0x7F) return std::nullopt;
  const std::string rest = value.substr(schemeLength);
  const std::string authority = rest.substr(0, rest.find_first_of("/?#"));
  if (authority.empty() || authority.find('@') != std::string::npos) return std::nullopt;
  const Authority parts = SplitAuthority(authority);
  if (parts.host.empty()) return std::nullopt;
  if (parts.port) {
    const auto port = platform::ParseDigits<int>(*parts.port);
    if (!port || *port < 1 || *port > 65535) return std::nullopt;
  }
  if (rest.find_first_of("?#") != std::string::npos) return std::nullopt;
  return value.back() == '/' ? value : value + "/";
}

std::string WithPort(const std::string& base, int port) {
  const size_t hostStart = SchemeLength(base);
  const size_t hostEnd = base.find('/', hostStart);
  const Authority parts = SplitAuthority(base.substr(hostStart, hostEnd - hostStart));
  return base.substr(0, hostStart) + parts.host + ":" + std::to_string(port) + base.substr(hostEnd);
}

std::string DownloadServer() { return BaseOf(kDownload); }
std::string WebServer() { return BaseOf(kWeb); }

std::string WebServerAlt() {
  if (Value(kWebAlt)) return BaseOf(kWebAlt);
  return WithPort(WebServer(), 8080);
}

std::string CheckServers() {
  for (const Setting* s : {&kDownload, &kWeb, &kWebAlt}) {
    const auto value = Value(*s);
    if (value && !ServerBase(*value)) return Refusal(*s, *value);
  }
  return {};
}

}  // namespace ostrel::app
