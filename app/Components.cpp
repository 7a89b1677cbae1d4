// The components placed under the install folder after the package: the base service (a job, or
// a single request after the package's fallback) and three drivers (single requests). A file that
// is there already is not fetched again; failures are left out silently.
#include <string>

#include "app/FSpeedInstall.h"
#include "app/Servers.h"
#include "app/SharedValues.h"
#include "platform/file_system.h"
#include "support/pubShare.h"

namespace ctl = ostrel::skin::ctl;

namespace {

constexpr char kBaseServicePath[] = "rjxz/VARDAPRO/QLSFW/NimbrelBaseService.msi";
constexpr char kBaseServiceLocal[] = "\\ThirdSoftware\\BaseService.msi";
constexpr char kDriverFolder[] = "dlcpx/DOWN_CENTER/SBQD/";
constexpr char kInstalledServiceKey[] = "SOFTWARE\\Ostrel\\OstrelService\\";
constexpr char kInstalledServiceValue[] = "NVOstrelWinSerPath";
constexpr char kInstallingBaseService[] = "正在安装基础服务...";
constexpr char kInstallingDrivers[] = "正在安装依赖驱动...";

}  // namespace

bool TfrmSpeedInstall::IsInstallQLS() {
  const std::string path = ReadRegString(kInstalledServiceKey, kInstalledServiceValue);
  return !path.empty() && platform::FileExists(path);
}

void TfrmSpeedInstall::DownloadAttachedFiles() {
  if (Closing()) return;  // the window was closed during the extraction: nothing more is fetched
  if (IsInstallQLS()) {
    DownloadDrivers();
    return;
  }
  const std::string base = BaseServiceFallback ? ostrel::app::WebServerAlt() : ostrel::app::DownloadServer();
  const std::string url = base + kBaseServicePath;
  const std::string local = InstallDir + kBaseServiceLocal;
  if (platform::FileExists(local)) {
    DownloadDrivers();
    return;
  }
  FForm.SetText(ctl::lblJD, "0%");
  FForm.SetText(ctl::lblDownLoadState, kInstallingBaseService);
  if (FDirectDownload) {
    DownloadToFile(url, local, true, ProgressEvents(), SingleRequestOptions());
    if (!Closing()) DownloadDrivers();
    return;
  }
  StartJob(url, local);
  FForm.SetTimerEnabled(ctl::tmr3, true);
}

void TfrmSpeedInstall::DownloadDriver(const char* fileName) {
  const std::string base = UseWebServer ? ostrel::app::WebServer() : ostrel::app::DownloadServer();
  const std::string local = InstallDir + "\\App\\" + fileName;
  if (platform::FileExists(local)) return;
  FForm.SetText(ctl::lblDownLoadState, kInstallingDrivers);
  DownloadToFile(base + kDriverFolder + fileName, local, true, ProgressEvents(), SingleRequestOptions());
}

void TfrmSpeedInstall::DownloadMarnkeyDrive() { DownloadDriver("MarnkeyDrive.exe"); }
void TfrmSpeedInstall::DownloadQRVDrive() { DownloadDriver("OstrelCSP.exe"); }
void TfrmSpeedInstall::DownloadWLMDrive() { DownloadDriver("WLMDrive.exe"); }

void TfrmSpeedInstall::DownloadDrivers() {
  // Closing the window during a download ends the flow there.
  for (void (TfrmSpeedInstall::*driver)() :
       {&TfrmSpeedInstall::DownloadMarnkeyDrive, &TfrmSpeedInstall::DownloadQRVDrive, &TfrmSpeedInstall::DownloadWLMDrive}) {
    (this->*driver)();
    if (Closing()) return;
  }
  ShowMainPage(ostrel::app::kPageWC);
}
