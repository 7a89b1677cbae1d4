// The download log: an ordered list of text lines, appended to by the controller and the workers.
// Controller lines start with the local time in brackets; worker lines carry no time.
#pragma once

#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

class TDownloadLog {
 public:
  void Append(std::string line);
  void Clear();
  std::vector<std::string> Lines() const;

 private:
  mutable std::mutex lock_;
  std::vector<std::string> lines_;
};

namespace ostrel::download {

// "yyyy-mm-dd hh:nn:ss" in local time.
std::string FormatLogTime(std::time_t when);

// "[<local time now>] " + text.
std::string ControllerLine(const std::string& text);

// The texts of the log. Controller texts get the time prefix through ControllerLine.
namespace logtext {
std::string EnterResumeBranch(int32_t totalSize);  // "进入下载分支0：%d 字节。"
std::string EnterFreshBranch(int32_t totalSize);   // "进入下载分支1：%d 字节。"
std::string GotSize(int32_t totalSize);            // "取得资源原始大小：%d 字节。"
std::string GotSizeAgain(int32_t totalSize);       // "重新取得资源原始大小：%d 字节。"
inline constexpr const char* kCreatingReceiveFile = "开始创建接收文件... ...";
inline constexpr const char* kCreateReceiveFileFailed = "创建接收文件失败.";
inline constexpr const char* kCreateReceiveFileDone = "创建接收文件成功.";
inline constexpr const char* kReceiveFileMissing = "接收文件不存在，退出.";
inline constexpr const char* kReceiveFileEmpty = "接收文件大小<=0，退出.";
// A resume whose receive file is not as long as the state file says: the download starts afresh.
inline constexpr const char* kReceiveFileSizeMismatch = "接收文件大小与记录不符，重新下载.";
inline constexpr const char* kStartingWorkers = "开始启动线程进行接收... ...";
inline constexpr const char* kWorkersStarted = "线程启动成功，资源接收中... ...";
inline constexpr const char* kRunStopped = "资源接收未完成，任务中止.";
std::string WorkerFailed(int32_t index);  // "线程" + k + "下载异常."
std::string WorkerEnded(int32_t index);   // "线程" + k + "完成退出."
// A failure of a request through a proxy, with the proxy's answer (a controller line):
// "经代理服务器的请求失败：" + the failure's text.
std::string ProxyFailure(const std::string& reason);
}  // namespace logtext

}  // namespace ostrel::download
