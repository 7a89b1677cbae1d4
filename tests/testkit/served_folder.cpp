#include "tests/testkit/served_folder.h"

#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"

namespace testkit {
namespace {

// The folder's UTF-8 text, as the server takes it.
std::string Made(const std::filesystem::path& root) {
  std::filesystem::create_directories(root);
  return Utf8Text(root);
}

}  // namespace

ServedFolder::ServedFolder(const std::filesystem::path& root) : TestHttpServer(Made(root)), root_(root) {}

std::string ServedFolder::Put(const std::string& name, const std::string& bytes) const {
  WriteFile(root_ / name, bytes);
  return bytes;
}

}  // namespace testkit
