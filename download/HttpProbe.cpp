#include "download/HttpProbe.h"

#include "download/CurlTransfer.h"

namespace ostrel::download {

int32_t ProbeRemoteSize(const std::string& url, std::chrono::milliseconds readTimeout,
                        DownloadFailure* why, std::string* validator) {
  CurlTransfer request(url);
  request.SetHeadOnly();
  const CURLcode result = request.Perform(readTimeout);
  DownloadFailure failure = request.FailureOf(result);
  int32_t size = 0;
  if (!failure) {
    size = request.Headers().ContentLength().value_or(-1);
    if (size == 0) failure = {FailureKind::SizeUnknown, "Content-Length 0"};
    if (size < 0) failure = {FailureKind::SizeUnknown, "no Content-Length in the HEAD response"};
  }
  if (why) *why = std::move(failure);
  if (validator) *validator = request.Headers().Validator();
  return size;
}

}  // namespace ostrel::download
