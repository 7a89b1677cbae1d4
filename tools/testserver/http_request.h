// Reading and parsing of an HTTP/1.1 request head, and the pieces of a target.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ostrel::testserver {

struct RequestHead {
  std::string method;
  std::string target;
  std::string version;
  std::vector<std::pair<std::string, std::string>> headers;

  // Value of the first header with this name (case-insensitive), or "".
  std::string Header(std::string_view name) const;
};

// Parses "METHOD TARGET HTTP/x.y\r\n" followed by header lines. The text may
// end with or without the blank line. False when the request line is malformed.
bool ParseRequestHead(std::string_view text, RequestHead* out);

// Decodes %XX escapes. Empty optional on a broken escape or a decoded NUL.
std::optional<std::string> PercentDecode(std::string_view text);

// What a Range header asks of a resource of a given size.
struct RangeAnswer {
  enum Kind { kWhole, kPartial, kUnsatisfiable } kind = kWhole;
  uint64_t first = 0;  // kPartial: first byte
  uint64_t last = 0;   // kPartial: last byte, inclusive, < size
};

// Resolves "bytes=A-B", "bytes=A-" and "bytes=-N" against size. An empty,
// malformed or multi-part header gives kWhole (the header is ignored).
RangeAnswer ResolveRange(std::string_view header, uint64_t size);

}  // namespace ostrel::testserver
