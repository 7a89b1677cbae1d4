// The install folder: the proposal, the browse control and the folder rules of "立即安装".
#include "app/FSpeedInstall.h"
#include "app/Registration.h"
#include "app/SharedValues.h"
#include "platform/file_system.h"
#include "support/BrowseForFolderU.h"
#include "support/pubShare.h"

namespace ctl = ostrel::skin::ctl;

namespace {

constexpr char kPlatformFolder[] = "OstrelPlatform";
constexpr char kBrowseTitle[] = "请选择安装文件夹";

bool HoldsPlatformFolder(const std::string& path) { return path.find(kPlatformFolder) != std::string::npos; }

}  // namespace

std::string TfrmSpeedInstall::GetDefaultInstallPath() {
  std::string registered = ReadRegString(ostrel::app::kAppPathKey, "Path", kHkeyLocalMachine);
  if (!platform::FileExists(registered + "OstrelMain.exe")) registered.clear();
  if (!registered.empty()) {
    registered.pop_back();  // the "\" that the registration appended
    FForm.SetText(ctl::edtAZLJ, registered);
  } else if (!InstallDrive.empty()) {
    FForm.SetText(ctl::edtAZLJ, InstallDrive + "Program Files\\Ostrel\\" + kPlatformFolder);
  }
  return FForm.Get(ctl::edtAZLJ).text;
}

// The picker leaves the window working while it is open: the edit's text is read again once it
// has closed.
void TfrmSpeedInstall::lblLLClick(TControl*) {
  std::string folder = BrowseForFolder(kBrowseTitle, FForm.Get(ctl::edtAZLJ).text,
                                       [this](const std::string& title, const std::string& start) {
                                         return FHost.BrowseForFolder(title, start);
                                       });
  if (folder.empty()) folder = FForm.Get(ctl::edtAZLJ).text;
  if (!HoldsPlatformFolder(folder)) {
    const bool endsWithSeparator = !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
    folder += endsWithSeparator ? kPlatformFolder : std::string("\\") + kPlatformFolder;
  }
  if (!folder.empty()) FForm.SetText(ctl::edtAZLJ, folder);
}

bool TfrmSpeedInstall::SettleInstallDir() {
  const std::string edit = FForm.Get(ctl::edtAZLJ).text;
  if (edit.empty()) {
    FHost.ShowMessage("请您先设置安装位置");
    return false;
  }
  InstallDir = edit;
  if (!HoldsPlatformFolder(InstallDir)) InstallDir += std::string("\\") + kPlatformFolder;
  if (!platform::ForceDirectories(InstallDir)) {
    FHost.ShowMessage("此目录不可使用，请您重新选择安装位置");
    return false;
  }
  return true;
}
