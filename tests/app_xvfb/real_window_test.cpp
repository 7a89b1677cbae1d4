// The installer as a user meets it: InstKeloPro UAC in a real window on a virtual display,
// clicked with the pointer ("极速安装", "立即安装", then the done page's close cross), against
// local servers and a temporary prefix; then the files, the registry and the shortcut. The
// window's size and fonts at a high screen resolution, and a button's pictures under a box,
// read from the display's frame buffer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/host_path.h"
#include "skin/Form.h"
#include "support/pubShare.h"
#include "tests/platform/lnkinfo.h"
#include "tests/testkit/served_folder.h"
#include "tests/testkit/temp_prefix.h"
#include "tests/testkit/wait.h"
#include "tools/demosite/demo_site.h"

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

pid_t Spawn(const std::vector<std::string>& args, const std::string& log,
            const std::vector<std::string>& environment = {}) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(fd, 1);
    ::dup2(fd, 2);
    for (const std::string& setting : environment) ::putenv(const_cast<char*>(setting.c_str()));
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// The display's frame buffer as Xvfb keeps it in a file (XWD, 32 bits a pixel, blue first).
class FrameBuffer {
 public:
  explicit FrameBuffer(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    if (bytes_.size() < 100) return;
    headerSize_ = Field(0), bytesPerLine_ = Field(12), colours_ = Field(19);
  }
  // 0xRRGGBB.
  uint32_t Pixel(int x, int y) const {
    const size_t at = headerSize_ + colours_ * 12 + static_cast<size_t>(y) * bytesPerLine_ + x * 4u;
    if (at + 3 > bytes_.size()) return 0;
    return uint32_t(uint8_t(bytes_[at + 2])) << 16 | uint32_t(uint8_t(bytes_[at + 1])) << 8 | uint8_t(bytes_[at]);
  }

 private:
  uint32_t Field(int index) const {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | uint8_t(bytes_[index * 4 + i]);
    return v;
  }
  std::string bytes_;
  size_t headerSize_ = 0, bytesPerLine_ = 0, colours_ = 0;
};

// One line from fd, without its end; empty when none comes within limit.
std::string ReadLine(int fd, std::chrono::milliseconds limit) {
  std::string line;
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < giveUp) {
    pollfd wait{fd, POLLIN, 0};
    if (::poll(&wait, 1, 100) <= 0) continue;
    char c;
    if (::read(fd, &c, 1) != 1 || c == '\n') return line;
    line += c;
  }
  return {};
}

class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("Xvfb") || !OnPath("xdotool"))
      GTEST_SKIP() << "Xvfb or xdotool is not installed (tools/setup.sh installs xvfb and xdotool)";
    const auto site = ostrel::demosite::BuildDemoSite(root_ + "/site", "V9.1 测试");
    ASSERT_TRUE(site.ok) << site.reason;
    download_ = std::make_unique<testkit::ServedFolder>(root_ + "/site/download");
    web_ = std::make_unique<testkit::ServedFolder>(root_ + "/site/web");
    // Xvfb picks a free display itself and writes its number to the pipe.
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    xvfb_ = Spawn({"Xvfb", "-displayfd", std::to_string(pipe[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   "-fbdir", root_},
                  root_ + "/xvfb.log");
    ::close(pipe[1]);
    display_ = ":" + ReadLine(pipe[0], 10s);
    ::close(pipe[0]);
    ASSERT_NE(display_, ":") << "Xvfb did not start: " << Output("cat " + root_ + "/xvfb.log");
    ::setenv("DISPLAY", display_.c_str(), 1);
    ASSERT_TRUE(testkit::WaitUntil([] { return std::system("xdotool getdisplaygeometry >/dev/null 2>&1") == 0; }, 10s, 100ms))
        << "Xvfb did not start on " << display_;
    ::setenv("OSTREL_DOWNLOAD_SERVER", download_->Url("").c_str(), 1);
    ::setenv("OSTREL_WEB_SERVER", web_->Url("").c_str(), 1);
    ::setenv("OSTREL_WEB_SERVER_ALT", web_->Url("").c_str(), 1);
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
    for (const char* name : {"DISPLAY", "OSTREL_DOWNLOAD_SERVER", "OSTREL_WEB_SERVER", "OSTREL_WEB_SERVER_ALT"})
      ::unsetenv(name);
  }

  // Starts the installer and finds its window; its geometry as xdotool tells it.
  std::string StartInstaller(const std::vector<std::string>& environment = {}) {
    installer_ = Spawn({OSTREL_INSTALLER_EXE, "UAC"}, root_ + "/installer.log", environment);
    std::string id;
    bool retried = false;
    EXPECT_TRUE(testkit::WaitUntil([&] {
      id = Output("xdotool search --onlyvisible --pid " + std::to_string(installer_) + " 2>/dev/null | head -1");
      // A virtual display under load now and then refuses a client's first connection: once
      // more, then the failure stands.
      if (id.empty() && !retried && ::waitpid(installer_, nullptr, WNOHANG) == installer_) {
        retried = true;
        installer_ = Spawn({OSTREL_INSTALLER_EXE, "UAC"}, root_ + "/installer.log", environment);
      }
      return !id.empty();
    }, 30s, 100ms)) << "no window; the installer said: " << Output("cat " + root_ + "/installer.log");
    if (id.empty()) return {};
    id.erase(id.find_last_not_of("\n") + 1);
    const std::string geometry = Output("xdotool getwindowgeometry --shell " + id);
    std::sscanf(geometry.substr(geometry.find("X=")).c_str(), "X=%d\nY=%d", &windowX_, &windowY_);
    return geometry;
  }
  void StopInstaller() {
    ::kill(installer_, SIGKILL);
    ::waitpid(installer_, nullptr, 0);
    installer_ = -1;
  }

  // A control's box on the screen.
  ostrel::skin::Box OnScreen(const char* control) {
    ostrel::skin::Form form;
    return form.AbsoluteBox(form.Get(control)).Moved(windowX_ + 1, windowY_ + 1);
  }
  // Moves the pointer to the middle of the label (and clicks it), as a person would.
  void MoveTo(const char* label, const char* then = "") {
    const ostrel::skin::Box box = OnScreen(label);
    std::system(("xdotool mousemove " + std::to_string(box.left + box.width / 2) + " " +
                 std::to_string(box.top + box.height / 2) + " sleep 0.2 " + then + " >/dev/null 2>&1").c_str());
  }
  void Click(const char* label) { MoveTo(label, "click 1"); }
  FrameBuffer Screen() { return FrameBuffer(root_ + "/Xvfb_screen0"); }

  testkit::TempPrefix prefix_;
  std::string root_ = prefix_.scratch(), display_;
  std::unique_ptr<testkit::ServedFolder> download_, web_;
  pid_t xvfb_ = -1, installer_ = -1;
  int windowX_ = 0, windowY_ = 0;
};

