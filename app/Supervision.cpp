// Download supervision on the installing page: the package and base-service polls, the engine's
// failure notice, the one-shot fallback by a single request, and the progress events of
// single-request downloads.
#include <cmath>
#include <string>

#include "app/FSpeedInstall.h"
#include "app/SharedValues.h"
#include "app/PackageFile.h"
#include "support/PubZip.h"
#include "support/pubShare.h"

namespace ctl = ostrel::skin::ctl;

namespace {
constexpr char kInstallFailed[] = "安装失败";
constexpr char kDownloadFailed[] = "下载失败";
constexpr char kUnzipFailed[] = "解压失败";
}  // namespace

void TfrmSpeedInstall::ShowPercent(int percent) {
  FForm.SetText(ctl::lblJD, std::to_string(percent) + "%");
  SetProgressFill(percent);
}

bool TfrmSpeedInstall::ProgressStep() {
  if (!FDownloadJob) return false;
  int32_t percent = FDownloadJob->GetPercent();
  if (percent > 0) {
    if (percent > 100) {  // beyond the whole: the run is given up as it stands
      FDownloadJob->Finished.store(true);
      percent = 100;
    }
    ShowPercent(percent);
  }
  return FDownloadJob->Finished.load();
}

void TfrmSpeedInstall::InstallPackage(const char* failureText) {
  UnZipOptions options;
  options.pump = [this] { FHost.ProcessMessages(); };
  options.stop = [this] { return FCloseAfterExtraction || Closing(); };
  FExtracting = true;
  const UnZipReport report = UnZipFileReport(FPackageFile, InstallDir, options);
  FExtracting = false;
  if (report.ok()) return DownloadAttachedFiles();
  if (FCloseAfterExtraction) {  // the close waited for the install folder to be as it was
    FCloseAfterExtraction = false;
    return lblCloseClick(nullptr);
  }
  if (Closing()) return;
  // Where a program holds a file that had to be replaced, the box names it.
  FHost.ShowMessage(report.holders.empty() ? std::string(failureText)
                                           : std::string(failureText) + "\n\n请先关闭：" + report.holders);
}

bool TfrmSpeedInstall::DownloadedPackageIsSound() {
  if (ostrel::app::MayExtractDownloaded(ostrel::app::CheckDownloadedPackage(FPackageFile, PackageCRC))) return true;
  ostrel::app::DiscardPackage(FPackageFile);  // never extracted; the next download starts afresh
  return false;
}

void TfrmSpeedInstall::tmr1Timer(TControl*) {
  if (!ProgressStep()) return;
  if (!DownloadedPackageIsSound()) {
    WMDownloadFailed();  // the way of a failed job, the package poll still running
    return;
  }
  FForm.SetTimerEnabled(ctl::tmr1, false);
  InstallPackage(kInstallFailed);
}

void TfrmSpeedInstall::tmr3Timer(TControl*) {
  if (!ProgressStep()) return;
  FForm.SetTimerEnabled(ctl::tmr3, false);
  DownloadDrivers();
}

void TfrmSpeedInstall::WMDownloadFailed() {
  if (FForm.Get(ctl::tmr1).enabled) {  // the package job: the single request follows in 1 s
    FForm.SetTimerEnabled(ctl::tmr1, false);
    if (FDownloadJob) FDownloadJob->Cancel();
    FForm.SetTimerEnabled(ctl::tmr2, true);
  } else if (FForm.Get(ctl::tmr3).enabled) {  // the base-service job
    FForm.SetTimerEnabled(ctl::tmr3, false);
    if (FDownloadJob) FDownloadJob->Cancel();
    if (!BaseServiceFallback) {  // once more, from the web server's port-8080 base
      BaseServiceFallback = true;
      DownloadAttachedFiles();
    } else {
      // Failed on both servers. The base service is optional for the platform to run: the
      // drivers and the done page follow rather than leaving the user on a page that no
      // longer moves.
      if (FDownloadJob) FDownloadJob->Finished.store(true);
      DownloadDrivers();
    }
  } else {  // no poll runs: the user may continue by hand
    FForm.SetVisible(ctl::imgbtn_XZ, true);
    FForm.SetVisible(ctl::lblXZ, true);
    FForm.SetVisible(ctl::lblErrorHint, true);
    FForm.SetVisible(ctl::lblDownLoadState, false);
  }
}

void TfrmSpeedInstall::tmr2Timer(TControl*) {
  FForm.SetTimerEnabled(ctl::tmr2, false);  // once per arming
  FDirectDownload = true;
  const bool fetched = DownloadToFile(PackageURL, FPackageFile, true, ProgressEvents(), SingleRequestOptions());
  if (Closing()) return;
  if (!fetched || !DownloadedPackageIsSound()) {
    FHost.ShowMessage(kDownloadFailed);
  } else {
    InstallPackage(kUnzipFailed);
  }
}

DownloadOptions TfrmSpeedInstall::SingleRequestOptions() const {
  DownloadOptions options;
  options.abort = [this] { return Closing(); };
  return options;
}

DownloadProgressHandlers TfrmSpeedInstall::ProgressEvents() {
  return {[this](int64_t expected) { DownloadWorkBegin(expected); },
          [this](int64_t received) { DownloadWork(received); }, [this] { DownloadWorkEnd(); }};
}

void TfrmSpeedInstall::DownloadWorkBegin(int64_t expectedBytes) { WorkTotal = expectedBytes; }

void TfrmSpeedInstall::DownloadWork(int64_t receivedBytes) {
  FHost.ProcessMessages();
  if (WorkTotal <= 0) return;
  const double share = static_cast<double>(receivedBytes) / static_cast<double>(WorkTotal) * 100.0;
  const int percent = share > 100.0 ? 100 : static_cast<int>(std::floor(share));
  ShowPercent(percent);
  FHost.ProcessMessages();
}

void TfrmSpeedInstall::DownloadWorkEnd() { WorkTotal = 0; }
