#include "tools/demosite/manifest_text.h"

#include "platform/text.h"
#include "platform/text_codec.h"

namespace ostrel::demosite {

namespace {

bool HoldsLineBreak(std::string_view value) { return value.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::optional<std::string> ManifestText(std::string_view version, std::string_view packageName, std::string_view crc) {
  if (HoldsLineBreak(version) || HoldsLineBreak(packageName) || HoldsLineBreak(crc)) return std::nullopt;
  std::string text = "[Setup]\r\n";
  text += "LargeVer=" + std::string(version) + "\r\n";
  text += "url=" + std::string(packageName) + "\r\n";
  text += "crc=" + std::string(crc) + "\r\n";
  return platform::Utf8ToGbk(text);
}

std::string PackageNameForVersion(std::string_view version) {
  size_t start = 0;
  while (start < version.size() && !platform::IsDigit(version[start])) ++start;
  size_t end = start;
  while (end < version.size() && (platform::IsDigit(version[end]) || version[end] == '.')) ++end;
  while (end > start && version[end - 1] == '.') --end;
  if (start == end) return "OstrelPlatform.zip";
  return "OstrelPlatform_" + std::string(version.substr(start, end - start)) + ".zip";
}

}  // namespace ostrel::demosite
