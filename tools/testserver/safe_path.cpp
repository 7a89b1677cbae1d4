#include <string_view>

#include "tools/testserver/safe_path.h"

namespace ostrel::testserver {

bool IsRefusedRequestPath(std::string_view decodedPath) {
  if (decodedPath.find('\\') != std::string_view::npos) return true;
  while (!decodedPath.empty()) {
    const size_t slash = decodedPath.find('/');
    if (decodedPath.substr(0, slash) == "..") return true;
    if (slash == std::string_view::npos) break;
    decodedPath.remove_prefix(slash + 1);
  }
  return false;
}

}  // namespace ostrel::testserver
