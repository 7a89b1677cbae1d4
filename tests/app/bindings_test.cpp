// The window description and the window's class agree: every handler the description binds is
// one the class runs, and every handler the class runs is bound to some control.
#include <gtest/gtest.h>

#include <set>

#include "app/FSpeedInstall.h"
#include "skin/FormDescription.h"

namespace {

TEST(Bindings, TheDescriptionAndTheClassNameTheSameHandlers) {
  std::set<std::string_view> bound;
  for (const auto& control : ostrel::skin::SpeedInstallWindow().controls)
    for (std::string_view handler : {control.on.click, control.on.mouseDown, control.on.mouseUp,
                                     control.on.mouseEnter, control.on.mouseLeave, control.on.timer})
      if (!handler.empty()) bound.insert(handler);
  const std::vector<std::string_view> names = TfrmSpeedInstall::HandlerNames();
  const std::set<std::string_view> run(names.begin(), names.end());
  EXPECT_EQ(run.size(), names.size()) << "a handler is listed twice";
  EXPECT_EQ(bound, run);
}

}  // namespace
