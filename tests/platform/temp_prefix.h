// Test helpers: a temporary folder, a temporary prefix that OSTREL_PREFIX
// points at for the life of the object (found anew on first use), whole-file
// reads and writes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/host_path.h"

namespace testutil {

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "ostrel-test-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);  // doesn't follow symbolic links (z: -> /)
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

class TempPrefix {
 public:
  TempPrefix() {
    ::setenv("OSTREL_PREFIX", path().c_str(), 1);
    platform::ForgetPrefix();
  }
  ~TempPrefix() {
    ::unsetenv("OSTREL_PREFIX");
    platform::ForgetPrefix();
  }
  std::string path() const { return dir_.path() + "/prefix"; }
  std::string scratch() const { return dir_.path(); }  // a folder beside the prefix

 private:
  TempDir dir_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << data;
}

}  // namespace testutil
