#include "support/pubShare.h"

#include <chrono>
#include <mutex>
#include <stdexcept>

#include "platform/ascii_case.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/host_path.h"
#include "platform/profile.h"
#include "platform/shell_link.h"
#include "platform/text.h"

namespace {

constexpr char kShortcutName[] = "OstrelPro";
constexpr char kShortcutExt[] = ".lnk";
constexpr char kLauncherFile[] = "\\OstrelLauncher.exe";
constexpr char kShortcutDescription[] = "Tarnwell";
constexpr char kExplorerKey[] = "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer";
constexpr char kShellFoldersSubKey[] = "Shell Folders";
constexpr char kDesktopValue[] = "Desktop";

constexpr size_t kWindowsDirBuffer = 260;
constexpr size_t kIniBuffer = 2048;
constexpr long kMaxRedirects = 15;
constexpr std::chrono::milliseconds kReadTimeout{3000};

std::string TrimBlanks(const std::string& s) { return std::string(platform::TrimBlanksAndControls(s)); }

using platform::AsciiLowerCopy;

// Folder part of a path text: everything before the last "\" or "/".
std::string FolderOf(const std::string& path) {
  const size_t sep = path.find_last_of("\\/");
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

RootKey ResolveRoot(RootKey root) { return root == 0 ? kHkeyLocalMachine : root; }

// ---- progress handlers ----

std::mutex gHandlersMutex;
DownloadProgressHandlers gHandlers;

// ---- one transfer ----

using Clock = std::chrono::steady_clock;

// The state of one DownloadToFile call, reachable from its client as CURLINFO_PRIVATE.
struct Transfer {
  CURL* curl = nullptr;
  platform::File* file = nullptr;
  int64_t received = 0;
  bool writeFailed = false;
  bool sawLocation = false;  // of the response being received
  bool begun = false;        // the begin handler ran
  DownloadProgressHandlers progress;
  bool hooked = false;
  bool connected = false;  // a request went out: the read time-out runs
  Clock::time_point lastData;

  void Begin(int64_t expected) {
    if (!hooked || begun) return;
    begun = true;
    if (progress.begin) progress.begin(expected);
  }
  void End() {
    if (begun && progress.end) progress.end();
    begun = false;
  }
};

long ResponseCode(CURL* curl) {
  long code = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
  return code;
}

bool IsSuccess(long code) { return code >= 200 && code <= 299; }

int OnRequestReady(void* clientp, char*, char*, int, int) {
  auto* t = static_cast<Transfer*>(clientp);
  t->connected = true;
  t->lastData = Clock::now();
  return CURL_PREREQFUNC_OK;
}

size_t OnHeader(char* data, size_t size, size_t count, void* userdata) {
  auto* t = static_cast<Transfer*>(userdata);
  const size_t n = size * count;
  t->lastData = Clock::now();
  const std::string line(data, n);
  if (line.rfind("HTTP/", 0) == 0) {
    t->sawLocation = false;
  } else if (AsciiLowerCopy(line.substr(0, 9)) == "location:") {
    t->sawLocation = true;
  } else if (line == "\r\n" || line == "\n") {
    // End of one response's headers: a redirect that will be followed has no body for us.
    const long code = ResponseCode(t->curl);
    const bool followed = code >= 300 && code <= 399 && t->sawLocation;
    if (IsSuccess(code) && !followed) {
      curl_off_t length = -1;
      curl_easy_getinfo(t->curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
      t->Begin(length > 0 ? static_cast<int64_t>(length) : 0);
    }
  }
  return n;
}

size_t OnBody(char* data, size_t size, size_t count, void* userdata) {
  auto* t = static_cast<Transfer*>(userdata);
  const size_t n = size * count;
  t->lastData = Clock::now();
  if (!IsSuccess(ResponseCode(t->curl))) return n;  // not the body we want; the status decides later
  if (!t->file->Write(data, n)) {
    t->writeFailed = true;
    return 0;  // aborts the transfer
  }
  t->received += static_cast<int64_t>(n);
  if (t->hooked) {
    t->Begin(0);
    if (t->progress.work) t->progress.work(t->received);
  }
  return n;
}

void ConfigureClient(CURL* curl, const std::string& url, Transfer& t) {
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PRIVATE, &t);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http");
  curl_easy_setopt(curl, CURLOPT_PROXY, "");  // no proxy, also none from the environment
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, OnRequestReady);
  curl_easy_setopt(curl, CURLOPT_PREREQDATA, &t);
}

// Runs the transfer; gives up when no data came for kReadTimeout once a
// request went out (also while waiting for the headers).
CURLcode Perform(CURL* curl, Transfer& t) {
  CURLM* multi = curl_multi_init();
  if (!multi) return CURLE_OUT_OF_MEMORY;
  CURLcode result = CURLE_OK;
  if (curl_multi_add_handle(multi, curl) != CURLM_OK) {
    curl_multi_cleanup(multi);
    return CURLE_FAILED_INIT;
  }
  int running = 1;
  bool done = false;
  while (!done) {
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
    if (running == 0) break;
    int waitMs = 1000;
    if (t.connected) {
      const auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t.lastData);
      if (idle >= kReadTimeout) {
        result = CURLE_OPERATION_TIMEDOUT;
        done = true;
        continue;
      }
      waitMs = static_cast<int>(std::min<int64_t>(waitMs, (kReadTimeout - idle).count()));
    }
    if (curl_multi_poll(multi, nullptr, 0, waitMs, nullptr) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
  }
  if (!done && result == CURLE_OK) {
    int left = 0;
    result = CURLE_FAILED_INIT;
    while (CURLMsg* msg = curl_multi_info_read(multi, &left))
      if (msg->msg == CURLMSG_DONE && msg->easy_handle == curl) result = msg->data.result;
  }
  curl_multi_remove_handle(multi, curl);
  curl_multi_cleanup(multi);
  return result;
}

}  // namespace

