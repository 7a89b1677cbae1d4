// OSTREL_PREFIX pointed at a fresh prefix "<scratch>/prefix" for the life of the object; the
// prefix itself is made by the platform layer on first use. At the end the old value is back
// and the layer's kept prefix is forgotten.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tests/testkit/temp_dir.h"

namespace testkit {

class TempPrefix {
 public:
  TempPrefix();
  ~TempPrefix();
  TempPrefix(const TempPrefix&) = delete;
  TempPrefix& operator=(const TempPrefix&) = delete;

  std::string path() const { return scratch() + "/prefix"; }
  std::string scratch() const { return dir_.path().string(); }  // the folder the prefix is in
  // The prefix's drive C: folder; makes and seeds the prefix. Throws when that fails.
  std::filesystem::path driveC() const;

 private:
  TempDir dir_;
  std::optional<std::string> old_;
};

}  // namespace testkit
