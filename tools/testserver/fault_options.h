// The fault modes chosen by a request's path: /fault/<opts>/<path>.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::testserver {

struct FaultOptions {
  std::optional<int> status;          // status=N
  bool noLength = false;              // nolen
  bool noRange = false;               // norange
  bool badRange = false;              // badrange
  bool https = false;                 // https
  bool empty = false;                 // empty
  bool gzip = false;                  // gzip
  bool noEtag = false;                // noetag
  bool html = false;                  // html
  bool endless = false;               // endless
  std::optional<uint64_t> headLength; // headlen=N
  std::optional<uint64_t> dropAfter;  // drop=N
  uint64_t stallMs = 0;               // stall=MS
  uint64_t stallAt = 0;               // stallat=N
  uint64_t stallHeadMs = 0;           // stallhead=MS
  uint64_t rateBps = 0;               // rate=BPS, 0 = unlimited
  uint64_t redirects = 0;             // redirect=N

  std::vector<std::string> tokens;    // the options as written, in order
};

// Parses "a,b=1,c". Empty optional on an unknown option or a bad value.
std::optional<FaultOptions> ParseFaultOptions(std::string_view text);

// A request target split into the fault part and the file part.
struct Route {
  bool isFault = false;
  std::string rawOptions;  // as sent, between "/fault/" and the next "/"
  std::string rawPath;     // the file path as sent, without the leading "/"
  std::string query;       // "?..." as sent, or ""
};

// Splits an origin-form target ("/..."). Empty optional when it isn't one.
std::optional<Route> SplitRoute(std::string_view target);

// The path (with leading "/") the next hop of redirect=N goes to: the same
// options with redirect=N-1, or without the option when N-1 is 0.
std::string NextRedirectPath(const FaultOptions& options, const Route& route);

}  // namespace ostrel::testserver