std::string NormalizeDir(const std::string& dir) {
  std::string out = TrimBlanks(dir);
  if (!out.empty() && out.back() != '\\') out += '\\';
  return out;
}

std::string GetWindowsDir() { return NormalizeDir(platform::GetWindowsDirectoryA(kWindowsDirBuffer)); }

std::string ChooseInstallDrive(const std::string& windowsDir, const platform::DriveQuery& drives) {
  const std::string windowsRoot = windowsDir.substr(0, 3);
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (drives.DriveTypeOf(root) != platform::kDriveFixed) continue;
    if (platform::EqualsNoCase(root, windowsRoot)) continue;
    platform::DiskFreeSpace space;
    if (!drives.FreeSpaceOf(root, space)) continue;
    const double freeGiB =
        space.freeClusters / 1024.0 / 1024.0 / 1024.0 * space.bytesPerSector * space.sectorsPerCluster;
    if (freeGiB >= 1.0) return root;
  }
  return windowsRoot;
}

std::string GetInstallDrive() { return ChooseInstallDrive(GetWindowsDir(), platform::SystemDrives()); }

std::string ReadIniString(const std::string& section, const std::string& key, const std::string& iniFile) {
  if (!platform::FileExists(iniFile)) return {};
  return platform::GetPrivateProfileStringA(section, key, "", iniFile, kIniBuffer);
}

void SetDownloadProgressHandlers(DownloadProgressHandlers handlers) {
  std::lock_guard<std::mutex> lock(gHandlersMutex);
  gHandlers = std::move(handlers);
}

void HookDownloadProgress(CURL* client) {
  Transfer* t = nullptr;
  if (!client || curl_easy_getinfo(client, CURLINFO_PRIVATE, reinterpret_cast<char**>(&t)) != CURLE_OK || !t) return;
  std::lock_guard<std::mutex> lock(gHandlersMutex);
  t->progress = gHandlers;
  t->hooked = true;
}

bool DownloadToFile(const std::string& url, const std::string& fileName, bool reportProgress) {
  const std::string trimmedUrl = TrimBlanks(url);
  if (trimmedUrl.empty()) return false;
  if (fileName.empty()) return false;

  const std::string folder = FolderOf(fileName);
  if (!folder.empty() && !platform::DirectoryExists(folder)) platform::ForceDirectories(folder);
  platform::RemoveFile(fileName);

  // The body goes to a temporary file beside the target, renamed at the end.
  const std::string target = platform::HostPath(fileName);
  std::string tmp;
  platform::File file = platform::CreateTemporaryBeside(target, ".part", tmp);
  if (!file.IsOpen()) return false;
  Transfer t;
  t.file = &file;

  bool ok = false;
  t.curl = curl_easy_init();
  if (t.curl) {
    ConfigureClient(t.curl, trimmedUrl, t);
    if (reportProgress) HookDownloadProgress(t.curl);
    const CURLcode result = Perform(t.curl, t);
    ok = result == CURLE_OK && IsSuccess(ResponseCode(t.curl)) && !t.writeFailed && t.received > 0;
    curl_easy_cleanup(t.curl);
    t.End();
  }
  ok = file.Close() && ok;
  if (ok) ok = platform::RenameReplacing(tmp, target) == platform::FileError::None;
  if (!ok) platform::RemovePath(tmp);
  return ok;
}

void CreateDesktopShortcut(const std::string& installDir) {
  const std::string target = installDir + kLauncherFile;
  platform::ShellLink link;
  link.path = target;
  link.workingDirectory = target.substr(0, target.rfind('\\') + 1);
  link.description = kShortcutDescription;
  const std::string desktop =
      ReadRegString(std::string(kExplorerKey) + "\\" + kShellFoldersSubKey, kDesktopValue, kHkeyCurrentUser);
  const std::string file = desktop + "\\" + kShortcutName + kShortcutExt;
  if (platform::SaveShellLink(link, file) == platform::ShellLinkResult::kNoShellLinkObject)
    throw std::runtime_error("The shell link object is not available");
}

std::string ReadRegString(const std::string& keyPath, const std::string& valueName, RootKey root) {
  std::string value;
  if (platform::RegReadString(ResolveRoot(root), keyPath, valueName, value) != platform::RegResult::kOk) return {};
  return value;
}

void WriteRegString(const std::string& keyPath, const std::string& valueName, const std::string& value,
                    RootKey root) {
  platform::RegWriteString(ResolveRoot(root), keyPath, valueName, value);
}

void RunAsAdmin(platform::WindowHandle parent, const std::string& file, const std::string& params) {
  platform::ShellRunAs(parent, file, params);
}
