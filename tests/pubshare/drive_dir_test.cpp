// NormalizeDir, GetWindowsDir and the choice of the install drive.
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "support/pubShare.h"
#include "tests/platform/temp_prefix.h"

namespace {

TEST(NormalizeDir, TrimsAndEndsWithOneBackslash) {
  EXPECT_EQ(NormalizeDir("  C:\\Windows  "), "C:\\Windows\\");
  EXPECT_EQ(NormalizeDir(" C:\\Windows\\ "), "C:\\Windows\\");
  EXPECT_EQ(NormalizeDir("\t\r\nD:\\Tools\x01"), "D:\\Tools\\");
  EXPECT_EQ(NormalizeDir("   "), "");
  EXPECT_EQ(NormalizeDir(""), "");
  EXPECT_EQ(NormalizeDir("C:\\a b\\"), "C:\\a b\\");
  EXPECT_EQ(NormalizeDir("D:\\程序"), "D:\\程序\\");  // bytes above 127 are not blanks
}

// A made-up drive table: type and free space (sectors per cluster, bytes per sector, free clusters).
class FakeDrives : public platform::DriveQuery {
 public:
  struct Drive {
    unsigned type;
    platform::DiskFreeSpace space;
    bool spaceFails = false;
  };
  FakeDrives& Add(char letter, unsigned type, double freeGiB, bool spaceFails = false) {
    platform::DiskFreeSpace s;
    s.sectorsPerCluster = 8;
    s.bytesPerSector = 512;
    s.freeClusters = static_cast<uint32_t>(freeGiB * 1024 * 1024 * 1024 / 4096);
    s.totalClusters = s.freeClusters;
    drives_[letter] = {type, s, spaceFails};
    return *this;
  }
  FakeDrives& AddRaw(char letter, unsigned type, platform::DiskFreeSpace s) {
    drives_[letter] = {type, s, false};
    return *this;
  }
  unsigned DriveTypeOf(const std::string& root) const override {
    ++typeQueries;
    auto it = drives_.find(root[0]);
    return it == drives_.end() ? platform::kDriveNoRootDir : it->second.type;
  }
  bool FreeSpaceOf(const std::string& root, platform::DiskFreeSpace& out) const override {
    spaceQueries.push_back(root);
    auto it = drives_.find(root[0]);
    if (it == drives_.end() || it->second.spaceFails) return false;
    out = it->second.space;
    return true;
  }
  mutable int typeQueries = 0;
  mutable std::vector<std::string> spaceQueries;

 private:
  std::map<char, Drive> drives_;
};

using platform::kDriveCdrom;
using platform::kDriveFixed;
using platform::kDriveRamdisk;
using platform::kDriveRemote;
using platform::kDriveRemovable;

TEST(ChooseInstallDrive, OnlyTheWindowsDriveGivesIt) {
  FakeDrives drives;
  drives.Add('C', kDriveFixed, 500);
  EXPECT_EQ(ChooseInstallDrive("C:\\Windows\\", drives), "C:\\");
  EXPECT_EQ(drives.typeQueries, 26);     // every letter was asked, in order
  EXPECT_TRUE(drives.spaceQueries.empty());  // the Windows drive never gets as far as the space query
}

TEST(ChooseInstallDrive, TheFirstFixedNonWindowsDriveWithOneGiBWins) {
  FakeDrives drives;
  drives.Add('C', kDriveFixed, 100).Add('D', kDriveFixed, 0.5).Add('E', kDriveFixed, 20).Add('F', kDriveFixed, 50);
  EXPECT_EQ(ChooseInstallDrive("C:\\Windows\\", drives), "E:\\");
  EXPECT_EQ(drives.spaceQueries, (std::vector<std::string>{"D:\\", "E:\\"}));
}

TEST(ChooseInstallDrive, RemovableNetworkAndOtherDrivesAreNeverChosen) {
  FakeDrives drives;
  drives.Add('A', kDriveRemovable, 900).Add('B', kDriveCdrom, 900).Add('C', kDriveFixed, 1).Add('R', kDriveRamdisk, 900);
  drives.Add('Y', kDriveRemote, 900).Add('Z', kDriveRemote, 900);
  EXPECT_EQ(ChooseInstallDrive("C:\\Windows\\", drives), "C:\\");
}

TEST(ChooseInstallDrive, TheWindowsDriveIsRecognisedInAnyLetterCase) {
  FakeDrives drives;
  drives.Add('D', kDriveFixed, 100).Add('E', kDriveFixed, 100);
  EXPECT_EQ(ChooseInstallDrive("d:\\windows\\", drives), "E:\\");
  EXPECT_EQ(ChooseInstallDrive("d:\\windows\\", FakeDrives().Add('D', kDriveFixed, 100)), "d:\\");
}

TEST(ChooseInstallDrive, ExactlyOneGiBIsEnoughAndFailedQueriesAreSkipped) {
  FakeDrives drives;
  drives.Add('C', kDriveFixed, 100).Add('D', kDriveFixed, 100, /*spaceFails=*/true);
  drives.AddRaw('E', kDriveFixed, {8, 512, 262143, 1000000});  // 1 GiB less one 4 KiB cluster
  drives.AddRaw('F', kDriveFixed, {8, 512, 262144, 1000000});  // 1 GiB exactly
  EXPECT_EQ(ChooseInstallDrive("C:\\Windows\\", drives), "F:\\");
}

TEST(ChooseInstallDrive, LargeDrivesDoNotOverflow) {
  // 4e9 clusters of 64 KiB: the byte count doesn't fit 32 or even 48 bits.
  FakeDrives drives;
  drives.AddRaw('D', kDriveFixed, {128, 512, 4000000000u, 4000000000u});
  EXPECT_EQ(ChooseInstallDrive("C:\\Windows\\", drives), "D:\\");
  // Bytes per sector x sectors per cluster alone would overflow 32 bits.
  FakeDrives odd;
  odd.AddRaw('D', kDriveFixed, {65536, 65536, 1, 1});
  EXPECT_EQ(ChooseInstallDrive("C:\\Windows\\", odd), "D:\\");
}

TEST(ChooseInstallDrive, WithoutAWindowsFolderADriveCanStillBeChosen) {
  EXPECT_EQ(ChooseInstallDrive("", FakeDrives().Add('C', kDriveFixed, 0.1)), "");
  EXPECT_EQ(ChooseInstallDrive("", FakeDrives().Add('C', kDriveFixed, 5)), "C:\\");
}

TEST(InstallDrive, TheRealTableOfAFreshPrefixGivesC) {
  testutil::TempPrefix prefix;
  EXPECT_EQ(GetWindowsDir(), "C:\\Windows\\");
  EXPECT_EQ(GetInstallDrive(), "C:\\");  // z: is the host, a network drive
}

TEST(InstallDrive, ALinkedRoomyFolderBecomesTheDrive) {
  testutil::TempPrefix prefix;
  ASSERT_EQ(GetInstallDrive(), "C:\\");
  std::filesystem::create_directory(prefix.scratch() + "/disk");
  std::filesystem::create_directory_symlink(prefix.scratch() + "/disk", prefix.path() + "/dosdevices/m:");
  platform::DiskFreeSpace space;
  ASSERT_TRUE(platform::GetDiskFreeSpaceA("M:\\", space));
  const double freeGiB = double(space.freeClusters) * space.bytesPerSector * space.sectorsPerCluster / (1 << 30);
  if (freeGiB < 1.5) GTEST_SKIP() << "the temporary folder's file system has less than 1.5 GiB free";
  EXPECT_EQ(GetInstallDrive(), "M:\\");
}

}  // namespace
