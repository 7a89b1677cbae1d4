// What only the Win32 host has besides its canvas (the rest is in tests/app_hosts): the edit box
// is the system's EDIT control, a child of the window.
#include <gtest/gtest.h>

#include "app/win32/Win32Window.h"
#include "tests/app_hosts/host_driver.h"

namespace ostrel::app::win32 {
namespace {

TEST(Win32Window, TheEditBoxIsTheSystemsEditControlAChildOfTheWindow) {
  const std::unique_ptr<hosts::HostDriver> host = hosts::MakeHostDriver();
  const auto& window = dynamic_cast<const Win32Window&>(host->Window());
  wchar_t kind[16] = {};
  GetClassNameW(window.EditBox(), kind, 16);
  EXPECT_STREQ(kind, L"Edit");
  EXPECT_EQ(GetParent(window.EditBox()), window.Handle());
}

}  // namespace
}  // namespace ostrel::app::win32
