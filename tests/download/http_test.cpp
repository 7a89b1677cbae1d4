// What the engine reads from response headers, the size probe, and the read time-out.
#include <gtest/gtest.h>

#include "download/CurlTransfer.h"
#include "download/HttpProbe.h"
#include "download/ResponseCheck.h"
#include "download/ResponseHeaders.h"
#include "tests/download/download_test_support.h"

using namespace ostrel::download;
using namespace std::chrono_literals;
using namespace testing_support;

TEST(ResponseCheck, ASegmentsResponseMustMatchTheAskedRangeAndTheResourcesSize) {
  // The segment [500, 1001) of a 1001-byte resource; the request asks for bytes=500-1001.
  const struct {
    std::vector<std::string> headers;
    int64_t position;
    FailureKind kind;
    std::string ifRange = {};  // the validator the request asked back with
  } cases[] = {
      {{"HTTP/1.1 206 x", "Content-Range: bytes 500-1000/1001", "Content-Length: 501"}, 500, FailureKind::None},
      {{"HTTP/1.1 206 x", "Content-Range: bytes 500-1000/1001", "Content-Encoding: identity"}, 500, FailureKind::None},
      {{"HTTP/1.1 200 x", "Content-Length: 1001"}, 0, FailureKind::None},
      {{"HTTP/1.1 206 x", "Content-Range: bytes 0-500/1001"}, 500, FailureKind::RangeNotHonoured},
      {{"HTTP/1.1 200 x", "Content-Length: 1001"}, 500, FailureKind::RangeNotHonoured},
      {{"HTTP/1.1 206 x"}, 500, FailureKind::RangeNotHonoured},
      {{"HTTP/1.1 206 x", "Content-Range: bytes 500-1000/1002"}, 500, FailureKind::LengthMismatch},
      {{"HTTP/1.1 206 x", "Content-Range: bytes 500-1000/*"}, 500, FailureKind::LengthMismatch},
      {{"HTTP/1.1 206 x", "Content-Range: bytes 500-900/1001"}, 500, FailureKind::LengthMismatch},
      {{"HTTP/1.1 206 x", "Content-Range: bytes 500-1000/1001", "Content-Length: 400"}, 500, FailureKind::LengthMismatch},
      {{"HTTP/1.1 200 x", "Content-Length: 1500"}, 0, FailureKind::LengthMismatch},
      {{"HTTP/1.1 200 x"}, 0, FailureKind::LengthMismatch},
      {{"HTTP/1.1 206 x", "Content-Range: bytes 500-1000/1001", "Content-Encoding: gzip"}, 500, FailureKind::ContentEncoding},
      {{"HTTP/1.1 404 x"}, 500, FailureKind::HttpStatus},
      // If-Range: a whole answer of another version; of the same version (Range ignored); a range.
      {{"HTTP/1.1 200 x", "Content-Length: 1001", "ETag: \"v2\""}, 0, FailureKind::ResourceChanged, "\"v1\""},
      {{"HTTP/1.1 200 x", "Content-Length: 1001", "ETag: W/\"v1\""}, 0, FailureKind::ResourceChanged, "\"v1\""},
      {{"HTTP/1.1 200 x", "Content-Length: 1001", "ETag: \"v1\""}, 0, FailureKind::None, "\"v1\""},
      {{"HTTP/1.1 200 x", "Content-Length: 1001", "Last-Modified: Tue, 1 Dec 2026 10:00:00 GMT"}, 0,
       FailureKind::None, "Tue, 1 Dec 2026 10:00:00 GMT"},
      {{"HTTP/1.1 206 x", "Content-Range: bytes 500-1000/1001"}, 500, FailureKind::None, "\"v1\""},
  };
  for (const auto& c : cases) {
    ResponseHeaders h;
    for (const auto& line : c.headers) h.Feed(line);
    EXPECT_EQ(CheckSegmentResponse(h, c.position, 1001, 1001, c.ifRange).kind, c.kind)
        << ::testing::PrintToString(c.headers);
  }
}

TEST(ResponseHeaders, OnlyTheFinalResponseCountsAndLengthsAreSigned32Bit) {
  ResponseHeaders h;
  h.Feed("HTTP/1.1 302 Found");
  h.Feed("Content-Length: 17");
  h.Feed("HTTP/1.1 206 Partial Content");
  EXPECT_FALSE(h.HasContentLength()) << "a new status line starts over";
  h.Feed("content-range:  bytes 500-1000/1001 ");
  EXPECT_EQ(h.BodyOffset(), 500);
  ResponseHeaders unreadable;
  unreadable.Feed("HTTP/1.1 206 Partial Content");
  unreadable.Feed("Content-Range: bytes */1001");
  EXPECT_FALSE(unreadable.BodyOffset().has_value());

  EXPECT_EQ(ParseInt32(" 2147483647 "), 2147483647);
  EXPECT_EQ(ParseInt32("-2147483648"), INT32_MIN);
  for (const char* bad : {"2147483648", "99999999999999999999", "12a", "", "-"})
    EXPECT_FALSE(ParseInt32(bad).has_value()) << bad;
}

using Http = EngineTest;

TEST_F(Http, ProbeSendsHeadFollowsFifteenRedirectsAndGivesUpWithoutHeaders) {
  Serve("a.bin", 1001);
  EXPECT_EQ(ProbeRemoteSize(server->Url("fault/redirect=15/a.bin")), 1001);
  const auto requests = server->Requests();
  ASSERT_EQ(requests.size(), 16u);
  EXPECT_EQ(requests.back().method, "HEAD");
  EXPECT_EQ(requests.back().userAgent, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; Maxthon)");
  EXPECT_EQ(ProbeRemoteSize(server->Url("fault/stallhead=3000/a.bin"), 300ms), 0);
}

TEST_F(Http, ReadTimeOutCountsTheWaitNotTheWholeTransfer) {
  Serve("b.bin", 3000);
  size_t received = 0;
  auto count = [&](const char*, size_t n) { received += n; return n; };
  // Paced at 5000 bytes per second in small pieces: 0.6 s in all, never 300 ms without data.
  CurlTransfer paced(server->Url("fault/rate=5000/b.bin"));
  paced.SetBodySink(count);
  EXPECT_EQ(paced.Perform(300ms), CURLE_OK);
  EXPECT_EQ(received, 3000u);

  received = 0;
  CurlTransfer stalled(server->Url("fault/stall=3000,stallat=1000/b.bin"));
  stalled.SetBodySink(count);
  EXPECT_EQ(stalled.Perform(300ms), CURLE_OPERATION_TIMEDOUT);
  EXPECT_EQ(received, 1000u);
}
