// Parameters splitting, the choice of program for "open"/"runas", and detached starts.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/posix/command_line.h"
#include "platform/posix/detached_launch.h"
#include "platform/posix/prefix.h"
#include "platform/posix/shell_launch.h"
#include "platform/shell_execute.h"
#include "tests/platform/temp_prefix.h"

using platform::posix::SplitCommandLine;
using Args = std::vector<std::string>;

namespace {

TEST(CommandLine, SplitsByTheRuntimeRules) {
  EXPECT_EQ(SplitCommandLine("UAC"), Args{"UAC"});
  EXPECT_EQ(SplitCommandLine("  a\t b  "), (Args{"a", "b"}));
  EXPECT_EQ(SplitCommandLine(""), Args{});
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\x.exe\" /S"), (Args{"C:\\Program Files\\x.exe", "/S"}));
  EXPECT_EQ(SplitCommandLine("a\"b c\"d"), Args{"ab cd"});
  EXPECT_EQ(SplitCommandLine("\"\" x"), (Args{"", "x"}));
  EXPECT_EQ(SplitCommandLine("C:\\dir\\ next"), (Args{"C:\\dir\\", "next"}));  // lone backslashes stay
  EXPECT_EQ(SplitCommandLine("a\\\\\"b c\""), Args{"a\\b c"});               // 2n backslashes + quote
  EXPECT_EQ(SplitCommandLine("a\\\"b c"), (Args{"a\"b", "c"}));              // 2n+1 backslashes + quote
  EXPECT_EQ(SplitCommandLine("\"say \"\"hi\"\"\""), Args{"say \"hi\""});
  EXPECT_EQ(SplitCommandLine("$(touch x) ;|&"), (Args{"$(touch", "x)", ";|&"}));
}

// A folder on PATH with stand-ins for wine and xdg-open, and a script that
// records how it was started.
class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bin_ = prefix_.scratch() + "/bin";
    std::filesystem::create_directories(bin_);
    oldPath_ = ::getenv("PATH") ? ::getenv("PATH") : "";
    ::setenv("PATH", (bin_ + ":/usr/bin:/bin").c_str(), 1);
    recorder_ = prefix_.scratch() + "/record.sh";
    // Writes cwd, its session id, WINEPREFIX and each argument on a line of its own.
    WriteScript(recorder_,
                "#!/bin/sh\n"
                "out=\"$0.out\"\n"
                "{ pwd; cut -d' ' -f6 /proc/$$/stat; echo \"W=$WINEPREFIX\"; for a in \"$@\"; do echo \"[$a]\"; done; } "
                "> \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n");
  }
  void TearDown() override { ::setenv("PATH", oldPath_.c_str(), 1); }

  static void WriteScript(const std::string& path, const std::string& text) {
    testutil::WriteFile(path, text);
    ::chmod(path.c_str(), 0755);
  }
  // Waits for the recorder's output (the program runs detached).
  static std::string WaitForOutput(const std::string& script) {
    const std::string out = script + ".out";
    for (int i = 0; i < 1000 && !std::filesystem::exists(out); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return testutil::ReadFile(out);
  }

  testutil::TempPrefix prefix_;
  std::string bin_, oldPath_, recorder_;
};

TEST_F(LaunchTest, PlansByKindOfFile) {
  ASSERT_TRUE(platform::posix::EnsurePrefix());
  testutil::WriteFile(prefix_.path() + "/drive_c/setup.EXE", "MZ");
  testutil::WriteFile(prefix_.path() + "/drive_c/base.msi", "x");
  testutil::WriteFile(prefix_.path() + "/drive_c/readme.txt", "x");
  const std::string c = prefix_.path() + "/dosdevices/c:";

  // Without wine and xdg-open a Windows program or a document can't be started.
  EXPECT_FALSE(platform::posix::PlanShellLaunch("C:\\setup.EXE", "", ""));
  EXPECT_FALSE(platform::posix::PlanShellLaunch("C:\\readme.txt", "", ""));
  EXPECT_FALSE(platform::posix::PlanShellLaunch("C:\\missing.exe", "", ""));

  WriteScript(bin_ + "/wine", "#!/bin/sh\n");
  WriteScript(bin_ + "/xdg-open", "#!/bin/sh\n");
  auto plan = platform::posix::PlanShellLaunch("C:\\setup.EXE", "/S \"a b\"", "C:\\");
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->program, bin_ + "/wine");
  EXPECT_EQ(plan->args, (Args{c + "/setup.EXE", "/S", "a b"}));
  EXPECT_EQ(plan->workDir, c + "/");
  ASSERT_EQ(plan->env.size(), 1u);
  EXPECT_EQ(plan->env[0], (std::pair<std::string, std::string>{"WINEPREFIX", prefix_.path()}));

  plan = platform::posix::PlanShellLaunch("C:\\base.msi", "", "");
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->args, (Args{"msiexec", "/i", c + "/base.msi"}));

  plan = platform::posix::PlanShellLaunch("C:\\readme.txt", "ignored", "");
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->program, bin_ + "/xdg-open");
  EXPECT_EQ(plan->args, Args{c + "/readme.txt"});

  plan = platform::posix::PlanShellLaunch(recorder_, "UAC", "");
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->program, recorder_);
  EXPECT_EQ(plan->args, Args{"UAC"});
  EXPECT_TRUE(plan->env.empty());
}

