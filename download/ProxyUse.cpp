#include "download/ProxyUse.h"

namespace ostrel::download {

ProxyUse::ProxyUse(CURL* easy, const std::string& url) : route_(platform::ProxyFor(url)) {
  if (!easy) return;
  // The proxy's answer to CONNECT is not the server's: its headers stay out of the response's.
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  if (route_.fromEnvironment) return;  // libcurl reads http_proxy, https_proxy, no_proxy itself
  // The settings' choice is final: an empty proxy means none, and no_proxy has no say.
  curl_easy_setopt(easy, CURLOPT_PROXY, route_.proxy.c_str());
  curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
}

DownloadFailure ProxyUse::Explain(DownloadFailure failure, CURL* easy, CURLcode result) const {
  if (!failure || route_.proxy.empty() || !easy) return failure;
  failure.proxy = route_.proxy;
  long connectCode = 0;
  curl_easy_getinfo(easy, CURLINFO_HTTP_CONNECTCODE, &connectCode);
  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  if (connectCode != 0 && (connectCode < 200 || connectCode > 299)) {
    failure.kind = FailureKind::ProxyRefused;
    failure.detail = "CONNECT answered " + ProxyStatusText(connectCode);
  } else if (result == CURLE_HTTP_RETURNED_ERROR && status == 407) {
    failure.kind = FailureKind::ProxyRefused;
    failure.detail = "HTTP " + ProxyStatusText(status);
  } else if (result == CURLE_COULDNT_CONNECT || result == CURLE_COULDNT_RESOLVE_PROXY) {
    failure.kind = FailureKind::ProxyUnreachable;
  }
  return failure;
}

std::string ProxyStatusText(long status) {
  switch (status) {
    case 403: return "403 Forbidden";
    case 407: return "407 Proxy Authentication Required";
    case 502: return "502 Bad Gateway";
    case 503: return "503 Service Unavailable";
    case 504: return "504 Gateway Timeout";
    default: return std::to_string(status);
  }
}

}  // namespace ostrel::download
