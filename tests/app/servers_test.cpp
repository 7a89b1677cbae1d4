// The server bases: what counts as one, the port-8080 base, and the environment's overrides.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <stdexcept>

#include "app/Servers.h"
#include "tests/testkit/host_only.h"

namespace ostrel::app {
namespace {

class Servers : public ::testing::Test {
 protected:
  ~Servers() override {
    for (const char* v : {"OSTREL_DOWNLOAD_SERVER", "OSTREL_WEB_SERVER", "OSTREL_WEB_SERVER_ALT"})
      testkit::SetEnv(v, std::nullopt);
  }
};

TEST_F(Servers, OnlyHttpAndHttpsUrlsAreBasesAndEachEndsWithASlash) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"http://dl.example", "http://dl.example/"},
      {"http://dl.example/", "http://dl.example/"},
      {"HTTP://dl.example:81/mirror", "HTTP://dl.example:81/mirror/"},
      {"http://127.0.0.1:5000/a/b/", "http://127.0.0.1:5000/a/b/"},
      {"http://[::1]:8000", "http://[::1]:8000/"},
      {"https://dl.example", "https://dl.example/"},
      {"HTTPS://127.0.0.1:8443/a", "HTTPS://127.0.0.1:8443/a/"},
      {"https://", std::nullopt},
      {"httpx://dl.example/", std::nullopt},
      {"ftp://dl.example/", std::nullopt},
      {"dl.example", std::nullopt},
      {"http://", std::nullopt},
      {"http:///path", std::nullopt},
      {"http://dl.example:0/", std::nullopt},
      {"http://dl.example:70000/", std::nullopt},
      {"http://dl.example:/", std::nullopt},
      {"http://user@dl.example/", std::nullopt},
      {"http://dl example/", std::nullopt},
      {"http://dl.example/?q=1", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [value, base] : cases) EXPECT_EQ(ServerBase(value), base) << value;
}

TEST_F(Servers, ThePort8080BaseFollowsTheWebServerUnlessSetItself) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"http://www.example", nullptr, "http://www.example:8080/"},
      {"http://www.example:81/site/", nullptr, "http://www.example:8080/site/"},
      {"http://[::1]:81/", nullptr, "http://[::1]:8080/"},
      {"http://www.example/", "http://alt.example:9000", "http://alt.example:9000/"},
      {"https://www.example:8443/site/", nullptr, "https://www.example:8080/site/"},
  };
  for (const auto& [web, alt, expected] : cases) {
    testkit::SetEnv("OSTREL_WEB_SERVER", web);
    testkit::SetEnv("OSTREL_WEB_SERVER_ALT", alt ? std::optional<std::string>(alt) : std::nullopt);
    EXPECT_EQ(WebServerAlt(), expected) << web;
  }
}

TEST_F(Servers, TheBuiltInBasesServeUntilTheEnvironmentSaysOtherwise) {
  EXPECT_EQ(CheckServers(), "");
  EXPECT_TRUE(ServerBase(DownloadServer()));
  EXPECT_TRUE(ServerBase(WebServer()));
  testkit::SetEnv("OSTREL_DOWNLOAD_SERVER", "http://127.0.0.1:1");
  EXPECT_EQ(DownloadServer(), "http://127.0.0.1:1/");
}

TEST_F(Servers, AnUnusableOverrideIsAnErrorNamingItsVariable) {
  for (const char* variable : {"OSTREL_DOWNLOAD_SERVER", "OSTREL_WEB_SERVER", "OSTREL_WEB_SERVER_ALT"}) {
    testkit::SetEnv(variable, "ftp://files.example/");
    EXPECT_NE(CheckServers().find(variable), std::string::npos) << variable;
    testkit::SetEnv(variable, std::nullopt);
  }
  TESTKIT_SKIP_ON_WINDOWS("a variable set to nothing (Windows removes it)");
  testkit::SetEnv("OSTREL_WEB_SERVER", "");
  EXPECT_THROW(WebServer(), std::runtime_error);
  EXPECT_THROW(WebServerAlt(), std::runtime_error);
  EXPECT_NO_THROW(DownloadServer());
}

}  // namespace
}  // namespace ostrel::app
