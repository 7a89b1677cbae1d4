// The fault modes chosen by /fault/<opts>/<path>.
#include <gtest/gtest.h>

#include "tests/testkit/files.h"
#include "tests/testkit/served_folder.h"
#include "tests/testkit/temp_dir.h"
#include "tests/testserver/http_client.h"

namespace ostrel::testserver::test {
namespace {

constexpr int kPartialFile = 18;  // CURLE_PARTIAL_FILE

class ServerFaultsTest : public ::testing::Test {
 protected:
  testkit::TempDir dir;
  testkit::ServedFolder server{dir.path()};
  std::string data = server.Put("a.bin", testkit::RandomBytes(50000));
};

TEST_F(ServerFaultsTest, NoLengthSendsCloseDelimitedBodies) {
  FetchResult head = Fetch(server.Url("fault/nolen/a.bin"), {.head = true});
  EXPECT_EQ(head.status, 200);
  EXPECT_FALSE(head.HasHeader("Content-Length"));

  FetchResult get = Fetch(server.Url("fault/nolen/a.bin"));
  EXPECT_EQ(get.curlCode, 0);
  EXPECT_FALSE(get.HasHeader("Content-Length"));
  EXPECT_TRUE(get.body == data);
}

TEST_F(ServerFaultsTest, RangeFaults) {
  FetchResult ignored = Fetch(server.Url("fault/norange/a.bin"), {.range = "100-199"});
  EXPECT_EQ(ignored.status, 200);
  EXPECT_FALSE(ignored.HasHeader("Content-Range"));
  EXPECT_TRUE(ignored.body == data);

  FetchResult wrong = Fetch(server.Url("fault/badrange/a.bin"), {.range = "100-199"});
  EXPECT_EQ(wrong.status, 206);
  EXPECT_EQ(wrong.Header("Content-Range"), "bytes 0-99/50000");
  EXPECT_TRUE(wrong.body == data.substr(0, 100));

  FetchResult unranged = Fetch(server.Url("fault/badrange/a.bin"));
  EXPECT_EQ(unranged.status, 200) << "badrange touches only ranged requests";
  EXPECT_TRUE(unranged.body == data);
}

TEST_F(ServerFaultsTest, DropClosesAfterTheGivenBytes) {
  FetchResult dropped = Fetch(server.Url("fault/drop=1234/a.bin"));
  EXPECT_EQ(dropped.curlCode, kPartialFile);
  EXPECT_EQ(dropped.body.size(), 1234u);
  EXPECT_TRUE(dropped.body == data.substr(0, 1234));
  EXPECT_EQ(server.BodyBytesSent(), 1234u);

  FetchResult rangedDrop = Fetch(server.Url("fault/drop=10/a.bin"), {.range = "40000-"});
  EXPECT_EQ(rangedDrop.status, 206);
  EXPECT_TRUE(rangedDrop.body == data.substr(40000, 10));
}

TEST_F(ServerFaultsTest, StallAndRateStillDeliverEverything) {
  FetchResult stalled = Fetch(server.Url("fault/stall=300,stallat=20000/a.bin"));
  EXPECT_EQ(stalled.curlCode, 0);
  EXPECT_TRUE(stalled.body == data);

  FetchResult paced = Fetch(server.Url("fault/rate=200000,stallhead=50/a.bin"), {.range = "0-9999"});
  EXPECT_EQ(paced.status, 206);
  EXPECT_TRUE(paced.body == data.substr(0, 10000));
}

TEST_F(ServerFaultsTest, CancelledPacedTransferStopsSending) {
  FetchResult cancelled = Fetch(server.Url("fault/rate=2000/a.bin"), {.abortAfter = 100});
  EXPECT_NE(cancelled.curlCode, 0);
  EXPECT_LT(server.BodyBytesSent(), data.size());
}

TEST_F(ServerFaultsTest, RedirectChainCountsDownToThePlainPath) {
  FetchResult followed = Fetch(server.Url("fault/redirect=2,rate=10000000/a.bin"),
                               {.followRedirects = true});
  EXPECT_EQ(followed.status, 200);
  EXPECT_EQ(followed.redirects, 2);
  EXPECT_TRUE(followed.body == data);
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].target, "/fault/redirect=2,rate=10000000/a.bin");
  EXPECT_EQ(requests[1].target, "/fault/redirect=1,rate=10000000/a.bin");
  EXPECT_EQ(requests[2].target, "/fault/rate=10000000/a.bin");

  FetchResult single = Fetch(server.Url("fault/redirect=1/a.bin?x=1"));
  EXPECT_EQ(single.status, 302);
  EXPECT_EQ(single.redirectUrl, server.Url("a.bin?x=1"));
}

TEST_F(ServerFaultsTest, HttpsRedirectKeepsHostPortAndPath) {
  FetchResult result = Fetch(server.Url("fault/https/a.bin"));
  EXPECT_EQ(result.status, 302);
  EXPECT_EQ(result.redirectUrl, "https://127.0.0.1:" + std::to_string(server.Port()) + "/a.bin");
}

TEST_F(ServerFaultsTest, HtmlLabelsTheFileAsAPage) {
  FetchResult page = Fetch(server.Url("fault/html/a.bin"));
  EXPECT_EQ(page.Header("Content-Type"), "text/html; charset=utf-8");
  EXPECT_TRUE(page.body == data);
  EXPECT_EQ(Fetch(server.Url("a.bin")).Header("Content-Type"), "application/octet-stream");
}

TEST_F(ServerFaultsTest, EndlessRepeatsTheFileWithoutLengthUntilThePeerGoes) {
  FetchResult endless = Fetch(server.Url("fault/endless/a.bin"), {.abortAfter = 3 * data.size() + 10});
  EXPECT_NE(endless.curlCode, 0);
  EXPECT_FALSE(endless.HasHeader("Content-Length"));
  ASSERT_GT(endless.body.size(), 3 * data.size());
  EXPECT_TRUE(endless.body.substr(2 * data.size(), data.size()) == data);
}

TEST_F(ServerFaultsTest, ATlsHandshakeIsClosedAtOnce) {
  const std::string hello("\x16\x03\x01\x00\x05hello\r\n\r\n", 14);  // no 400 answer either
  EXPECT_EQ(RawExchange(server.Port(), hello), "");
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(ServerFaultsTest, StatusEmptyAndUnknownOptions) {
  for (int status : {403, 404, 500}) {
    FetchResult result = Fetch(server.Url("fault/status=" + std::to_string(status) + "/a.bin"));
    EXPECT_EQ(result.status, status);
    EXPECT_LT(result.body.size(), 100u);
    EXPECT_FALSE(result.body.empty());
    EXPECT_EQ(Fetch(server.Url("fault/status=" + std::to_string(status) + "/a.bin"),
                    {.head = true}).status, status);
  }
  EXPECT_EQ(Fetch(server.Url("fault/status=500/missing.bin")).status, 500);

  FetchResult empty = Fetch(server.Url("fault/empty/a.bin"));
  EXPECT_EQ(empty.status, 200);
  EXPECT_EQ(empty.Header("Content-Length"), "0");
  EXPECT_TRUE(empty.body.empty());

  EXPECT_EQ(Fetch(server.Url("fault/bogus/a.bin")).status, 400);
  EXPECT_EQ(Fetch(server.Url("fault/drop=x/a.bin")).status, 400);
  EXPECT_EQ(Fetch(server.Url("fault/status=99/a.bin")).status, 400);
}

}  // namespace
}  // namespace ostrel::testserver::test
