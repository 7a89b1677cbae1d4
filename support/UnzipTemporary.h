// The hidden temporary files that an extraction writes an entry into before
// it puts the file under its name: ".ostrel-unzip-<number>.part".
#pragma once

#include <string>

#include "platform/file.h"
#include "platform/folder.h"

// A new file under a unique hidden name in folder, removed again when it goes
// unless it was renamed (also when an exception unwinds through it).
class UnzipTemporaryFile {
 public:
  UnzipTemporaryFile(const platform::Folder& folder, unsigned permissions);
  ~UnzipTemporaryFile();
  UnzipTemporaryFile(const UnzipTemporaryFile&) = delete;
  UnzipTemporaryFile& operator=(const UnzipTemporaryFile&) = delete;

  platform::File& file() { return file_; }

  // Gives the file the free name; afterwards it is no longer removed.
  bool RenameTo(const std::string& name);

 private:
  const platform::Folder& folder_;
  platform::File file_;
  bool created_ = false;
  std::string name_;
};

// True for exactly the names the temporary files get.
bool IsUnzipTemporaryName(const std::string& name);

// Removes the temporary files that an extraction ended by a kill left in
// folder: plain files of that name only, never a link or a folder. Returns how
// many were removed.
size_t RemoveUnzipLeftovers(const platform::Folder& folder);
