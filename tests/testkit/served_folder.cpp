#include "tests/testkit/served_folder.h"

#include "tests/testkit/files.h"

namespace testkit {
namespace {

std::string Made(const std::filesystem::path& root) {
  std::filesystem::create_directories(root);
  return root.string();
}

}  // namespace

ServedFolder::ServedFolder(const std::filesystem::path& root) : TestHttpServer(Made(root)), root_(root) {}

std::string ServedFolder::Put(const std::string& name, const std::string& bytes) const {
  WriteFile(root_ / name, bytes);
  return bytes;
}

}  // namespace testkit
