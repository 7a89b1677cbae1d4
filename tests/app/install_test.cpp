// Whole installs on the scripted host with the real engine: the package, the components, the
// registration or the launch, the fallbacks when a server fails, and closing along the way.
#include <regex>

#include "flow_fixture.h"
#include "app/Servers.h"
#include "platform/file_system.h"
#include "support/PubCrc.h"
#include "support/pubShare.h"
#include "tests/platform/lnkinfo.h"
#include "zip_writer.h"

namespace ostrel::app::test {
namespace {

using namespace std::chrono_literals;

constexpr char kPackage[] = "OstrelPlatform_5.1.zip";
constexpr char kInstallDir[] = "C:\\Inst\\OstrelPlatform";
constexpr char kMsiPath[] = "rjxz/VARDAPRO/QLSFW/NimbrelBaseService.msi";
constexpr char kDriverFolder[] = "dlcpx/DOWN_CENTER/SBQD/";
constexpr const char* kDrivers[] = {"MarnkeyDrive.exe", "OstrelCSP.exe", "WLMDrive.exe"};
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\";
constexpr char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\";

std::string Incompressible(size_t size) {
  std::string bytes(size, '\0');
  uint32_t x = 12345;
  for (char& c : bytes) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  return bytes;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (!done() && std::chrono::steady_clock::now() < giveUp) std::this_thread::sleep_for(20ms);
  return done();
}

// The package's files: a launcher that leaves a mark, Chinese names, a file that doesn't
// compress, so that the package is as big as its data.
const std::vector<std::pair<std::string, std::string>>& PackageFiles() {
  static const std::vector<std::pair<std::string, std::string>> files = {
      {"OstrelLauncher.exe", "#!/bin/sh\necho ran > \"$(dirname \"$0\")/launched.txt\"\n"},
      {"Uninstall/uninst.exe", "MZ uninst"},
      {"OstrelMain.exe", "MZ main"},
      {"帮助/使用说明.txt", "说明"},
      {"Bin/data.bin", Incompressible(400000)},
  };
  return files;
}

class Install : public FlowTest {
 protected:
  Install() {
    fs::create_directories(Root(true) + "-alt");
    altServer_ = std::make_unique<testserver::TestHttpServer>(Root(true) + "-alt");
    ::setenv("OSTREL_WEB_SERVER_ALT", altServer_->Url("").c_str(), 1);
  }
  ~Install() override { ::unsetenv("OSTREL_WEB_SERVER_ALT"); }

  // The site: manifest and package on both servers, components where asked.
  void ServeSite(bool msiOnDownload = true, bool msiOnAlt = true) {
    const fs::path zip = fs::path(prefix_.scratch()) / "package.zip";
    std::vector<TestEntry> entries;
    for (const auto& [name, data] : PackageFiles())
      entries.push_back({name, data, -1, std::pair<uint8_t, uint32_t>{kMadeOnUnix, 0100755u << 16}});
    WriteZip(zip, entries);
    package_ = testutil::ReadFile(zip.string());
    for (bool web : {false, true}) {
      ServeManifest(web, "5.1 版", kPackage, GetFileCRC(zip.string()));
      Serve(web, kPackage, package_);
      for (const char* driver : kDrivers) Serve(web, std::string(kDriverFolder) + driver, driver, false);
    }
    if (msiOnDownload) Serve(false, kMsiPath, "msi from download", false);
    if (msiOnAlt) {
      fs::create_directories(fs::path(Root(true) + "-alt") / "rjxz/VARDAPRO/QLSFW");
      testutil::WriteFile(Root(true) + "-alt/" + kMsiPath, "msi from 8080");
    }
  }

  // Shows the window and clicks "极速安装" and "立即安装" with the folder C:\Inst.
  void StartInstall() {
    Show();
    Click(&TfrmSpeedInstall::lblAZClick);
    Model().SetText("edtAZLJ", "C:\\Inst");
    Click(&TfrmSpeedInstall::lblLJAZClick);
  }

  // Runs the window as its host would: the engine's notices, the 100 ms polls, and the one-shot
  // fallback timer 1 s after it was armed; until done() holds.
  bool RunUntil(const std::function<bool()>& done, std::chrono::seconds limit = 30s) {
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    std::optional<std::chrono::steady_clock::time_point> armed;
    while (!done()) {
      if (std::chrono::steady_clock::now() > giveUp || host.exitCode || host.closed) return done();
      host.Pump();
      for (const char* poll : {"tmr1", "tmr3"}) Model().TimerTick(poll);
      if (Model().Get("tmr2").enabled) {
        if (!armed) armed = std::chrono::steady_clock::now();
        if (std::chrono::steady_clock::now() - *armed >= 1s) Model().TimerTick("tmr2");
      } else {
        armed.reset();
      }
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }
  bool RunToDonePage() { return RunUntil([this] { return Page() == kPageWC; }); }

  std::string Installed(const std::string& relative) { return testutil::ReadFile(OnHost(std::string(kInstallDir) + "\\" + relative)); }
  static std::string Reg(const char* key, const char* name) { return ReadRegString(key, name); }
  // Requests for path (a suffix of the target) that reached server.
  static int Asked(testserver::TestHttpServer& server, const std::string& path, const char* method = "GET") {
    int n = 0;
    for (const auto& r : server.Requests())
      if (r.method == method && r.target.size() >= path.size() &&
          r.target.compare(r.target.size() - path.size(), path.size(), path) == 0)
        ++n;
    return n;
  }
  void ExpectComponents(const std::string& msi) {
    EXPECT_EQ(Installed("ThirdSoftware\\BaseService.msi"), msi);
    for (const char* driver : kDrivers) EXPECT_EQ(Installed(std::string("App\\") + driver), driver);
  }

  std::unique_ptr<testserver::TestHttpServer> altServer_;
  std::string package_;
};

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
  if (!testutil::HaveLnkinfo()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  const std::string info = testutil::Lnkinfo(link);
  EXPECT_NE(info.find("Tarnwell"), std::string::npos) << info;
  EXPECT_NE(info.find("OstrelLauncher.exe"), std::string::npos) << info;
}

TEST_F(Install, StartNowLaunchesTheLauncherAndRegistersNothing) {
  ServeSite();
  StartInstall();
  ASSERT_TRUE(RunToDonePage());
  Click(&TfrmSpeedInstall::lblWCClick);
  EXPECT_TRUE(host.closed);
  const std::string mark = OnHost(std::string(kInstallDir) + "\\launched.txt");
  EXPECT_TRUE(WaitFor([&] { return fs::exists(mark); }, 10s)) << "the launcher did not run";
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
  ASSERT_TRUE(RunUntil([this] { return Model().Get("lblXZ").visible; }, 20s));
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
