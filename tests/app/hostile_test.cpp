// Whole installs against servers, archives and folders that work against the installer: nothing it
// could not fetch or write is kept or reported as done, nothing outside its folders is touched,
// and closing the window ends a single download at once.
#include "install_fixture.h"
#include "tests/testkit/host_only.h"

namespace ostrel::app::test {
namespace {

class Hostile : public Install {
 protected:
  std::string Host(const std::string& relative) { return OnHost(std::string(kInstallDir) + "\\" + relative); }
  // An earlier version in the install folder, read-only as a package may leave it.
  void PutEarlierVersion() {
    for (const char* name : {"OstrelMain.exe", "OstrelLauncher.exe", "帮助\\使用说明.txt"}) {
      Put(std::string(kInstallDir) + "\\" + name, std::string("old ") + name);
      fs::permissions(testkit::Utf8Path(Host(name)), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    }
  }
  std::map<std::string, std::string> InstallFolder() { return testkit::TreeSnapshot(Host("")); }
  // A folder outside the prefix that must stay empty, and a link to it at windowsPath.
  std::string PlantLink(const std::string& windowsPath) {
    const std::string outside = prefix_.scratch() + "/outside";
    fs::create_directories(outside);
    fs::create_directories(fs::path(OnHost(windowsPath)).parent_path());
    fs::create_directory_symlink(outside, OnHost(windowsPath));
    return outside;
  }
};

TEST_F(Hostile, DriversAnsweredByAnHtmlPageOrACutConnectionAreNotKept) {
  for (const char* base : {"fault/html/", "fault/drop=1000/"}) {
    SCOPED_TRACE(base);
    ServeSite();
    for (bool web : {false, true})
      for (const char* driver : kDrivers) Serve(web, std::string(kDriverFolder) + driver, std::string(10000, 'x'), false);
    Put(std::string(kStaging) + "Downloads\\" + kPackage, package_);  // the package is reused
    UseBases(base, base);
    StartInstall();
    ASSERT_TRUE(RunToDonePage());
    for (const char* driver : kDrivers) EXPECT_FALSE(fs::exists(Host(std::string("App\\") + driver))) << driver;
    EXPECT_TRUE(fs::is_empty(Host("App"))) << "a temporary was left";
    host.CloseWindow();
    form->WaitForJobThreads(10s);
    form.reset();
    host.closed = false;
    fs::remove_all(Host(""));
    ResetSharedValues();
  }
}

TEST_F(Hostile, ClosingDuringADriverDownloadEndsItAtOnceAndTheFlowWithIt) {
  ServeSite();
  Serve(false, std::string(kDriverFolder) + "WLMDrive.exe", Incompressible(4000000), false);
  Put(std::string(kInstallDir) + "\\ThirdSoftware\\BaseService.msi", "msi");
  Put(std::string(kInstallDir) + "\\App\\MarnkeyDrive.exe", "1");
  Put(std::string(kInstallDir) + "\\App\\OstrelCSP.exe", "2");
  UseBases("fault/rate=400000/", "");  // the last driver takes about ten seconds
  std::optional<std::chrono::steady_clock::time_point> closedAt;
  host.onProcessMessages = [&] {
    if (!closedAt && Text("lblDownLoadState") == "正在安装依赖驱动..." && WorkTotal > 0) {
      closedAt = std::chrono::steady_clock::now();
      Click(&TfrmSpeedInstall::lblCloseClick);
    }
  };
  StartInstall();
  RunUntil([&] { return closedAt && form->Form().PageIndex("nbMain") == kPageXZ && WorkTotal == 0; }, 30s);
  ASSERT_TRUE(closedAt.has_value());
  EXPECT_LT(std::chrono::steady_clock::now() - *closedAt, 2s);
  EXPECT_TRUE(host.closed);
  EXPECT_NE(Page(), kPageWC);
  EXPECT_FALSE(fs::exists(Host("App\\WLMDrive.exe")));
}

TEST_F(Hostile, ClosingDuringTheExtractionPutsTheEarlierVersionBackAndFetchesNoComponent) {
  ServeSite();
  PutEarlierVersion();
  const auto before = InstallFolder();
  bool clicked = false;
  host.onProcessMessages = [&] {  // the extraction's pump, once the package job is done
    const auto job = form->DownloadJob();
    if (!clicked && job && job->Finished.load() && !Model().Get("tmr1").enabled) {
      clicked = true;
      Click(&TfrmSpeedInstall::lblCloseClick);
    }
  };
  StartInstall();
  RunUntil([&] { return clicked; });
  ASSERT_TRUE(clicked);
  EXPECT_TRUE(host.closed);
  EXPECT_EQ(InstallFolder(), before);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(form->DownloadJob(), nullptr) << "no base-service job was started";
  EXPECT_EQ(Asked(*downloadServer_, kMsiPath, "HEAD"), 0);
  for (const char* driver : kDrivers) EXPECT_EQ(Asked(*downloadServer_, std::string(kDriverFolder) + driver), 0);
}

TEST_F(Hostile, LinksPlantedInTheFoldersItWritesAreNeverFollowed) {
  TESTKIT_SKIP_ON_WINDOWS("symbolic links");
  ServeSite();
  const std::string outside = PlantLink(std::string(kInstallDir) + "\\App");
  fs::create_directory_symlink(outside, Host("ThirdSoftware"));
  StartInstall();
  ASSERT_TRUE(RunToDonePage());
  EXPECT_TRUE(fs::is_empty(outside));

  // The staging folder through a link: the package can't be fetched there, nothing lands outside.
  host.CloseWindow();
  form->WaitForJobThreads(10s);
  form.reset();
  host.closed = false;
  fs::remove_all(OnHost(std::string(kStaging) + "Downloads"));
  PlantLink(std::string(kStaging) + "Downloads");
  ResetSharedValues();
  StartInstall();
  ASSERT_TRUE(RunUntil([this] { return !host.boxes.empty(); }));
  EXPECT_EQ(host.boxes, std::vector<std::string>{"下载版本文件失败"}) << "the manifest's copy has nowhere to go";
  EXPECT_TRUE(fs::is_empty(outside));
}

TEST_F(Hostile, AnUpgradeOverReadOnlyFilesReplacesThem) {
  ServeSite();
  PutEarlierVersion();
  StartInstall();
  ASSERT_TRUE(RunToDonePage());
  for (const auto& [name, data] : PackageFiles()) EXPECT_EQ(Installed(name), data) << name;
  for (const auto& [name, facts] : InstallFolder()) EXPECT_EQ(name.find(".ostrel-"), std::string::npos) << name;
}

// The package's last entry can't be written: the earlier version stays exactly as it was.
TEST_F(Hostile, AFileThatCannotBeWrittenFailsTheInstallAndLeavesTheEarlierVersion) {
  ServeSite();
  PutEarlierVersion();
  fs::create_directories(Host("Bin\\data.bin"));
  const auto before = InstallFolder();
  StartInstall();
  ASSERT_TRUE(RunUntil([this] { return !host.boxes.empty(); }));
  EXPECT_EQ(host.boxes, std::vector<std::string>{"安装失败"});
  EXPECT_EQ(Page(), kPageXZ);
  EXPECT_EQ(InstallFolder(), before);
  EXPECT_EQ(Asked(*downloadServer_, kMsiPath, "HEAD"), 0);
}

TEST_F(Hostile, TemporariesThatAKilledRunLeftAreRemovedByTheNext) {
  ServeSite();
  const std::vector<std::string> leftovers = {
      std::string(kInstallDir) + "\\.ostrel-unzip-123.part", std::string(kInstallDir) + "\\帮助\\.ostrel-unzip-9.part",
      std::string(kInstallDir) + "\\App\\WLMDrive.exe.part-ab12cd",
      std::string(kStaging) + "Downloads\\KELOPRO.INI.part-x1y2z3",
      std::string(kStaging) + "Downloads\\" + kPackage + ".part-q1w2e3"};
  for (const std::string& file : leftovers) Put(file, "left by a killed run");
  StartInstall();
  ASSERT_TRUE(RunToDonePage());
  for (const std::string& file : leftovers) EXPECT_FALSE(fs::exists(OnHost(file))) << file;
}

}  // namespace
}  // namespace ostrel::app::test