TEST_F(LaunchTest, OpenStartsDetachedWithVerbatimArgumentsAndNoShell) {
  const std::string marker = prefix_.scratch() + "/pwned";
  ASSERT_TRUE(platform::ShellOpen(0, recorder_, "\"two words\" $(touch " + marker + ") `id` ';'", prefix_.scratch()));
  const std::string out = WaitForOutput(recorder_);
  std::istringstream lines(out);
  std::string cwd, sid;
  std::getline(lines, cwd);
  std::getline(lines, sid);
  EXPECT_EQ(cwd, prefix_.scratch());
  EXPECT_NE(sid, std::to_string(::getsid(0)));  // a session of its own
  EXPECT_NE(out.find("\n[two words]\n[$(touch]\n[" + marker + ")]\n[`id`]\n[';']\n"), std::string::npos) << out;
  EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST_F(LaunchTest, WindowsProgramsGoThroughWineInThePrefix) {
  ASSERT_TRUE(platform::posix::EnsurePrefix());
  const std::string wine = bin_ + "/wine";
  std::filesystem::copy_file(recorder_, wine);
  ::chmod(wine.c_str(), 0755);
  testutil::WriteFile(prefix_.path() + "/drive_c/OstrelLauncher.exe", "MZ");
  ASSERT_TRUE(platform::ShellOpen(0, "C:\\OstrelLauncher.exe", "", "C:\\"));
  const std::string out = WaitForOutput(wine);
  EXPECT_NE(out.find("W=" + prefix_.path() + "\n[" + prefix_.path() + "/dosdevices/c:/OstrelLauncher.exe]\n"),
            std::string::npos)
      << out;
}

TEST_F(LaunchTest, RunAsStartsTheProgramWithItsParameters) {
  platform::ShellRunAs(0, recorder_, "UAC");
  const std::string out = WaitForOutput(recorder_);
  EXPECT_NE(out.find("\n[UAC]\n"), std::string::npos) << out;
}

TEST_F(LaunchTest, FailuresAreReported) {
  EXPECT_FALSE(platform::ShellOpen(0, prefix_.scratch() + "/missing", "", ""));
  EXPECT_FALSE(platform::ShellOpen(0, recorder_, "", prefix_.scratch() + "/no/such/dir"));
  EXPECT_FALSE(std::filesystem::exists(recorder_ + ".out"));

  platform::posix::LaunchPlan plan;
  plan.program = prefix_.scratch() + "/not-there";
  EXPECT_EQ(platform::posix::LaunchDetached(plan), ENOENT);
  const std::string noExec = prefix_.scratch() + "/noexec";
  testutil::WriteFile(noExec, "#!/bin/sh\n");
  plan.program = noExec;
  EXPECT_EQ(platform::posix::LaunchDetached(plan), EACCES);
}

TEST_F(LaunchTest, TheProgramInheritsNoDescriptorsOfOurs) {
  const std::string lister = prefix_.scratch() + "/fds.sh";
  WriteScript(lister, "#!/bin/sh\nls -l /proc/$$/fd > \"$0.out.tmp\"; mv \"$0.out.tmp\" \"$0.out\"\n");
  const std::string leakMarker = prefix_.scratch() + "/leak-marker";
  testutil::WriteFile(leakMarker, "x");
  const int leaked = ::open(leakMarker.c_str(), O_RDONLY);  // without O_CLOEXEC
  ASSERT_GE(leaked, 3);
  ASSERT_TRUE(platform::ShellOpen(0, lister, "", ""));
  const std::string out = WaitForOutput(lister);
  ::close(leaked);
  EXPECT_NE(out.find("0 -> /dev/null"), std::string::npos) << out;
  EXPECT_EQ(out.find("leak-marker"), std::string::npos) << out;
}

}  // namespace
