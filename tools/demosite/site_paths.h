// Where the installer looks for things on its servers, relative to a server's root.
#pragma once

namespace ostrel::demosite {

inline constexpr const char* kPackageFolder = "dlcpx/DOWN_CENTER/OSTREL/OSTREL/";
inline constexpr const char* kManifestPath = "dlcpx/DOWN_CENTER/OSTREL/OSTREL/OSTREL.XML";
inline constexpr const char* kBaseServicePath = "rjxz/VARDAPRO/QLSFW/NimbrelBaseService.msi";
inline constexpr const char* kDriverFolder = "dlcpx/DOWN_CENTER/SBQD/";
inline constexpr const char* kDriverNames[] = {"MarnkeyDrive.exe", "OstrelCSP.exe", "WLMDrive.exe"};

// The two trees a site holds below its folder: the download server's root and the web
// server's root (which the web server's second port serves as well).
inline constexpr const char* kDownloadRoot = "download";
inline constexpr const char* kWebRoot = "web";

inline constexpr const char* kDefaultVersion = "V2.3.118 演示版";

}  // namespace ostrel::demosite