TEST_F(RealWindow, AWholeInstallClickedThroughRegistersThePlatform) {
  const std::string geometry = StartInstaller();
  ASSERT_FALSE(geometry.empty());
  EXPECT_EQ(geometry.find("WIDTH=642"), geometry.find("WIDTH=")) << geometry;
  EXPECT_NE(geometry.find("HEIGHT=482"), std::string::npos) << geometry;

  std::this_thread::sleep_for(500ms);
  Click("lblAZ");
  std::this_thread::sleep_for(500ms);
  Click("lblLJAZ");
  // The done page follows the last driver.
  const std::string dir = platform::HostPath("C:\\Program Files\\Ostrel\\OstrelPlatform");
  ASSERT_TRUE(testkit::WaitUntil([&] { return fs::exists(dir + "/App/WLMDrive.exe"); }, 60s, 100ms))
      << Output("cat " + root_ + "/installer.log");
  std::this_thread::sleep_for(1s);
  Click("lblClose4");
  int status = -1;
  ASSERT_TRUE(testkit::WaitUntil([&] { return ::waitpid(installer_, &status, WNOHANG) == installer_; }, 20s, 100ms))
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

// Sizes are pixels and fonts keep their pixel heights at any screen resolution or scale.
TEST_F(RealWindow, TheWindowKeepsItsPixelsAtAHighScreenResolution) {
  for (const char* setting : {"QT_FONT_DPI=192", "QT_SCALE_FACTOR=2"}) {
    const std::string geometry = StartInstaller({setting});
    ASSERT_FALSE(geometry.empty()) << setting;
    EXPECT_NE(geometry.find("WIDTH=642\n"), std::string::npos) << setting << "\n" << geometry;
    EXPECT_NE(geometry.find("HEIGHT=482\n"), std::string::npos) << setting << "\n" << geometry;
    std::this_thread::sleep_for(1s);
    // The white text "极速安装" (16 px) on the blue button: the rows it covers, away from the
    // button's rounded corners.
    const ostrel::skin::Box button = OnScreen("lblAZ");
    const FrameBuffer screen = Screen();
    int first = -1, last = -1;
    for (int y = button.top; y < button.Bottom(); ++y)
      for (int x = button.left + 30; x < button.Right() - 30; ++x)
        if ((screen.Pixel(x, y) & 0xE0E0E0) == 0xE0E0E0) {
          if (first < 0) first = y;
          last = y;
        }
    EXPECT_GE(first, 0) << setting << ": no text on the button";
    EXPECT_LE(last - first + 1, 18) << setting << ": the text is taller than 16 px";
    StopInstaller();
  }
}

// "立即安装" with an empty folder opens a box from its click: the button shows "down" while the
// box is up and "normal" once it is dismissed with the pointer still over the button.
TEST_F(RealWindow, AThreeStateButtonStaysDownUnderTheBoxItsClickOpened) {
  ASSERT_FALSE(StartInstaller().empty());
  std::this_thread::sleep_for(500ms);
  Click("lblAZ");
  std::this_thread::sleep_for(500ms);
  MoveTo("edtAZLJ", "click 1 sleep 0.2 key ctrl+a BackSpace");
  MoveTo("lblLJAZ", "sleep 0.3");
  const ostrel::skin::Box button = OnScreen("imgbtn_LJAZ");
  const int x = button.left + 8, y = button.top + button.height / 2;  // beside the text
  auto picture = [&] { return Screen().Pixel(x, y); };
  EXPECT_TRUE(testkit::WaitUntil([&] { return picture() == 0x468CFF; }, 5s, 100ms)) << "hover: " << std::hex << picture();
  std::system("xdotool click 1 >/dev/null 2>&1");
  std::string box;
  ASSERT_TRUE(testkit::WaitUntil([&] {
    box = Output("xdotool search --onlyvisible --name 提示 2>/dev/null | head -1");
    return !box.empty();
  }, 10s, 100ms)) << "no box";
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(picture(), 0x2A6FE3u) << "down while the box is up: " << std::hex << picture();
  box.erase(box.find_last_not_of("\n") + 1);
  std::system(("xdotool windowfocus --sync " + box + " key Return >/dev/null 2>&1").c_str());
  EXPECT_TRUE(testkit::WaitUntil([&] { return Output("xdotool search --onlyvisible --name 提示 2>/dev/null").empty(); }, 10s, 100ms));
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(picture(), 0x2E7BFBu) << "normal after the release: " << std::hex << picture();
}

}  // namespace
