#include "tests/testkit/files.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

#include "tests/testkit/host_only.h"

namespace testkit {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::error_code ignored;  // the write below fails when they couldn't be made
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

std::vector<std::string> ListTree(const std::filesystem::path& root) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::string name = Utf8Text(std::filesystem::relative(it->path(), root));
    if (it->is_directory() && !it->is_symlink()) name += "/";
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string AttributesText(const std::filesystem::path& path) {
  std::error_code ec;
  const auto perms = std::filesystem::status(path, ec).permissions();
  std::string facts = (perms & std::filesystem::perms::owner_write) != std::filesystem::perms::none ? "rw" : "ro";
#ifdef _WIN32
  const DWORD a = GetFileAttributesW(path.wstring().c_str());
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_HIDDEN)) facts += " hidden";
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_SYSTEM)) facts += " system";
#endif
  return facts;
}

std::map<std::string, std::string> TreeSnapshot(const std::filesystem::path& root) {
  std::map<std::string, std::string> snapshot;
  for (const std::string& name : ListTree(root)) {
    const std::filesystem::path path = root / Utf8Path(name);
    snapshot[name] = (name.back() == '/' ? std::string("folder") : ReadFile(path)) + " " + AttributesText(path);
  }
  return snapshot;
}

std::string RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xff);
  return bytes;
}

}  // namespace testkit
