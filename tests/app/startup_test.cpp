// Start-up: the elevation decision, the error box's text and the handler guard, and the real
// program started without an argument.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "app/StartUp.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"
#include "tests/testkit/wait.h"

extern char** environ;

namespace ostrel::app {
namespace {

namespace fs = std::filesystem;

TEST(StartUp, OnlyAStartWithoutArgumentsOutsideXpRelaunches) {
  for (int code = 0; code <= 14; ++code) {
    EXPECT_EQ(MustRelaunchElevated(0, static_cast<uint8_t>(code)), code != 6 && code != 7) << code;
    EXPECT_FALSE(MustRelaunchElevated(1, static_cast<uint8_t>(code))) << code;
    EXPECT_FALSE(MustRelaunchElevated(3, static_cast<uint8_t>(code))) << code;
  }
}

TEST(StartUp, EitherOneElevatedCopyOrTheWindowAndAlwaysZero) {
  struct Case {
    int arguments;
    uint8_t version;
    bool relaunches;
  };
  for (const Case c : {Case{0, 0, true}, Case{0, 14, true}, Case{0, 6, false}, Case{1, 0, false}}) {
    std::vector<std::pair<std::string, std::string>> launches;
    int windows = 0;
    StartUpSteps steps;
    steps.sysVersion = [&] { return c.version; };
    steps.executable = [] { return std::string("/opt/ostrel/InstKeloPro"); };
    steps.relaunch = [&](const std::string& file, const std::string& params) { launches.emplace_back(file, params); };
    steps.runWindow = [&] { ++windows; };
    EXPECT_EQ(StartInstaller(c.arguments, steps), 0);
    if (c.relaunches) {
      EXPECT_EQ(launches, (std::vector<std::pair<std::string, std::string>>{{"/opt/ostrel/InstKeloPro", "UAC"}}));
      EXPECT_EQ(windows, 0);
    } else {
      EXPECT_TRUE(launches.empty());
      EXPECT_EQ(windows, 1);
    }
  }
}

TEST(StartUp, AnEscapedErrorIsShownWithAFullStopAndTheLoopGoesOn) {
  const std::pair<const char*, const char*> texts[] = {
      {"Disk full", "Disk full."}, {"Done.", "Done."}, {"Why?", "Why?."}, {"(a)", "(a)"},
      {"a,", "a,"}, {"a-", "a-"}, {"a/", "a/."}, {"错误", "错误."}, {"", ""}};
  for (const auto& [message, shown] : texts) EXPECT_EQ(ErrorBoxText(message), shown) << message;

  std::vector<std::string> boxes;
  auto show = [&](const std::string& text) { boxes.push_back(text); };
  int handled = 0;
  RunHandler([] { throw std::runtime_error("Access denied"); }, show);
  RunHandler([] { throw EAbort(); }, show);  // the silent abort
  RunHandler([&] { ++handled; }, show);
  EXPECT_EQ(boxes, std::vector<std::string>{"Access denied."});
  EXPECT_EQ(handled, 1);
}

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
