// Start-up: the elevation decision, the error box's text and the handler guard.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/StartUp.h"

namespace ostrel::app {
namespace {

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

}  // namespace
}  // namespace ostrel::app
