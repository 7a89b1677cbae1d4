#include "support/RequestLog.h"

namespace ostrel::support {

TDownloadLog& SingleRequestLog() {
  static TDownloadLog log;
  return log;
}

void NoteSingleRequestFailure(const std::string& url, const std::string& reason) {
  SingleRequestLog().Append(download::ControllerLine("下载失败：" + url + "：" + reason));
}

}  // namespace ostrel::support
