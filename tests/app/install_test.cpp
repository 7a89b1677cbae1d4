// Whole installs on the scripted host with the real engine: the package, the components, the
// registration or the launch, the fallbacks when a server fails, and closing along the way.
#include <regex>

#include "install_fixture.h"
#ifndef _WIN32
#include "tests/platform/lnkinfo.h"
#endif
#include "tests/testkit/host_only.h"
#include "tests/testkit/wait.h"

namespace ostrel::app::test {
namespace {

TEST_F(Install, AFreshInstallReachesTheDonePageAndItsCloseRegistersThePlatform) {
  ServeSite();
  StartInstall();
  ASSERT_TRUE(RunToDonePage()) << "page " << Page();
  for (const auto& [name, data] : PackageFiles()) {
    std::string windowsName = name;
    std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
    EXPECT_EQ(Installed(windowsName), data) << name;
  }
  ExpectComponents("msi from download");
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(Reg(kUninstallKey, "DisplayName"), "") << "nothing is registered before the close";

  Click(&TfrmSpeedInstall::lblCloseClick);
  EXPECT_TRUE(host.closed);
  const std::string dir = kInstallDir;
  EXPECT_EQ(Reg(kUninstallKey, "DisplayIcon"), "\"" + dir + "\\OstrelLauncher.exe\"");
  EXPECT_EQ(Reg(kUninstallKey, "DisplayName"), "OstrelPro");
  EXPECT_EQ(Reg(kUninstallKey, "DisplayVersion"), "5.1 版");
  EXPECT_EQ(Reg(kUninstallKey, "UninstallString"), "\"" + dir + "\\Uninstall\\uninst.exe\"");
  EXPECT_EQ(Reg(kUninstallKey, "HelpLink"), WebServer());
  EXPECT_EQ(Reg(kUninstallKey, "URLInfoAbout"), WebServer());
  EXPECT_EQ(Reg(kUninstallKey, "Publisher"), "Tarnwell");
  EXPECT_EQ(Reg(kAppPathKey, ""), dir + "\\OstrelLauncher.exe");
  EXPECT_EQ(Reg(kAppPathKey, "Path"), dir + "\\");
  EXPECT_TRUE(std::regex_match(Reg(kAppPathKey, "InstallTime"),
                               std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})")));

  const std::string desktop = ReadRegString(
      "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop", kHkeyCurrentUser);
  const std::string link = OnHost(desktop + "\\OstrelPro.lnk");
  ASSERT_TRUE(fs::exists(link));
#ifndef _WIN32  // the Windows build's shortcut is read by lnkinfo from outside Wine
  if (!testutil::HaveLnkinfo()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  const std::string info = testutil::Lnkinfo(link);
  EXPECT_NE(info.find("Tarnwell"), std::string::npos) << info;
  EXPECT_NE(info.find("OstrelLauncher.exe"), std::string::npos) << info;
#endif
}

TEST_F(Install, StartNowLaunchesTheLauncherAndRegistersNothing) {
  TESTKIT_SKIP_ON_WINDOWS("the package's launcher is a shell script, which Windows does not run");
  ServeSite();
  StartInstall();
  ASSERT_TRUE(RunToDonePage());
  Click(&TfrmSpeedInstall::lblWCClick);
  EXPECT_TRUE(host.closed);
  const std::string mark = OnHost(std::string(kInstallDir) + "\\launched.txt");
  EXPECT_TRUE(testkit::WaitUntil([&] { return fs::exists(mark); }, 10s)) << "the launcher did not run";
  EXPECT_EQ(Reg(kUninstallKey, "DisplayName"), "");
  EXPECT_EQ(Reg(kAppPathKey, "Path"), "");
}

TEST_F(Install, AManifestFromTheWebServerTakesTheDriversThereAndTheBaseServiceAsItFails) {
  ServeSite(/*msiOnDownload=*/false, /*msiOnAlt=*/true);
  fs::remove(fs::path(Root(false)) / kPackageFolder / "OSTREL.XML");  // the download server has no manifest
  StartInstall();
  ASSERT_TRUE(RunToDonePage());
  EXPECT_TRUE(UseWebServer);
  for (const char* driver : kDrivers) {
    EXPECT_EQ(Asked(*webServer_, std::string(kDriverFolder) + driver), 1) << driver;
    EXPECT_EQ(Asked(*downloadServer_, std::string(kDriverFolder) + driver), 0) << driver;
  }
  EXPECT_EQ(Asked(*downloadServer_, kMsiPath, "HEAD"), 1) << "the base service is asked first where it always is";
  EXPECT_EQ(Asked(*webServer_, kMsiPath, "HEAD"), 0);
  EXPECT_TRUE(BaseServiceFallback);
  ExpectComponents("msi from 8080");
}

TEST_F(Install, ABaseServiceThatFailsOnBothServersLeavesItOutAndTheInstallGoesOn) {
  ServeSite(/*msiOnDownload=*/false, /*msiOnAlt=*/false);
  StartInstall();
  ASSERT_TRUE(RunToDonePage());
  EXPECT_EQ(Asked(*altServer_, kMsiPath, "HEAD"), 1);
  EXPECT_FALSE(fs::exists(OnHost(std::string(kInstallDir) + "\\ThirdSoftware\\BaseService.msi")));
  for (const char* driver : kDrivers) EXPECT_EQ(Installed(std::string("App\\") + driver), driver);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(Install, AFailingPackageJobFallsBackToOneRequestAfterASecond) {
  ServeSite();
  // Every ranged answer starts at 0: the second segment fails, a plain GET works.
  UseBases("fault/badrange/", "");
  StartInstall();
  ASSERT_TRUE(RunUntil([this] { return Model().Get("tmr2").enabled; }));
  ASSERT_TRUE(RunToDonePage());
  EXPECT_EQ(Installed("OstrelMain.exe"), "MZ main");
  EXPECT_TRUE(host.boxes.empty());
  // After the fallback the base service comes by a single request too.
  EXPECT_EQ(Asked(*downloadServer_, kMsiPath, "HEAD"), 0);
  ExpectComponents("msi from download");
  // The window closes at once from now on.
  Click(&TfrmSpeedInstall::lblCloseClick);
  EXPECT_TRUE(host.closed);
}

TEST_F(Install, ASecondNoticeShowsTheHintAndContinueFetchesOnlyWhatIsMissing) {
  ServeSite();
  UseBases("fault/drop=100000/", "");  // both segments stop after 100000 bytes
  // The components are in place already: the server's count below is the package's alone.
  Put(std::string(kInstallDir) + "\\ThirdSoftware\\BaseService.msi", "msi");
  for (const char* driver : kDrivers) Put(std::string(kInstallDir) + "\\App\\" + driver, driver);
  StartInstall();
  // Both workers' notices are under way before the window handles the first (which stops the
  // job, so a worker that had not yet failed would end quietly).
  ASSERT_TRUE(testkit::WaitUntil([this] { return host.Queued() == 2; }));
  // The second notice comes while the fallback is armed.
  ASSERT_TRUE(RunUntil([this] { return Model().Get("lblXZ").visible; }, 20s, /*fallback=*/false));
  EXPECT_TRUE(Model().Get("lblErrorHint").visible);
  EXPECT_FALSE(Model().Get("lblDownLoadState").visible);
  EXPECT_TRUE(Model().Get("tmr2").enabled) << "the fallback stays armed";
  ASSERT_TRUE(form->DownloadJob()->WaitForThreads(10s));  // the stopped job has saved its state

  // The server recovers; "继续安装" before the fallback fires.
  Model().SetTimerEnabled("tmr2", false);
  PackageURL = downloadServer_->Url(std::string(kPackageFolder) + kPackage);
  downloadServer_->ResetCounters();
  Click(&TfrmSpeedInstall::lblXZClick);
  EXPECT_FALSE(Model().Get("lblXZ").visible);
  ASSERT_TRUE(RunToDonePage());
  EXPECT_EQ(Installed("OstrelMain.exe"), "MZ main");
  for (const auto& r : downloadServer_->Requests()) EXPECT_FALSE(r.method == "GET" && r.range.empty());
  const uint64_t packageBytes = downloadServer_->BodyBytesSent();
  EXPECT_LE(packageBytes, package_.size() - 2 * 100000 + 2) << "the new job fetched what it had";
  EXPECT_GE(packageBytes, package_.size() - 2 * 100000);
}

TEST_F(Install, ProgressShowsWholePercentsAndBeyondTheWholeEndsTheJob) {
  Show();
  auto job = TDownloadJob::Create("http://127.0.0.1:9/x", "C:\\x.zip", 2, false);
  form->SetDownloadJob(job);
  Model().SetText("lblJD", "7%");
  Model().SetWidth("lblJDT", 40);
  job->TotalSize = 1000;
  job->ProgressValid = true;
  EXPECT_FALSE(form->ProgressStep());  // 0: text and fill stay
  EXPECT_EQ(Text("lblJD"), "7%");
  EXPECT_EQ(Model().Get("lblJDT").box.width, 40);
  for (const auto& [received, text, width] : std::vector<std::tuple<int, std::string, int>>{
           {10, "1%", 5}, {500, "50%", 290}, {999, "99%", 574}, {1000, "100%", 580}}) {
    job->ReceivedSize = received;
    EXPECT_FALSE(form->ProgressStep()) << "100 % waits for the engine";
    EXPECT_EQ(Text("lblJD"), text);
    EXPECT_EQ(Model().Get("lblJDT").box.width, width);
  }
  job->ReceivedSize = 1500;
  EXPECT_TRUE(form->ProgressStep()) << "beyond the whole, the job is finished in the same tick";
  EXPECT_TRUE(job->Finished.load());
  EXPECT_EQ(Text("lblJD"), "100%");
}

TEST_F(Install, ClosingDuringTheSingleRequestEndsTheProcessAtOnce) {
  ServeSite();
  UseBases("fault/badrange,rate=400000/", "");
  StartInstall();
  ASSERT_TRUE(RunUntil([this] { return Model().Get("tmr2").enabled; }));
  host.onProcessMessages = [this] {
    if (!host.exitCode && WorkTotal > 0) Click(&TfrmSpeedInstall::lblCloseClick);
  };
  RunUntil([this] { return host.exitCode.has_value(); });
  EXPECT_EQ(host.exitCode, 0);
  EXPECT_NE(form->DownloadJob(), nullptr) << "the process ends without releasing anything";
  EXPECT_EQ(Reg(kUninstallKey, "DisplayName"), "");
}

}  // namespace
}  // namespace ostrel::app::test
