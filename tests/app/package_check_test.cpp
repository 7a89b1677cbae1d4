// A downloaded package is checked against the manifest's checksum before it is extracted: a
// package that differs (corrupt on the server, or a resume that mixed two versions) is discarded
// with its resume files and counts as a failed download; without a checksum in the manifest it is
// extracted unchecked but never reused.
#include <cctype>

#include "app/PackageFile.h"
#include "install_fixture.h"

namespace ostrel::app::test {
namespace {

class PackageCheck : public Install {
 protected:
  std::string Staged(const std::string& name) { return OnHost(std::string(kStaging) + "Downloads\\" + name); }
  void ExpectNothingStaged() {
    for (const char* suffix : {"", ".rpc", ".rpc.cfg"})
      EXPECT_FALSE(fs::exists(Staged(std::string(kPackage) + suffix))) << suffix;
  }
  void ExpectNothingInstalled() {
    EXPECT_FALSE(fs::exists(OnHost(std::string(kInstallDir) + "\\OstrelMain.exe")));
    EXPECT_EQ(Reg(kUninstallKey, "DisplayName"), "");
  }
  // A package download stopped part way, another version of the same name and size on the server,
  // then "继续安装": the mixed file is never extracted, and the fallback fetches the new version.
  void ResumeOverAChangedPackage(const std::string& base) {
    ServeSite();
    ServePackage(Version('a'));
    UseBases(base.empty() ? "fault/drop=100000/" : "fault/noetag,drop=100000/", "");
    StartInstall();
    ASSERT_TRUE(RunUntil([this] { return Model().Get("tmr2").enabled; }, 20s));
    Model().SetTimerEnabled("tmr2", false);  // the first notice stopped the job; no fallback yet
    // The window's thread goes on running calls: the other worker's notice may be waiting for it.
    ASSERT_TRUE(host.TickUntil(*form, "", [this] { return form->DownloadJob()->LiveThreads() == 0; }, 10s));
    ASSERT_TRUE(fs::exists(Staged(std::string(kPackage) + ".rpc.cfg")));

    const std::string before = package_;
    ServePackage(Version('b'));
    ASSERT_EQ(package_.size(), before.size());
    PackageCRC = GetFileCRC(prefix_.scratch() + "/package.zip");
    UseBases(base, "");
    PackageURL = downloadServer_->Url(base + std::string(kPackageFolder) + kPackage);
    downloadServer_->ResetCounters();
    Click(&TfrmSpeedInstall::lblXZClick);
    ASSERT_TRUE(RunToDonePage());
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(Installed("Bin\\data.bin"), Version('b').back().second);
    // A segment that a retry finished before the stop took hold is not asked again.
    EXPECT_GE(Asked(*downloadServer_, std::string(kPackageFolder) + kPackage), 2) << "the rest, then one whole";
  }
  // The package files with data.bin of the same length made from seed.
  static std::vector<std::pair<std::string, std::string>> Version(char seed) {
    auto files = PackageFiles();
    for (auto& [name, data] : files)
      if (name == "Bin/data.bin") std::replace(data.begin(), data.end(), data[7], seed);
    return files;
  }
};

TEST_F(PackageCheck, ACorruptPackageFallsBackOnceAndEndsInTheDownloadBoxWithNothingExtracted) {
  ServeSite();
  ServePackage(PackageFiles(), "DEADBEEF");
  StartInstall();
  ASSERT_TRUE(RunUntil([this] { return !host.boxes.empty(); }));
  EXPECT_EQ(host.boxes, std::vector<std::string>{"下载失败"});
  EXPECT_EQ(Page(), kPageXZ);
  EXPECT_EQ(Asked(*downloadServer_, std::string(kPackageFolder) + kPackage, "HEAD"), 1) << "one job, then the fallback";
  ExpectNothingStaged();
  ExpectNothingInstalled();
}

// The checksum of a download is a number: any case and leading zeros are the same checksum.
TEST_F(PackageCheck, ADownloadMatchesTheManifestsChecksumWrittenInAnyCaseOrWithLeadingZeros) {
  const struct {
    const char* text;
    std::optional<uint32_t> number;
  } numbers[] = {{"7DE96C49", 0x7DE96C49}, {"7de96c49", 0x7DE96C49}, {"007DE96C49", 0x7DE96C49}, {"0", 0},
                 {"1FFFFFFFF", std::nullopt}, {"7DE9 6C49", std::nullopt}, {"", std::nullopt}};
  for (const auto& n : numbers) EXPECT_EQ(ChecksumNumber(n.text), n.number) << n.text;

  ServeSite();
  std::string crc = GetFileCRC(prefix_.scratch() + "/package.zip");
  std::transform(crc.begin(), crc.end(), crc.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
  for (bool web : {false, true}) ServeManifest(web, "5.1 版", kPackage, "0" + crc);
  StartInstall();
  ASSERT_TRUE(RunToDonePage());
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(PackageCheck, AResumeOverAChangedPackageIsCaughtByTheChecksumWhereTheServerGivesNoValidator) {
  ResumeOverAChangedPackage("fault/noetag/");
}

TEST_F(PackageCheck, AResumeOverAChangedPackageIsCaughtByTheValidatorWhereTheServerGivesOne) {
  ResumeOverAChangedPackage("");
}

TEST_F(PackageCheck, WithoutAChecksumTheDownloadIsExtractedButNeverReused) {
  ServeSite();
  ServePackage(PackageFiles(), "");
  StartInstall();
  ASSERT_TRUE(RunToDonePage());
  EXPECT_EQ(Installed("OstrelMain.exe"), "MZ main");
  ASSERT_TRUE(fs::exists(Staged(kPackage)));

  // A second install downloads the package again.
  host.CloseWindow();
  ASSERT_TRUE(form->WaitForJobThreads(10s));
  form.reset();
  host.closed = false;
  downloadServer_->ResetCounters();
  StartInstall();
  ASSERT_TRUE(RunToDonePage());
  EXPECT_EQ(Asked(*downloadServer_, std::string(kPackageFolder) + kPackage, "HEAD"), 1);
}

}  // namespace
}  // namespace ostrel::app::test
