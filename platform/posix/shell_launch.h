// How "open" and "runas" start a file on Linux: a host executable directly,
// a Windows program (.exe, .msi) through wine when wine is installed (with
// WINEPREFIX set to the prefix), anything else through xdg-open.
#pragma once

#include <optional>
#include <string>

#include "platform/posix/detached_launch.h"

namespace platform::posix {

// The plan for file (a Windows path text or host path) with a parameters text
// and working folder; nothing when the file is missing or no program can take it.
std::optional<LaunchPlan> PlanShellLaunch(const std::string& file, const std::string& params, const std::string& dir);

}  // namespace platform::posix
