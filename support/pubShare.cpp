#include "support/pubShare.h"

#include "support/ProductNames.h"

#include <stdexcept>

#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/shell_link.h"
#include "platform/text.h"

namespace {

constexpr char kShortcutName[] = "OstrelPro";
constexpr char kShortcutExt[] = ".lnk";
constexpr char kExplorerKey[] = "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer";
constexpr char kShellFoldersSubKey[] = "Shell Folders";
constexpr char kDesktopValue[] = "Desktop";

constexpr size_t kWindowsDirBuffer = 260;
constexpr size_t kIniBuffer = 2048;

std::string TrimBlanks(const std::string& s) { return std::string(platform::TrimBlanksAndControls(s)); }

RootKey ResolveRoot(RootKey root) { return root == 0 ? kHkeyLocalMachine : root; }

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
                    const DownloadProgressHandlers& progress, const DownloadOptions& options) {
  return static_cast<bool>(FetchToFile(url, fileName, options, reportProgress ? &progress : nullptr));
}

std::string DesktopShortcutFile() {
  const std::string desktop =
      ReadRegString(std::string(kExplorerKey) + "\\" + kShellFoldersSubKey, kDesktopValue, kHkeyCurrentUser);
  return desktop + "\\" + kShortcutName + kShortcutExt;
}

void CreateDesktopShortcut(const std::string& installDir) {
  const std::string target = installDir + ostrel::support::kLauncherFile;
  platform::ShellLink link;
  link.path = target;
  link.workingDirectory = target.substr(0, target.rfind('\\') + 1);
  link.description = ostrel::support::kMakerName;
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
