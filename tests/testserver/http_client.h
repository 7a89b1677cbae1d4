// A small libcurl client for the test server's tests.
#pragma once

#include <cstdint>
#include <string>

namespace ostrel::testserver::test {

struct FetchOptions {
  bool head = false;
  bool followRedirects = false;
  bool pathAsIs = false;   // send the path as written (keep "/../")
  std::string range = {};  // "A-B" for a Range header
  std::string userAgent = {};
  uint64_t abortAfter = 0; // stop receiving after this many body bytes (0 = never)
};

struct FetchResult {
  int curlCode = -1;
  long status = 0;
  std::string body;
  std::string headers;     // every response head received, as text
  long redirects = 0;
  std::string redirectUrl; // Location of the last response, when not followed

  // Value of the last header of this name (case-insensitive), or "" if absent.
  std::string Header(const std::string& name) const;
  bool HasHeader(const std::string& name) const;
};

FetchResult Fetch(const std::string& url, const FetchOptions& options = {});

// Sends raw request text to 127.0.0.1:port and returns the whole answer.
std::string RawExchange(uint16_t port, const std::string& request);

}  // namespace ostrel::testserver::test
