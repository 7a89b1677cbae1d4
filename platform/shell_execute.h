// Starting programs through the shell: ShellExecuteA with "open" and
// ShellExecuteExA with "runas". Neither waits for the started program.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using WindowHandle = std::uintptr_t;

// "open" on file (a Windows path text) with a parameters text and a working
// folder (may be empty), shown normally. True when the program was started.
bool ShellOpen(WindowHandle owner, const std::string& file, const std::string& params, const std::string& dir);

// "runas" on file with a parameters text: the elevated relaunch. On Linux the
// prefix belongs to the user, so the program is simply started detached.
// True when the launch was handed over.
bool ShellRunAs(WindowHandle owner, const std::string& file, const std::string& params);

}  // namespace platform
