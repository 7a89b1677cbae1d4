// What the engine reads from responses, the size probe, and the read time-out.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "download/CurlTransfer.h"
#include "download/HttpProbe.h"
#include "download/ResponseHeaders.h"
#include "tests/download/download_test_support.h"
#include "tools/testserver/test_http_server.h"

using namespace download;
using namespace std::chrono_literals;
using testing_support::ScratchDir;

TEST(ResponseHeaders, ReadsTheFinalResponseOnly) {
  ResponseHeaders h;
  h.Feed("HTTP/1.1 302 Found");
  h.Feed("Content-Length: 17");
  h.Feed("Location: /b");
  h.Feed("");
  EXPECT_EQ(h.Status(), 302);
  EXPECT_EQ(h.ContentLength(), 17);
  h.Feed("HTTP/1.1 206 Partial Content");
  EXPECT_FALSE(h.HasContentLength()) << "a new status line starts over";
  h.Feed("content-range:  bytes 500-1000/1001 ");
  EXPECT_EQ(h.Status(), 206);
  EXPECT_EQ(h.BodyOffset(), 500);

  ResponseHeaders whole;
  whole.Feed("HTTP/1.1 200 OK");
  EXPECT_EQ(whole.BodyOffset(), 0);
  ResponseHeaders noRange;
  noRange.Feed("HTTP/1.1 206 Partial Content");
  EXPECT_FALSE(noRange.BodyOffset().has_value());
  noRange.Feed("Content-Range: bytes */1001");
  EXPECT_FALSE(noRange.BodyOffset().has_value());
}

TEST(ResponseHeaders, ContentLengthMustBeASigned32BitNumber) {
  EXPECT_EQ(ParseInt32(" 2147483647 "), 2147483647);
  EXPECT_EQ(ParseInt32("-2147483648"), INT32_MIN);
  EXPECT_FALSE(ParseInt32("2147483648").has_value());
  EXPECT_FALSE(ParseInt32("99999999999999999999").has_value());
  EXPECT_FALSE(ParseInt32("12a").has_value());
  EXPECT_FALSE(ParseInt32("").has_value());
  EXPECT_FALSE(ParseInt32("-").has_value());
}

class ProbeTest : public ::testing::Test {
 protected:
  ProbeTest() : server(dir.Path()) {
    testing_support::WriteFile(dir / "a.bin", testing_support::RandomBytes(1001));
  }
  ScratchDir dir;
  testserver::TestHttpServer server;
};

TEST_F(ProbeTest, SizeComesFromHeadWithTheEnginesUserAgent) {
  EXPECT_EQ(ProbeRemoteSize(server.Url("a.bin")), 1001);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "HEAD");
  EXPECT_EQ(requests[0].userAgent, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; Maxthon)");
}

TEST_F(ProbeTest, MissingLengthIsMinusOneAndFailuresAreZero) {
  EXPECT_EQ(ProbeRemoteSize(server.Url("fault/nolen/a.bin")), -1);
  EXPECT_EQ(ProbeRemoteSize(server.Url("fault/status=404/a.bin")), 0);
  EXPECT_EQ(ProbeRemoteSize(server.Url("fault/status=500/a.bin")), 0);
  EXPECT_EQ(ProbeRemoteSize(server.Url("missing.bin")), 0);
  EXPECT_EQ(ProbeRemoteSize(server.Url("fault/https/a.bin")), 0);
  EXPECT_EQ(ProbeRemoteSize("https://127.0.0.1:" + std::to_string(server.Port()) + "/a.bin"), 0);
}

TEST_F(ProbeTest, FollowsFifteenRedirectsButNotSixteen) {
  EXPECT_EQ(ProbeRemoteSize(server.Url("fault/redirect=15/a.bin")), 1001);
  EXPECT_EQ(server.Requests().size(), 16u);
  EXPECT_EQ(ProbeRemoteSize(server.Url("fault/redirect=16/a.bin")), 0);
}

TEST_F(ProbeTest, GivesUpWhenNoHeadersComeInTime) {
  EXPECT_EQ(ProbeRemoteSize(server.Url("fault/stallhead=3000/a.bin"), 300ms), 0);
}

TEST(ProbeNoServer, RefusedConnectionIsZero) {
  // A port that was just free: bind, read its number, close.
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  socklen_t len = sizeof addr;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(s);
  EXPECT_EQ(ProbeRemoteSize("http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/a"), 0);
}

TEST_F(ProbeTest, ReadTimeOutCountsTheWaitNotTheWholeTransfer) {
  testing_support::WriteFile(dir / "b.bin", testing_support::RandomBytes(3000));
  // Paced at 5000 bytes per second in small pieces: 0.6 s in all, never 300 ms without data.
  CurlTransfer paced(server.Url("fault/rate=5000/b.bin"));
  size_t received = 0;
  paced.SetBodySink([&](const char*, size_t n) { received += n; return n; });
  EXPECT_EQ(paced.Perform(300ms), CURLE_OK);
  EXPECT_EQ(received, 3000u);

  CurlTransfer stalled(server.Url("fault/stall=3000,stallat=1000/b.bin"));
  received = 0;
  stalled.SetBodySink([&](const char*, size_t n) { received += n; return n; });
  EXPECT_EQ(stalled.Perform(300ms), CURLE_OPERATION_TIMEDOUT);
  EXPECT_EQ(received, 1000u);
}
