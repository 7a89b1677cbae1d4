#include "download/TlsTrust.h"

#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>

#include "platform/file.h"

namespace ostrel::download {
namespace {

constexpr size_t kMaxBundleBytes = 16u << 20;
constexpr const char kPemCertificate[] = "-----BEGIN CERTIFICATE-----";

// The text of the CA bundle file libcurl uses by default, read once; empty when there is none.
const std::string& SystemBundle(CURL* easy) {
  static std::once_flag once;
  static std::string bundle;
  std::call_once(once, [easy] {
    char* path = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_CAINFO, &path) != CURLE_OK || !path) return;
    bundle = platform::ReadWholeFile(path, kMaxBundleBytes).value_or("");
  });
  return bundle;
}

}  // namespace

void ApplyTlsTrust(CURL* easy) {
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  const char* extraFile = std::getenv(kExtraCaVariable);
  if (!extraFile || !*extraFile) return;

  const std::optional<std::string> extra = platform::ReadWholeFile(extraFile, kMaxBundleBytes);
  if (!extra || extra->find(kPemCertificate) == std::string::npos) {
    // libcurl fails every TLS connection with a CA file it can't use (CURLE_SSL_CACERT_BADFILE).
    curl_easy_setopt(easy, CURLOPT_CAINFO, extraFile);
    return;
  }
  std::string bundle = SystemBundle(easy);
  bundle += "\n";
  bundle += *extra;
  curl_blob blob{bundle.data(), bundle.size(), CURL_BLOB_COPY};
  curl_easy_setopt(easy, CURLOPT_CAINFO_BLOB, &blob);
}

}  // namespace ostrel::download
