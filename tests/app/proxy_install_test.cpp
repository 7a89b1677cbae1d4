// A whole install where the only way out is a proxy (tinyproxy in front of the three servers),
// named as each system names it; and a proxy that asks for credentials the installer can't give.
#include <algorithm>

#include "install_fixture.h"
#include "support/RequestLog.h"
#include "tests/testkit/proxy_settings.h"

namespace ostrel::app::test {
namespace {

class ProxyInstall : public Install {
 protected:
  std::unique_ptr<testkit::TestProxy> Proxy(bool askCredentials) {
    std::string why;
    auto proxy = testkit::TestProxy::Start(askCredentials, why);
    if (!proxy) ADD_FAILURE() << why;
    return proxy;
  }
  // Requests of the three servers, and those that came through the proxy.
  std::pair<size_t, size_t> Requests() const {
    size_t all = 0, through = 0;
    for (const auto* server : {downloadServer_.get(), webServer_.get(), altServer_.get()})
      for (const auto& r : server->Requests()) {
        ++all;
        through += r.via.find("tinyproxy") != std::string::npos;
      }
    return {all, through};
  }
};

TEST_F(ProxyInstall, AWholeInstallGoesThroughTheProxy) {
  const auto proxy = Proxy(false);
  ASSERT_TRUE(proxy);
  testkit::ProxySettings settings(proxy->Url(), "");
  ServeSite(/*msiOnDownload=*/false, /*msiOnAlt=*/true);  // the base service from port 8080's base too
  StartInstall();
  ASSERT_TRUE(RunToDonePage()) << "page " << Page() << " " << ::testing::PrintToString(host.boxes);
  for (const auto& [name, data] : PackageFiles()) {
    std::string windowsName = name;
    std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
    EXPECT_EQ(Installed(windowsName), data) << name;
  }
  ExpectComponents("msi from 8080");
  const auto [all, through] = Requests();
  EXPECT_GT(all, 6u);
  EXPECT_EQ(through, all) << "every request came through the proxy";
}

TEST_F(ProxyInstall, AProxyThatWantsCredentialsGivesTheManifestBoxWithItsAnswerInTheLog) {
  const auto proxy = Proxy(true);
  ASSERT_TRUE(proxy);
  testkit::ProxySettings settings(proxy->Url(), "");
  ServeSite();
  const size_t before = support::SingleRequestLog().Lines().size();
  StartInstall();
  EXPECT_EQ(host.boxes, std::vector<std::string>{"下载版本文件失败"});
  const auto lines = support::SingleRequestLog().Lines();
  const std::string answer = "the proxy " + proxy->Url() + " refused the request: HTTP 407 Proxy Authentication Required";
  EXPECT_TRUE(std::any_of(lines.begin() + static_cast<long>(before), lines.end(), [&](const std::string& line) {
    return line.find(DownloadServer()) != std::string::npos && line.find(answer) != std::string::npos;
  })) << ::testing::PrintToString(lines);
  EXPECT_EQ(Requests().first, 0u);
}

}  // namespace
}  // namespace ostrel::app::test
