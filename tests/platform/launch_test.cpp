// Parameters splitting, the choice of program for "open"/"runas", and detached starts.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/posix/command_line.h"
#include "platform/posix/prefix.h"
#include "platform/posix/shell_launch.h"
#include "platform/shell_execute.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"
#include "tests/testkit/wait.h"

using Args = std::vector<std::string>;

namespace {

TEST(CommandLine, SplitsByTheRuntimeRules) {
  using platform::posix::SplitCommandLine;
  EXPECT_EQ(SplitCommandLine("  a\t b  "), (Args{"a", "b"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\x.exe\" /S"), (Args{"C:\\Program Files\\x.exe", "/S"}));
  EXPECT_EQ(SplitCommandLine("a\"b c\"d \"\""), (Args{"ab cd", ""}));
  EXPECT_EQ(SplitCommandLine("C:\\dir\\ next"), (Args{"C:\\dir\\", "next"}));  // lone backslashes stay
  EXPECT_EQ(SplitCommandLine("a\\\\\"b c\""), Args{"a\\b c"});               // 2n backslashes + quote
  EXPECT_EQ(SplitCommandLine("a\\\"b c"), (Args{"a\"b", "c"}));              // 2n+1 backslashes + quote
  EXPECT_EQ(SplitCommandLine("\"say \"\"hi\"\"\""), Args{"say \"hi\""});
}

// PATH holds only a folder of stand-ins (wine, xdg-open) and the system's
// folders; record.sh writes how it was started into record.sh.out.
class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(bin_);
    ::setenv("PATH", (bin_ + ":/usr/bin:/bin").c_str(), 1);
    WriteScript(recorder_,
                "{ pwd; cut -d' ' -f6 /proc/$$/stat; echo \"W=$WINEPREFIX\"; for a in \"$@\"; do echo \"[$a]\"; done; "
                "ls -l /proc/$$/fd; } > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
  }
  void TearDown() override { ::setenv("PATH", oldPath_.c_str(), 1); }

  static void WriteScript(const std::string& path, const std::string& body) {
    testkit::WriteFile(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
  }
  static std::string WaitForOutput(const std::string& script) {  // the program runs detached
    testkit::WaitUntil([&] { return std::filesystem::exists(script + ".out"); });
    return testkit::ReadFile(script + ".out");
  }

  testkit::TempPrefix prefix_;
  std::string oldPath_ = ::getenv("PATH") ? ::getenv("PATH") : "";
  std::string bin_ = prefix_.scratch() + "/bin", recorder_ = prefix_.scratch() + "/record.sh";
};

TEST_F(LaunchTest, PlansByKindOfFile) {
  ASSERT_TRUE(platform::posix::EnsurePrefix());
  const std::string c = prefix_.path() + "/dosdevices/c:";
  for (const char* name : {"setup.EXE", "base.msi", "readme.txt"}) testkit::WriteFile(c + "/" + name, "x");
  using platform::posix::PlanShellLaunch;
  ::setenv("PATH", bin_.c_str(), 1);  // neither wine nor xdg-open, whatever the machine has
  EXPECT_FALSE(PlanShellLaunch("C:\\setup.EXE", "", ""));
  EXPECT_FALSE(PlanShellLaunch("C:\\readme.txt", "", ""));
  ::setenv("PATH", (bin_ + ":/usr/bin:/bin").c_str(), 1);
  WriteScript(bin_ + "/wine", "");
  WriteScript(bin_ + "/xdg-open", "");
  EXPECT_FALSE(PlanShellLaunch("C:\\missing.exe", "", ""));
  EXPECT_EQ(PlanShellLaunch("C:\\base.msi", "/q", "")->args, (Args{"msiexec", "/i", c + "/base.msi", "/q"}));
  const auto plan = PlanShellLaunch("C:\\readme.txt", "ignored", "");
  EXPECT_EQ(plan->program, bin_ + "/xdg-open");
  EXPECT_EQ(plan->args, Args{c + "/readme.txt"});
  EXPECT_EQ(PlanShellLaunch(recorder_, "UAC", "")->program, recorder_);  // a host program runs itself
  // So does an executable script named like a Windows program (a launcher built for this host).
  std::filesystem::copy_file(recorder_, c + "/OstrelLauncher.exe");
  EXPECT_EQ(PlanShellLaunch("C:\\OstrelLauncher.exe", "", "")->program, c + "/OstrelLauncher.exe");
}

TEST_F(LaunchTest, OpenStartsDetachedThroughWineWithVerbatimArgumentsNoShellAndNoDescriptorsOfOurs) {
  ASSERT_TRUE(platform::posix::EnsurePrefix());
  std::filesystem::copy_file(recorder_, bin_ + "/wine");
  const std::string exe = prefix_.path() + "/dosdevices/c:/OstrelLauncher.exe", marker = prefix_.scratch() + "/pwned";
  testkit::WriteFile(exe, "MZ");
  testkit::WriteFile(prefix_.scratch() + "/leak-marker", "x");
  const int leaked = ::open((prefix_.scratch() + "/leak-marker").c_str(), O_RDONLY);  // not close-on-exec
  ASSERT_TRUE(platform::ShellOpen(0, "C:\\OstrelLauncher.exe", "\"two words\" $(touch " + marker + ") `id` ';'", "C:\\"));
  const std::string out = WaitForOutput(bin_ + "/wine");
  ::close(leaked);
  EXPECT_EQ(out.rfind(prefix_.path() + "/drive_c\n", 0), 0u) << out;                       // working folder
  EXPECT_EQ(out.find("\n" + std::to_string(::getsid(0)) + "\n"), std::string::npos) << out;  // own session
  EXPECT_NE(out.find("W=" + prefix_.path() + "\n[" + exe + "]\n[two words]\n[$(touch]\n[" + marker + ")]\n[`id`]\n[';']\n"),
            std::string::npos) << out;
  EXPECT_FALSE(std::filesystem::exists(marker));
  EXPECT_NE(out.find("0 -> /dev/null"), std::string::npos) << out;
  EXPECT_EQ(out.find("leak-marker"), std::string::npos) << out;
}

TEST_F(LaunchTest, FailuresAreReported) {
  EXPECT_FALSE(platform::ShellOpen(0, prefix_.scratch() + "/missing", "", ""));
  EXPECT_FALSE(platform::ShellOpen(0, recorder_, "", prefix_.scratch() + "/no/such/dir"));
  platform::posix::LaunchPlan plan;
  plan.program = prefix_.scratch() + "/not-there";
  EXPECT_EQ(platform::posix::LaunchDetached(plan), ENOENT);
  plan.program = prefix_.scratch() + "/leak-marker";
  testkit::WriteFile(plan.program, "#!/bin/sh\n");  // not executable
  EXPECT_EQ(platform::posix::LaunchDetached(plan), EACCES);
  EXPECT_FALSE(std::filesystem::exists(recorder_ + ".out"));
}

}  // namespace
