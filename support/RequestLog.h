// The failures of single requests (the manifest, the components, the package's fallback), for
// whoever looks into a failed install: one line each, kept in memory for the life of the
// process, like a download job's log. Nothing writes it to disk.
#pragma once

#include <string>

#include "download/DownloadLog.h"

namespace ostrel::support {

TDownloadLog& SingleRequestLog();

// Appends "[<local time>] 下载失败：<url>：<reason>".
void NoteSingleRequestFailure(const std::string& url, const std::string& reason);

}  // namespace ostrel::support
