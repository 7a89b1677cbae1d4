#include "tools/testserver/http_request.h"

#include "platform/ascii_case.h"
#include "platform/text.h"

namespace ostrel::testserver {
namespace {

using platform::EqualsNoCase;
using platform::HexDigitValue;
using platform::Trim;

std::optional<uint64_t> ParseNumber(std::string_view s) { return platform::ParseDigits<uint64_t>(s); }

}  // namespace

std::string RequestHead::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (EqualsNoCase(key, name)) return value;
  }
  return {};
}

bool ParseRequestHead(std::string_view text, RequestHead* out) {
  *out = RequestHead{};
  size_t lineEnd = text.find('\n');
  std::string_view line = Trim(text.substr(0, lineEnd));
  size_t sp1 = line.find(' ');
  if (sp1 == std::string_view::npos || sp1 == 0) return false;
  size_t sp2 = line.find(' ', sp1 + 1);
  if (sp2 == std::string_view::npos || sp2 == sp1 + 1) return false;
  out->method = std::string(line.substr(0, sp1));
  out->target = std::string(line.substr(sp1 + 1, sp2 - sp1 - 1));
  out->version = std::string(line.substr(sp2 + 1));
  if (out->version.rfind("HTTP/", 0) != 0) return false;

  while (lineEnd != std::string_view::npos) {
    size_t start = lineEnd + 1;
    lineEnd = text.find('\n', start);
    std::string_view header = Trim(text.substr(start, lineEnd - start));
    if (header.empty()) break;
    size_t colon = header.find(':');
    if (colon == std::string_view::npos) continue;
    out->headers.emplace_back(std::string(Trim(header.substr(0, colon))),
                              std::string(Trim(header.substr(colon + 1))));
  }
  return true;
}

std::optional<std::string> PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int hi = HexDigitValue(text[i + 1]);
      const int lo = HexDigitValue(text[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      c = static_cast<char>(hi * 16 + lo);
      i += 2;
    }
    if (c == '\0') return std::nullopt;
    out.push_back(c);
  }
  return out;
}

RangeAnswer ResolveRange(std::string_view header, uint64_t size) {
  RangeAnswer whole;
  header = Trim(header);
  if (header.size() < 6 || !EqualsNoCase(header.substr(0, 6), "bytes=")) return whole;
  std::string_view rangeSet = Trim(header.substr(6));
  if (rangeSet.find(',') != std::string_view::npos) return whole;
  size_t dash = rangeSet.find('-');
  if (dash == std::string_view::npos) return whole;
  std::string_view firstText = Trim(rangeSet.substr(0, dash));
  std::string_view lastText = Trim(rangeSet.substr(dash + 1));

  RangeAnswer answer;
  if (firstText.empty()) {  // suffix: the last N bytes
    auto count = ParseNumber(lastText);
    if (!count) return whole;
    if (*count == 0 || size == 0) {
      answer.kind = RangeAnswer::kUnsatisfiable;
      return answer;
    }
    answer.kind = RangeAnswer::kPartial;
    answer.first = *count >= size ? 0 : size - *count;
    answer.last = size - 1;
    return answer;
  }
  auto first = ParseNumber(firstText);
  if (!first) return whole;
  uint64_t last = UINT64_MAX;
  if (!lastText.empty()) {
    auto parsed = ParseNumber(lastText);
    if (!parsed || *parsed < *first) return whole;
    last = *parsed;
  }
  if (*first >= size) {
    answer.kind = RangeAnswer::kUnsatisfiable;
    return answer;
  }
  answer.kind = RangeAnswer::kPartial;
  answer.first = *first;
  answer.last = last >= size ? size - 1 : last;
  return answer;
}

}  // namespace ostrel::testserver
