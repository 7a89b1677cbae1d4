// FSpeedInstall: the installer window's class. Its handlers run on the form model's events;
// the host puts the model on screen.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/FormHost.h"
#include "download/DownloadJob.h"
#include "skin/ControlNames.h"
#include "skin/Form.h"
#include "support/pubShare.h"

namespace ostrel::app {
// The pages of nbMain.
constexpr int kPageAZ = 0, kPageSZ = 1, kPageXZ = 2, kPageWC = 3;
}  // namespace ostrel::app

class TfrmSpeedInstall : public ostrel::skin::EventTarget {
 public:
  using TControl = ostrel::skin::Control;
  using TMouseButton = ostrel::skin::MouseButton;

  explicit TfrmSpeedInstall(ostrel::app::FormHost& host);
  ~TfrmSpeedInstall() override;
  TfrmSpeedInstall(const TfrmSpeedInstall&) = delete;
  TfrmSpeedInstall& operator=(const TfrmSpeedInstall&) = delete;

  ostrel::skin::Form& Form() { return FForm; }
  ostrel::app::FormHost& Host() { return FHost; }
  int32_t SlideIndex() const { return FSlideIndex; }

  // Show.
  void FormShow();

  // The look: drag, button pictures, back link colour, slideshow.
  void imgtopMouseDown(TControl* Sender, TMouseButton Button, int X, int Y);
  void lblAZMouseDown(TControl* Sender, TMouseButton Button, int X, int Y);
  void lblAZMouseUp(TControl* Sender, TMouseButton Button, int X, int Y);
  void lblAZMouseEnter(TControl* Sender);
  void lblAZMouseLeave(TControl* Sender);
  void lblCloseMouseEnter(TControl* Sender);
  void lblCloseMouseLeave(TControl* Sender);
  void lblFHMouseEnter(TControl* Sender);
  void lblFHMouseLeave(TControl* Sender);
  void tmrPicTimer(TControl* Sender);

  // The flow.
  void lblAZClick(TControl* Sender);
  void lblFHClick(TControl* Sender);
  void lblLLClick(TControl* Sender);
  void lblLJAZClick(TControl* Sender);
  void lblXZClick(TControl* Sender);
  void lblWCClick(TControl* Sender);
  void lblCloseClick(TControl* Sender);
  void tmr1Timer(TControl* Sender);
  void tmr2Timer(TControl* Sender);
  void tmr3Timer(TControl* Sender);

  // Start of the installation, folder and manifest.
  void StartPackageDownload();
  bool GetNewVer();
  std::string GetDefaultInstallPath();

  // Download supervision: the engine's failure notice (carried onto the window's thread by the
  // host) and the progress events of single-request downloads.
  void WMDownloadFailed();
  void DownloadWorkBegin(int64_t expectedBytes);
  void DownloadWork(int64_t receivedBytes);
  void DownloadWorkEnd();

  // Components and registration.
  void DownloadAttachedFiles();
  void DownloadMarnkeyDrive();
  void DownloadQRVDrive();
  void DownloadWLMDrive();
  bool IsInstallQLS();
  void RegisterPlatform();  // on closing the done page

  // The current download job, for the host and the tests; none when there is none.
  const std::shared_ptr<TDownloadJob>& DownloadJob() const { return FDownloadJob; }
  // Waits, at most limit, until the threads of every job the window started have ended (after
  // the window has closed, so that the program ends normally); true when none is left.
  bool WaitForJobThreads(std::chrono::milliseconds limit) const;

  // Operations on the look that the flow uses.
  void ShowMainPage(int index) { FForm.ShowPage(ostrel::skin::ctl::nbMain, index); }
  // The fill lblJDT for a whole percent of the trough pnlJD, remainder dropped.
  void SetProgressFill(int percent);

  // The handler names this class runs (what the window description may bind).
  static std::vector<std::string_view> HandlerNames();
  // Runs the handler that the window description names.
  void Handle(std::string_view handler, TControl& sender, const ostrel::skin::MouseEvent* mouse) override;

  // Makes job the current one. A job it replaces is kept until its threads have ended, so that
  // nothing of it is released under a running thread; its notices are dropped from then on.
  void SetDownloadJob(std::shared_ptr<TDownloadJob> job);
  // The progress step of both polls: the percent text and the fill (left alone at 0); > 100
  // abandons the job. True when the job is finished.
  bool ProgressStep();

 private:
  std::shared_ptr<TDownloadJob> StartJob(const std::string& url, const std::string& fileName);
  void ReleaseDownloadJob();
  // The folder rules of "立即安装": InstallDir from the edit; false after a refusal's box.
  bool SettleInstallDir();
  // A package already in place with the manifest's checksum: extracted without a download.
  void ReusePackage();
  // The bounded wait of the close control for a running job.
  void WaitForCancelledJob();
  void ShowPercent(int percent);  // "N%" and the fill
  // Extracts FPackageFile into InstallDir, the window's events running, and goes on with the
  // components; a failed extraction (undone by then) shows failureText, one that a close
  // stopped lets the close go on.
  void InstallPackage(const char* failureText);
  // A package just downloaded against the manifest's checksum; one that differs is discarded with
  // its resume files.
  bool DownloadedPackageIsSound();
  DownloadProgressHandlers ProgressEvents();  // DownloadWorkBegin, DownloadWork, DownloadWorkEnd
  // The bounds of the window's single-request downloads: they end once the window closes.
  DownloadOptions SingleRequestOptions() const;
  bool Closing() const { return FClosing || FHost.WindowClosed(); }
  void DownloadDriver(const char* fileName);
  void DownloadDrivers();  // the three drivers, then the done page

  ostrel::skin::Form FForm;
  ostrel::app::FormHost& FHost;
  int32_t FSlideIndex = 0;
  std::shared_ptr<TDownloadJob> FDownloadJob;
  std::string FPackageFile;
  bool FDirectDownload = false;
  bool FClosing = false;  // the close control has closed the window
  bool FExtracting = false;  // an extraction runs: a close waits until it is undone
  bool FCloseAfterExtraction = false;
  ostrel::download::NotifierToken FNotifier;  // the failure notices of the current job
  std::vector<std::shared_ptr<TDownloadJob>> FReplacedJobs;  // released once their threads end
};
