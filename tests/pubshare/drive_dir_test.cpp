// NormalizeDir, GetWindowsDir and the choice of the install drive.
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "support/pubShare.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"

using platform::kDriveCdrom;
using platform::kDriveFixed;
using platform::kDriveRemote;
using platform::kDriveRemovable;

namespace {

TEST(NormalizeDir, TrimsAndEndsWithOneBackslash) {
  EXPECT_EQ(NormalizeDir("  C:\\Windows  "), "C:\\Windows\\");
  EXPECT_EQ(NormalizeDir(" C:\\Windows\\ "), "C:\\Windows\\");
  EXPECT_EQ(NormalizeDir("\t\r\nD:\\a b\x01"), "D:\\a b\\");
  EXPECT_EQ(NormalizeDir("   "), "");
  EXPECT_EQ(NormalizeDir("D:\\程序"), "D:\\程序\\");  // bytes above 127 are not blanks
}

// A made-up drive table: letter -> type and GetDiskFreeSpaceA's numbers; no numbers: the query fails.
struct FakeDrive {
  unsigned type;
  std::optional<platform::DiskFreeSpace> space;
};
class FakeDrives : public platform::DriveQuery {
 public:
  explicit FakeDrives(std::map<char, FakeDrive> drives) : drives_(std::move(drives)) {}
  unsigned DriveTypeOf(const std::string& root) const override {
    asked += root;
    auto it = drives_.find(root[0]);
    return it == drives_.end() ? platform::kDriveNoRootDir : it->second.type;
  }
  bool FreeSpaceOf(const std::string& root, platform::DiskFreeSpace& out) const override {
    auto it = drives_.find(root[0]);
    if (it == drives_.end() || !it->second.space) return false;
    out = *it->second.space;
    return true;
  }
  mutable std::string asked;

 private:
  std::map<char, FakeDrive> drives_;
};

FakeDrive Fixed(double freeGiB, unsigned type = kDriveFixed) {  // 4 KiB clusters
  return {type, platform::DiskFreeSpace{8, 512, static_cast<uint32_t>(freeGiB * 262144), 4000000000u}};
}

TEST(ChooseInstallDrive, TablesOfDrives) {
  struct Case {
    const char* windowsDir;
    std::map<char, FakeDrive> drives;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\Windows\\", {{'C', Fixed(500)}}, "C:\\"},
      {"C:\\Windows\\", {{'C', Fixed(100)}, {'D', Fixed(0.5)}, {'E', Fixed(20)}, {'F', Fixed(50)}}, "E:\\"},
      {"C:\\Windows\\",
       {{'A', Fixed(900, kDriveRemovable)}, {'B', Fixed(900, kDriveCdrom)}, {'C', Fixed(1)}, {'Y', Fixed(900, kDriveRemote)}},
       "C:\\"},
      {"d:\\windows\\", {{'D', Fixed(100)}, {'E', Fixed(100)}}, "E:\\"},  // letter case doesn't matter
      {"d:\\windows\\", {{'D', Fixed(100)}}, "d:\\"},
      {"C:\\Windows\\", {{'D', {kDriveFixed, std::nullopt}}, {'E', Fixed(1.0 - 1.0 / 262144)}, {'F', Fixed(1.0)}}, "F:\\"},
      // The byte count overflows 32 bits, and so does bytes per sector x sectors per cluster.
      {"C:\\Windows\\", {{'D', {kDriveFixed, platform::DiskFreeSpace{128, 512, 4000000000u, 4000000000u}}}}, "D:\\"},
      {"C:\\Windows\\", {{'D', {kDriveFixed, platform::DiskFreeSpace{65536, 65536, 1, 1}}}}, "D:\\"},
      {"", {{'C', Fixed(0.1)}}, ""},  // no Windows folder: still a drive if one qualifies
      {"", {{'C', Fixed(5)}}, "C:\\"},
  };
  for (const Case& c : cases) {
    FakeDrives drives(c.drives);
    EXPECT_EQ(ChooseInstallDrive(c.windowsDir, drives), c.expected) << c.windowsDir << " -> " << c.expected;
  }
  FakeDrives onlyC({{'C', Fixed(500)}});
  ChooseInstallDrive("C:\\Windows\\", onlyC);
  EXPECT_EQ(onlyC.asked.substr(0, 9), "A:\\B:\\C:\\");  // from A to Z, in order
  EXPECT_EQ(onlyC.asked.size(), 26u * 3);
}

TEST(InstallDrive, TheRealTableOfAFreshPrefix) {
  testkit::TempPrefix prefix;
  EXPECT_EQ(GetWindowsDir(), "C:\\Windows\\");
  EXPECT_EQ(GetInstallDrive(), "C:\\");  // z: is the host, a network drive
  std::filesystem::create_directory(prefix.scratch() + "/disk");
  std::filesystem::create_directory_symlink(prefix.scratch() + "/disk", prefix.path() + "/dosdevices/m:");
  platform::DiskFreeSpace space;
  ASSERT_TRUE(platform::GetDiskFreeSpaceA("M:\\", space));
  if (double(space.freeClusters) * space.bytesPerSector * space.sectorsPerCluster < 1.5 * (1 << 30))
    GTEST_SKIP() << "the temporary folder's file system has less than 1.5 GiB free";
  EXPECT_EQ(GetInstallDrive(), "M:\\");
}

}  // namespace
