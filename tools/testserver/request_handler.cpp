#include "tools/testserver/request_handler.h"

#include <unistd.h>

#include "tools/testserver/body_sender.h"
#include "tools/testserver/fault_options.h"
#include "tools/testserver/http_request.h"
#include "tools/testserver/response_writer.h"
#include "tools/testserver/safe_path.h"

namespace ostrel::testserver {
namespace {

constexpr int kRequestHeadTimeoutMs = 30000;
constexpr size_t kMaxRequestHead = 64 * 1024;

std::string Origin(uint16_t port) { return "http://127.0.0.1:" + std::to_string(port); }

void SendRedirect(const Connection& conn, const std::string& location) {
  ResponseHead head;
  head.status = 302;
  head.Add("Location", location);
  SendEmptyResponse(conn, std::move(head));
}

void ServeFile(const Connection& conn, const HandlerContext& context, int fd, uint64_t size,
               const RequestHead& request, const FaultOptions& faults, bool isHead) {
  const std::string etag = FileVersionTag(fd);
  // If-Range that names another version: the whole file instead of the range.
  const std::string ifRange = request.Header("If-Range");
  RangeAnswer range;
  if (!faults.noRange && (ifRange.empty() || ifRange == etag)) range = ResolveRange(request.Header("Range"), size);
  const std::string sizeText = std::to_string(size);

  if (range.kind == RangeAnswer::kUnsatisfiable) {
    ResponseHead head;
    head.status = 416;
    head.Add("Content-Range", "bytes */" + sizeText);
    SendEmptyResponse(conn, std::move(head));
    return;
  }

  ResponseHead head;
  head.Add("Content-Type", faults.html ? "text/html; charset=utf-8" : "application/octet-stream");
  BodyPlan plan;
  plan.length = size;
  if (range.kind == RangeAnswer::kPartial) {
    plan.offset = faults.badRange ? 0 : range.first;
    plan.length = range.last - range.first + 1;
    head.status = 206;
    head.Add("Content-Range", "bytes " + std::to_string(plan.offset) + "-" +
                                  std::to_string(plan.offset + plan.length - 1) + "/" + sizeText);
  }
  if (isHead && faults.headLength) {
    head.Add("Content-Length", std::to_string(*faults.headLength));
  } else if (!faults.noLength && !faults.endless) {
    head.Add("Content-Length", std::to_string(plan.length));
  }
  if (faults.gzip) head.Add("Content-Encoding", "gzip");
  if (!faults.noEtag && !etag.empty()) head.Add("ETag", etag);
  if (!faults.noRange) head.Add("Accept-Ranges", "bytes");

  std::string headText = head.Serialize();
  if (SendAll(conn, headText.data(), headText.size(), nullptr) != IoResult::kOk || isHead)
    return;
  plan.dropAfter = faults.dropAfter;
  plan.stallAt = faults.stallAt;
  plan.stallMs = faults.stallMs;
  plan.rateBps = faults.rateBps;
  plan.endless = faults.endless;
  SendBody(conn, fd, plan, context.bodyBytes);
}

void Answer(const Connection& conn, const HandlerContext& context, const RequestHead& request) {
  const bool isHead = request.method == "HEAD";
  if (request.method != "GET" && !isHead) {
    SendTextResponse(conn, 405, false, context.bodyBytes, {{"Allow", "GET, HEAD"}});
    return;
  }
  auto route = SplitRoute(request.target);
  if (!route) {
    SendTextResponse(conn, 400, isHead, context.bodyBytes);
    return;
  }
  FaultOptions faults;
  if (route->isFault) {
    auto parsed = ParseFaultOptions(route->rawOptions);
    if (!parsed) {
      SendTextResponse(conn, 400, isHead, context.bodyBytes);
      return;
    }
    faults = std::move(*parsed);
  }

  if (faults.stallHeadMs > 0 && Pause(conn, faults.stallHeadMs) != IoResult::kOk) return;
  if (faults.redirects > 0) {
    SendRedirect(conn, Origin(context.port) + NextRedirectPath(faults, *route));
    return;
  }
  if (faults.https) {
    SendRedirect(conn, "https://127.0.0.1:" + std::to_string(context.port) + "/" +
                           route->rawPath + route->query);
    return;
  }
  if (faults.status) {
    SendTextResponse(conn, *faults.status, isHead, context.bodyBytes);
    return;
  }
  if (faults.empty) {
    ResponseHead head;
    head.Add("Content-Type", "application/octet-stream");
    SendEmptyResponse(conn, std::move(head));
    return;
  }

  auto path = PercentDecode(route->rawPath);
  if (!path) {
    SendTextResponse(conn, 400, isHead, context.bodyBytes);
    return;
  }
  OpenedFile file = OpenServedFile(context.rootDir, *path);
  if (file.outcome != OpenedFile::kOpened) {
    int status = file.outcome == OpenedFile::kForbidden ? 403 : 404;
    SendTextResponse(conn, status, isHead, context.bodyBytes);
    return;
  }
  ServeFile(conn, context, file.fd, file.size, request, faults, isHead);
  close(file.fd);
}

}  // namespace

void ServeConnection(const Connection& conn, const HandlerContext& context) {
  std::string headText;
  if (ReadRequestHead(conn, kRequestHeadTimeoutMs, kMaxRequestHead, &headText) != IoResult::kOk)
    return;
  RequestHead request;
  if (!ParseRequestHead(headText, &request)) {
    SendTextResponse(conn, 400, false, context.bodyBytes);
    return;
  }
  if (context.recordRequest)
    context.recordRequest(
        Request{request.method, request.target, request.Header("Range"), request.Header("User-Agent"),
                request.Header("Accept-Encoding"), request.Header("Via")});
  Answer(conn, context, request);
}

}  // namespace ostrel::testserver
