// The current user's proxy settings as Internet Options keeps them: the values ProxyEnable,
// ProxyServer and ProxyOverride under Internet Settings, and the record DefaultConnectionSettings
// under its Connections key (version 0x46, a change counter, the flags 1 direct / 2 proxy, then
// the proxy server, the bypass list and the configuration script's URL, each a length and ANSI
// text), which WinHttpGetIEProxyConfigForCurrentUser reads.
#include <windows.h>

#include <cstdint>
#include <cstdlib>

#include "platform/win32/wide_text.h"
#include "tests/testkit/proxy_settings.h"

namespace testkit {
namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr wchar_t kConnectionsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
constexpr uint32_t kDirect = 1, kProxy = 2;

class OutsideProxy : public TestProxy {
 public:
  explicit OutsideProxy(std::string url) : url_(std::move(url)) {}
  std::string Url() const override { return url_; }

 private:
  std::string url_;
};

void AppendNumber(std::string& record, uint32_t value) {
  for (int i = 0; i < 4; ++i) record.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void AppendText(std::string& record, const std::string& text) {
  AppendNumber(record, static_cast<uint32_t>(text.size()));
  record += text;
}

void WriteValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, size_t size) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
  RegCloseKey(handle);
}

void WriteText(const wchar_t* name, const std::string& text) {
  const std::wstring wide = platform::win32::Wide(text);
  WriteValue(kSettingsKey, name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

// server: "host:port" as Internet Options writes it; empty for none.
void WriteSettings(const std::string& server, const std::string& bypass) {
  static uint32_t counter = 1;
  const DWORD enable = server.empty() ? 0 : 1;
  WriteValue(kSettingsKey, L"ProxyEnable", REG_DWORD, &enable, sizeof(enable));
  WriteText(L"ProxyServer", server);
  WriteText(L"ProxyOverride", bypass);
  std::string record;
  AppendNumber(record, 0x46);
  AppendNumber(record, ++counter);
  AppendNumber(record, server.empty() ? kDirect : kDirect | kProxy);
  AppendText(record, server);
  AppendText(record, bypass);
  AppendText(record, "");  // no configuration script
  record.append(32, '\0');
  WriteValue(kConnectionsKey, L"DefaultConnectionSettings", REG_BINARY, record.data(), record.size());
}

}  // namespace

std::unique_ptr<TestProxy> TestProxy::Start(bool askCredentials, std::string& why) {
  const char* name = askCredentials ? "OSTREL_TEST_PROXY_407" : "OSTREL_TEST_PROXY";
  const char* address = std::getenv(name);
  if (!address || !*address) {
    why = std::string(name) + " is not set: run the test through tests/testkit/with-tinyproxy.sh";
    return nullptr;
  }
  return std::make_unique<OutsideProxy>(address);
}

ProxySettings::ProxySettings(const std::optional<std::string>& proxy, const std::string& bypass) {
  std::string server;
  if (proxy) server = proxy->substr(proxy->find("://") == std::string::npos ? 0 : proxy->find("://") + 3);
  WriteSettings(server, bypass);
}

ProxySettings::~ProxySettings() { WriteSettings("", ""); }

}  // namespace testkit
