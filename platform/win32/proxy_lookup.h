// One look-up of the current user's proxy settings for a URL, through WinHTTP.
#pragma once

#include <string>

#include "platform/proxy.h"
#include "platform/proxy_rules.h"

namespace platform::win32 {

// Automatic detection and the configuration script first, where set and answering; else the
// fixed proxy for the URL's scheme unless the bypass list names its server; else none.
ProxyRoute LookUpProxy(const std::string& url, const ServerOf& server);

}  // namespace platform::win32
