// Folders below an extraction's destination, reached without following links.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A file descriptor, closed when it goes out of scope.
class ZipFd {
 public:
  ZipFd() = default;
  explicit ZipFd(int fd) : fd_(fd) {}
  ~ZipFd();
  ZipFd(ZipFd&& other) noexcept : fd_(other.release()) {}
  ZipFd& operator=(ZipFd&& other) noexcept;
  ZipFd(const ZipFd&) = delete;
  ZipFd& operator=(const ZipFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_ = -1;
};

// Opens the folder named by the first count parts below root, one part at a
// time, never through a symbolic link; creates missing folders when create is
// set. Invalid on failure: a link or a file in the way, no permission.
ZipFd OpenFolderBelow(int rootFd, const std::vector<std::string>& parts, size_t count, bool create);

// Creates a host folder and any missing parents (links on the way are followed:
// the destination itself may lie behind one). True when the folder exists.
bool MakeHostFolders(const std::string& path);

// Opens a host folder for use as the root of OpenFolderBelow.
ZipFd OpenHostFolder(const std::string& path);
