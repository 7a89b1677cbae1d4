// The version manifest as the servers publish it: INI text in code page 936 with the
// section "Setup" and the keys "LargeVer", "url" and "crc".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ostrel::demosite {

// The manifest's bytes (CRLF lines); nullopt when a value holds a line break or a
// character that code page 936 lacks.
std::optional<std::string> ManifestText(std::string_view version, std::string_view packageName, std::string_view crc);

// The package's file name for a version text: "OstrelPlatform_" and the first dotted
// number of the text ("V2.3.118 演示版" gives "OstrelPlatform_2.3.118.zip"), or
// "OstrelPlatform.zip" when the text holds no digit.
std::string PackageNameForVersion(std::string_view version);

}  // namespace ostrel::demosite
