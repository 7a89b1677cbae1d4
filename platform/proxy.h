// Which proxy a request goes through: the one the user's settings give for its URL.
//
// Windows: the current user's Internet settings (WinHttpGetIEProxyConfigForCurrentUser): a fixed
// proxy, per scheme or for all, with its bypass list ("<local>" included); where automatic
// detection or a configuration script is set, WinHttpGetProxyForUrl asks that first. Each server
// base (scheme, host and port) is looked up once per process; later URLs of the base get the same
// route.
// Linux: libcurl reads http_proxy, https_proxy, all_proxy and no_proxy itself; the route says so
// and names the proxy those variables give, so that messages can say which one was used.
#pragma once

#include <string>

namespace platform {

struct ProxyRoute {
  // The proxy as a URL ("http://host:port"); empty: straight to the server.
  std::string proxy;
  // true: libcurl decides from the environment (and agrees with proxy); false: proxy is to be
  // set on the request as it is, an empty one meaning none, whatever the environment says.
  bool fromEnvironment = false;
};

ProxyRoute ProxyFor(const std::string& url);

}  // namespace platform
