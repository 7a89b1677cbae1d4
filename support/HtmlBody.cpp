#include "support/HtmlBody.h"

#include "platform/ascii_case.h"
#include "platform/text.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// text begins with opening (any case), followed by a blank, ">" or nothing more.
bool OpensWith(std::string_view text, std::string_view opening) {
  if (text.size() < opening.size() || !platform::EqualsNoCase(text.substr(0, opening.size()), opening)) return false;
  return text.size() == opening.size() || platform::IsSpace(text[opening.size()]) || text[opening.size()] == '>';
}

}  // namespace

bool IsHtmlMediaType(std::string_view contentType) {
  return platform::EqualsNoCase(platform::Trim(contentType.substr(0, contentType.find(';'))), "text/html");
}

bool StartsLikeHtml(std::string_view head) {
  if (head.substr(0, kByteOrderMark.size()) == kByteOrderMark) head.remove_prefix(kByteOrderMark.size());
  while (!head.empty() && platform::IsSpace(head.front())) head.remove_prefix(1);
  return OpensWith(head, "<!doctype html") || OpensWith(head, "<html");
}
