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
  std::string result = value ? *value : def;
  if (result.size() > bufferSize - 1) {
    // Cut before a multi-byte UTF-8 character rather than through it.
    size_t n = bufferSize - 1;
    while (n > 0 && bufferSize - 1 - n < 3 && (static_cast<unsigned char>(result[n]) & 0xC0) == 0x80) --n;
    result.resize(n);
  }
  return result;
}

}  // namespace platform
