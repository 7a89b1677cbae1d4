// The registry over the prefix's hive files, and the seeding of a new prefix.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/host_path.h"
#include "platform/posix/prefix.h"
#include "platform/registry.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"

using platform::RegResult;
using testkit::ReadFile;
namespace fs = std::filesystem;

namespace {

constexpr platform::RootKey kLM = platform::kHkeyLocalMachine;
constexpr platform::RootKey kCU = platform::kHkeyCurrentUser;
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

RegResult Read(platform::RootKey root, const std::string& key, const std::string& name, std::string* out = nullptr) {
  std::string value = "garbage";
  const RegResult r = platform::RegReadString(root, key, name, value);
  if (r != RegResult::kOk) {
    EXPECT_EQ(value, "");
  }
  if (out) *out = value;
  return r;
}
std::string Value(platform::RootKey root, const std::string& key, const std::string& name) {
  std::string out;
  EXPECT_EQ(Read(root, key, name, &out), RegResult::kOk) << key << " / " << name;
  return out;
}
// Fork: body runs in both processes; the child exits with body's result.
bool InTwoProcesses(const std::function<bool()>& body) {
  const pid_t child = ::fork();
  const bool ok = body();
  if (child == 0) ::_exit(ok ? 0 : 1);
  int status = 1;
  ::waitpid(child, &status, 0);
  return ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(Registry, EachRootHasItsHiveAndKeysComeWithTheirParents) {
  testkit::TempPrefix prefix;
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\";
  const std::string hostile = "\"C:\\安装\\\" ]\n[x]";
  ASSERT_EQ(platform::RegWriteString(kLM, key, "DisplayName", hostile), RegResult::kOk);
  ASSERT_EQ(platform::RegWriteString(kLM, key, "", "default"), RegResult::kOk);
  ASSERT_EQ(platform::RegWriteString(kCU, "Software\\Test", "Only", "user"), RegResult::kOk);
  EXPECT_EQ(Value(kLM, key, "displayname"), hostile);
  EXPECT_EQ(Value(kLM, key, ""), "default");
  EXPECT_EQ(Value(kCU, "Software\\Test", "Only"), "user");
  EXPECT_EQ(Read(kLM, "Software\\Test", "Only"), RegResult::kKeyNotFound);
  EXPECT_EQ(Read(kLM, "SOFTWARE\\Microsoft\\Windows", "x"), RegResult::kValueNotFound);  // a parent exists
  EXPECT_EQ(Read(kLM, key, "Missing"), RegResult::kValueNotFound);
  EXPECT_EQ(Read(0x80000000u, key, "DisplayName"), RegResult::kBadArgument);
  EXPECT_EQ(Read(kLM, "", "x"), RegResult::kBadArgument);
  EXPECT_EQ(platform::RegWriteString(kLM, "A\\\\B", "v", "x"), RegResult::kBadArgument);
  EXPECT_NE(ReadFile(prefix.path() + "/system.reg").find("[SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\"
                                                        "Uninstall\\\\OstrelNorvik] "),
            std::string::npos);
  EXPECT_EQ(ReadFile(prefix.path() + "/user.reg").find("OstrelNorvik"), std::string::npos);
}

TEST(Registry, RewritesAreAtomicAndAForeignFileIsNeverOverwritten) {
  testkit::TempPrefix prefix;
  ASSERT_EQ(platform::RegWriteString(kLM, "Software\\Many", "first", std::string(20000, 'a')), RegResult::kOk);
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::thread reader([&] {  // always finds a whole hive with the first value
    while (!stop)
      if (ReadFile(prefix.path() + "/system.reg").find(std::string(20000, 'a') + "\"\n") == std::string::npos) ++torn;
  });
  for (int i = 0; i < 40; ++i)
    ASSERT_EQ(platform::RegWriteString(kLM, "Software\\Many", "v" + std::to_string(i), "x"), RegResult::kOk);
  stop = true;
  reader.join();
  EXPECT_EQ(torn.load(), 0);
  for (const auto& entry : fs::directory_iterator(prefix.path()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();

  testkit::WriteFile(prefix.path() + "/system.reg", "REGEDIT4\nsomething precious\n");
  EXPECT_EQ(platform::RegWriteString(kLM, "Software\\X", "v", "1"), RegResult::kIoError);
  EXPECT_EQ(ReadFile(prefix.path() + "/system.reg"), "REGEDIT4\nsomething precious\n");

  // An empty file holds nothing to lose: it becomes a hive again.
  testkit::WriteFile(prefix.path() + "/system.reg", "");
  EXPECT_EQ(platform::RegWriteString(kLM, "Software\\X", "v", "1"), RegResult::kOk);
  EXPECT_EQ(Value(kLM, "Software\\X", "v"), "1");
}

// A hive that exists but can't be read (another account's, no permission) is
// left alone: a write fails rather than replacing it with a fresh hive.
TEST(Registry, AnUnreadableHiveIsNeverReplaced) {
  testkit::TempPrefix prefix;
  ASSERT_EQ(platform::RegWriteString(kLM, "Software\\Kept", "v", "precious"), RegResult::kOk);
  const std::string hive = prefix.path() + "/system.reg";
  const std::string before = ReadFile(hive);
  // The writer runs in a child without the right to read the hive; as root it
  // becomes another user, who may still write the folder and take the lock.
  ::chmod(prefix.scratch().c_str(), 0755);
  ::chmod(prefix.path().c_str(), 0777);
  ::chmod((prefix.path() + "/.ostrel-registry.lock").c_str(), 0666);
  ::chmod(hive.c_str(), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(2);
    ::_exit(platform::RegWriteString(kLM, "Software\\Other", "v", "x") == RegResult::kIoError ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::chmod(hive.c_str(), 0644);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile(hive), before);
  EXPECT_EQ(Value(kLM, "Software\\Kept", "v"), "precious");
}

TEST(Registry, ConcurrentWritersLoseNothing) {
  testkit::TempPrefix prefix;
  ASSERT_EQ(platform::RegWriteString(kLM, "Seed", "x", "y"), RegResult::kOk);
  ASSERT_TRUE(InTwoProcesses([&] {  // two processes with two threads each
    const std::string who = std::to_string(::getpid());
    std::vector<std::thread> writers;
    for (int t = 0; t < 2; ++t)
      writers.emplace_back([&, t] {
        for (int i = 0; i < 15; ++i)
          platform::RegWriteString(kLM, "Software\\Race", who + "-" + std::to_string(t * 100 + i), "1");
      });
    for (auto& w : writers) w.join();
    return true;
  }));
  const std::string hive = ReadFile(prefix.path() + "/system.reg");
  size_t values = 0;
  for (size_t at = hive.find("=\"1\""); at != std::string::npos; at = hive.find("=\"1\"", at + 1)) ++values;
  EXPECT_EQ(values, 60u);
}

TEST(Prefix, IsSeededOnceOnFirstUse) {
  testkit::TempPrefix prefix;
  EXPECT_FALSE(fs::exists(prefix.path()));
  const std::string desktop = Value(kCU, kShellFolders, "Desktop");
  EXPECT_EQ(desktop, platform::posix::DesktopFolderText());
  EXPECT_EQ(desktop.rfind("C:\\users\\", 0), 0u);
  EXPECT_TRUE(fs::is_directory(platform::HostPath(desktop)));
  EXPECT_TRUE(fs::is_directory(prefix.path() + "/drive_c/Windows"));
  EXPECT_EQ(fs::read_symlink(prefix.path() + "/dosdevices/c:"), "../drive_c");
  EXPECT_EQ(fs::read_symlink(prefix.path() + "/dosdevices/z:"), "/");
  // Seeding doesn't run again: a value the user removed stays removed.
  testkit::WriteFile(prefix.path() + "/user.reg", "WINE REGISTRY Version 2\n");
  EXPECT_EQ(Read(kCU, kShellFolders, "Desktop"), RegResult::kKeyNotFound);
}

TEST(Prefix, TwoProcessesCreatingItAtOnceGiveOneWholePrefix) {
  for (int round = 0; round < 3; ++round) {
    testkit::TempPrefix prefix;
    ASSERT_TRUE(InTwoProcesses([] { return platform::posix::EnsurePrefix(); }));
    const std::string user = ReadFile(prefix.path() + "/user.reg");
    EXPECT_EQ(user.find("\"Desktop\"="), user.rfind("\"Desktop\"=")) << user;
    EXPECT_NE(user.find("\"Desktop\"="), std::string::npos);
  }
}

}  // namespace
