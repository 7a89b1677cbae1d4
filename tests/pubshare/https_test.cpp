// Single-request downloads over https from a private nginx with a CA made for the test.
#include <stdlib.h>

#include <gtest/gtest.h>

#include "download/TlsTrust.h"
#include "tests/pubshare/download_fixture.h"
#include "tests/pubshare/tls_site.h"
#include "tests/testkit/local_proxy.h"
#include "tests/testkit/proxy_settings.h"

namespace {

class Https : public DownloadTest {
 protected:
  void SetUp() override {
    DownloadTest::SetUp();
    fs::create_directories(siteDir_);
    std::string why;
    if (!site_.Start(why)) GTEST_SKIP() << "no TLS site: " << why;
  }
  ~Https() override { ::unsetenv(ostrel::download::kExtraCaVariable); }

  void TrustExtra(const std::string& caFile) { ::setenv(ostrel::download::kExtraCaVariable, caFile.c_str(), 1); }
  std::string Secure(const std::string& path) const {
    return "https://127.0.0.1:" + std::to_string(site_.TlsPort()) + "/" + path;
  }
  std::string Plain(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(site_.PlainPort()) + "/" + path;
  }
  FetchResult Fetch(const std::string& url) { return FetchToFile(url, dir_ + "/pkg.zip", {}, nullptr); }

  std::string siteDir_ = prefix_.scratch() + "/tls";
  testutil::TlsSite site_{siteDir_, root_};
};

TEST_F(Https, ACertificateOfTheExtraCaVerifies) {
  TrustExtra(site_.CaFile());
  for (const std::string& url : {Secure("pkg.zip"), Plain("up/pkg.zip"), Plain("pkg.zip")}) {
    const FetchResult result = Fetch(url);
    EXPECT_TRUE(result) << url << ": " << result.reason;
    EXPECT_EQ(ReadFile(dir_ + "/pkg.zip"), body_) << url;
  }
}

TEST_F(Https, ACertificateThatDoesNotVerifyFailsAndLeavesNoFile) {
  for (const std::string& ca : {std::string(), site_.OtherCaFile(), siteDir_ + "/missing.pem"}) {
    if (ca.empty()) ::unsetenv(ostrel::download::kExtraCaVariable);
    else TrustExtra(ca);
    for (const std::string& url : {Secure("pkg.zip"), Plain("up/pkg.zip")}) {
      WriteFile(dir_ + "/pkg.zip", "old");
      const FetchResult result = Fetch(url);
      EXPECT_EQ(result.error, FetchError::Transfer) << url << " with CA " << ca;
      EXPECT_NE(result.reason.find("certificate"), std::string::npos) << result.reason;
      EXPECT_EQ(Files(), std::vector<std::string>{}) << url << " with CA " << ca;
    }
    EXPECT_TRUE(Fetch(Plain("pkg.zip"))) << "plain http is not affected by the CA " << ca;
  }
}

TEST_F(Https, NoRedirectLeadsFromHttpsDownToHttp) {
  TrustExtra(site_.CaFile());
  for (const std::string& url : {Secure("down/pkg.zip"), Plain("up/down/pkg.zip")}) {
    const FetchResult result = Fetch(url);
    EXPECT_EQ(result.error, FetchError::Transfer) << url;
    EXPECT_NE(result.reason.find("https to http"), std::string::npos) << url << ": " << result.reason;
    EXPECT_EQ(Files(), std::vector<std::string>{}) << url;
  }
  EXPECT_TRUE(Fetch(Plain("pkg.zip")));  // where it pointed
}

}  // namespace

TEST_F(Https, AnHttpsBaseGoesThroughTheProxyWithConnectAndItsCertificateIsStillChecked) {
  if (!testkit::LocalProxy::Installed()) GTEST_SKIP() << "tinyproxy is not installed (tools/setup.sh)";
  testkit::LocalProxy proxy;
  testkit::ProxySettings settings(proxy.Url(), "");
  TrustExtra(site_.CaFile());
  const FetchResult result = Fetch(Secure("pkg.zip"));
  EXPECT_TRUE(result) << result.reason;
  EXPECT_EQ(ReadFile(dir_ + "/pkg.zip"), body_);
  const std::string connect = "CONNECT 127.0.0.1:" + std::to_string(site_.TlsPort());
  EXPECT_EQ(proxy.Requests(), std::vector<std::string>{connect});

  TrustExtra(site_.OtherCaFile());
  const FetchResult refused = Fetch(Secure("pkg.zip"));
  EXPECT_EQ(refused.error, FetchError::Transfer);
  EXPECT_NE(refused.reason.find("certificate"), std::string::npos) << refused.reason;
  EXPECT_NE(refused.reason.find("through the proxy " + proxy.Url()), std::string::npos) << refused.reason;
  EXPECT_EQ(proxy.Requests(), (std::vector<std::string>{connect, connect}));
}
