// The engine and ostrel-fetch through a real proxy (tinyproxy) in front of the test server, named
// the way each system names it (Linux: the proxy variables; Windows: the user's settings).
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/download/download_test_support.h"
#include "tests/testkit/child_process.h"
#include "tests/testkit/proxy_settings.h"

using namespace testing_support;
using ostrel::download::FailureKind;

namespace {

class ProxyEngine : public EngineTest {
 protected:
  // A proxy (one that wants credentials when asked); the test is skipped when there is none.
  std::unique_ptr<testkit::TestProxy> Proxy(bool askCredentials = false) {
    std::string why;
    auto proxy = testkit::TestProxy::Start(askCredentials, why);
    if (!proxy) ADD_FAILURE() << why;
    return proxy;
  }
  // How many of the server's requests came through the proxy, and how many in all.
  std::pair<size_t, size_t> ThroughProxy() const {
    const auto requests = server->Requests();
    const auto through = std::count_if(requests.begin(), requests.end(),
                                       [](const auto& r) { return r.via.find("tinyproxy") != std::string::npos; });
    return {static_cast<size_t>(through), requests.size()};
  }
  std::string RunFetch(const std::string& url) {
    testkit::ChildProcess fetch(OSTREL_FETCH_EXE, {url, Out("fetched.zip")}, root_ + "/out.txt", root_ + "/err.txt");
    EXPECT_EQ(fetch.Wait(), 0) << ReadFile(root_ + "/err.txt");
    return ReadFile(root_ + "/err.txt");
  }
};

}  // namespace

TEST_F(ProxyEngine, EveryRequestOfAJobGoesThroughTheProxyAndTheFileIsExact) {
  const auto proxy = Proxy();
  ASSERT_TRUE(proxy);
  testkit::ProxySettings settings(proxy->Url(), "");
  const auto source = Serve("pkg.zip", 300001);
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job) && WaitStopped(*job));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_EQ(ThroughProxy(), std::make_pair(size_t{3}, size_t{3})) << "the probe and both segments";
  EXPECT_EQ(Notices(), 0);

  const std::string summary = RunFetch(server->Url("pkg.zip"));
  EXPECT_NE(summary.find("through the proxy " + proxy->Url()), std::string::npos) << summary;
  EXPECT_EQ(ReadFile(Out("fetched.zip")), source);
}

TEST_F(ProxyEngine, AServerOnTheBypassListIsReachedStraight) {
  const auto proxy = Proxy();
  ASSERT_TRUE(proxy);
  testkit::ProxySettings settings(proxy->Url(), "127.0.0.1");
  const auto source = Serve("pkg.zip", 100000);
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_EQ(ThroughProxy(), std::make_pair(size_t{0}, size_t{3}));
  EXPECT_NE(RunFetch(server->Url("pkg.zip")).find(", no proxy: "), std::string::npos);
}

TEST_F(ProxyEngine, ARefusingOrMissingProxyFailsTheRunWithItsAnswerInTheLog) {
  const auto refusing = Proxy(/*askCredentials=*/true);
  ASSERT_TRUE(refusing);
  std::string closed;  // a port nobody listens on any more
  { closed = "http://127.0.0.1:" + std::to_string(testkit::ServedFolder(root_ + "/gone").Port()); }
  const std::vector<std::tuple<std::string, FailureKind, std::string>> cases = {
      {refusing->Url(), FailureKind::ProxyRefused, "refused the request: HTTP 407 Proxy Authentication Required"},
      {closed, FailureKind::ProxyUnreachable, "can't be reached"}};
  Serve("pkg.zip", 30000);
  for (const auto& [url, kind, answer] : cases) {
    SCOPED_TRACE(url);
    testkit::ProxySettings settings(url, "");
    server = std::make_unique<testkit::ServedFolder>(site_);  // a new base: looked up anew
    const int before = Notices();
    auto job = Start("pkg.zip", Out("pkg.zip"));
    ASSERT_TRUE(WaitUntil([&] { return Notices() == before + 1; }));
    EXPECT_EQ(job->Failure().kind, kind);
    const std::string line = "经代理服务器的请求失败：the proxy " + url + " " + answer;
    const auto lines = ControllerLines(*job);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(line, 0) == 0; }))
        << ::testing::PrintToString(lines);
    EXPECT_TRUE(server->Requests().empty());
  }
}
