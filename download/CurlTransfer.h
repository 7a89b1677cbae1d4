// One HTTP request of the engine on its own libcurl handle: plain HTTP only (also after
// redirects), redirects followed up to 15 times, the engine's User-Agent, HTTP/1.1, failure on a
// final status outside 200 to 299, and a read time-out: the transfer fails when no data (header
// or body bytes) has arrived for a given time, measured with millisecond precision.
#pragma once

#include <curl/curl.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "download/ResponseHeaders.h"

namespace download {

inline constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; Maxthon)";
inline constexpr long kMaxRedirects = 15;

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
  void SetHeadOnly();
  void SetBodySink(BodySink sink) { sink_ = std::move(sink); }
  // Perform ends as soon as done() holds after a piece of the response has been handled, without
  // waiting for the rest of the response or for the read time-out; it then returns CURLE_OK.
  void SetDoneCheck(std::function<bool()> done) { done_ = std::move(done); }
  void SetReceiveBufferSize(long bytes);

  // Runs the request to its end. CURLE_OPERATION_TIMEDOUT when no data came for readTimeout;
  // CURLE_HTTP_RETURNED_ERROR also for a final status outside 200 to 299 that libcurl lets pass.
  CURLcode Perform(std::chrono::milliseconds readTimeout);

  const ResponseHeaders& Headers() const { return headers_; }

 private:
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static size_t OnBody(char* data, size_t size, size_t count, void* self);

  CURL* easy_ = nullptr;
  std::string range_;
  BodySink sink_;
  std::function<bool()> done_;
  ResponseHeaders headers_;
  std::chrono::steady_clock::time_point lastData_;
};

}  // namespace download
