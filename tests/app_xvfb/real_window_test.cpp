// The installer as a user meets it: InstKeloPro UAC in a real window on a virtual display,
// clicked with the pointer ("极速安装", "立即安装", then the done page's close cross), against
// local servers and a temporary prefix; then the files, the registry and the shortcut.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/host_path.h"
#include "skin/Form.h"
#include "support/pubShare.h"
#include "tests/platform/lnkinfo.h"
#include "tools/demosite/demo_site.h"
#include "tools/testserver/test_http_server.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool OnPath(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[512];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& log) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(fd, 1);
    ::dup2(fd, 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("Xvfb") || !OnPath("xdotool"))
      GTEST_SKIP() << "Xvfb or xdotool is not installed (tools/setup.sh installs xvfb and xdotool)";
    char pattern[] = "/tmp/ostrel-xvfb-test-XXXXXX";
    root_ = ::mkdtemp(pattern);
    const auto site = demosite::BuildDemoSite(root_ + "/site", "V9.1 测试");
    ASSERT_TRUE(site.ok) << site.reason;
    download_ = std::make_unique<testserver::TestHttpServer>(root_ + "/site/download");
    web_ = std::make_unique<testserver::TestHttpServer>(root_ + "/site/web");
    display_ = ":" + std::to_string(100 + ::getpid() % 800);
    xvfb_ = Spawn({"Xvfb", display_, "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, root_ + "/xvfb.log");
    ::setenv("DISPLAY", display_.c_str(), 1);
    ASSERT_TRUE(WaitFor([] { return std::system("xdotool getdisplaygeometry >/dev/null 2>&1") == 0; }, 10s))
        << "Xvfb did not start on " << display_;
    ::setenv("OSTREL_PREFIX", (root_ + "/prefix").c_str(), 1);
    ::setenv("OSTREL_DOWNLOAD_SERVER", download_->Url("").c_str(), 1);
    ::setenv("OSTREL_WEB_SERVER", web_->Url("").c_str(), 1);
    ::setenv("OSTREL_WEB_SERVER_ALT", web_->Url("").c_str(), 1);
    platform::ForgetPrefix();
  }
  void TearDown() override {
    if (installer_ > 0) {
      ::kill(installer_, SIGKILL);
      ::waitpid(installer_, nullptr, 0);
    }
    if (xvfb_ > 0) {
      ::kill(xvfb_, SIGTERM);
      ::waitpid(xvfb_, nullptr, 0);
    }
    for (const char* name : {"DISPLAY", "OSTREL_PREFIX", "OSTREL_DOWNLOAD_SERVER", "OSTREL_WEB_SERVER",
                             "OSTREL_WEB_SERVER_ALT"})
      ::unsetenv(name);
    platform::ForgetPrefix();
    std::error_code ignored;
    if (!root_.empty()) fs::remove_all(root_, ignored);
  }

  // Moves the pointer to the middle of the label and clicks it, as a person would.
  void Click(const char* label) {
    ostrel::skin::Form form;
    const ostrel::skin::Box box = form.AbsoluteBox(form.Get(label));
    const int x = windowX_ + 1 + box.left + box.width / 2, y = windowY_ + 1 + box.top + box.height / 2;
    std::system(("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                 " sleep 0.2 click 1 >/dev/null 2>&1").c_str());
  }

  std::string root_, display_;
  std::unique_ptr<testserver::TestHttpServer> download_, web_;
  pid_t xvfb_ = -1, installer_ = -1;
  int windowX_ = 0, windowY_ = 0;
};

TEST_F(RealWindow, AWholeInstallClickedThroughRegistersThePlatform) {
  installer_ = Spawn({OSTREL_INSTALLER_EXE, "UAC"}, root_ + "/installer.log");
  std::string id;
  ASSERT_TRUE(WaitFor([&] {
    id = Output("xdotool search --onlyvisible --pid " + std::to_string(installer_) + " 2>/dev/null | head -1");
    return !id.empty();
  }, 30s)) << "no window; the installer said: " << Output("cat " + root_ + "/installer.log");
  id.erase(id.find_last_not_of("\n") + 1);
  const std::string geometry = Output("xdotool getwindowgeometry --shell " + id);
  std::sscanf(geometry.substr(geometry.find("X=")).c_str(), "X=%d\nY=%d", &windowX_, &windowY_);
  EXPECT_EQ(geometry.find("WIDTH=642"), geometry.find("WIDTH=")) << geometry;
  EXPECT_NE(geometry.find("HEIGHT=482"), std::string::npos) << geometry;

  std::this_thread::sleep_for(500ms);
  Click("lblAZ");
  std::this_thread::sleep_for(500ms);
  Click("lblLJAZ");
  // The done page follows the last driver.
  const std::string dir = platform::HostPath("C:\\Program Files\\Ostrel\\OstrelPlatform");
  ASSERT_TRUE(WaitFor([&] { return fs::exists(dir + "/App/WLMDrive.exe"); }, 60s))
      << Output("cat " + root_ + "/installer.log");
  std::this_thread::sleep_for(1s);
  Click("lblClose4");
  int status = -1;
  ASSERT_TRUE(WaitFor([&] { return ::waitpid(installer_, &status, WNOHANG) == installer_; }, 20s))
      << "the window did not close";
  installer_ = -1;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Output("cat " + root_ + "/installer.log");

  for (const char* file : {"OstrelLauncher.exe", "OstrelMain.exe", "Uninstall/uninst.exe",
                           "ThirdSoftware/BaseService.msi", "App/MarnkeyDrive.exe", "App/OstrelCSP.exe"})
    EXPECT_TRUE(fs::exists(dir + "/" + file)) << file;
  const char* uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\";
  EXPECT_EQ(ReadRegString(uninstall, "DisplayName"), "OstrelPro");
  EXPECT_EQ(ReadRegString(uninstall, "DisplayVersion"), "V9.1 测试");
  EXPECT_EQ(ReadRegString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\", "Path"),
            "C:\\Program Files\\Ostrel\\OstrelPlatform\\");
  const std::string desktop = ReadRegString(
      "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop", kHkeyCurrentUser);
  const std::string link = platform::HostPath(desktop + "\\OstrelPro.lnk");
  ASSERT_TRUE(fs::exists(link));
  if (testutil::HaveLnkinfo()) {
    EXPECT_NE(testutil::Lnkinfo(link).find("Tarnwell"), std::string::npos);
  }
}

}  // namespace
