#include "tools/testserver/fault_options.h"

#include "platform/text.h"

namespace ostrel::testserver {
namespace {

constexpr std::string_view kFaultPrefix = "/fault/";

// Applies one "name" or "name=value" token. False when it isn't a known option.
bool ApplyOption(std::string_view name, std::optional<std::string_view> valueText,
                 FaultOptions* options) {
  if (!valueText) {
    if (name == "nolen") return options->noLength = true;
    if (name == "norange") return options->noRange = true;
    if (name == "badrange") return options->badRange = true;
    if (name == "https") return options->https = true;
    if (name == "empty") return options->empty = true;
    if (name == "gzip") return options->gzip = true;
    if (name == "html") return options->html = true;
    if (name == "endless") return options->endless = true;
    if (name == "noetag") return options->noEtag = true;
    return false;
  }
  const auto value = platform::ParseDigits<uint64_t>(*valueText);
  if (!value) return false;
  if (name == "status") {
    if (*value < 100 || *value > 599) return false;
    options->status = static_cast<int>(*value);
  } else if (name == "headlen") {
    options->headLength = *value;
  } else if (name == "drop") {
    options->dropAfter = *value;
  } else if (name == "stall") {
    options->stallMs = *value;
  } else if (name == "stallat") {
    options->stallAt = *value;
  } else if (name == "stallhead") {
    options->stallHeadMs = *value;
  } else if (name == "rate") {
    if (*value == 0) return false;
    options->rateBps = *value;
  } else if (name == "redirect") {
    options->redirects = *value;
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::optional<FaultOptions> ParseFaultOptions(std::string_view text) {
  FaultOptions options;
  while (!text.empty()) {
    size_t comma = text.find(',');
    std::string_view token = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (token.empty()) continue;
    size_t eq = token.find('=');
    std::optional<std::string_view> value;
    if (eq != std::string_view::npos) value = token.substr(eq + 1);
    if (!ApplyOption(token.substr(0, eq), value, &options)) return std::nullopt;
    options.tokens.emplace_back(token);
  }
  return options;
}

std::optional<Route> SplitRoute(std::string_view target) {
  if (target.empty() || target.front() != '/') return std::nullopt;
  Route route;
  size_t question = target.find('?');
  if (question != std::string_view::npos) {
    route.query = std::string(target.substr(question));
    target = target.substr(0, question);
  }
  if (target.substr(0, kFaultPrefix.size()) == kFaultPrefix) {
    std::string_view rest = target.substr(kFaultPrefix.size());
    size_t slash = rest.find('/');
    if (slash != std::string_view::npos) {
      route.isFault = true;
      route.rawOptions = std::string(rest.substr(0, slash));
      route.rawPath = std::string(rest.substr(slash + 1));
      return route;
    }
  }
  route.rawPath = std::string(target.substr(1));
  return route;
}

std::string NextRedirectPath(const FaultOptions& options, const Route& route) {
  std::string joined;
  for (const std::string& token : options.tokens) {
    std::string kept = token;
    if (token.rfind("redirect=", 0) == 0) {
      if (options.redirects <= 1) continue;
      kept = "redirect=" + std::to_string(options.redirects - 1);
    }
    if (!joined.empty()) joined += ',';
    joined += kept;
  }
  std::string path = joined.empty() ? "/" : "/fault/" + joined + "/";
  return path + route.rawPath + route.query;
}

}  // namespace ostrel::testserver
