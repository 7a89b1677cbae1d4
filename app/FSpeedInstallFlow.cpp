// The install flow's clicks: the start page, the folder page's "立即安装" with the reuse of a
// package already in place, and the start of the package download.
#include <chrono>
#include <thread>

#include "app/FSpeedInstall.h"
#include "app/SharedValues.h"
#include "platform/file_system.h"
#include "app/PackageFile.h"
#include "support/PubZip.h"

namespace ctl = ostrel::skin::ctl;

namespace {
constexpr int kReuseFill = 574;  // of the trough's 580 pixels
constexpr std::chrono::milliseconds kBeforeDownload{100};
}  // namespace

void TfrmSpeedInstall::lblAZClick(TControl*) {
  ShowMainPage(ostrel::app::kPageSZ);
  if (FForm.Get(ctl::edtAZLJ).text.empty()) GetDefaultInstallPath();
}

void TfrmSpeedInstall::lblFHClick(TControl*) { ShowMainPage(ostrel::app::kPageAZ); }

void TfrmSpeedInstall::lblLJAZClick(TControl*) {
  if (!SettleInstallDir()) return;
  RecoverUnZipFolder(InstallDir);  // an extraction that a kill ended is undone before anything else
  // A manifest without a package name can't start a download either.
  if (PackageName.empty() && (!GetNewVer() || PackageName.empty())) {
    FHost.ShowMessage("下载版本文件失败");
    return;
  }
  FPackageFile = StagingDir + "Downloads\\" + PackageName;
  if (platform::FileExists(FPackageFile)) {
    if (ostrel::app::MayReuse(ostrel::app::CheckPackage(FPackageFile, PackageCRC))) {
      ReusePackage();
      return;
    }
    platform::RemoveFile(FPackageFile);
  }
  // Old archives and the resume files of other packages go before the new job starts, so the
  // clean-up never meets the new package.
  platform::DeleteZipFiles(StagingDir + "Downloads");
  ostrel::app::DiscardStaleResumeFiles(StagingDir + "Downloads", PackageName);
  ShowMainPage(ostrel::app::kPageXZ);
  std::this_thread::sleep_for(kBeforeDownload);
  StartPackageDownload();
}

void TfrmSpeedInstall::ReusePackage() {
  FForm.SetText(ctl::lblJD, "99%");
  FForm.SetWidth(ctl::lblJDT, kReuseFill);
  ShowMainPage(ostrel::app::kPageXZ);
  FHost.ProcessMessages();  // the page is painted before the extraction starts
  InstallPackage("安装失败");
}

void TfrmSpeedInstall::StartPackageDownload() {
  FForm.SetVisible(ctl::imgbtn_XZ, false);
  FForm.SetVisible(ctl::lblXZ, false);
  FForm.SetVisible(ctl::lblErrorHint, false);
  FForm.SetVisible(ctl::lblDownLoadState, true);
  StartJob(PackageURL, FPackageFile);
  FForm.SetTimerEnabled(ctl::tmr1, true);
}

void TfrmSpeedInstall::lblXZClick(TControl*) { StartPackageDownload(); }
