// Scratch folders and small file helpers for the support tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything
// in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

void WriteFile(const fs::path& path, const std::string& data);
std::string ReadFile(const fs::path& path);
// Every path below root, relative and sorted, folders with a trailing "/".
std::vector<std::string> ListTree(const fs::path& root);
bool RunningAsRoot();

// Points OSTREL_PREFIX at <dir>/prefix with drive C: linked to <dir>/drive_c,
// and restores the old value at the end.
class ScopedPrefix {
 public:
  explicit ScopedPrefix(const fs::path& dir);
  ~ScopedPrefix();
  fs::path driveC() const { return driveC_; }

 private:
  fs::path driveC_;
  std::string old_;
  bool hadOld_ = false;
};
