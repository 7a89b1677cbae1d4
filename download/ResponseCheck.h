// What a worker accepts as the answer to its range request, judged on the headers before any byte
// of the body is written:
//   - no Content-Encoding other than identity;
//   - a 206 whose Content-Range starts at the asked offset, ends no earlier than the segment's
//     last byte, names the resource's TotalSize as its total, and whose Content-Length (when sent)
//     is the range's length;
//   - another 2xx (the whole resource) only for a request from offset 0, with a Content-Length of
//     exactly TotalSize.
// Anything else would put wrong bytes into the segment or leave it short.
#pragma once

#include <cstdint>
#include <string>

#include "download/DownloadFailure.h"
#include "download/ResponseHeaders.h"

namespace ostrel::download {

// position: the first byte asked for; endPos: the segment's exclusive end; totalSize: the size
// the whole download works with. A failure of kind None means the body may be written.
// ifRange: the validator the request carried as If-Range (empty: none). A whole response whose own
// validator differs is another version of the resource: the server answered If-Range with it.
DownloadFailure CheckSegmentResponse(const ResponseHeaders& headers, int64_t position,
                                     int32_t endPos, int32_t totalSize, const std::string& ifRange = {});

}  // namespace ostrel::download
