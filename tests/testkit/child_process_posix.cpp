#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/testkit/child_process.h"

namespace testkit {

// The child only redirects and executes.
ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::string& stdoutFile, const std::string& stderrFile) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(::open(stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !waited_) {
    ::kill(pid_, SIGKILL);
    Wait();
  }
}

int ChildProcess::Wait() {
  if (waited_ || pid_ <= 0) return exitCode_;
  int status = 0;
  waited_ = true;
  if (::waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
  return exitCode_;
}

void ChildProcess::Signal(int number) {
  if (pid_ > 0 && !waited_) ::kill(pid_, number);
}

}  // namespace testkit
