#include "tests/testserver/http_client.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "platform/ascii_case.h"

namespace ostrel::testserver::test {
namespace {

struct Sink {
  FetchResult* result;
  uint64_t abortAfter;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  sink->result->body.append(data, size * count);
  if (sink->abortAfter > 0 && sink->result->body.size() >= sink->abortAfter) return 0;
  return size * count;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  static_cast<FetchResult*>(user)->headers.append(data, size * count);
  return size * count;
}

std::string Lower(std::string text) {
  return platform::AsciiLowerCopy(std::move(text));
}

// Finds "name:" at the start of a header line; returns the value's position or npos.
size_t FindLastHeader(const std::string& headers, const std::string& name) {
  std::string lowered = Lower(headers);
  std::string key = "\n" + Lower(name) + ":";
  size_t at = lowered.rfind(key);
  return at == std::string::npos ? at : at + key.size();
}

}  // namespace

std::string FetchResult::Header(const std::string& name) const {
  size_t at = FindLastHeader(headers, name);
  if (at == std::string::npos) return {};
  size_t end = headers.find("\r\n", at);
  std::string value = headers.substr(at, end - at);
  value.erase(0, value.find_first_not_of(' '));
  return value;
}

bool FetchResult::HasHeader(const std::string& name) const {
  return FindLastHeader(headers, name) != std::string::npos;
}

FetchResult Fetch(const std::string& url, const FetchOptions& options) {
  static const bool curlReady = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)curlReady;
  FetchResult result;
  Sink sink{&result, options.abortAfter};
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 60000L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &result);
  if (options.head) curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  if (options.followRedirects) curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  if (options.pathAsIs) curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
  if (!options.range.empty()) curl_easy_setopt(curl, CURLOPT_RANGE, options.range.c_str());
  if (!options.userAgent.empty())
    curl_easy_setopt(curl, CURLOPT_USERAGENT, options.userAgent.c_str());
  result.curlCode = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
  curl_easy_getinfo(curl, CURLINFO_REDIRECT_COUNT, &result.redirects);
  char* location = nullptr;
  curl_easy_getinfo(curl, CURLINFO_REDIRECT_URL, &location);
  if (location) result.redirectUrl = location;
  curl_easy_cleanup(curl);
  return result;
}

std::string RawExchange(uint16_t port, const std::string& request) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    throw std::runtime_error("connect failed");
  }
  send(fd, request.data(), request.size(), MSG_NOSIGNAL);
  std::string answer;
  char buffer[4096];
  ssize_t n;
  while ((n = recv(fd, buffer, sizeof buffer, 0)) > 0) answer.append(buffer, n);
  close(fd);
  return answer;
}

}  // namespace ostrel::testserver::test
