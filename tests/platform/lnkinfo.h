// What lnkinfo (Debian's liblnk-utils) prints for a file.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

namespace testutil {

inline bool HaveLnkinfo() { return ::access("/usr/bin/lnkinfo", X_OK) == 0; }

inline std::string Lnkinfo(const std::string& file) {  // file: a temporary path without "'"
  std::string out;
  if (FILE* p = ::popen(("/usr/bin/lnkinfo '" + file + "'").c_str(), "r")) {
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

}  // namespace testutil
