// The registry over the prefix's hive files, and the seeding of a new prefix.
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/host_path.h"
#include "platform/posix/prefix.h"
#include "platform/registry.h"
#include "tests/platform/temp_prefix.h"

using platform::RegReadString;
using platform::RegResult;
using platform::RegWriteString;
using testutil::ReadFile;
using testutil::WriteFile;
namespace fs = std::filesystem;

namespace {

constexpr platform::RootKey kLM = platform::kHkeyLocalMachine;
constexpr platform::RootKey kCU = platform::kHkeyCurrentUser;

std::string Read(platform::RootKey root, const std::string& key, const std::string& name,
                 RegResult expected = RegResult::kOk) {
  std::string out = "garbage";
  EXPECT_EQ(RegReadString(root, key, name, out), expected) << key << " / " << name;
  return out;
}

TEST(Registry, WritesLandInTheHiveOfTheirRootAndReadBack) {
  testutil::TempPrefix prefix;
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\";
  ASSERT_EQ(RegWriteString(kLM, key, "DisplayName", "OstrelPro"), RegResult::kOk);
  ASSERT_EQ(RegWriteString(kCU, "Software\\Test", "Only", "user"), RegResult::kOk);

  EXPECT_EQ(Read(kLM, key, "DisplayName"), "OstrelPro");
  EXPECT_EQ(Read(kCU, "Software\\Test", "Only"), "user");
  Read(kLM, "Software\\Test", "Only", RegResult::kKeyNotFound);

  const std::string system = ReadFile(prefix.path() + "/system.reg");
  EXPECT_EQ(system.rfind("WINE REGISTRY Version 2\n", 0), 0u);
  EXPECT_NE(system.find("[SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\OstrelNorvik] "),
            std::string::npos);
  EXPECT_NE(system.find("\"DisplayName\"=\"OstrelPro\""), std::string::npos);
  EXPECT_NE(ReadFile(prefix.path() + "/user.reg").find("\"Only\"=\"user\""), std::string::npos);
}

TEST(Registry, MissingKeyMissingValueAndParentsAreTold) {
  testutil::TempPrefix prefix;
  ASSERT_EQ(RegWriteString(kLM, "A\\B\\C", "v", "1"), RegResult::kOk);
  EXPECT_EQ(Read(kLM, "a\\b\\c", "V"), "1");
  EXPECT_EQ(Read(kLM, "A\\B", "v", RegResult::kValueNotFound), "");  // created with its parents
  EXPECT_EQ(Read(kLM, "A\\B\\C", "w", RegResult::kValueNotFound), "");
  EXPECT_EQ(Read(kLM, "A\\X", "v", RegResult::kKeyNotFound), "");
  EXPECT_EQ(Read(0x80000000u, "A", "v", RegResult::kBadArgument), "");
  EXPECT_EQ(Read(kLM, "", "v", RegResult::kBadArgument), "");
  EXPECT_EQ(RegWriteString(kLM, "A\\\\B", "v", "x"), RegResult::kBadArgument);
}

TEST(Registry, EmptyNameIsTheDefaultValue) {
  testutil::TempPrefix prefix;
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\";
  ASSERT_EQ(RegWriteString(kLM, key, "", "C:\\Ostrel\\OstrelLauncher.exe"), RegResult::kOk);
  ASSERT_EQ(RegWriteString(kLM, key, "Path", "C:\\Ostrel\\"), RegResult::kOk);
  EXPECT_EQ(Read(kLM, key, ""), "C:\\Ostrel\\OstrelLauncher.exe");
  EXPECT_NE(ReadFile(prefix.path() + "/system.reg").find("@=\"C:\\\\Ostrel\\\\OstrelLauncher.exe\""),
            std::string::npos);
}

TEST(Registry, HostileTextsRoundTripThroughTheFile) {
  testutil::TempPrefix prefix;
  const std::string key = "Software\\Key ] with [brackets]\\中文";
  const std::string texts[] = {"\"C:\\Program Files\\Ostrel\\OstrelLauncher.exe\"", "multi\nline\r\ntext\\",
                               "安装目录 D:\\程序\\", "\xD6\xD0\xCE\xC4 (GBK bytes)", "=\"]\\[\""};
  int i = 0;
  for (const std::string& text : texts) ASSERT_EQ(RegWriteString(kCU, key, "v" + std::to_string(i++), text), RegResult::kOk);
  ASSERT_EQ(RegWriteString(kCU, key, "name \"with\" ]quotes\\", "x"), RegResult::kOk);
  i = 0;
  for (const std::string& text : texts) EXPECT_EQ(Read(kCU, key, "v" + std::to_string(i++)), text);
  EXPECT_EQ(Read(kCU, key, "name \"with\" ]quotes\\"), "x");
}

TEST(Registry, ValuesOfOtherTypesReadEmptyAndSurviveRewrites) {
  testutil::TempPrefix prefix;
  ASSERT_EQ(RegWriteString(kLM, "Seed", "x", "y"), RegResult::kOk);  // the prefix exists now
  WriteFile(prefix.path() + "/system.reg",
            "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
            "[SOFTWARE\\\\Ostrel\\\\OstrelService] 1600000000\n#time=1d000000000000\n"
            "\"Version\"=dword:00000003\n\"Raw\"=hex:de,ad,\\\n  be,ef\n\"Path\"=str(2):\"%ProgramFiles%\\\\Ostrel\"\n");
  EXPECT_EQ(Read(kLM, "SOFTWARE\\Ostrel\\OstrelService\\", "Version", RegResult::kNotText), "");
  EXPECT_EQ(Read(kLM, "SOFTWARE\\Ostrel\\OstrelService\\", "Raw", RegResult::kNotText), "");
  EXPECT_EQ(Read(kLM, "SOFTWARE\\Ostrel\\OstrelService\\", "Path"), "%ProgramFiles%\\Ostrel");

  ASSERT_EQ(RegWriteString(kLM, "SOFTWARE\\Ostrel\\OstrelService", "New", "n"), RegResult::kOk);
  const std::string text = ReadFile(prefix.path() + "/system.reg");
  EXPECT_NE(text.find("\"Version\"=dword:00000003\n\"Raw\"=hex:de,ad,\\\n  be,ef\n"), std::string::npos);
  EXPECT_EQ(Read(kLM, "SOFTWARE\\Ostrel\\OstrelService", "New"), "n");
}

TEST(Registry, RewritesAreAtomicAndLeaveNoTemporaryFiles) {
  testutil::TempPrefix prefix;
  for (int i = 0; i < 20; ++i)
    ASSERT_EQ(RegWriteString(kLM, "Software\\Many", "v" + std::to_string(i), std::string(1000, 'a' + i % 26)),
              RegResult::kOk);
  for (const auto& entry : fs::directory_iterator(prefix.path()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();

  // A reader that runs alongside the writer always finds a whole hive with every earlier value.
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    while (!stop) {
      const std::string text = ReadFile(prefix.path() + "/system.reg");
      if (text.rfind("WINE REGISTRY Version 2\n", 0) != 0 || text.find("\"v19\"") == std::string::npos) ++torn;
    }
  });
  for (int i = 20; i < 60; ++i) ASSERT_EQ(RegWriteString(kLM, "Software\\Many", "v" + std::to_string(i), "x"), RegResult::kOk);
  stop = true;
  reader.join();
  EXPECT_EQ(torn.load(), 0);
}

TEST(Registry, AFileThatIsNoHiveIsNeverOverwritten) {
  testutil::TempPrefix prefix;
  ASSERT_EQ(RegWriteString(kLM, "Seed", "x", "y"), RegResult::kOk);
  WriteFile(prefix.path() + "/system.reg", "REGEDIT4\nsomething precious\n");
  EXPECT_EQ(RegWriteString(kLM, "Software\\X", "v", "1"), RegResult::kIoError);
  EXPECT_EQ(ReadFile(prefix.path() + "/system.reg"), "REGEDIT4\nsomething precious\n");
  Read(kLM, "Software\\X", "v", RegResult::kIoError);
}

TEST(Registry, ConcurrentWritersLoseNothing) {
  testutil::TempPrefix prefix;
  ASSERT_EQ(RegWriteString(kLM, "Seed", "x", "y"), RegResult::kOk);
  // Two processes with two threads each, each writing its own values.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  const char* side = child == 0 ? "child" : "parent";
  std::vector<std::thread> writers;
  for (int t = 0; t < 2; ++t)
    writers.emplace_back([=] {
      for (int i = 0; i < 15; ++i)
        RegWriteString(kLM, "Software\\Race", std::string(side) + std::to_string(t) + "-" + std::to_string(i), "1");
    });
  for (auto& w : writers) w.join();
  if (child == 0) ::_exit(0);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  for (const char* s : {"child", "parent"})
    for (int t = 0; t < 2; ++t)
      for (int i = 0; i < 15; ++i)
        EXPECT_EQ(Read(kLM, "Software\\Race", std::string(s) + std::to_string(t) + "-" + std::to_string(i)), "1");
}

TEST(Prefix, IsSeededOnFirstUse) {
  testutil::TempPrefix prefix;
  EXPECT_FALSE(fs::exists(prefix.path()));
  const std::string desktop = Read(kCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop");
  EXPECT_EQ(desktop, platform::posix::DesktopFolderText());
  EXPECT_EQ(desktop.rfind("C:\\users\\", 0), 0u);
  EXPECT_TRUE(fs::is_directory(platform::HostPath(desktop)));
  EXPECT_TRUE(fs::is_directory(prefix.path() + "/drive_c/Windows"));
  EXPECT_EQ(fs::read_symlink(prefix.path() + "/dosdevices/c:"), "../drive_c");
  EXPECT_EQ(fs::read_symlink(prefix.path() + "/dosdevices/z:"), "/");
}

TEST(Prefix, SeedingRunsOnceSoARemovedValueStaysRemoved) {
  testutil::TempPrefix prefix;
  ASSERT_TRUE(platform::posix::EnsurePrefix());
  WriteFile(prefix.path() + "/user.reg", "WINE REGISTRY Version 2\n");
  ASSERT_TRUE(platform::posix::EnsurePrefix());
  Read(kCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop", RegResult::kKeyNotFound);
}

TEST(Prefix, TwoProcessesCreatingItAtOnceGiveOneWholePrefix) {
  for (int round = 0; round < 5; ++round) {
    testutil::TempPrefix prefix;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const bool ok = platform::posix::EnsurePrefix();
    if (child == 0) ::_exit(ok ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string user = ReadFile(prefix.path() + "/user.reg");
    const size_t first = user.find("\"Desktop\"=");
    EXPECT_NE(first, std::string::npos);
    EXPECT_EQ(user.find("\"Desktop\"=", first + 1), std::string::npos);
    EXPECT_EQ(user.find("[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders]"),
              user.rfind("[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders]"));
  }
}

}  // namespace
