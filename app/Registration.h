// Where the registration of the installed platform writes: the uninstall entry and the
// application path under HKEY_LOCAL_MACHINE, value by value in the order they are written.
#pragma once

#include <array>

namespace ostrel::app {

inline constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\";
inline constexpr char kAppPathKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\";

struct RegisteredValue {
  const char* key;
  const char* name;  // "" for the key's default value
};
inline constexpr std::array<RegisteredValue, 10> kRegisteredValues = {{
    {kUninstallKey, "DisplayIcon"},
    {kUninstallKey, "DisplayName"},
    {kUninstallKey, "DisplayVersion"},
    {kUninstallKey, "UninstallString"},
    {kUninstallKey, "HelpLink"},
    {kUninstallKey, "URLInfoAbout"},
    {kUninstallKey, "Publisher"},
    {kAppPathKey, ""},
    {kAppPathKey, "Path"},
    {kAppPathKey, "InstallTime"},
}};

}  // namespace ostrel::app
