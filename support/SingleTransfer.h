// The request of one FetchToFile call: a GET on the engine's HTTP client whose body goes into an
// open file, bounded by the call's options and judged as SingleDownload.h describes (everything
// there but the naming of files).
#pragma once

#include <string>

#include "platform/file.h"
#include "support/SingleDownload.h"

// Writes the body of url into file from its current position. refuseHtml: the target is a
// program, package or archive, so an HTML page is refused.
FetchResult ReceiveBody(const std::string& url, platform::File& file, const DownloadOptions& options,
                        const DownloadProgressHandlers* progress, bool refuseHtml);
