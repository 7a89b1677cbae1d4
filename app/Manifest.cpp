// GetNewVer: the version manifest from the download server, else the web server.
#include "app/Manifest.h"

#include <chrono>

#include "app/FSpeedInstall.h"
#include "app/Servers.h"
#include "app/SharedValues.h"
#include "platform/file_system.h"
#include "support/pubShare.h"

namespace ostrel::app {
namespace {

struct Manifest {
  std::string version, packageName, crc;
};

// A value of the local copy, as UTF-8 (the INI reader takes the code page 936 text of the
// target systems to UTF-8).
std::string SetupValue(const std::string& key, const std::string& copy) { return ReadIniString("Setup", key, copy); }

// A manifest is a few hundred bytes: a server that trickles or never ends counts as none, and the
// window appears (after about 10 s when both servers do).
constexpr std::chrono::seconds kManifestDeadline{5};
constexpr int64_t kManifestMaxBytes = 1 << 20;

// The manifest of one server into the local copy; false when it did not come or names a package
// outside the staging folder (the copy is then removed).
bool Fetch(const std::string& base, const std::string& copy, Manifest& manifest) {
  DownloadOptions options;
  options.deadline = kManifestDeadline;
  options.maxBytes = kManifestMaxBytes;
  if (!DownloadToFile(base + std::string(kManifestPath), copy, false, {}, options)) return false;
  manifest.version = SetupValue("LargeVer", copy);
  manifest.packageName = SetupValue("url", copy);
  manifest.crc = SetupValue("crc", copy);
  if (IsPlainFileName(manifest.packageName)) return true;
  platform::RemoveFile(copy);
  return false;
}

}  // namespace

bool IsPlainFileName(std::string_view name) {
  if (name.find_first_not_of('.') == std::string_view::npos) return name.empty();
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace ostrel::app

bool TfrmSpeedInstall::GetNewVer() {
  const std::string copy = StagingDir + std::string(ostrel::app::kManifestCopy);
  ostrel::app::Manifest manifest;
  for (const bool web : {false, true}) {
    const std::string base = web ? ostrel::app::WebServer() : ostrel::app::DownloadServer();
    if (!ostrel::app::Fetch(base, copy, manifest)) continue;
    UseWebServer = web;
    NewVersion = manifest.version;
    PackageName = manifest.packageName;
    PackageURL = base + std::string(ostrel::app::kPackageFolder) + PackageName;
    PackageCRC = manifest.crc;
    return true;
  }
  return false;
}
