// Leaving the done page: the close control registers the platform (uninstall entry, desktop
// shortcut, application path); "立即体验" starts the launcher and registers nothing.
#include <ctime>
#include <string>

#include "app/FSpeedInstall.h"
#include "app/Registration.h"
#include "app/Servers.h"
#include "app/SharedValues.h"
#include "download/DownloadLog.h"
#include "platform/shell_execute.h"
#include "support/ProductNames.h"
#include "support/pubShare.h"

namespace {

using ostrel::app::kAppPathKey;
using ostrel::app::kUninstallKey;

using ostrel::support::kLauncherFile;
constexpr char kUninstaller[] = "\\Uninstall\\uninst.exe";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

void TfrmSpeedInstall::RegisterPlatform() {
  const std::string web = ostrel::app::WebServer();
  WriteRegString(kUninstallKey, "DisplayIcon", Quoted(InstallDir + kLauncherFile));
  WriteRegString(kUninstallKey, "DisplayName", "OstrelPro");
  WriteRegString(kUninstallKey, "DisplayVersion", NewVersion);
  WriteRegString(kUninstallKey, "UninstallString", Quoted(InstallDir + kUninstaller));
  WriteRegString(kUninstallKey, "HelpLink", web);
  WriteRegString(kUninstallKey, "URLInfoAbout", web);
  WriteRegString(kUninstallKey, "Publisher", ostrel::support::kMakerName);
  CreateDesktopShortcut(InstallDir);  // an error here stops the registration
  WriteRegString(kAppPathKey, "", InstallDir + kLauncherFile);
  WriteRegString(kAppPathKey, "Path", InstallDir + "\\");
  // "yyyy-mm-dd HH:MM:SS" in local time, at this moment.
  WriteRegString(kAppPathKey, "InstallTime", ostrel::download::FormatLogTime(std::time(nullptr)));
}

void TfrmSpeedInstall::lblWCClick(TControl*) {
  platform::ShellOpen(FHost.WindowHandle(), InstallDir + kLauncherFile, "", InstallDir);
  FHost.CloseWindow();
}
