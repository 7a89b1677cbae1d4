// The size probe: one HEAD request for the resource.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "download/DownloadFailure.h"

namespace ostrel::download {

inline constexpr std::chrono::milliseconds kProbeReadTimeout{3000};

// The Content-Length of the final response: -1 if it is missing or not a signed 32-bit number;
// 0 if the request fails (no connection, time-out, https, too many redirects, a final status
// outside 200 to 299).
// When why is given, it receives the reason for a result of 0 or less; validator receives what
// names this version of the resource (see ResponseHeaders::Validator).
int32_t ProbeRemoteSize(const std::string& url,
                        std::chrono::milliseconds readTimeout = kProbeReadTimeout,
                        DownloadFailure* why = nullptr, std::string* validator = nullptr);

}  // namespace ostrel::download
