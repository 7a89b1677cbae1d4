#include "tools/demosite/demo_site.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/text_codec.h"
#include "support/PubCrc.h"
#include "tools/demosite/filler_bytes.h"
#include "tools/demosite/manifest_text.h"
#include "tools/demosite/package_zip.h"
#include "tools/demosite/platform_package.h"
#include "tools/demosite/site_paths.h"

namespace fs = std::filesystem;

namespace ostrel::demosite {

namespace {

bool IsOneLine(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

// Writes beside the target and renames, so that a running server never sends half a file.
bool WriteWhole(const fs::path& path, const std::string& bytes, std::string& reason) {
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  const fs::path part = path.string() + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      reason = part.string() + ": cannot write";
      return false;
    }
  }
  fs::rename(part, path, error);
  if (error) reason = path.string() + ": " + error.message();
  return !error;
}

bool CopyWhole(const fs::path& from, const fs::path& to, std::string& reason) {
  std::error_code error;
  fs::create_directories(to.parent_path(), error);
  const fs::path part = to.string() + ".part";
  fs::copy_file(from, part, fs::copy_options::overwrite_existing, error);
  if (!error) fs::rename(part, to, error);
  if (error) reason = to.string() + ": " + error.message();
  return !error;
}

// The download tree's files, package first; sets the result's name and checksum.
bool WriteDownloadTree(const fs::path& root, const std::string& version, SiteResult& result,
                       std::vector<std::string>& written) {
  result.packageName = PackageNameForVersion(version);
  const std::string package = std::string(kPackageFolder) + result.packageName;
  std::error_code error;
  fs::create_directories((root / package).parent_path(), error);
  if (!WritePackageZip((root / package).string(), PlatformPackageEntries(version), result.reason)) return false;
  written.push_back(package);

  result.crc = GetFileCRC((root / package).string());
  if (result.crc.empty()) {
    result.reason = (root / package).string() + ": cannot read the package back";
    return false;
  }
  const std::optional<std::string> manifest = ManifestText(version, result.packageName, result.crc);
  if (!manifest) {
    result.reason = "the manifest cannot be written in code page 936";
    return false;
  }
  std::vector<std::pair<std::string, std::string>> files = {
      {kManifestPath, *manifest},
      {kBaseServicePath, StandInFile(kBaseServicePath, kBaseServiceSize)},
  };
  for (const char* driver : kDriverNames) {
    const std::string path = std::string(kDriverFolder) + driver;
    files.emplace_back(path, StandInFile(path, kDriverSize));
  }
  for (const auto& [path, bytes] : files) {
    if (!WriteWhole(root / path, bytes, result.reason)) return false;
    written.push_back(path);
  }
  return true;
}

}  // namespace

SiteResult BuildDemoSite(const std::string& siteDir, const std::string& version) {
  SiteResult result;
  if (version.empty() || !IsOneLine(version) || !platform::Utf8ToGbk(version)) {
    result.reason = "the version text must be one line of UTF-8 that code page 936 can hold";
    return result;
  }
  const fs::path download = fs::path(siteDir) / kDownloadRoot;
  const fs::path web = fs::path(siteDir) / kWebRoot;
  std::vector<std::string> written;
  if (!WriteDownloadTree(download, version, result, written)) return result;
  for (const std::string& path : written)
    if (!CopyWhole(download / path, web / path, result.reason)) return result;
  result.ok = true;
  return result;
}

}  // namespace ostrel::demosite
