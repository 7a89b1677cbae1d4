// The window message through which the installer window learns of a failed download. It carries
// nothing (wParam 0, lParam 0) and names neither job nor worker; on this host the engine's
// notice is carried onto the window's thread and handled by WMDownloadFailed.
#pragma once

inline constexpr unsigned WM_DOWNLOAD_FAILED = 0x0856;
