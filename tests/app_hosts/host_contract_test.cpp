// What every host of the installer window does the same, written once: the window's shape and
// place, the edit box, the pointer, the boxes, the folder picker, the calls from other threads
// and the system's close. Run against the Qt host on Linux and the Win32 host under Wine.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "app/Registration.h"
#include "app/SharedValues.h"
#include "platform/file_system.h"
#include "skin/ControlNames.h"
#include "support/pubShare.h"
#include "tests/app_hosts/host_driver.h"
#include "tests/testkit/host_only.h"

namespace ostrel::app::hosts {
namespace {

using namespace std::chrono_literals;
namespace ctl = skin::ctl;
using skin::MouseButton;

struct Point {
  int x, y;
};

template <typename T>
std::function<bool()> Ready(const std::future<T>& f) {
  return [&f] { return f.wait_for(0s) == std::future_status::ready; };
}

// The window with its form, shown at its first position.
class Host : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host->Show()); }

  // The centre of a control on show, in window pixels.
  Point CentreOf(std::string_view name) {
    const skin::Box b = form.Form().VisibleBox(form.Form().Get(name));
    return {b.left + b.width / 2 + kFrame, b.top + b.height / 2 + kFrame};
  }
  void Click(std::string_view name) {
    const Point p = CentreOf(name);
    host->Click(p.x, p.y);
  }
  std::string Picture(std::string_view image) { return form.Form().Get(image).picture->Resource(); }
  std::string EditText() { return form.Form().Get(ctl::edtAZLJ).text; }
  bool HintShown() { return form.Form().Get(ctl::lblErrorHint).visible; }

  std::unique_ptr<HostDriver> host = MakeHostDriver();
  TfrmSpeedInstall& form = host->Form();
  const std::thread::id windowThread = std::this_thread::get_id();
};

// The window before it is shown.
class UnshownHost : public Host {
 protected:
  void SetUp() override {}
};

TEST_F(UnshownHost, IsAFramelessWindowOf642x482TitledInChineseShownAtItsFirstPosition) {
  EXPECT_FALSE(host->Seen().visible) << "hidden until shown";
  const skin::Box screen = host->Screen();
  EXPECT_EQ(host->Window().VirtualScreen(), screen);
  ASSERT_TRUE(host->Show());
  const WindowSeen seen = host->Seen();
  const WindowPosition at = FirstPosition(screen.width, screen.height);
  EXPECT_EQ(seen.outer, (skin::Box{at.left, at.top, 642, 482}));
  EXPECT_EQ(seen.clientWidth, 642) << "no frame of the system's";
  EXPECT_EQ(seen.clientHeight, 482);
  EXPECT_TRUE(seen.frameless);
  EXPECT_TRUE(seen.visible);
  EXPECT_EQ(seen.title, "极速安装");
}

TEST_F(Host, ASilverFrameOfOnePixelSurroundsTheContent) {
  for (const Point p : {Point{0, 0}, {641, 481}, {320, 0}, {0, 240}})
    EXPECT_EQ(host->Pixel(p.x, p.y), 0xC0C0C0u) << p.x << "," << p.y;
  EXPECT_NE(host->Pixel(1, 1), 0xC0C0C0u);
}

TEST_F(Host, TheEditBoxLiesOverEdtAZLJOnTheFolderPageOnlyAndCarriesItsTextBothWays) {
  EXPECT_FALSE(host->Edit().visible) << "the start page";
  form.ShowMainPage(kPageSZ);
  const EditSeen edit = host->Edit();
  EXPECT_TRUE(edit.visible);
  EXPECT_EQ(edit.box, (skin::Box{174 + kFrame, 303 + kFrame, 292, 20}));
  EXPECT_FALSE(edit.framed);
  host->Type("E:\\平台");
  EXPECT_EQ(EditText(), "E:\\平台") << "typing reaches the form";
  form.Form().SetText(ctl::edtAZLJ, "D:\\软件\\OstrelPlatform");
  EXPECT_EQ(host->Edit().text, "D:\\软件\\OstrelPlatform");
}

