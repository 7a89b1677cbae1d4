#include "download/CurlTransfer.h"

#include <algorithm>
#include <mutex>

#include "download/TlsTrust.h"
#include "platform/ascii_case.h"
#include "platform/text.h"

namespace ostrel::download {

namespace {

void EnsureCurlReady() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool HasScheme(std::string_view url, std::string_view scheme) {
  return url.size() > scheme.size() && platform::EqualsNoCase(url.substr(0, scheme.size()), scheme) &&
         url[scheme.size()] == ':';
}

// A "Location:" header line whose target is a plain http URL.
bool IsLocationToHttp(std::string_view line) {
  constexpr std::string_view kName = "location:";
  if (line.size() < kName.size() || !platform::EqualsNoCase(line.substr(0, kName.size()), kName)) return false;
  return HasScheme(platform::Trim(line.substr(kName.size())), "http");
}

}  // namespace

CurlTransfer::CurlTransfer(const std::string& url) {
  EnsureCurlReady();
  easy_ = curl_easy_init();
  if (!easy_) return;
  curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, HasScheme(url, "https") ? "https" : "http,https");
  ApplyTlsTrust(easy_);
  curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy_, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy_, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  proxy_.emplace(easy_, url);
  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlTransfer::OnHeader);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlTransfer::OnBody);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorText_);
  requestHeaders_ = curl_slist_append(nullptr, "Accept-Encoding: identity");
  curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, requestHeaders_);
}

CurlTransfer::~CurlTransfer() {
  if (easy_) curl_easy_cleanup(easy_);
  curl_slist_free_all(requestHeaders_);
}

void CurlTransfer::SetRange(const std::string& value) {
  range_ = value;
  if (easy_) curl_easy_setopt(easy_, CURLOPT_RANGE, range_.c_str());
}

void CurlTransfer::SetIfRange(const std::string& value) {
  if (!easy_ || value.empty()) return;
  for (char c : value)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return;
  requestHeaders_ = curl_slist_append(requestHeaders_, ("If-Range: " + value).c_str());
  curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, requestHeaders_);
}

void CurlTransfer::SetHeadOnly() {
  if (easy_) curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
}

void CurlTransfer::SetReceiveBufferSize(long bytes) {
  if (easy_) curl_easy_setopt(easy_, CURLOPT_BUFFERSIZE, bytes);
}

size_t CurlTransfer::OnHeader(char* data, size_t size, size_t count, void* self) {
  auto* transfer = static_cast<CurlTransfer*>(self);
  transfer->lastData_ = std::chrono::steady_clock::now();
  std::string_view line(data, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.empty()) {
    if (transfer->headersDone_) transfer->headersDone_();
  } else {
    transfer->headers_.Feed(line);
    if (transfer->IsDowngrade(line)) {
      transfer->downgradeRefused_ = true;
      return 0;  // ends the transfer before libcurl follows
    }
  }
  return size * count;
}

bool CurlTransfer::IsDowngrade(std::string_view line) const {
  const int status = headers_.Status();
  if (status < 300 || status > 399 || !IsLocationToHttp(line)) return false;
  char* current = nullptr;  // the URL of this hop
  curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &current);
  return current && HasScheme(current, "https");
}

size_t CurlTransfer::OnBody(char* data, size_t size, size_t count, void* self) {
  auto* transfer = static_cast<CurlTransfer*>(self);
  transfer->lastData_ = std::chrono::steady_clock::now();
  const size_t total = size * count;
  if (!transfer->sink_) return total;
  return transfer->sink_(data, total);
}

CURLcode CurlTransfer::Perform(std::chrono::milliseconds readTimeout) {
  using Clock = std::chrono::steady_clock;
  if (!easy_) return CURLE_FAILED_INIT;
  CURLM* multi = curl_multi_init();
  if (!multi) return CURLE_OUT_OF_MEMORY;
  if (curl_multi_add_handle(multi, easy_) != CURLM_OK) {
    curl_multi_cleanup(multi);
    return CURLE_FAILED_INIT;
  }
  lastData_ = Clock::now();
  readTimeout_ = readTimeout;
  CURLcode result = CURLE_OK;
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
    if (running == 0) {
      int queued = 0;
      result = CURLE_GOT_NOTHING;
      while (CURLMsg* message = curl_multi_info_read(multi, &queued))
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) result = message->data.result;
      break;
    }
    if (tick_) tick_();
    if (done_ && done_()) break;  // result stays CURLE_OK
    if (abort_ && abort_()) {
      result = CURLE_ABORTED_BY_CALLBACK;
      break;
    }
    const auto idle = Clock::now() - lastData_;
    if (idle >= readTimeout) {
      result = CURLE_OPERATION_TIMEDOUT;
      break;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(readTimeout - idle);
    const int waitMs = static_cast<int>(std::min<int64_t>(left.count(), kAbortCheckInterval.count()));
    if (curl_multi_poll(multi, nullptr, 0, waitMs, nullptr) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
  }
  curl_multi_remove_handle(multi, easy_);
  curl_multi_cleanup(multi);
  if (result == CURLE_OK) {
    long status = 0;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) result = CURLE_HTTP_RETURNED_ERROR;
  }
  return result;
}

const std::string& CurlTransfer::Proxy() const {
  static const std::string none;
  return proxy_ ? proxy_->Proxy() : none;
}

DownloadFailure CurlTransfer::FailureOf(CURLcode result) const {
  DownloadFailure failure = PlainFailureOf(result);
  return proxy_ ? proxy_->Explain(std::move(failure), easy_, result) : failure;
}

DownloadFailure CurlTransfer::PlainFailureOf(CURLcode result) const {
  if (result == CURLE_OK) return {};
  if (downgradeRefused_) return {FailureKind::Transfer, "redirect from https to http refused"};
  if (result == CURLE_HTTP_RETURNED_ERROR) {
    long status = 0;
    if (easy_) curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
    return {FailureKind::HttpStatus, std::to_string(status)};
  }
  if (result == CURLE_OPERATION_TIMEDOUT)
    return {FailureKind::Transfer, "no data for " + std::to_string(readTimeout_.count()) + " ms"};
  if (result == CURLE_ABORTED_BY_CALLBACK) return {FailureKind::Transfer, "stopped"};
  return {FailureKind::Transfer, errorText_[0] ? errorText_ : curl_easy_strerror(result)};
}

}  // namespace ostrel::download
