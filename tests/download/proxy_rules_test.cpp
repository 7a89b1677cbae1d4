// The rules that choose a request's proxy: the server of a URL, the environment as libcurl
// reads it (Linux), and Windows' proxy server and bypass texts. Pure functions, tested on both.
#include <gtest/gtest.h>

#include <map>

#include "platform/proxy_rules.h"

using platform::ServerOf;

namespace {

std::string Base(const std::string& url) {
  const auto server = platform::ServerOfUrl(url);
  return server ? platform::ServerBase(*server) : "-";
}

ServerOf Server(const std::string& url) { return platform::ServerOfUrl(url).value(); }

}  // namespace

TEST(ProxyRules, TheServerBaseOfAUrl) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"http://Down.Example.com/dlcpx/a.zip", "http://down.example.com:80"},
      {"HTTPS://example.com", "https://example.com:443"},
      {"http://127.0.0.1:8080/x?y#z", "http://127.0.0.1:8080"},
      {"http://user:pw@host:81/", "http://host:81"},
      {"http://[::1]:8080/a", "http://[::1]:8080"},
      {"http://[::1]/a", "http://[::1]:80"},
      {"  http://a/ ", "http://a:80"},
      {"example.com/a", "-"}, {"http:///a", "-"}, {"http://a:99999/", "-"}, {"http://a:x/", "-"}};
  for (const auto& [url, base] : cases) EXPECT_EQ(Base(url), base) << url;
}

TEST(ProxyRules, TheEnvironmentAsLibcurlReadsIt) {
  struct Case {
    std::map<std::string, std::string> env;
    std::string url, proxy;
  };
  const std::vector<Case> cases = {
      {{{"http_proxy", "127.0.0.1:3128"}}, "http://a/x", "http://127.0.0.1:3128"},
      {{{"HTTP_PROXY", "http://p:1"}}, "http://a/x", ""},  // never read in upper case
      {{{"HTTPS_PROXY", "http://p:2"}}, "https://a/x", "http://p:2"},
      {{{"https_proxy", "http://p:2"}, {"HTTPS_PROXY", "http://q:3"}}, "https://a/x", "http://p:2"},
      {{{"http_proxy", "http://p:1"}}, "https://a/x", ""},
      {{{"all_proxy", "socks5://s:1"}}, "https://a/x", "socks5://s:1"},
      {{{"http_proxy", ""}, {"ALL_PROXY", "p:4"}}, "http://a/x", "http://p:4"},
      {{{"http_proxy", "p:1"}, {"no_proxy", "127.0.0.1"}}, "http://127.0.0.1:8/x", ""},
      {{{"http_proxy", "p:1"}, {"no_proxy", "127.0.0.2"}}, "http://127.0.0.1:8/x", "http://p:1"},
      {{{"http_proxy", "p:1"}, {"NO_PROXY", "*"}}, "http://a/x", ""},
      {{{"http_proxy", "p:1"}, {"no_proxy", "", }, {"NO_PROXY", "a"}}, "http://a/x", ""},
      {{{"http_proxy", "p:1"}, {"no_proxy", "localhost, .example.com"}}, "http://down.Example.com/x", ""},
      {{{"http_proxy", "p:1"}, {"no_proxy", "example.com"}}, "http://down.example.com/x", ""},
      {{{"http_proxy", "p:1"}, {"no_proxy", "example.com"}}, "http://badexample.com/x", "http://p:1"},
      {{{"http_proxy", "p:1"}, {"no_proxy", "10.0.0.0/8,192.168.1.0/24"}}, "http://10.2.3.4/x", ""},
      {{{"http_proxy", "p:1"}, {"no_proxy", "192.168.1.0/24"}}, "http://192.168.2.1/x", "http://p:1"},
      {{{"http_proxy", "p:1"}, {"no_proxy", "[::1]"}}, "http://[::1]:8/x", ""},
  };
  for (const Case& c : cases) {
    const auto read = [&](const char* name) -> std::optional<std::string> {
      const auto found = c.env.find(name);
      return found == c.env.end() ? std::nullopt : std::optional(found->second);
    };
    EXPECT_EQ(platform::EnvironmentProxy(Server(c.url), read), c.proxy) << c.url << " " << ::testing::PrintToString(c.env);
  }
}

TEST(ProxyRules, WindowsProxyServerTexts) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"proxy.corp:8080", "http", "http://proxy.corp:8080"},
      {"proxy.corp:8080", "https", "http://proxy.corp:8080"},
      {"http=h:1;https=s:2;ftp=f:3", "http", "http://h:1"},
      {"http=h:1;https=s:2;ftp=f:3", "https", "http://s:2"},
      {"HTTP=h:1", "https", ""},
      {"http=h:1; socks=k:1080", "https", "socks4://k:1080"},
      {"https=http://s:2", "https", "http://s:2"},
      {"", "http", ""}, {"http=", "http", ""}};
  for (const auto& [text, scheme, proxy] : cases) EXPECT_EQ(platform::SettingsProxy(text, scheme), proxy) << text << " " << scheme;
}

TEST(ProxyRules, WindowsBypassLists) {
  const std::vector<std::tuple<std::string, std::string, bool>> cases = {
      {"<local>", "http://intranet/a", true},
      {"<local>", "http://127.0.0.1/a", false},
      {"<LOCAL>;*.corp", "http://down.CORP/a", true},
      {"*.corp", "http://corp/a", false},
      {"127.0.0.1", "http://127.0.0.1:8080/a", true},
      {"127.*", "http://127.0.0.1:8080/a", true},
      {"10.*; 192.168.*", "http://192.168.0.9/a", true},
      {"127.0.0.1:8080", "http://127.0.0.1:8080/a", true},
      {"127.0.0.1:8080", "http://127.0.0.1:80/a", false},
      {"https://*.corp", "http://a.corp/a", false},
      {"https://*.corp", "https://a.corp/a", true},
      {"a*b*c", "http://axxbyyc/", true},
      {"a*b*c", "http://axxbyy/", false},
      {"", "http://a/", false}};
  for (const auto& [list, url, bypass] : cases) EXPECT_EQ(platform::SettingsBypass(list, Server(url)), bypass) << list << " " << url;
}
