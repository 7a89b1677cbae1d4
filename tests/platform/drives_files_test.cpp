// Drives, the Windows folder, path mapping and file operations over the prefix.
#include <sys/statvfs.h>

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/host_path.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"

namespace fs = std::filesystem;

namespace {

TEST(HostPath, DrivesMapThroughDosdevicesAndHostPathsPassThrough) {
  testkit::TempPrefix prefix;
  EXPECT_EQ(platform::HostPath("D:\\Pkg\\a.zip"), prefix.path() + "/dosdevices/d:/Pkg/a.zip");
  EXPECT_TRUE(fs::is_symlink(prefix.path() + "/dosdevices/c:"));  // a drive path seeds the prefix first
  EXPECT_EQ(platform::HostPath("/tmp/x\\y"), "/tmp/x\\y");
  EXPECT_EQ(platform::HostPath("\\OstrelPro.lnk"), prefix.path() + "/dosdevices/c:/OstrelPro.lnk");  // current drive
  EXPECT_EQ(platform::HostPath("\\\\server\\share"), "//server/share");
}

TEST(Drives, TheDosdevicesEntriesAreTheDriveTable) {
  testkit::TempPrefix prefix;
  EXPECT_EQ(platform::GetWindowsDirectoryA(), "C:\\Windows");
  EXPECT_EQ(platform::GetWindowsDirectoryA(10), "");  // too small a buffer
  fs::create_directory(prefix.scratch() + "/disk_d");
  fs::create_directory_symlink(prefix.scratch() + "/disk_d", prefix.path() + "/dosdevices/d:");
  fs::create_directory_symlink(prefix.scratch() + "/nowhere", prefix.path() + "/dosdevices/e:");
  const std::pair<const char*, unsigned> table[] = {
      {"C:\\", platform::kDriveFixed},     {"c:\\", platform::kDriveFixed},      {"D:\\", platform::kDriveFixed},
      {"Z:\\", platform::kDriveRemote},    {"E:\\", platform::kDriveNoRootDir},  {"Q:\\", platform::kDriveNoRootDir},
      {"nonsense", platform::kDriveNoRootDir}};
  for (const auto& [root, type] : table) EXPECT_EQ(platform::SystemDrives().DriveTypeOf(root), type) << root;

  platform::DiskFreeSpace space;
  ASSERT_TRUE(platform::GetDiskFreeSpaceA("D:\\", space));
  struct statvfs vfs;
  ASSERT_EQ(::statvfs(prefix.scratch().c_str(), &vfs), 0);
  const double reported = double(space.freeClusters) * space.sectorsPerCluster * space.bytesPerSector;
  const double actual = double(vfs.f_bavail) * vfs.f_frsize;
  EXPECT_NEAR(reported, actual, actual * 0.05 + 64.0 * 1024 * 1024);  // others write meanwhile
  EXPECT_FALSE(platform::GetDiskFreeSpaceA("E:\\", space));
  EXPECT_FALSE(platform::GetDiskFreeSpaceA("Q:\\", space));
}

TEST(FileSystem, ForceDirectoriesMakesChainsButNeverDrives) {
  testkit::TempPrefix prefix;
  EXPECT_TRUE(platform::ForceDirectories("C:\\Program Files\\Ostrel\\InstOstrel\\Downloads"));
  EXPECT_TRUE(fs::is_directory(prefix.path() + "/drive_c/Program Files/Ostrel/InstOstrel/Downloads"));
  EXPECT_TRUE(platform::ForceDirectories("\\Rooted\\Here"));
  EXPECT_TRUE(platform::DirectoryExists("C:\\Rooted\\Here\\"));
  EXPECT_FALSE(platform::ForceDirectories("Q:\\Program Files"));
  EXPECT_FALSE(fs::exists(prefix.path() + "/dosdevices/q:"));
  testkit::WriteFile(prefix.path() + "/drive_c/file", "x");
  EXPECT_FALSE(platform::ForceDirectories("C:\\file\\sub"));
  EXPECT_TRUE(platform::FileExists("C:\\file"));
  EXPECT_FALSE(platform::RemoveFile("C:\\Program Files"));  // folders are not files
  EXPECT_TRUE(platform::RemoveFile("C:\\file"));
  EXPECT_FALSE(platform::FileExists("C:\\file"));
}

TEST(FileSystem, ZipCleanUpDeletesOnlyZipFilesOfThatFolder) {
  testkit::TempPrefix prefix;
  ASSERT_TRUE(platform::ForceDirectories("C:\\Staging\\Downloads\\sub.zip"));
  const std::string dir = prefix.path() + "/drive_c/Staging/Downloads";
  for (const char* name : {"a.zip", "B.ZIP", "c.Zip", ".zip", "keep.zipx", "keep.zip.part", "KELOPRO.INI", "zip"})
    testkit::WriteFile(dir + "/" + name, "x");
  testkit::WriteFile(dir + "/sub.zip/inner.zip", "x");
  fs::create_symlink(dir + "/KELOPRO.INI", dir + "/link.zip");
  EXPECT_EQ(platform::DeleteZipFiles("C:\\Staging\\Downloads\\"), 5);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(dir)) left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"KELOPRO.INI", "keep.zip.part", "keep.zipx", "sub.zip", "zip"}));
  EXPECT_TRUE(fs::exists(dir + "/sub.zip/inner.zip"));
  EXPECT_EQ(platform::DeleteZipFiles("C:\\Staging\\Missing"), 0);
}

}  // namespace
