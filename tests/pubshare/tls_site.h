// A private nginx that serves a folder over TLS with a certificate made for the test, for the
// https tests of the single-request download. Needs nginx and openssl; Start says why not when
// either is missing or fails.
//
// Made in dir: a CA ("ca.pem"), a second CA that signed nothing ("other-ca.pem"), a server
// certificate for 127.0.0.1 signed by the first, the configuration and the logs. Served:
//   https://127.0.0.1:<TlsPort>/<file>   the files of root; /down/<file> answers 302 to
//                                        http://127.0.0.1:<PlainPort>/<file>
//   http://127.0.0.1:<PlainPort>/<file>  the same files; /up/<file> answers 302 to
//                                        https://127.0.0.1:<TlsPort>/<file>
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace testutil {

class TlsSite {
 public:
  TlsSite(std::string dir, std::string root) : dir_(std::move(dir)), root_(std::move(root)) {}
  ~TlsSite();  // stops nginx and waits for it
  TlsSite(const TlsSite&) = delete;
  TlsSite& operator=(const TlsSite&) = delete;

  // Makes the certificates and starts nginx; false with the reason when that can't be done.
  bool Start(std::string& why);

  uint16_t TlsPort() const { return tlsPort_; }
  uint16_t PlainPort() const { return plainPort_; }
  std::string CaFile() const { return dir_ + "/ca.pem"; }
  std::string OtherCaFile() const { return dir_ + "/other-ca.pem"; }

 private:
  bool MakeCertificates(std::string& why) const;
  void WriteConfiguration() const;
  bool Launch(std::string& why);

  std::string dir_, root_;
  uint16_t tlsPort_ = 0, plainPort_ = 0;
  pid_t nginx_ = -1;
};

}  // namespace testutil
