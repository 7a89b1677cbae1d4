#include "support/ZipEntryName.h"

#include "platform/text.h"
#include "platform/text_codec.h"

std::string DecodeZipEntryName(std::string_view raw) { return platform::HostTextFromTargetBytes(raw); }

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool StartsWithDrive(std::string_view name) {
  return name.size() >= 2 && platform::IsAlpha(name[0]) && name[1] == ':';
}

}  // namespace

std::optional<ZipEntryPath> ZipEntryPathFromName(std::string_view name) {
  if (name.empty() || name.find('\0') != std::string_view::npos) return std::nullopt;
  if (IsSeparator(name.front()) || StartsWithDrive(name)) return std::nullopt;

  ZipEntryPath path;
  path.isDirectory = IsSeparator(name.back());
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    const std::string_view part = name.substr(start, end - start);
    if (part == "..") return std::nullopt;
    if (!part.empty() && part != ".") path.parts.emplace_back(part);
    start = end + 1;
  }
  if (path.parts.empty()) return std::nullopt;
  return path;
}

std::string JoinZipEntryPath(const std::vector<std::string>& parts) {
  std::string joined;
  for (const std::string& part : parts) {
    if (!joined.empty()) joined += '/';
    joined += part;
  }
  return joined;
}
