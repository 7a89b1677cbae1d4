#include "support/pubShare.h"

#include <chrono>
#include <stdexcept>

#include "download/CurlTransfer.h"
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
constexpr std::chrono::milliseconds kReadTimeout{3000};

std::string TrimBlanks(const std::string& s) { return std::string(platform::TrimBlanksAndControls(s)); }

// Folder part of a path text: everything before the last "\" or "/".
std::string FolderOf(const std::string& path) {
  const size_t sep = path.find_last_of("\\/");
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

RootKey ResolveRoot(RootKey root) { return root == 0 ? kHkeyLocalMachine : root; }

// ---- one single-request download ----

// The state of one DownloadToFile call: the file, the count and the call's progress events.
struct Transfer {
  ostrel::download::CurlTransfer request;
  platform::File& file;
  const DownloadProgressHandlers* progress = nullptr;  // set by HookDownloadProgress
  int64_t received = 0;
  bool writeFailed = false;
  bool begun = false;  // the begin event was sent

  Transfer(const std::string& url, platform::File& target) : request(url), file(target) {}
  bool FinalSuccess() const {
    const int status = request.Headers().Status();
    return status >= 200 && status <= 299;
  }
  void Begin(int64_t expected) {
    if (!progress || begun) return;
    begun = true;
    if (progress->begin) progress->begin(expected);
  }
  void End() {
    if (begun && progress->end) progress->end();
    begun = false;
  }
  size_t TakeBody(const char* data, size_t size) {
    if (!FinalSuccess()) return size;  // not the body we want; the status decides later
    if (!file.Write(data, size)) {
      writeFailed = true;
      return 0;  // ends the transfer
    }
    received += static_cast<int64_t>(size);
    Begin(0);
    if (progress && progress->work) progress->work(received);
    return size;
  }
};

// Attaches the call's progress events to its HTTP client: begin at the end of the final
// response's headers (with its Content-Length, 0 when absent), work after each piece of the body.
void HookDownloadProgress(Transfer& t, const DownloadProgressHandlers& handlers) {
  t.progress = &handlers;
  t.request.SetHeadersDone([&t] {
    if (t.FinalSuccess()) t.Begin(t.request.Headers().ContentLength().value_or(0));
  });
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

bool DownloadToFile(const std::string& url, const std::string& fileName, bool reportProgress,
                    const DownloadProgressHandlers& progress) {
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
  bool ok = false;
  {
    Transfer t(trimmedUrl, file);
    t.request.SetBodySink([&t](const char* data, size_t size) { return t.TakeBody(data, size); });
    if (reportProgress) HookDownloadProgress(t, progress);
    const CURLcode result = t.request.Perform(kReadTimeout);
    ok = result == CURLE_OK && !t.writeFailed && t.received > 0;
    t.End();
  }
  ok = file.Close() && ok;
  if (ok) ok = platform::RenameReplacing(tmp, target) == platform::FileError::None;
  if (!ok) platform::RemovePath(tmp);
  return ok;
}

std::string DesktopShortcutFile() {
  const std::string desktop =
      ReadRegString(std::string(kExplorerKey) + "\\" + kShellFoldersSubKey, kDesktopValue, kHkeyCurrentUser);
  return desktop + "\\" + kShortcutName + kShortcutExt;
}

void CreateDesktopShortcut(const std::string& installDir) {
  const std::string target = installDir + kLauncherFile;
  platform::ShellLink link;
  link.path = target;
  link.workingDirectory = target.substr(0, target.rfind('\\') + 1);
  link.description = kShortcutDescription;
  const std::string file = DesktopShortcutFile();
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
