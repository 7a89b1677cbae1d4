#include "download/HttpProbe.h"

#include "download/CurlTransfer.h"

namespace download {

int32_t ProbeRemoteSize(const std::string& url, std::chrono::milliseconds readTimeout) {
  CurlTransfer request(url);
  request.SetHeadOnly();
  if (request.Perform(readTimeout) != CURLE_OK) return 0;
  return request.Headers().ContentLength().value_or(-1);
}

}  // namespace download
