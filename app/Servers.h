// The maker's two HTTP servers: the download server, asked first, and the web server, the
// fallback, which also answers on port 8080 for the base service. Their bases are fixed when the
// program is built and may be overridden for a deployment or a test by the environment
// (OSTREL_DOWNLOAD_SERVER, OSTREL_WEB_SERVER, OSTREL_WEB_SERVER_ALT). Each base ends with "/".
#pragma once

#include <optional>
#include <string>

namespace ostrel::app {

// The base URLs in force. Each throws std::runtime_error naming the variable when its value is
// not an http or https URL (CheckServers tells that at start, before anything else happens).
std::string DownloadServer();
std::string WebServer();
// The web server's port-8080 base: OSTREL_WEB_SERVER_ALT, else the web server base on port 8080.
std::string WebServerAlt();

// Empty when every base is usable; otherwise why not, for the start-up error.
std::string CheckServers();

// Helpers of the above, kept visible for the tests.
// The value as a base ending in "/", or nothing when it is not "http[s]://host[:port][/path]".
std::optional<std::string> ServerBase(const std::string& value);
// The base (as ServerBase returns it) with its port set to port.
std::string WithPort(const std::string& base, int port);

}  // namespace ostrel::app
