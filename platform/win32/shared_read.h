// Reading a file that others may still rewrite, rename or delete meanwhile, and the final paths the
// system resolves (links and junctions followed): how the test server opens a served file on Windows.
// Built into the test server only, not into the platform library the programs ship with.
#pragma once

#include <cstdint>
#include <string>

namespace platform::win32 {

struct SharedRead {
  bool opened = false;    // the path could be opened (a file of any kind)
  bool regular = false;   // ... and is a file on disk, readable through fd
  int fd = -1;            // a C runtime descriptor of a regular file; the caller closes it
  uint64_t size = 0;      // the regular file's length
  std::string finalPath;  // its final path as UTF-8 ("\\?\C:\..."); empty when unknown
};

// Opens path for reading with every sharing mode.
SharedRead OpenSharedRead(const std::string& path);

// The final path of a folder as UTF-8, in the form OpenSharedRead gives; empty when unknown.
std::string FinalFolderPath(const std::string& folder);

// The identity, length and last write time of an open file as one text: it changes whenever the
// file is written. Empty when the system can't tell.
std::string FileVersionText(int fd);

}  // namespace platform::win32
