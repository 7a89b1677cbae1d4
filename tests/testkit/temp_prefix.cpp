#include "tests/testkit/temp_prefix.h"

#include <stdlib.h>

#include <stdexcept>

#include "platform/host_path.h"

namespace testkit {

TempPrefix::TempPrefix() {
  if (const char* old = ::getenv("OSTREL_PREFIX")) old_ = old;
  ::setenv("OSTREL_PREFIX", path().c_str(), 1);
  platform::ForgetPrefix();
}

TempPrefix::~TempPrefix() {
  if (old_)
    ::setenv("OSTREL_PREFIX", old_->c_str(), 1);
  else
    ::unsetenv("OSTREL_PREFIX");
  platform::ForgetPrefix();
}

std::filesystem::path TempPrefix::driveC() const {
  if (!platform::InitPrefix()) throw std::runtime_error("cannot make the prefix " + path());
  return std::filesystem::path(path()) / "drive_c";
}

}  // namespace testkit
