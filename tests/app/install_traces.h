// Windows has no prefix: the flow's tests share one machine (under Wine, the test prefix). What an
// install of the tests leaves there (its folders, the desktop shortcut, its registry keys) is
// removed before each test, so that every test starts on a machine without it. On Linux every
// test has a fresh prefix, and this does nothing.
#pragma once

namespace ostrel::app::test {

void RemoveInstallTraces();

}  // namespace ostrel::app::test
