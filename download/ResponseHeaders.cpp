#include "download/ResponseHeaders.h"

#include "platform/ascii_case.h"
#include "platform/text.h"

namespace ostrel::download {

using platform::EqualsNoCase;

namespace {

using platform::Trim;

// Digits only, no sign; nothing on overflow of int64.
std::optional<int64_t> ParseOffset(std::string_view text) { return platform::ParseDigits<int64_t>(text); }

// "bytes A-B/C" or "bytes A-B/*"
std::optional<ContentRange> ParseContentRange(std::string_view value) {
  value = Trim(value);
  constexpr std::string_view kUnit = "bytes";
  if (value.size() <= kUnit.size() || !EqualsNoCase(value.substr(0, kUnit.size()), kUnit))
    return std::nullopt;
  value = Trim(value.substr(kUnit.size()));
  const size_t dash = value.find('-');
  const size_t slash = value.find('/');
  if (dash == std::string_view::npos || slash == std::string_view::npos || slash < dash)
    return std::nullopt;
  const auto first = ParseOffset(value.substr(0, dash));
  const auto last = ParseOffset(value.substr(dash + 1, slash - dash - 1));
  if (!first || !last || *last < *first) return std::nullopt;
  ContentRange range{*first, *last, std::nullopt};
  const std::string_view total = Trim(value.substr(slash + 1));
  if (total != "*") {
    range.Total = ParseOffset(total);
    if (!range.Total || *range.Total <= *last) return std::nullopt;
  }
  return range;
}

}  // namespace

std::optional<int32_t> ParseInt32(std::string_view text) { return platform::ParseInt32(Trim(text)); }

void ResponseHeaders::Feed(std::string_view line) {
  if (line.size() >= 5 && line.substr(0, 5) == "HTTP/") {
    *this = ResponseHeaders();
    const size_t blank = line.find(' ');
    if (blank != std::string_view::npos) {
      std::string_view code = line.substr(blank + 1, 3);
      if (code.size() == 3 && platform::IsDigit(code[0]) && platform::IsDigit(code[1]) &&
          platform::IsDigit(code[2]))
        status_ = (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
    }
    return;
  }
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) return;
  const std::string_view name = Trim(line.substr(0, colon));
  const std::string_view value = line.substr(colon + 1);
  if (EqualsNoCase(name, "Content-Length")) {
    hasContentLength_ = true;
    contentLength_ = ParseInt32(value);
  } else if (EqualsNoCase(name, "Content-Range")) {
    contentRange_ = ParseContentRange(value);
  } else if (EqualsNoCase(name, "Content-Encoding")) {
    contentEncoding_ = std::string(Trim(value));
  } else if (EqualsNoCase(name, "ETag")) {
    etag_ = std::string(Trim(value));
  } else if (EqualsNoCase(name, "Last-Modified")) {
    lastModified_ = std::string(Trim(value));
  }
}

std::string ResponseHeaders::Validator() const {
  const bool strongTag = etag_.size() >= 2 && etag_.front() == '"' && etag_.back() == '"';
  return strongTag ? etag_ : lastModified_;
}

std::optional<int64_t> ResponseHeaders::BodyOffset() const {
  if (status_ != 206) return 0;
  return ContentRangeStart();
}

}  // namespace ostrel::download
