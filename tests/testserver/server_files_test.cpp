// Plain file serving: whole files, ranges, HEAD, request records, path safety.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/testkit/files.h"
#include "tests/testkit/served_folder.h"
#include "tests/testkit/temp_dir.h"
#include "tests/testkit/wait.h"
#include "tests/testserver/http_client.h"

namespace ostrel::testserver::test {
namespace {

class ServerFilesTest : public ::testing::Test {
 protected:
  testkit::TempDir dir;
  testkit::ServedFolder server{dir.path()};
  std::string data = server.Put("pkg/a.bin", testkit::RandomBytes(100000));
};

TEST_F(ServerFilesTest, WholeFileAndHead) {
  FetchResult whole = Fetch(server.Url("pkg/a.bin"));
  EXPECT_EQ(whole.curlCode, 0);
  EXPECT_EQ(whole.status, 200);
  EXPECT_TRUE(whole.body == data);
  // The server counts a piece once its send has returned, which may be after the client has it.
  EXPECT_TRUE(testkit::WaitUntil([&] { return server.BodyBytesSent() == data.size(); })) << server.BodyBytesSent();

  FetchResult head = Fetch(server.Url("pkg/a.bin"), {.head = true});
  EXPECT_EQ(head.status, 200);
  EXPECT_EQ(head.Header("Content-Length"), "100000");
  EXPECT_EQ(head.Header("Accept-Ranges"), "bytes");
  EXPECT_EQ(server.BodyBytesSent(), data.size()) << "HEAD sends no body";
}

TEST_F(ServerFilesTest, RangesAnswerExactBytes) {
  FetchResult middle = Fetch(server.Url("pkg/a.bin"), {.range = "1000-1999"});
  EXPECT_EQ(middle.status, 206);
  EXPECT_EQ(middle.Header("Content-Range"), "bytes 1000-1999/100000");
  EXPECT_EQ(middle.Header("Content-Length"), "1000");
  EXPECT_TRUE(middle.body == data.substr(1000, 1000));

  FetchResult clamped = Fetch(server.Url("pkg/a.bin"), {.range = "99990-500000"});
  EXPECT_EQ(clamped.status, 206);
  EXPECT_EQ(clamped.Header("Content-Range"), "bytes 99990-99999/100000");
  EXPECT_TRUE(clamped.body == data.substr(99990));

  FetchResult openEnded = Fetch(server.Url("pkg/a.bin"), {.range = "50000-"});
  EXPECT_EQ(openEnded.status, 206);
  EXPECT_TRUE(openEnded.body == data.substr(50000));

  FetchResult suffix = Fetch(server.Url("pkg/a.bin"), {.range = "-10"});
  EXPECT_EQ(suffix.Header("Content-Range"), "bytes 99990-99999/100000");
  EXPECT_TRUE(suffix.body == data.substr(99990));

  FetchResult single = Fetch(server.Url("pkg/a.bin"), {.range = "0-0"});
  EXPECT_EQ(single.status, 206);
  EXPECT_EQ(single.body, data.substr(0, 1));

  FetchResult beyond = Fetch(server.Url("pkg/a.bin"), {.range = "100000-"});
  EXPECT_EQ(beyond.status, 416);
  EXPECT_EQ(beyond.Header("Content-Range"), "bytes */100000");
  EXPECT_TRUE(beyond.body.empty());

  EXPECT_EQ(server.BodyBytesSent(), 1000u + 10 + 50000 + 10 + 1);
}

TEST_F(ServerFilesTest, RecordsEveryRequestInOrder) {
  Fetch(server.Url("pkg/a.bin"), {.head = true, .userAgent = "Probe/1"});
  Fetch(server.Url("pkg/a.bin"), {.range = "5-9", .userAgent = "Worker/2"});
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "HEAD");
  EXPECT_EQ(requests[0].target, "/pkg/a.bin");
  EXPECT_EQ(requests[0].range, "");
  EXPECT_EQ(requests[0].userAgent, "Probe/1");
  EXPECT_EQ(requests[1].method, "GET");
  EXPECT_EQ(requests[1].range, "bytes=5-9");
  EXPECT_EQ(requests[1].userAgent, "Worker/2");

  server.ResetCounters();
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(server.BodyBytesSent(), 0u);
}

TEST_F(ServerFilesTest, PercentEncodedNamesAreDecoded) {
  std::string spaced = server.Put("with space.bin", testkit::RandomBytes(10));
  FetchResult result = Fetch(server.Url("with%20space.bin"));
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.body, spaced);
}

TEST_F(ServerFilesTest, NothingOutsideTheFolderIsServed) {
  testkit::TempDir outside;
  testkit::WriteFile(outside / "secret.txt", testkit::RandomBytes(64));
  std::filesystem::create_symlink(outside.path() / "secret.txt", dir.path() / "link.txt");
  std::string escape = "../" + outside.path().filename().string() + "/secret.txt";

  EXPECT_EQ(Fetch(server.Url("pkg/../" + escape), {.pathAsIs = true}).status, 403);
  EXPECT_EQ(Fetch(server.Url("pkg/%2e%2e/%2E%2E/" + outside.path().filename().string() +
                             "/secret.txt")).status, 403);
  EXPECT_EQ(Fetch(server.Url("link.txt")).status, 403);
  EXPECT_EQ(Fetch(server.Url("pkg/a.bin%00.txt")).status, 400);
  std::string raw = RawExchange(server.Port(), "GET /" + escape + " HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_EQ(raw.rfind("HTTP/1.1 403", 0), 0u) << raw;

  EXPECT_EQ(Fetch(server.Url("pkg/missing.bin")).status, 404);
  EXPECT_EQ(Fetch(server.Url("pkg")).status, 404) << "a folder is not a file";
  EXPECT_EQ(Fetch(server.Url("")).status, 404);
}

TEST_F(ServerFilesTest, MalformedRequestsAreRefused) {
  EXPECT_EQ(RawExchange(server.Port(), "NONSENSE\r\n\r\n").rfind("HTTP/1.1 400", 0), 0u);
  EXPECT_EQ(RawExchange(server.Port(), "POST /pkg/a.bin HTTP/1.1\r\n\r\n").rfind("HTTP/1.1 405", 0),
            0u);
  EXPECT_EQ(RawExchange(server.Port(), "GET http://x/pkg/a.bin HTTP/1.1\r\n\r\n")
                .rfind("HTTP/1.1 400", 0),
            0u);
}

}  // namespace
}  // namespace ostrel::testserver::test
