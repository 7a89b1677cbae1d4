// A demonstration site for the installer's servers: below one folder, the download
// server's root ("download/") and the web server's root ("web/"), each holding the
// version manifest, the platform package, the base-service installer and the three drivers
// at the paths the installer asks for. The same version gives the same bytes on every run.
#pragma once

#include <string>

namespace ostrel::demosite {

struct SiteResult {
  bool ok = false;
  std::string reason;       // what went wrong, when not ok
  std::string packageName;  // the manifest's "url"
  std::string crc;          // the manifest's "crc": the package's checksum text
};

// Writes (or rewrites) the site below siteDir. version is the manifest's "LargeVer" text
// (UTF-8, one line, writable in code page 936).
SiteResult BuildDemoSite(const std::string& siteDir, const std::string& version);

// The component files' sizes.
inline constexpr size_t kBaseServiceSize = 1024 * 1024;
inline constexpr size_t kDriverSize = 200 * 1024;

}  // namespace ostrel::demosite
