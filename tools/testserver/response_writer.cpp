#include "tools/testserver/response_writer.h"

namespace ostrel::testserver {

std::string_view ReasonPhrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 416: return "Range Not Satisfiable";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Status";
  }
}

std::string ResponseHead::Serialize() const {
  std::string text = "HTTP/1.1 " + std::to_string(status) + " ";
  text += ReasonPhrase(status);
  text += "\r\nServer: ostrel-testserver\r\n";
  for (const auto& [name, value] : headers) text += name + ": " + value + "\r\n";
  text += "Connection: close\r\n\r\n";
  return text;
}

IoResult SendTextResponse(const Connection& conn, int status, bool isHead,
                          std::atomic<uint64_t>* bodyCounter,
                          std::vector<std::pair<std::string, std::string>> extraHeaders) {
  std::string body = std::to_string(status) + " " + std::string(ReasonPhrase(status)) + "\n";
  ResponseHead head;
  head.status = status;
  head.headers = std::move(extraHeaders);
  head.Add("Content-Type", "text/plain");
  head.Add("Content-Length", std::to_string(body.size()));
  std::string text = head.Serialize();
  IoResult result = SendAll(conn, text.data(), text.size(), nullptr);
  if (result != IoResult::kOk || isHead) return result;
  return SendAll(conn, body.data(), body.size(), bodyCounter);
}

IoResult SendEmptyResponse(const Connection& conn, ResponseHead head) {
  head.Add("Content-Length", "0");
  std::string text = head.Serialize();
  return SendAll(conn, text.data(), text.size(), nullptr);
}

}  // namespace ostrel::testserver
