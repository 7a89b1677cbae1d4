// What the engine reads from the headers of the final HTTP response: the status, the
// Content-Length, the Content-Range and the Content-Encoding. Fed one header line at a time; a new
// status line (a redirect, an interim response) starts over.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel::download {

// "Content-Range: bytes First-Last/Total"; Total is absent for "*".
struct ContentRange {
  int64_t First = 0;
  int64_t Last = 0;
  std::optional<int64_t> Total;
};

class ResponseHeaders {
 public:
  void Feed(std::string_view line);

  int Status() const { return status_; }  // 0 until a status line has been seen
  // The Content-Length as a signed 32-bit number; nothing if absent or not such a number.
  std::optional<int32_t> ContentLength() const { return contentLength_; }
  bool HasContentLength() const { return hasContentLength_; }
  // Nothing if absent or malformed.
  const std::optional<ContentRange>& Range() const { return contentRange_; }
  std::optional<int64_t> ContentRangeStart() const {
    return contentRange_ ? std::optional<int64_t>(contentRange_->First) : std::nullopt;
  }
  // The Content-Encoding value as sent, blanks trimmed; empty when absent.
  const std::string& ContentEncoding() const { return contentEncoding_; }
  // What names this version of the resource for an If-Range request: a strong ETag, else the
  // Last-Modified date; empty when the response has neither (a weak ETag never validates a range).
  std::string Validator() const;

  // The offset in the resource at which the body of this response starts: the Content-Range's
  // first offset for 206, else 0. Nothing for a 206 without a readable Content-Range.
  std::optional<int64_t> BodyOffset() const;

 private:
  int status_ = 0;
  bool hasContentLength_ = false;
  std::optional<int32_t> contentLength_;
  std::optional<ContentRange> contentRange_;
  std::string contentEncoding_;
  std::string etag_;
  std::string lastModified_;
};

// Reads text (blanks around it allowed) as a signed 32-bit decimal number.
std::optional<int32_t> ParseInt32(std::string_view text);

}  // namespace ostrel::download
