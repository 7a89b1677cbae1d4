// What the engine reads from the headers of the final HTTP response: the status, the
// Content-Length and the first offset of a Content-Range. Fed one header line at a time; a new
// status line (a redirect, an interim response) starts over.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace download {

class ResponseHeaders {
 public:
  void Feed(std::string_view line);

  int Status() const { return status_; }  // 0 until a status line has been seen
  // The Content-Length as a signed 32-bit number; nothing if absent or not such a number.
  std::optional<int32_t> ContentLength() const { return contentLength_; }
  bool HasContentLength() const { return hasContentLength_; }
  // The first byte offset of "Content-Range: bytes A-B/C"; nothing if absent or malformed.
  std::optional<int64_t> ContentRangeStart() const { return contentRangeStart_; }

  // The offset in the resource at which the body of this response starts: the Content-Range's
  // first offset for 206, else 0. Nothing for a 206 without a readable Content-Range.
  std::optional<int64_t> BodyOffset() const;

 private:
  int status_ = 0;
  bool hasContentLength_ = false;
  std::optional<int32_t> contentLength_;
  std::optional<int64_t> contentRangeStart_;
};

// Reads text (blanks around it allowed) as a signed 32-bit decimal number.
std::optional<int32_t> ParseInt32(std::string_view text);

}  // namespace download
