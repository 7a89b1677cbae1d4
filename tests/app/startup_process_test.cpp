// Start-up of the real program (the Qt host), started without an argument and with a bad server.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"
#include "tests/testkit/wait.h"

extern char** environ;

namespace ostrel::app {
namespace {

namespace fs = std::filesystem;

// The program's processes whose executable is `exe`, with their arguments.
std::vector<std::pair<pid_t, std::vector<std::string>>> ProcessesOf(const std::string& exe) {
  std::vector<std::pair<pid_t, std::vector<std::string>>> found;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::error_code error;
    if (fs::read_symlink(entry.path() / "exe", error) != exe || error) continue;
    std::ifstream in(entry.path() / "cmdline", std::ios::binary);
    std::vector<std::string> args;
    for (std::string arg; std::getline(in, arg, '\0');) args.push_back(arg);
    if (!args.empty()) args.erase(args.begin());
    found.emplace_back(std::stoi(entry.path().filename()), args);
  }
  return found;
}

// Runs exe with args in a temporary prefix with unreachable servers; its exit code and stderr.
std::pair<int, std::string> RunProgram(const std::string& exe, std::vector<std::string> args, const std::string& scratch,
                                 const char* webServer = "http://127.0.0.1:1/") {
  ::setenv("OSTREL_DOWNLOAD_SERVER", "http://127.0.0.1:1/", 1);
  ::setenv("OSTREL_WEB_SERVER", webServer, 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string errors = scratch + "/stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv{const_cast<char*>(exe.c_str())};
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  int status = -1;
  if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ) == 0) ::waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  for (const char* v : {"OSTREL_DOWNLOAD_SERVER", "OSTREL_WEB_SERVER", "QT_QPA_PLATFORM"}) ::unsetenv(v);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testkit::ReadFile(errors)};
}

TEST(StartUpProcess, WithoutArgumentsItStartsOneElevatedCopyAndEndsWithZero) {
  testkit::TempPrefix prefix;
  const std::string copy = prefix.scratch() + "/InstKeloPro";  // its own copy: its relaunch is ours to find
  fs::copy_file(OSTREL_INSTALLER_EXE, copy);
  const auto [code, errors] = RunProgram(copy, {}, prefix.scratch());
  EXPECT_EQ(code, 0) << errors;
  std::vector<std::pair<pid_t, std::vector<std::string>>> copies;
  testkit::WaitUntil([&] { return !(copies = ProcessesOf(copy)).empty(); }, std::chrono::seconds(10));
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].second, std::vector<std::string>{"UAC"});
  ::kill(copies[0].first, SIGTERM);  // the elevated copy shows its window until it is ended
}

TEST(StartUpProcess, AServerBaseThatIsNoHttpUrlStopsTheStartWithItsReason) {
  testkit::TempPrefix prefix;
  const auto [code, errors] = RunProgram(OSTREL_INSTALLER_EXE, {"UAC"}, prefix.scratch(), "www.ostrel.example");
  EXPECT_NE(code, 0);
  EXPECT_NE(errors.find("OSTREL_WEB_SERVER"), std::string::npos) << errors;
}

}  // namespace
}  // namespace ostrel::app
