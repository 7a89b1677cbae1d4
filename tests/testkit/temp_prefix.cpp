#include "tests/testkit/temp_prefix.h"

#include <stdlib.h>

#include <stdexcept>

#include "platform/host_path.h"
#include "tests/testkit/host_only.h"

namespace testkit {

TempPrefix::TempPrefix() {
  if (const char* old = ::getenv("OSTREL_PREFIX")) old_ = old;
  SetEnv("OSTREL_PREFIX", path());
  platform::ForgetPrefix();
}

TempPrefix::~TempPrefix() {
  SetEnv("OSTREL_PREFIX", old_);
  platform::ForgetPrefix();
}

std::filesystem::path TempPrefix::driveC() const {
  if (!platform::InitPrefix()) throw std::runtime_error("cannot make the prefix " + path());
  return std::filesystem::path(path()) / "drive_c";
}

}  // namespace testkit
