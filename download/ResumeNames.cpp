#include "download/ResumeNames.h"

namespace ostrel::download {

namespace {

size_t LastSeparator(const std::string& path) { return path.find_last_of("\\/"); }

}  // namespace

TargetParts SplitTarget(const std::string& fileName) {
  const size_t cut = LastSeparator(fileName);
  if (cut == std::string::npos) return {"", fileName};
  return {fileName.substr(0, cut + 1), fileName.substr(cut + 1)};
}

std::string ReceiveFileName(const TargetParts& target) {
  return target.Directory + target.BaseName + ".rpc";
}

std::string StateFileName(const TargetParts& target) {
  return target.Directory + target.BaseName + ".rpc.cfg";
}

std::string NumberedName(const std::string& fileName, int counter) {
  const size_t nameStart = [&] {
    const size_t cut = LastSeparator(fileName);
    return cut == std::string::npos ? 0 : cut + 1;
  }();
  const size_t dot = fileName.rfind('.');
  const bool hasExtension = dot != std::string::npos && dot >= nameStart;
  const std::string base = hasExtension ? fileName.substr(0, dot) : fileName;
  const std::string ext = hasExtension ? fileName.substr(dot) : std::string();
  return base + "(" + std::to_string(counter) + ")" + ext;
}

std::string FirstFreeName(const std::string& fileName,
                          const std::function<bool(const std::string&)>& exists) {
  if (!exists(fileName)) return fileName;
  for (int counter = 1;; ++counter) {
    std::string candidate = NumberedName(fileName, counter);
    if (!exists(candidate)) return candidate;
  }
}

}  // namespace ostrel::download
