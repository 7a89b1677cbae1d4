// The install folder: the proposal, the browse control and the folder rules of "立即安装".
#include "flow_fixture.h"
#include "support/pubShare.h"

namespace ostrel::app::test {
namespace {

constexpr char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\";

class Location : public FlowTest {
 protected:
  // Drive D:, a fixed drive on the temporary folder's file system.
  void MakeDriveD() {
    fs::create_directories(prefix_.scratch() + "/disk_d");
    fs::create_directory_symlink(prefix_.scratch() + "/disk_d", prefix_.path() + "/dosdevices/d:");
  }
  void Register(const std::string& folder, bool withMain) {
    WriteRegString(kAppPathKey, "Path", folder + "\\");
    if (withMain) Put(folder + "\\OstrelMain.exe", "MZ");
  }
  void SetEdit(const std::string& text) { Model().SetText("edtAZLJ", text); }
};

TEST_F(Location, TheProposalIsTheRegisteredInstallationElseTheDriveRule) {
  struct Case {
    const char* name;
    bool registered, withMain, driveD;
    const char* expected;
  };
  const Case cases[] = {
      {"installation with its OstrelMain.exe", true, true, false, "C:\\Apps\\Ostrel\\OstrelPlatform"},
      {"installation that lost it", true, false, false, "C:\\Program Files\\Ostrel\\OstrelPlatform"},
      {"a roomy fixed D:", false, false, true, "D:\\Program Files\\Ostrel\\OstrelPlatform"},
      {"only C:", false, false, false, "C:\\Program Files\\Ostrel\\OstrelPlatform"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
#ifdef _WIN32
    if (c.driveD) continue;  // drive D: is a link in the prefix
#endif
    fs::remove(prefix_.path() + "/dosdevices/d:");
    fs::remove(OnHost("C:\\Apps\\Ostrel\\OstrelPlatform\\OstrelMain.exe"));
    WriteRegString(kAppPathKey, "Path", "");
    if (c.registered) Register("C:\\Apps\\Ostrel\\OstrelPlatform", c.withMain);
    if (c.driveD) MakeDriveD();
    Show();
    Click(&TfrmSpeedInstall::lblAZClick);
    EXPECT_EQ(Page(), kPageSZ);
    EXPECT_EQ(Text("edtAZLJ"), c.expected);
  }
}

TEST_F(Location, AFolderInTheEditStaysWhenThePageIsVisitedAgain) {
  Show();
  Click(&TfrmSpeedInstall::lblAZClick);
  SetEdit("E:\\Mine");
  Click(&TfrmSpeedInstall::lblFHClick);
  EXPECT_EQ(Page(), kPageAZ);
  Click(&TfrmSpeedInstall::lblAZClick);
  EXPECT_EQ(Text("edtAZLJ"), "E:\\Mine");
}

TEST_F(Location, BrowsingAppendsThePlatformFolderWhereItIsMissing) {
  struct Case {
    const char* edit;
    std::optional<std::string> answer;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\Old", "D:\\", "D:\\OstrelPlatform"},
      {"C:\\Old", "D:\\Tools", "D:\\Tools\\OstrelPlatform"},
      {"C:\\Old", "D:\\Tools\\", "D:\\Tools\\OstrelPlatform"},
      {"C:\\Old", "D:\\My\\OstrelPlatform\\v5", "D:\\My\\OstrelPlatform\\v5"},
      {"", std::nullopt, "\\OstrelPlatform"},
      {"E:\\Kept", std::nullopt, "E:\\Kept\\OstrelPlatform"},
      {"E:\\Kept\\", std::nullopt, "E:\\Kept\\OstrelPlatform"},
  };
  Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edit + std::string(" -> ") + c.answer.value_or("cancel"));
    SetEdit(c.edit);
    host.browseAnswers = {c.answer};
    Click(&TfrmSpeedInstall::lblLLClick);
    EXPECT_EQ(host.browseTitles.back(), "请选择安装文件夹");
    EXPECT_EQ(host.browseStarts.back(), c.edit);
    EXPECT_EQ(Text("edtAZLJ"), c.expected);
  }
}

TEST_F(Location, InstallSettlesTheFolderOrRefusesIt) {
  struct Case {
    const char* edit;
    const char* box;          // empty: accepted (the click goes on to the manifest)
    const char* installDir;   // after the click
  };
  const Case cases[] = {
      {"", "请您先设置安装位置", ""},
      {"Q:\\NoSuchDrive", "此目录不可使用，请您重新选择安装位置", "Q:\\NoSuchDrive\\OstrelPlatform"},
      {"C:\\Inst\\OstrelPlatform", "", "C:\\Inst\\OstrelPlatform"},
      {"C:\\Inst\\ostrelplatform", "", "C:\\Inst\\ostrelplatform\\OstrelPlatform"},
      {"C:\\", "", "C:\\\\OstrelPlatform"},
  };
  Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edit);
    host.boxes.clear();
    InstallDir.clear();
    Click(&TfrmSpeedInstall::lblAZClick);
    SetEdit(c.edit);
    Click(&TfrmSpeedInstall::lblLJAZClick);
    const std::string expectedBox = *c.box ? c.box : "下载版本文件失败";  // no manifest is served
    EXPECT_EQ(host.boxes, std::vector<std::string>{expectedBox});
    EXPECT_EQ(InstallDir, c.installDir);
    EXPECT_EQ(Text("edtAZLJ"), c.edit);  // the edit itself isn't changed
    EXPECT_EQ(Page(), kPageSZ);
    if (!*c.box) {
      EXPECT_TRUE(fs::is_directory(OnHost(c.installDir)));
    }
  }
}

}  // namespace
}  // namespace ostrel::app::test
