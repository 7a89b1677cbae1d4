// Starting a program detached from this process: in its own session, not a
// child of ours (double fork, so no zombie is left), stdin on /dev/null,
// no inherited descriptors beyond 0-2, and without any shell in between.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform::posix {

struct LaunchPlan {
  std::string program;            // absolute path of the executable
  std::vector<std::string> args;  // argv[1..]
  std::string workDir;            // host folder, empty for ours
  std::vector<std::pair<std::string, std::string>> env;  // variables to set on top of ours
};

// Starts the plan and returns without waiting for the program. 0 when the
// program was executed, else the errno of the failed step (chdir, exec, fork).
int LaunchDetached(const LaunchPlan& plan);

// The executable of that name in $PATH (or name itself when it holds a "/"), empty if none.
std::string FindExecutable(const std::string& name);

}  // namespace platform::posix
