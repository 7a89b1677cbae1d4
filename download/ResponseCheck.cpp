#include "download/ResponseCheck.h"

#include <algorithm>
#include <string>

#include "platform/ascii_case.h"

namespace ostrel::download {

namespace {

DownloadFailure Mismatch(std::string detail) {
  return {FailureKind::LengthMismatch, std::move(detail)};
}

DownloadFailure CheckPartial(const ResponseHeaders& headers, int64_t position, int32_t endPos,
                             int32_t totalSize) {
  const auto& range = headers.Range();
  if (!range) return {FailureKind::RangeNotHonoured, "206 without a readable Content-Range"};
  if (range->First != position)
    return {FailureKind::RangeNotHonoured, "asked from " + std::to_string(position) +
                                               ", the body starts at " + std::to_string(range->First)};
  if (!range->Total || *range->Total != totalSize)
    return Mismatch("Content-Range total " + (range->Total ? std::to_string(*range->Total) : "*") +
                    ", expected " + std::to_string(totalSize));
  const int64_t lastNeeded = std::min<int64_t>(endPos, int64_t{totalSize} - 1);
  if (range->Last < lastNeeded)
    return Mismatch("Content-Range ends at " + std::to_string(range->Last) + ", expected " +
                    std::to_string(lastNeeded));
  const int64_t length = range->Last - range->First + 1;
  if (headers.HasContentLength() && headers.ContentLength() != length)
    return Mismatch("Content-Length disagrees with Content-Range");
  return {};
}

DownloadFailure CheckWhole(const ResponseHeaders& headers, int64_t position, int32_t totalSize) {
  if (position != 0)
    return {FailureKind::RangeNotHonoured, "status " + std::to_string(headers.Status()) +
                                               " instead of 206 for a request from " +
                                               std::to_string(position)};
  if (!headers.ContentLength())
    return Mismatch("status " + std::to_string(headers.Status()) + " without Content-Length");
  if (*headers.ContentLength() != totalSize)
    return Mismatch("Content-Length " + std::to_string(*headers.ContentLength()) + ", expected " +
                    std::to_string(totalSize));
  return {};
}

}  // namespace

DownloadFailure CheckSegmentResponse(const ResponseHeaders& headers, int64_t position,
                                     int32_t endPos, int32_t totalSize, const std::string& ifRange) {
  const int status = headers.Status();
  if (status < 200 || status > 299) return {FailureKind::HttpStatus, std::to_string(status)};
  const std::string& coding = headers.ContentEncoding();
  if (!coding.empty() && !platform::EqualsNoCase(coding, "identity"))
    return {FailureKind::ContentEncoding, coding};
  if (status == 206) return CheckPartial(headers, position, endPos, totalSize);
  if (!ifRange.empty() && headers.Validator() != ifRange)
    return {FailureKind::ResourceChanged, "asked for " + ifRange + ", got " + headers.Validator()};
  return CheckWhole(headers, position, totalSize);
}

}  // namespace ostrel::download
