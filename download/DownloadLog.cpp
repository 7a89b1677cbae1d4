#include "download/DownloadLog.h"

#include <cstdio>

#include "platform/local_time.h"

void TDownloadLog::Append(std::string line) {
  std::lock_guard<std::mutex> guard(lock_);
  lines_.push_back(std::move(line));
}

void TDownloadLog::Clear() {
  std::lock_guard<std::mutex> guard(lock_);
  lines_.clear();
}

std::vector<std::string> TDownloadLog::Lines() const {
  std::lock_guard<std::mutex> guard(lock_);
  return lines_;
}

namespace ostrel::download {

std::string FormatLogTime(std::time_t when) {
  const std::tm local = platform::LocalTime(when);
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

std::string ControllerLine(const std::string& text) {
  return "[" + FormatLogTime(std::time(nullptr)) + "] " + text;
}

namespace logtext {

std::string EnterResumeBranch(int32_t totalSize) {
  return "进入下载分支0：" + std::to_string(totalSize) + " 字节。";
}
std::string EnterFreshBranch(int32_t totalSize) {
  return "进入下载分支1：" + std::to_string(totalSize) + " 字节。";
}
std::string GotSize(int32_t totalSize) {
  return "取得资源原始大小：" + std::to_string(totalSize) + " 字节。";
}
std::string GotSizeAgain(int32_t totalSize) {
  return "重新取得资源原始大小：" + std::to_string(totalSize) + " 字节。";
}
std::string WorkerFailed(int32_t index) { return "线程" + std::to_string(index) + "下载异常."; }
std::string WorkerEnded(int32_t index) { return "线程" + std::to_string(index) + "完成退出."; }
std::string ProxyFailure(const std::string& reason) { return "经代理服务器的请求失败：" + reason; }

}  // namespace logtext
}  // namespace ostrel::download
