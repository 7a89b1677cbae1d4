// A fresh folder under the system's temporary folder, removed with everything in it (write
// permission given back first, links not followed) at the end of its scope.
#pragma once

#include <filesystem>
#include <string>

namespace testkit {

class TempDir {
 public:
  // Throws std::runtime_error, naming the folder and the reason, when it can't be made.
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }
  // The folder, or a path below it ("a/b"), as the platform layer takes paths: UTF-8 text with
  // the system's separator ("\\" on Windows).
  std::string PathText(const std::string& below = {}) const;

 private:
  std::filesystem::path path_;
};

}  // namespace testkit
