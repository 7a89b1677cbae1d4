// A fresh folder under the Windows temporary folder for one test, removed with its contents.
#pragma once

#include <string>

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder's path ("C:\users\...\Temp\ostrel-test-N"), without a trailing "\".
  const std::string& path() const { return path_; }
  // A path below it ("a\b" for a file in a subfolder).
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Writes bytes to a file (made or emptied); false when it can't.
bool WriteBytes(const std::string& path, const std::string& bytes);
// A folder junction at link that leads to target (a reparse point, as mklink /J makes it).
bool MakeJunction(const std::string& link, const std::string& target);
