// The current user's proxy settings through WinHTTP (winhttp.dll, on every Windows since XP SP1).
#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <optional>

#include "platform/win32/proxy_lookup.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

// The texts of the records are the caller's, to be freed with GlobalFree.
struct UserSettings {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG value{};
  ~UserSettings() {
    for (LPWSTR text : {value.lpszAutoConfigUrl, value.lpszProxy, value.lpszProxyBypass})
      if (text) GlobalFree(text);
  }
};

struct AutomaticAnswer {
  WINHTTP_PROXY_INFO value{};
  ~AutomaticAnswer() {
    for (LPWSTR text : {value.lpszProxy, value.lpszProxyBypass})
      if (text) GlobalFree(text);
  }
};

// A network without automatic detection answers no faster the second time: asked once per process.
std::atomic<bool> g_detectionFailed{false};

// The first proxy of a list ("host:port; host2:port"), as a URL.
std::string FirstProxy(const wchar_t* list) {
  const std::string text = Utf8(list);
  const size_t start = text.find_first_not_of("; \t");
  if (start == std::string::npos) return {};
  return ProxyAsUrl(text.substr(start, text.find_first_of("; \t", start) - start));
}

// What automatic detection or the configuration script says (empty: straight to the server);
// nothing when neither is set or neither answers.
std::optional<std::string> AutomaticProxy(const UserSettings& settings, const std::string& url) {
  const bool detect = settings.value.fAutoDetect && !g_detectionFailed.load();
  const LPWSTR script = settings.value.lpszAutoConfigUrl;
  if (!detect && !script) return std::nullopt;
  HINTERNET session = WinHttpOpen(L"OstrelPro", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0);
  if (!session) return std::nullopt;
  WINHTTP_AUTOPROXY_OPTIONS options{};
  if (script) {
    options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = script;
  }
  if (detect) {
    options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
  }
  options.fAutoLogonIfChallenged = TRUE;
  AutomaticAnswer answer;
  std::optional<std::string> proxy;
  if (WinHttpGetProxyForUrl(session, Wide(url).c_str(), &options, &answer.value)) {
    const bool named = answer.value.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && answer.value.lpszProxy;
    proxy = named ? FirstProxy(answer.value.lpszProxy) : std::string();
  } else if (!script && GetLastError() == ERROR_WINHTTP_AUTODETECTION_FAILED) {
    g_detectionFailed.store(true);
  }
  WinHttpCloseHandle(session);
  return proxy;
}

}  // namespace

ProxyRoute LookUpProxy(const std::string& url, const ServerOf& server) {
  UserSettings settings;
  if (!WinHttpGetIEProxyConfigForCurrentUser(&settings.value)) return {};
  if (std::optional<std::string> automatic = AutomaticProxy(settings, url)) return {*automatic, false};
  if (!settings.value.lpszProxy) return {};
  ProxyRoute route;
  route.proxy = SettingsProxy(Utf8(settings.value.lpszProxy), server.scheme);
  if (settings.value.lpszProxyBypass && SettingsBypass(Utf8(settings.value.lpszProxyBypass), server))
    route.proxy.clear();
  return route;
}

}  // namespace platform::win32
