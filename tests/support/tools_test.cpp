#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/testkit/files.h"
#include "tests/testkit/temp_dir.h"
#include "zip_writer.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
};

// The tool's standard output, with its error output when withErrors is set.
ToolRun RunTool(const std::string& command, bool withErrors = false) {
  ToolRun run{-1, ""};
  FILE* pipe = ::popen((command + (withErrors ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
  if (!pipe) return run;
  char buffer[256];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(SupportTools, CrcPrintsTextsAndExitStatus) {
  testkit::TempDir dir;
  testkit::WriteFile(dir / "abc", "abc");
  const std::string abc = (dir / "abc").string();
  EXPECT_EQ(RunTool(std::string(OSTREL_CRC_EXE) + " " + abc).out, "352441C2  " + abc + "\n");
  const ToolRun partial = RunTool(std::string(OSTREL_CRC_EXE) + " " + abc + " " + (dir / "missing").string());
  EXPECT_EQ(partial.status, 1);
  EXPECT_EQ(partial.out, "352441C2  " + abc + "\n");
  EXPECT_EQ(RunTool(OSTREL_CRC_EXE).status, 2);
}

TEST(SupportTools, UnzipPrintsTheCountTheReasonAndExitStatus) {
  testkit::TempDir dir;
  WriteZip(dir / "a.zip", {{"x/y.txt", "y"}, {"z.txt", "z"}, {"../bad", "b"}});
  const std::string unzip = std::string(OSTREL_UNZIP_EXE) + " " + (dir / "a.zip").string() + " ";
  const ToolRun ok = RunTool(unzip + (dir / "out").string());
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(ok.out, "2\n");
  EXPECT_EQ(RunTool(std::string(OSTREL_UNZIP_EXE) + " " + (dir / "none.zip").string() + " " + (dir / "o2").string())
                .status,
            1);
  EXPECT_EQ(RunTool(std::string(OSTREL_UNZIP_EXE) + " one-argument").status, 2);

  fs::create_directories(dir / "o3" / "z.txt");  // a folder where a file goes
  const ToolRun failed = RunTool(unzip + (dir / "o3").string(), true);
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.out.find("a file can't be put in its place: z.txt: a folder is in its place"), std::string::npos)
      << failed.out;
}

}  // namespace
