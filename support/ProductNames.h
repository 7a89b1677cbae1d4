// Names of the installed product that more than one unit writes.
#pragma once

namespace ostrel::support {

// The launcher under the install folder: the shortcut's target, the uninstall entry's icon and
// the application path.
inline constexpr char kLauncherFile[] = "\\OstrelLauncher.exe";
// The maker: the uninstall entry's publisher and the shortcut's description.
inline constexpr char kMakerName[] = "Tarnwell";

}  // namespace ostrel::support
