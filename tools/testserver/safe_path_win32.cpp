// The Windows side of safe_path.h: the file is opened first, and its final path (links and
// junctions resolved by the system) must lie below the served folder's.
#include <io.h>

#include "platform/win32/shared_read.h"
#include "tools/testserver/safe_path.h"

namespace ostrel::testserver {

using platform::win32::FileVersionText;
using platform::win32::FinalFolderPath;
using platform::win32::OpenSharedRead;
using platform::win32::SharedRead;

OpenedFile OpenServedFile(const std::string& rootDir, const std::string& decodedPath) {
  OpenedFile result;
  if (IsRefusedRequestPath(decodedPath)) {
    result.outcome = OpenedFile::kForbidden;
    return result;
  }
  const std::string root = FinalFolderPath(rootDir);
  if (root.empty()) return result;
  // Shared for every use: the tests rewrite and remove served files while a client reads them.
  SharedRead file = OpenSharedRead(rootDir + "/" + decodedPath);
  if (!file.opened) return result;  // missing, or a folder
  const std::string& target = file.finalPath;
  if (target.size() <= root.size() + 1 || target.compare(0, root.size(), root) != 0 || target[root.size()] != '\\') {
    if (file.fd >= 0) _close(file.fd);
    result.outcome = OpenedFile::kForbidden;
  } else if (file.regular) {
    result.outcome = OpenedFile::kOpened;
    result.fd = file.fd;
    result.size = file.size;
  }
  return result;
}

std::string FileVersionTag(int fd) {
  const std::string text = FileVersionText(fd);
  return text.empty() ? text : "\"" + text + "\"";
}

}  // namespace ostrel::testserver