TEST_F(Host, APressAndReleaseOnAControlReachItsHandlers) {
  const Point install = CentreOf(ctl::lblAZ);
  host->Move(install.x, install.y);
  host->Press(install.x, install.y, MouseButton::Right);
  EXPECT_EQ(Picture(ctl::imgbtn_AZ), "BTN_LANB200X44_DOWN");
  host->Release(install.x, install.y, MouseButton::Right);
  EXPECT_EQ(Picture(ctl::imgbtn_AZ), "BTN_LANB200X44_NORMAL");

  form.ShowMainPage(kPageSZ);
  const Point back = CentreOf(ctl::lblFH);
  host->Move(back.x, back.y);
  EXPECT_EQ(form.Form().Get(ctl::lblFH).colour.value, 0x4882E1u) << "hover colour";
  host->Click(back.x, back.y);
  EXPECT_EQ(form.Form().PageIndex(ctl::nbMain), kPageAZ);

  EXPECT_TRUE(host->Seen().visible);
  Click(ctl::lblClose);
  EXPECT_FALSE(host->Seen().visible) << "lblCloseClick closes the window";
}

TEST_F(Host, TheHandPointerOverTheButtonsTheArrowElsewhere) {
  const Point install = CentreOf(ctl::lblAZ);
  host->Move(install.x, install.y);
  EXPECT_EQ(host->PointerShape(), Pointer::Hand);
  EXPECT_EQ(Picture(ctl::imgbtn_AZ), "BTN_LANB200X44_HOVER");
  host->Move(30, 300);
  EXPECT_EQ(host->PointerShape(), Pointer::Arrow);
}

TEST_F(Host, TheStartPagePictureMovesByItself) {
  EXPECT_TRUE(host->PumpUntil([&] { return form.Form().Get(ctl::imgBg1).shownFrame > 0; }));
  form.ShowMainPage(kPageSZ);
  EXPECT_EQ(form.Form().AdvanceAnimations(), -1) << "nothing to animate on the folder page";
}

TEST_F(Host, TheFlowsBoxIsAnInformationWithOneOkOwnedByTheWindowShowingItsTextAsItIs) {
  const auto box = host->AnswerBox([&] { host->Window().ShowMessage("<b>下载失败</b>"); });
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, kMessageCaption);
  EXPECT_EQ(box->text, "<b>下载失败</b>");
  EXPECT_EQ(box->icon, Icon::Information);
  EXPECT_EQ(box->buttons, 1);
  EXPECT_TRUE(box->ownedByWindow);
}

TEST_F(Host, AnErrorEscapingAHandlerIsShownCaptionedOstrelAndTheWindowGoesOn) {
  form.ShowMainPage(kPageSZ);
  form.Form().SetText(ctl::edtAZLJ, "C:\\Host Error Box");
  testkit::SetEnv("OSTREL_DOWNLOAD_SERVER", "download.ostrel.example");  // GetNewVer throws
  const auto box = host->AnswerBox([&] { Click(ctl::lblLJAZ); });
  testkit::SetEnv("OSTREL_DOWNLOAD_SERVER", "http://127.0.0.1:1/");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "Ostrel");
  EXPECT_EQ(box->icon, Icon::Error);
  EXPECT_EQ(box->text.rfind("OSTREL_DOWNLOAD_SERVER", 0), 0u) << box->text;
  Click(ctl::lblFH);
  EXPECT_EQ(form.Form().PageIndex(ctl::nbMain), kPageAZ);
}

// "浏览" opens the picker; meanwhile the window is enabled, nothing is modal, a click on "返回"
// works, and a second "浏览" opens no second picker. The answer lands when the picker closes.
TEST_F(Host, ThePickerLeavesTheWindowWorkingAndItsAnswerLandsWhenItCloses) {
  const std::string chosen = "C:\\Host Picker\\Tools";
  ASSERT_TRUE(platform::ForceDirectories(chosen));
  form.ShowMainPage(kPageSZ);
  form.Form().SetText(ctl::edtAZLJ, "C:\\Host Picker");
  PickerSeen seen;
  int pickers = 0, pageAfterBack = -1;
  std::string editWhileOpen;
  const bool opened = host->AnswerPicker([&] { Click(ctl::lblLL); },  // returns once the picker has closed
                                         [&](const PickerSeen& open) {
                                           seen = open;
                                           Click(ctl::lblLL);  // the picker is already open
                                           pickers = host->OpenPickers();
                                           editWhileOpen = EditText();
                                           Click(ctl::lblFH);
                                           pageAfterBack = form.Form().PageIndex(ctl::nbMain);
                                         },
                                         chosen);
  ASSERT_TRUE(opened);
  EXPECT_TRUE(seen.windowEnabled);
  EXPECT_FALSE(seen.modal);
  EXPECT_EQ(pickers, 1);
  EXPECT_EQ(editWhileOpen, "C:\\Host Picker\\OstrelPlatform") << "the second click answered as cancelled";
  EXPECT_EQ(pageAfterBack, kPageAZ);
  EXPECT_EQ(EditText(), chosen + "\\OstrelPlatform");
}

