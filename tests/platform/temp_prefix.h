// A temporary folder, and a temporary prefix that OSTREL_PREFIX points at for
// the life of the object.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

class TempPrefix {
 public:
  TempPrefix() {
    if (const char* old = ::getenv("OSTREL_PREFIX")) old_ = old, hadOld_ = true;
    ::setenv("OSTREL_PREFIX", (dir_.path() + "/prefix").c_str(), 1);
  }
  ~TempPrefix() {
    if (hadOld_) {
      ::setenv("OSTREL_PREFIX", old_.c_str(), 1);
    } else {
      ::unsetenv("OSTREL_PREFIX");
    }
  }
  std::string path() const { return dir_.path() + "/prefix"; }
  // A scratch folder beside the prefix.
  std::string scratch() const { return dir_.path(); }

 private:
  TempDir dir_;
  std::string old_;
  bool hadOld_ = false;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << data;
}

}  // namespace testutil
