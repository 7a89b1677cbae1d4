// INI files read as bytes and looked up by the portable rules, on every system: Windows reads a
// file without a byte order mark in the system's code page, but these files come in code page
// 936 (or UTF-8) whatever that is.
#include "platform/profile.h"

#include <optional>

#include "platform/file.h"
#include "platform/host_path.h"
#include "platform/ini_text.h"
#include "platform/text_codec.h"

namespace platform {
namespace {

constexpr size_t kMaxIniBytes = 16u << 20;  // far more than any INI file

}  // namespace

std::string GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& def,
                                     const std::string& file, size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::optional<std::string> value;
  if (!file.empty())
    if (const std::optional<std::string> bytes = ReadWholeFile(HostPath(file), kMaxIniBytes))
      value = FindIniValue(HostTextFromTargetBytes(*bytes), section, key);
  return CutUtf8(value ? *value : def, bufferSize - 1);
}

}  // namespace platform
