// How the engine's requests trust TLS servers: the peer's certificate chain must verify and its
// name must match the host, against the system's CA store as libcurl is built to use it (its CA
// bundle file and CA folder). The environment variable OSTREL_CA_FILE may name one more PEM file
// of CA certificates (for tests and private deployments) that is trusted besides the system's.
//
// libcurl's CURLOPT_CAINFO would replace the system bundle, so the extra CAs go in as an
// in-memory bundle (CURLOPT_CAINFO_BLOB) made of the system bundle's text followed by the
// file's; the CA folder (CURLOPT_CAPATH) stays in force beside it. A TLS backend without a
// bundle file of its own (Schannel) then verifies against the extra file only. An OSTREL_CA_FILE
// that can't be read or holds no certificate makes every TLS connection fail rather than be
// ignored; plain http is not affected.
#pragma once

#include <curl/curl.h>

namespace ostrel::download {

inline constexpr const char* kExtraCaVariable = "OSTREL_CA_FILE";

// Sets peer and host verification and the trusted CAs on easy.
void ApplyTlsTrust(CURL* easy);

}  // namespace ostrel::download
