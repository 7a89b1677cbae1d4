// The proxy of one request: set on its handle as ProxyFor (platform/proxy.h) says, and the
// failures it explains. Requests of an https base go through it with CONNECT and verify the
// server's certificate as any other (the tunnel carries TLS end to end).
#pragma once

#include <curl/curl.h>

#include <string>

#include "download/DownloadFailure.h"
#include "platform/proxy.h"

namespace ostrel::download {

class ProxyUse {
 public:
  ProxyUse(CURL* easy, const std::string& url);

  // "http://host:port", or empty when the request goes straight to the server.
  const std::string& Proxy() const { return route_.proxy; }

  // failure (of result) as the proxy's where it is: no connection to the proxy, or its refusal
  // (an answer to CONNECT outside 2xx, or a 407 status on a plain http request). Every failure
  // through a proxy names it.
  DownloadFailure Explain(DownloadFailure failure, CURL* easy, CURLcode result) const;

 private:
  platform::ProxyRoute route_;
};

// "407 Proxy Authentication Required", "403 Forbidden", or the number alone.
std::string ProxyStatusText(long status);

}  // namespace ostrel::download
