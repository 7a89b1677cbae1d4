// The installer window on Win32: its shape, title and first position, the edit box, a click fed
// through window messages, and the calls that other threads send to it, which are dropped once
// the window is gone.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "app/SharedValues.h"
#include "app/WindowSession.h"
#include "app/win32/Win32Window.h"
#include "skin/ControlNames.h"

namespace ostrel::app::win32 {
namespace {

using namespace std::chrono_literals;
namespace ctl = skin::ctl;

struct Window : ::testing::Test {
  Win32Window window;
  TfrmSpeedInstall form{window};
  void SetUp() override { window.Attach(form); }

  // Runs the window's messages until done holds or 10 s have passed.
  template <typename Done>
  bool PumpUntil(Done done) {
    const auto limit = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
      if (std::chrono::steady_clock::now() > limit) return false;
      window.ProcessMessages();
      std::this_thread::sleep_for(5ms);
    }
    return true;
  }
  bool HintShown() { return form.Form().Get(ctl::lblErrorHint).visible; }
};

TEST_F(Window, IsAPopupOf642x482TitledInChineseAtItsFirstPosition) {
  HWND handle = window.Handle();
  const LONG style = GetWindowLongW(handle, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_FALSE(IsWindowVisible(handle)) << "hidden until shown";
  wchar_t title[32] = {};
  GetWindowTextW(handle, title, 32);
  EXPECT_EQ(std::wstring(title), L"极速安装");

  const skin::Box screen = window.VirtualScreen();
  EXPECT_EQ(screen.width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  const WindowPosition at = FirstPosition(screen.width, screen.height);
  window.ShowAt(at.left, at.top);
  RECT r{};
  GetWindowRect(handle, &r);
  EXPECT_EQ(r.left, at.left);
  EXPECT_EQ(r.top, at.top);
  EXPECT_EQ(r.right - r.left, 642);
  EXPECT_EQ(r.bottom - r.top, 482);
  GetClientRect(handle, &r);
  EXPECT_EQ(r.right, 642) << "no frame of the system's";
}

TEST_F(Window, TheEditBoxIsABorderlessEditChildOverEdtAZLJ) {
  HWND edit = window.EditBox();
  wchar_t kind[16] = {};
  GetClassNameW(edit, kind, 16);
  EXPECT_STREQ(kind, L"Edit");
  EXPECT_EQ(GetParent(edit), window.Handle());
  EXPECT_FALSE(GetWindowLongW(edit, GWL_STYLE) & WS_BORDER);
  EXPECT_FALSE(GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  RECT r{};
  GetWindowRect(edit, &r);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 174 + 1);
  EXPECT_EQ(r.top, 303 + 1);
  EXPECT_EQ(r.right - r.left, 292);
  EXPECT_EQ(r.bottom - r.top, 20);

  form.Form().SetText(ctl::edtAZLJ, "D:\\软件\\OstrelPlatform");
  wchar_t text[64] = {};
  GetWindowTextW(edit, text, 64);
  EXPECT_STREQ(text, L"D:\\软件\\OstrelPlatform");
  SetWindowTextW(edit, L"E:\\平台");
  EXPECT_EQ(form.Form().Get(ctl::edtAZLJ).text, "E:\\平台") << "typing reaches the form";
}

TEST_F(Window, APressAndReleaseOnTheBackLinkIsAClick) {
  form.ShowMainPage(kPageSZ);
  const skin::Box back = form.Form().AbsoluteBox(form.Form().Get(ctl::lblFH));
  const LPARAM at = MAKELPARAM(back.left + 5 + kFrame, back.top + 5 + kFrame);
  SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, at);
  EXPECT_EQ(form.Form().Get(ctl::lblFH).colour.value, 0x4882E1u) << "hover colour";
  SendMessageW(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window.Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(form.Form().PageIndex(ctl::nbMain), kPageAZ);
}

TEST_F(Window, AFailureNoticeFromAnotherThreadRunsTheFormsHandlerAndIsDroppedOnceTheWindowIsGone) {
  std::shared_ptr<WindowThreadCaller> caller = window.CallerOnWindowThread();
  auto notice = std::async(std::launch::async, [&] { caller->NotifyDownloadFailed(); });
  EXPECT_TRUE(PumpUntil([&] { return notice.wait_for(0s) == std::future_status::ready; }));
  EXPECT_TRUE(HintShown()) << "no poll running: the hint shows";

  int ran = 0;
  auto call = std::async(std::launch::async, [&] { caller->Call([&] { ++ran; }); });
  EXPECT_TRUE(PumpUntil([&] { return call.wait_for(0s) == std::future_status::ready; }));
  EXPECT_EQ(ran, 1);

  window.CloseWindow();
  EXPECT_TRUE(window.WindowClosed());
  form.Form().SetVisible(ctl::lblErrorHint, false);
  auto late = std::async(std::launch::async, [&] {
    caller->NotifyDownloadFailed();
    caller->Call([&] { ++ran; });
  });
  EXPECT_EQ(late.wait_for(10s), std::future_status::ready) << "the sender is not blocked";
  window.ProcessMessages();
  EXPECT_FALSE(HintShown());
  EXPECT_EQ(ran, 1);
}

// Alt+F4, the taskbar's close (WM_CLOSE): the close control's way, so that closing the done page
// registers the platform.
TEST_F(Window, ASystemCloseTakesTheCloseControlsWay) {
  form.ShowMainPage(kPageWC);
  InstallDir = "C:\\Win32 Close\\OstrelPlatform";
  SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(window.WindowClosed());
  EXPECT_EQ(ReadRegString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\", "DisplayName"),
            "OstrelPro");
}

}  // namespace
}  // namespace ostrel::app::win32
