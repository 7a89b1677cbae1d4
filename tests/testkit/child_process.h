// A program run as a child process, its standard output and error written to files.
#pragma once

#include <string>
#include <vector>

namespace testkit {

class ChildProcess {
 public:
  // Starts program with args; its output goes to stdoutFile and stderrFile (made or emptied).
  // On Windows a bare program name is looked for beside this program first.
  ChildProcess(const std::string& program, const std::vector<std::string>& args, const std::string& stdoutFile,
               const std::string& stderrFile);
  // Ends a child that still runs, and waits for it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Its exit code once it has ended; -1 when it could not start or died of a signal.
  int Wait();
#ifndef _WIN32
  // Sends the signal (SIGINT for a user's Ctrl+C, SIGTERM, SIGHUP, ...). Windows has no such
  // thing; its console's Ctrl+C does not reach a child of a program without a console under Wine.
  void Signal(int number);
#endif

 private:
#ifdef _WIN32
  void* process_ = nullptr;  // HANDLE
#else
  int pid_ = -1;
#endif
  int exitCode_ = -1;
  bool waited_ = false;
};

}  // namespace testkit