TEST_F(Host, ClosingTheWindowCancelsAnOpenPicker) {
  std::optional<std::string> answer = "none yet";
  bool closed = false;
  EXPECT_TRUE(host->AnswerPicker([&] { answer = host->Window().BrowseForFolder("请选择安装文件夹", ""); },
                                 [&](const PickerSeen&) { closed = host->SystemClose(); }, "C:\\"));
  EXPECT_EQ(answer, std::nullopt);
  EXPECT_TRUE(closed);
  EXPECT_EQ(host->OpenPickers(), 0);
}

TEST_F(Host, CallsFromOtherThreadsRunOnTheWindowsThreadAndTheSenderWaits) {
  const std::shared_ptr<WindowThreadCaller> caller = host->Window().CallerOnWindowThread();
  std::atomic<bool> onWindowThread{false}, ran{false}, ranBeforeReturn{false};
  auto sent = std::async(std::launch::async, [&] {
    caller->Call([&] {
      onWindowThread = std::this_thread::get_id() == windowThread;
      ran = true;
    });
    ranBeforeReturn = ran.load();
  });
  EXPECT_TRUE(host->PumpUntil(Ready(sent)));
  EXPECT_TRUE(onWindowThread);
  EXPECT_TRUE(ranBeforeReturn);
  int direct = 0;
  caller->Call([&] { ++direct; });  // from the window's own thread: at once
  EXPECT_EQ(direct, 1);
}

TEST_F(Host, TheEnginesFailureNoticeRunsTheFormsHandler) {
  ASSERT_FALSE(HintShown());
  auto notice = std::async(std::launch::async, [caller = host->Window().CallerOnWindowThread()] {
    caller->NotifyDownloadFailed();
  });
  EXPECT_TRUE(host->PumpUntil(Ready(notice)));
  EXPECT_TRUE(HintShown()) << "no poll running: the hint shows";
}

TEST_F(Host, OnceTheWindowHasClosedWaitingAndLaterCallsAreReleasedAndDropped) {
  const std::shared_ptr<WindowThreadCaller> caller = host->Window().CallerOnWindowThread();
  std::atomic<int> ran{0};
  std::atomic<bool> started{false};
  auto waiting = std::async(std::launch::async, [&] {
    started = true;
    caller->Call([&] { ++ran; });  // waits: nothing runs the window's events until it has closed
  });
  while (!started) std::this_thread::yield();
  std::this_thread::sleep_for(50ms);
  host->Window().CloseWindow();
  EXPECT_TRUE(host->Window().WindowClosed());
  EXPECT_TRUE(host->PumpUntil(Ready(waiting))) << "released: no deadlock";
  auto late = std::async(std::launch::async, [&] {
    caller->NotifyDownloadFailed();
    caller->Call([&] { ++ran; });
  });
  EXPECT_EQ(late.wait_for(10s), std::future_status::ready) << "the sender is not blocked";
  host->Window().ProcessMessages();
  EXPECT_FALSE(HintShown());
  EXPECT_EQ(ran, 0);
}

// Alt+F4, the window manager's or the taskbar's close: the close control's way, so that closing
// the done page registers the platform.
TEST_F(Host, ASystemCloseTakesTheCloseControlsWay) {
  WriteRegString(kUninstallKey, "DisplayName", "");
  form.ShowMainPage(kPageWC);
  InstallDir = "C:\\Host Close\\OstrelPlatform";
  EXPECT_TRUE(host->SystemClose());
  EXPECT_TRUE(host->Window().WindowClosed());
  EXPECT_EQ(ReadRegString(kUninstallKey, "DisplayName"), "OstrelPro");
}

}  // namespace
}  // namespace ostrel::app::hosts
