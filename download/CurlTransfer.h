// One HTTP request of the engine on its own libcurl handle: http and https only (also after
// redirects; a request that began with https stays on https, and a redirect from an https hop to
// an http URL ends the transfer), certificates verified as TlsTrust.h describes, redirects
// followed up to 15 times, the engine's User-Agent, HTTP/1.1, failure on a
// final status outside 200 to 299, and a read time-out: the transfer fails when no data (header
// or body bytes) has arrived for a given time, measured with millisecond precision. Every request
// goes through the proxy that the user's settings give for its URL (ProxyUse.h) and asks for
// the identity coding: bodies are stored as sent, never decoded.
#pragma once

#include <curl/curl.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "download/DownloadFailure.h"
#include "download/ProxyUse.h"
#include "download/ResponseHeaders.h"

namespace ostrel::download {

inline constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; Maxthon)";
inline constexpr long kMaxRedirects = 15;
inline constexpr std::chrono::milliseconds kAbortCheckInterval{100};

class CurlTransfer {
 public:
  // Takes body bytes; returns how many it consumed (fewer than given ends the transfer).
  using BodySink = std::function<size_t(const char* data, size_t size)>;

  explicit CurlTransfer(const std::string& url);
  ~CurlTransfer();
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  CURL* Handle() { return easy_; }
  void SetRange(const std::string& value);  // "A-B", sent as "Range: bytes=A-B"
  // Sent as "If-Range: value" (an ETag or a date); a value with a control character is not sent.
  void SetIfRange(const std::string& value);
  void SetHeadOnly();
  void SetBodySink(BodySink sink) { sink_ = std::move(sink); }
  // Perform ends as soon as done() holds after a piece of the response has been handled, without
  // waiting for the rest of the response or for the read time-out; it then returns CURLE_OK.
  void SetDoneCheck(std::function<bool()> done) { done_ = std::move(done); }
  void SetReceiveBufferSize(long bytes);
  // Perform also ends, with CURLE_ABORTED_BY_CALLBACK, within kAbortCheckInterval of abort()
  // becoming true, whether data flows, the server stalls or the headers are still awaited.
  void SetAbortCheck(std::function<bool()> abort) { abort_ = std::move(abort); }
  // Called after every round of the transfer: after each batch of data has been handled, and at
  // least every kAbortCheckInterval while the connection is quiet.
  void SetTick(std::function<void()> tick) { tick_ = std::move(tick); }
  // Called at the end of each response's headers (a redirect's too); Headers() then describes it.
  void SetHeadersDone(std::function<void()> done) { headersDone_ = std::move(done); }

  // Runs the request to its end. CURLE_OPERATION_TIMEDOUT when no data came for readTimeout;
  // CURLE_HTTP_RETURNED_ERROR also for a final status outside 200 to 299 that libcurl lets pass.
  CURLcode Perform(std::chrono::milliseconds readTimeout);

  const ResponseHeaders& Headers() const { return headers_; }

  // The failure a result of Perform stands for (kind None for CURLE_OK), with libcurl's reason;
  // the proxy's refusal where it was one, and the proxy named in any case.
  DownloadFailure FailureOf(CURLcode result) const;
  // The proxy the request goes through ("http://host:port"); empty: none.
  const std::string& Proxy() const;

 private:
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static size_t OnBody(char* data, size_t size, size_t count, void* self);
  // The header line is a redirect's Location from an https hop to an http URL.
  bool IsDowngrade(std::string_view line) const;
  DownloadFailure PlainFailureOf(CURLcode result) const;

  CURL* easy_ = nullptr;
  std::string range_;
  BodySink sink_;
  std::function<bool()> done_;
  std::function<bool()> abort_;
  std::function<void()> tick_;
  std::function<void()> headersDone_;
  curl_slist* requestHeaders_ = nullptr;
  std::chrono::milliseconds readTimeout_{0};
  bool downgradeRefused_ = false;
  char errorText_[CURL_ERROR_SIZE] = {};
  ResponseHeaders headers_;
  std::optional<ProxyUse> proxy_;
  std::chrono::steady_clock::time_point lastData_;
};

}  // namespace ostrel::download
