#include "tests/pubshare/tls_site.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace testutil {
namespace {

// A port on 127.0.0.1 that nobody listens on just now.
uint16_t FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

bool Accepts(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

std::string Found(const char* program) {
  for (const char* folder : {"/usr/sbin/", "/usr/bin/", "/usr/local/sbin/", "/usr/local/bin/"})
    if (::access((std::string(folder) + program).c_str(), X_OK) == 0) return std::string(folder) + program;
  return {};
}

}  // namespace

TlsSite::~TlsSite() {
  if (nginx_ <= 0) return;
  ::kill(nginx_, SIGTERM);
  ::waitpid(nginx_, nullptr, 0);
}

bool TlsSite::Start(std::string& why) {
  if (Found("openssl").empty()) return why = "openssl is missing (Debian package 'openssl')", false;
  if (Found("nginx").empty()) return why = "nginx is missing (Debian package 'nginx-light')", false;
  return MakeCertificates(why) && Launch(why);
}

bool TlsSite::MakeCertificates(std::string& why) const {
  const std::string ec = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
  const std::string ca = " -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign";
  const std::string script =
      "cd '" + dir_ + "' && exec >openssl.log 2>&1 && set -e && "
      "openssl req -x509" + ec + " -keyout ca.key -out ca.pem -days 2 -subj '/CN=Ostrel Test CA'" + ca + " && "
      "openssl req -x509" + ec + " -keyout other-ca.key -out other-ca.pem -days 2 -subj '/CN=Ostrel Test CA'" + ca +
      " && openssl req" + ec + " -keyout server.key -out server.csr -subj /CN=127.0.0.1 && "
      "printf 'subjectAltName=IP:127.0.0.1\\nextendedKeyUsage=serverAuth\\n' >server.ext && "
      "openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile server.ext "
      "-out server.pem";
  if (std::system(script.c_str()) == 0) return true;
  why = "openssl could not make the certificates; see " + dir_ + "/openssl.log";
  return false;
}

void TlsSite::WriteConfiguration() const {
  const std::string tls = "127.0.0.1:" + std::to_string(tlsPort_), plain = "127.0.0.1:" + std::to_string(plainPort_);
  std::ofstream conf(dir_ + "/nginx.conf");
  conf << "daemon off;\nmaster_process off;\npid '" << dir_ << "/nginx.pid';\n"
       << "error_log '" << dir_ << "/error.log' warn;\nevents { worker_connections 64; }\nhttp {\n"
       << "  access_log off;\n  default_type application/octet-stream;\n";
  for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
    conf << "  " << kind << "_temp_path '" << dir_ << "/temp-" << kind << "';\n";
  conf << "  server {\n    listen " << tls << " ssl;\n    root '" << root_ << "';\n"
       << "    ssl_certificate '" << dir_ << "/server.pem';\n    ssl_certificate_key '" << dir_ << "/server.key';\n"
       << "    location /down/ { rewrite ^/down/(.*)$ http://" << plain << "/$1 redirect; }\n  }\n"
       << "  server {\n    listen " << plain << ";\n    root '" << root_ << "';\n"
       << "    location /up/ { rewrite ^/up/(.*)$ https://" << tls << "/$1 redirect; }\n  }\n}\n";
}

bool TlsSite::Launch(std::string& why) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    tlsPort_ = FreePort();
    do plainPort_ = FreePort();
    while (plainPort_ == tlsPort_);
    WriteConfiguration();
    nginx_ = ::fork();
    if (nginx_ == 0) {
      const std::string prefix = dir_ + "/", conf = dir_ + "/nginx.conf", log = dir_ + "/error.log";
      ::execl(Found("nginx").c_str(), "nginx", "-p", prefix.c_str(), "-c", conf.c_str(), "-e", log.c_str(),
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    bool ended = false;  // a port was taken meanwhile, say
    for (int waited = 0; waited < 100 && !ended; ++waited) {  // up to 10 s
      if (Accepts(tlsPort_) && Accepts(plainPort_)) return true;
      ended = ::waitpid(nginx_, nullptr, WNOHANG) == nginx_;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!ended) ::kill(nginx_, SIGTERM), ::waitpid(nginx_, nullptr, 0);
    nginx_ = -1;
  }
  why = "nginx did not start; see " + dir_ + "/error.log";
  return false;
}

}  // namespace testutil
