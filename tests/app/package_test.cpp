// "立即安装" with a package already in the staging folder: reused when its checksum is the
// manifest's, otherwise deleted with every other archive there before a new job starts.
#include "flow_fixture.h"
#include "support/PubCrc.h"
#include "zip_writer.h"

namespace ostrel::app::test {
namespace {

constexpr char kPackage[] = "OstrelPlatform_5.1.zip";

class Package : public FlowTest {
 protected:
  // A package with the launcher in it, as bytes.
  std::string PackageBytes(const std::string& launcher) {
    const fs::path zip = fs::path(prefix_.scratch()) / "made.zip";
    // With the four components inside, the extraction leads straight to the done page.
    WriteZip(zip, {{"OstrelLauncher.exe", launcher},
                   {"Uninstall/uninst.exe", "MZ uninst"},
                   {"ThirdSoftware/BaseService.msi", "msi"},
                   {"App/MarnkeyDrive.exe", "MZ 1"},
                   {"App/OstrelCSP.exe", "MZ 2"},
                   {"App/WLMDrive.exe", "MZ 3"}});
    return testkit::ReadFile(zip.string());
  }
  std::string Staged(const std::string& name) { return std::string(kStaging) + "Downloads\\" + name; }
  // Shows the window with the manifest for bytes, and clicks through to "立即安装".
  void Install(const std::string& packageBytes, const std::string& crc) {
    ServeManifest(false, "5.1", kPackage, crc);
    Serve(false, kPackage, packageBytes);
    Show();
    Click(&TfrmSpeedInstall::lblAZClick);
    Model().SetText("edtAZLJ", "C:\\Inst");
    downloadServer_->ResetCounters();
    Click(&TfrmSpeedInstall::lblLJAZClick);
  }
};

TEST_F(Package, AValidPackageIsExtractedWithoutAnyRequest) {
  const std::string bytes = PackageBytes("MZ launcher");
  Put(Staged(kPackage), bytes);
  const std::string crc = GetFileCRC(OnHost(Staged(kPackage)));
  int pageWhenPumped = -1;
  host.onProcessMessages = [&] { if (pageWhenPumped < 0) pageWhenPumped = Page(); };
  Install(bytes, crc);
  EXPECT_TRUE(downloadServer_->Requests().empty());
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(pageWhenPumped, kPageXZ);  // the page is shown before the extraction
  EXPECT_EQ(Page(), kPageWC);
  EXPECT_EQ(Text("lblJD"), "99%");
  EXPECT_EQ(Model().Get("lblJDT").box.width, 574);
  EXPECT_EQ(testkit::ReadFile(OnHost("C:\\Inst\\OstrelPlatform\\OstrelLauncher.exe")), "MZ launcher");
  EXPECT_EQ(form->DownloadJob(), nullptr);
  EXPECT_FALSE(Model().Get("tmr1").enabled);
}

TEST_F(Package, AValidChecksumOverABrokenArchiveFailsTheInstall) {
  Put(Staged(kPackage), "not a zip archive");
  Install("not a zip archive", GetFileCRC(OnHost(Staged(kPackage))));
  EXPECT_EQ(host.boxes, std::vector<std::string>{"安装失败"});
  EXPECT_EQ(Page(), kPageXZ);
  EXPECT_TRUE(downloadServer_->Requests().empty());
  EXPECT_EQ(form->DownloadJob(), nullptr);
}

TEST_F(Package, AStalePackageEveryArchiveAndOtherResumeFilesGoBeforeTheDownloadStarts) {
  const std::string fresh = PackageBytes("MZ fresh launcher");
  Put(Staged(kPackage), "stale bytes");
  // The engine's note as a file of its own, where the file system keeps no streams (Wine lists ":" as U+F03A).
#ifdef _WIN32
  const std::string noteSeparator = "\xEF\x80\xBA";
#else
  const std::string noteSeparator = ":";
#endif
  const std::vector<std::string> staleResumeFiles = {"OstrelPlatform_5.0.zip.rpc", "OstrelPlatform_5.0.zip.rpc.cfg",
                                                     std::string(kPackage) + ".rpc.cfg.tmp-ab12cd",
                                                     "OstrelPlatform_4.9.zip.rpc" + noteSeparator + "ostrel.note"};
  for (const std::string& name : staleResumeFiles) Put(Staged(name), "left by an earlier run");
  Put(Staged("old.zip"), "old");
  Put(Staged("OLDER.ZIP"), "older");
  Put(Staged("notes.txt"), "kept");
  Put(Staged("sub.zip\\inner.zip"), "a folder is left alone");
  Install(fresh, "ABCDEF01");
  ASSERT_TRUE(host.boxes.empty());
  EXPECT_EQ(Page(), kPageXZ);
  EXPECT_FALSE(fs::exists(OnHost(Staged("old.zip"))));
  EXPECT_FALSE(fs::exists(OnHost(Staged("OLDER.ZIP"))));
  EXPECT_TRUE(fs::exists(OnHost(Staged("notes.txt"))));
  EXPECT_TRUE(fs::exists(OnHost(Staged("sub.zip\\inner.zip"))));
  for (const std::string& name : staleResumeFiles) EXPECT_FALSE(fs::exists(OnHost(Staged(name)))) << name;
  const std::shared_ptr<TDownloadJob> job = form->DownloadJob();
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->ThreadCount, 2);
  EXPECT_EQ(job->URL, Server(false).Url(std::string("dlcpx/DOWN_CENTER/OSTREL/OSTREL/") + kPackage));
  EXPECT_EQ(job->FileName, Staged(kPackage));
  EXPECT_TRUE(Model().Get("tmr1").enabled);
  EXPECT_TRUE(Model().IsShowing(Model().Get("lblDownLoadState")));
  EXPECT_FALSE(Model().Get("lblErrorHint").visible);
  ASSERT_TRUE(host.TickUntil(*form, "", [&] { return job->Finished.load(); }));
  EXPECT_EQ(testkit::ReadFile(OnHost(Staged(kPackage))), fresh);  // the download wasn't cleaned up
}

TEST_F(Package, ContinueStartsANewJobForTheSamePackage) {
  Install(PackageBytes("MZ"), "00");
  const std::shared_ptr<TDownloadJob> first = form->DownloadJob();
  ASSERT_NE(first, nullptr);
  Model().SetVisible("lblErrorHint", true);
  Model().SetVisible("lblXZ", true);
  Model().SetVisible("lblDownLoadState", false);
  Click(&TfrmSpeedInstall::lblXZClick);
  const std::shared_ptr<TDownloadJob> second = form->DownloadJob();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(second->URL, first->URL);
  EXPECT_FALSE(Model().Get("lblErrorHint").visible);
  EXPECT_FALSE(Model().Get("lblXZ").visible);
  EXPECT_TRUE(Model().Get("lblDownLoadState").visible);
}

}  // namespace
}  // namespace ostrel::app::test
