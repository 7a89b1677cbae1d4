// The version manifest at show time and on "立即安装": which server delivered it, what is read
// from it, and manifests that can't be used.
#include "flow_fixture.h"

namespace ostrel::app::test {
namespace {

using Manifest = FlowTest;

TEST_F(Manifest, TheServerThatDeliversItIsRecordedWithItsPackageFolder) {
  struct Case {
    const char* name;
    bool onDownload, onWeb;
    const char* downloadPath;  // the download server's base below its root
    bool webExpected;
  };
  const Case cases[] = {
      {"download server", true, true, "", false},
      {"web server only", false, true, "", true},
      {"download server sends an empty body", true, true, "fault/empty/", true},
      {"download server refuses", true, true, "fault/status=503/", true},
      {"download server trickles past its deadline", true, true, "fault/rate=5/", true},
      {"download server never ends its body", true, true, "fault/endless/", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(Root(false));
    fs::remove_all(Root(true));
    if (c.onDownload) ServeManifest(false, "V5.1 正式版", "OstrelPlatform_5.1.zip", "1A2B");
    if (c.onWeb) ServeManifest(true, "V5.1 正式版", "OstrelPlatform_5.1.zip", "1A2B");
    UseBases(c.downloadPath, "");
    ResetSharedValues();
    Show();
    EXPECT_EQ(UseWebServer, c.webExpected);
    const std::string base = c.webExpected ? Server(true).Url("") : Server(false).Url(c.downloadPath);
    EXPECT_EQ(PackageURL, base + "dlcpx/DOWN_CENTER/OSTREL/OSTREL/OstrelPlatform_5.1.zip");
    EXPECT_EQ(PackageName, "OstrelPlatform_5.1.zip");
    EXPECT_EQ(PackageCRC, "1A2B");
    EXPECT_EQ(Text("lblVersion"), "V5.1 正式版");  // code page 936 on the server, UTF-8 here
    EXPECT_EQ(Text("lblVersion2"), "V5.1 正式版");
    EXPECT_EQ(testkit::ReadFile(OnHost(std::string(kStaging) + "Downloads\\KELOPRO.INI")),
              platform::Utf8ToGbk("[Setup]\r\nLargeVer=V5.1 正式版\r\nurl=OstrelPlatform_5.1.zip\r\ncrc=1A2B\r\n"));
  }
}

TEST_F(Manifest, WithoutAnyTheCaptionsStayEmptyAndInstallAsksBothServersAgain) {
  TfrmSpeedInstall& window = Show();
  EXPECT_EQ(Text("lblVersion"), "");
  EXPECT_EQ(Text("lblVersion2"), "");
  EXPECT_FALSE(fs::exists(OnHost(std::string(kStaging) + "Downloads\\KELOPRO.INI")));
  Click(&TfrmSpeedInstall::lblAZClick);
  EXPECT_EQ(Page(), kPageSZ);  // the folder page works without a manifest
  downloadServer_->ResetCounters();
  webServer_->ResetCounters();
  window.lblLJAZClick(nullptr);
  EXPECT_EQ(host.boxes, std::vector<std::string>{"下载版本文件失败"});
  EXPECT_EQ(Page(), kPageSZ);
  EXPECT_EQ(downloadServer_->Requests().size(), 1u);
  EXPECT_EQ(webServer_->Requests().size(), 1u);
  EXPECT_EQ(window.DownloadJob(), nullptr);
}

TEST_F(Manifest, AnXmlTextIsAManifestWithEmptyValues) {
  Serve(false, "OSTREL.XML", "<?xml version=\"1.0\"?>\n<Setup><LargeVer>5.1</LargeVer></Setup>\n");
  TfrmSpeedInstall& window = Show();
  EXPECT_TRUE(window.GetNewVer());
  EXPECT_FALSE(UseWebServer);
  EXPECT_EQ(NewVersion, "");
  EXPECT_EQ(PackageName, "");
  EXPECT_EQ(PackageCRC, "");
  EXPECT_EQ(PackageURL, Server(false).Url("dlcpx/DOWN_CENTER/OSTREL/OSTREL/"));
}

TEST_F(Manifest, APackageNameThatLeavesTheStagingFolderCountsAsNoManifest) {
  const char* names[] = {"..\\..\\Windows\\victim.zip", "../victim.zip", "C:victim.zip", "sub\\pkg.zip",
                         "pkg\t.zip", "..", "D:\\pkg.zip", "pkg?.zip"};
  Put("C:\\victim.zip", "keep me");
  for (const char* name : names) {
    SCOPED_TRACE(name);
    ServeManifest(false, "5.1", name, "00");
    ServeManifest(true, "5.1", name, "00");
    ResetSharedValues();
    host.boxes.clear();
    TfrmSpeedInstall& window = Show();
    EXPECT_EQ(Text("lblVersion2"), "");
    EXPECT_EQ(PackageName, "");
    Click(&TfrmSpeedInstall::lblAZClick);
    window.lblLJAZClick(nullptr);
    EXPECT_EQ(host.boxes, std::vector<std::string>{"下载版本文件失败"});
    EXPECT_EQ(window.DownloadJob(), nullptr);
    EXPECT_FALSE(fs::exists(OnHost(std::string(kStaging) + "Downloads\\KELOPRO.INI")));
  }
  EXPECT_EQ(testkit::ReadFile(OnHost("C:\\victim.zip")), "keep me");
}

TEST_F(Manifest, AnUnusableManifestOnTheDownloadServerFallsBackToTheWebServer) {
  ServeManifest(false, "5.1", "..\\pkg.zip", "00");
  ServeManifest(true, "5.2", "pkg.zip", "11");
  Show();
  EXPECT_TRUE(UseWebServer);
  EXPECT_EQ(NewVersion, "5.2");
  EXPECT_EQ(PackageURL, Server(true).Url("dlcpx/DOWN_CENTER/OSTREL/OSTREL/pkg.zip"));
}

}  // namespace
}  // namespace ostrel::app::test
