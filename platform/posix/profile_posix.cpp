#include <optional>

#include "platform/file.h"
#include "platform/host_path.h"
#include "platform/posix/ini_text.h"
#include "platform/profile.h"
#include "platform/text_codec.h"

namespace platform {
namespace {

constexpr size_t kMaxIniBytes = 16u << 20;  // far more than any INI file

}  // namespace

std::string GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& def,
                                     const std::string& file, size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::optional<std::string> value;
  // The file may come from a target system in its code page (GBK): it is read as
  // such unless it is valid UTF-8.
  if (!file.empty())
    if (const std::optional<std::string> text = ReadWholeFile(HostPath(file), kMaxIniBytes))
      value = posix::FindIniValue(HostTextFromTargetBytes(*text), section, key);
  return CutUtf8(value ? *value : def, bufferSize - 1);
}

}  // namespace platform
