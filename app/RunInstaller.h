// The program InstKeloPro on any toolkit: the prefix, the server check, then the start (the
// elevated copy, or the installer window until it closes and a short wait for the threads of
// its download jobs). Each toolkit's main gives its ProgramHost.
#pragma once

#include <functional>
#include <string>

#include "app/WindowSession.h"
#include "platform/shell_execute.h"

namespace ostrel::app {

class ProgramHost {
 public:
  virtual ~ProgramHost() = default;
  // Tells a problem found at the start, before any window (the program then ends with 1).
  virtual void TellStartProblem(const std::string& text) = 0;
  // The owner of the elevated copy's prompt; 0 for none.
  virtual platform::WindowHandle PromptOwner() = 0;
  // Makes the installer window's host and runs session on it.
  virtual void RunWindow(const std::function<void(SessionHost&)>& session) = 0;
  // The error box of an error that escaped the window's making.
  virtual void ShowErrorBox(const std::string& text) = 0;
};

// The exit code: 1 when the servers built in or given are not usable, else 0.
int RunInstaller(int argumentCount, ProgramHost& host);

}  // namespace ostrel::app
