#include "support/SingleTransfer.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "download/CurlTransfer.h"
#include "platform/ascii_case.h"
#include "platform/text.h"
#include "support/HtmlBody.h"

namespace {

using Clock = std::chrono::steady_clock;

// A header of the response being received; nothing when it is absent.
std::optional<std::string> HeaderOf(CURL* easy, const char* name) {
  curl_header* header = nullptr;
  if (curl_easy_header(easy, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK || !header) return std::nullopt;
  return std::string(header->value);
}

class SingleTransfer {
 public:
  SingleTransfer(const std::string& url, platform::File& file, const DownloadOptions& options,
                 const DownloadProgressHandlers* progress, bool refuseHtml)
      : request_(url), file_(file), options_(options), progress_(progress), refuseHtml_(refuseHtml) {}

  FetchResult Run() {
    if (options_.deadline.count() > 0) deadline_ = Clock::now() + options_.deadline;
    if (ShouldStop()) return Judge(CURLE_ABORTED_BY_CALLBACK);
    request_.SetHeadersDone([this] { OnHeadersDone(); });
    request_.SetBodySink([this](const char* data, size_t size) { return TakeBody(data, size); });
    request_.SetAbortCheck([this] { return ShouldStop(); });
    const CURLcode result = request_.Perform(options_.idleTimeout);
    if (begun_ && progress_->end) progress_->end();
    return Judge(result);
  }

 private:
  bool FinalSuccess() const {
    const int status = request_.Headers().Status();
    return status >= 200 && status <= 299;
  }

  void Refuse(FetchError error, std::string reason) {
    if (!refusal_.reason.empty()) return;
    refusal_ = {error, std::move(reason)};
  }

  // The final response's headers decide whether its body is wanted at all.
  void OnHeadersDone() {
    if (!FinalSuccess()) return;  // a redirect, or an error status that fails the transfer
    const std::string& encoding = request_.Headers().ContentEncoding();
    if (!encoding.empty() && !platform::EqualsNoCase(encoding, "identity"))
      return Refuse(FetchError::Encoded, "Content-Encoding " + encoding);
    if (refuseHtml_ && IsHtmlMediaType(HeaderOf(request_.Handle(), "Content-Type").value_or("")))
      return Refuse(FetchError::Html, "an HTML page (Content-Type text/html)");
    if (const auto length = HeaderOf(request_.Handle(), "Content-Length")) {
      expected_ = platform::ParseDigits<int64_t>(platform::Trim(*length));
      if (!expected_) return Refuse(FetchError::Transfer, "unreadable Content-Length \"" + *length + "\"");
      if (options_.maxBytes > 0 && *expected_ > options_.maxBytes)
        return Refuse(FetchError::TooLarge, "Content-Length " + *length + " over the limit");
    }
    Begin(expected_.value_or(0));
  }

  size_t TakeBody(const char* data, size_t size) {
    if (!FinalSuccess()) return size;  // not the body we want; the status decides later
    if (!refusal_.reason.empty()) return 0;
    if (options_.maxBytes > 0 && received_ + static_cast<int64_t>(size) > options_.maxBytes) {
      Refuse(FetchError::TooLarge, "more than " + std::to_string(options_.maxBytes) + " bytes");
      return 0;
    }
    if (!file_.Write(data, size)) {
      Refuse(FetchError::LocalFile, std::string("the file can't be written: ") + platform::FileErrorText(file_.Error()));
      return 0;
    }
    if (head_.size() < kHtmlSniffBytes) head_.append(data, std::min(size, kHtmlSniffBytes - head_.size()));
    received_ += static_cast<int64_t>(size);
    Begin(0);
    if (progress_ && progress_->work) progress_->work(received_);
    return size;
  }

  void Begin(int64_t expected) {
    if (!progress_ || begun_) return;
    begun_ = true;
    if (progress_->begin) progress_->begin(expected);
  }

  bool ShouldStop() {
    if (!refusal_.reason.empty() || aborted_ || deadlinePassed_) return true;
    aborted_ = options_.abort && options_.abort();
    deadlinePassed_ = deadline_ && Clock::now() >= *deadline_;
    return aborted_ || deadlinePassed_;
  }

  FetchResult Judge(CURLcode result) const {
    if (!refusal_.reason.empty()) return refusal_;
    if (aborted_) return {FetchError::Aborted, "stopped"};
    if (deadlinePassed_) return {FetchError::Deadline, "not done within " + std::to_string(options_.deadline.count()) + " ms"};
    if (result == CURLE_HTTP_RETURNED_ERROR) return {FetchError::HttpStatus, request_.FailureOf(result).Text()};
    if (result == CURLE_OPERATION_TIMEDOUT) return {FetchError::IdleTimeout, request_.FailureOf(result).Text()};
    if (result == CURLE_PARTIAL_FILE) return {FetchError::Short, request_.FailureOf(result).Text()};
    if (result != CURLE_OK) return {FetchError::Transfer, request_.FailureOf(result).Text()};
    if (expected_ && received_ != *expected_)
      return {FetchError::Short, std::to_string(received_) + " of " + std::to_string(*expected_) + " bytes"};
    if (received_ == 0) return {FetchError::Empty, "an empty body"};
    if (refuseHtml_ && StartsLikeHtml(head_)) return {FetchError::Html, "an HTML page"};
    return {};
  }

  ostrel::download::CurlTransfer request_;
  platform::File& file_;
  const DownloadOptions& options_;
  const DownloadProgressHandlers* progress_;
  const bool refuseHtml_;
  std::optional<Clock::time_point> deadline_;
  std::optional<int64_t> expected_;  // the final response's Content-Length
  int64_t received_ = 0;
  std::string head_;  // the body's first bytes
  FetchResult refusal_;
  bool aborted_ = false, deadlinePassed_ = false, begun_ = false;
};

}  // namespace

FetchResult ReceiveBody(const std::string& url, platform::File& file, const DownloadOptions& options,
                        const DownloadProgressHandlers* progress, bool refuseHtml) {
  return SingleTransfer(url, file, options, progress, refuseHtml).Run();
}
