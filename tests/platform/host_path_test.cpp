// The prefix found once, and the mapping between Windows path texts and host paths.
#include <unistd.h>

#include <filesystem>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/host_path.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"

namespace fs = std::filesystem;

namespace {

class PathMapping : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::InitPrefix());
    fs::create_directories(prefix_.scratch() + "/disk/sub");
    fs::create_directory_symlink(prefix_.scratch() + "/disk", prefix_.path() + "/dosdevices/d:");
    fs::create_directories(prefix_.path() + "/drive_c/Program Files/Ostrel");
  }
  testkit::TempPrefix prefix_;
};

TEST_F(PathMapping, HostFoldersRoundTripThroughTheirWindowsPaths) {
  const std::string scratch = prefix_.scratch();
  std::string scratchText = "Z:";  // a folder on no drive of the prefix
  for (char ch : scratch) scratchText += ch == '/' ? '\\' : ch;
  const struct {
    std::string host, windows;
  } cases[] = {
      {prefix_.path() + "/drive_c/Program Files/Ostrel", "C:\\Program Files\\Ostrel"},
      {prefix_.path() + "/dosdevices/c:/Program Files/", "C:\\Program Files"},
      {prefix_.path() + "/drive_c", "C:\\"},
      {scratch + "/disk", "D:\\"},  // a drive root
      {scratch + "/disk/sub", "D:\\sub"},
      {prefix_.path() + "/dosdevices/d:/sub", "D:\\sub"},
      {scratch, scratchText},
      {"/", "Z:\\"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::WindowsPath(c.host), c.windows) << c.host;
    EXPECT_TRUE(fs::equivalent(platform::HostPath(c.windows), c.host)) << c.windows;
    EXPECT_EQ(platform::WindowsPath(platform::HostPath(c.windows)), c.windows) << c.windows;
  }
  EXPECT_EQ(platform::WindowsPath("C:\\already"), "C:\\already");
  EXPECT_EQ(platform::WindowsPath(scratch + "/disk/./sub/../sub/new file"), "D:\\sub\\new file");
}

TEST_F(PathMapping, AFolderBehindALinkMapsToTheDriveItLiesOn) {
  fs::create_directory_symlink(prefix_.path() + "/drive_c/Program Files", prefix_.scratch() + "/pf");
  EXPECT_EQ(platform::WindowsPath(prefix_.scratch() + "/pf/Ostrel/OstrelPlatform"),
            "C:\\Program Files\\Ostrel\\OstrelPlatform");  // not made yet
  const std::string cwd = fs::current_path();
  fs::current_path(prefix_.scratch() + "/disk");
  EXPECT_EQ(platform::WindowsPath("sub"), "D:\\sub");
  fs::current_path(cwd);
}

TEST_F(PathMapping, OnceFoundThePrefixIsAPureMapping) {
  const std::string mapped = platform::HostPath("C:\\x");
  fs::remove_all(prefix_.path());
  ::setenv("OSTREL_PREFIX", (prefix_.scratch() + "/elsewhere").c_str(), 1);
  EXPECT_EQ(platform::HostPath("C:\\x"), mapped);  // neither the disk nor the environment again
  EXPECT_FALSE(fs::exists(prefix_.path()));
  ASSERT_TRUE(platform::InitPrefix());  // a new prefix only when asked
  EXPECT_EQ(platform::PrefixDir(), prefix_.scratch() + "/elsewhere");
  EXPECT_TRUE(fs::is_symlink(prefix_.scratch() + "/elsewhere/dosdevices/c:"));
}

TEST(Prefix, ThreadsMappingAtOnceFindAndSeedItOnce) {
  testkit::TempPrefix prefix;
  std::vector<std::string> mapped(4);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < mapped.size(); ++i)
    threads.emplace_back([&, i] { mapped[i] = platform::HostPath("C:\\Windows"); });
  for (std::thread& t : threads) t.join();
  for (const std::string& m : mapped) EXPECT_EQ(m, prefix.path() + "/dosdevices/c:/Windows");
  EXPECT_TRUE(fs::is_directory(mapped[0]));
}

TEST(Executable, ThePathOfThisProgramBothWays) {
  testkit::TempPrefix prefix;
  const std::string host = platform::ExecutablePath();
  EXPECT_EQ(fs::path(host).filename(), "test_platform");
  const std::string windows = platform::ExecutableWindowsPath();
  EXPECT_TRUE(platform::HasDriveLetter(windows)) << windows;
  EXPECT_TRUE(fs::equivalent(platform::HostPath(windows), host)) << windows;
}

}  // namespace
