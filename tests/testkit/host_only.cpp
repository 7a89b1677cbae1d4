#include "tests/testkit/host_only.h"

#include <stdlib.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace testkit {

void SetEnv(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // An empty value removes the variable.
  ::_putenv_s(name.c_str(), value ? value->c_str() : "");
#else
  if (value)
    ::setenv(name.c_str(), value->c_str(), 1);
  else
    ::unsetenv(name.c_str());
#endif
}

bool PermissionBitsBindUs() {
#ifdef _WIN32
  return false;
#else
  return ::geteuid() != 0;
#endif
}

std::filesystem::path Utf8Path(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace testkit
