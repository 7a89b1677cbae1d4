// ostrel-testserver [--port N] [--port-file FILE] DIR
// Serves DIR on 127.0.0.1 with the test server's fault modes until SIGINT/SIGTERM.
#include <signal.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/text.h"
#include "tools/testserver/test_http_server.h"

namespace {

constexpr int kExitUsage = 2;

int Usage(const std::string& problem) {
  std::cerr << "ostrel-testserver: " << problem << "\n"
            << "usage: ostrel-testserver [--port N] [--port-file FILE] DIR\n";
  return kExitUsage;
}

bool ParsePort(const std::string& text, uint16_t* port) {
  const std::optional<uint16_t> value = platform::ParseDigits<uint16_t>(text);
  if (value) *port = *value;
  return value.has_value();
}

}  // namespace

int main(int argc, char** argv) {
  uint16_t port = 0;
  std::string portFile, dir;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--port" || arg == "--port-file") {
      if (i + 1 >= argc) return Usage(arg + " needs a value");
      std::string value = argv[++i];
      if (arg == "--port-file") {
        portFile = value;
      } else if (!ParsePort(value, &port)) {
        return Usage("bad port: " + value);
      }
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage("unknown option: " + arg);
    } else if (dir.empty()) {
      dir = arg;
    } else {
      return Usage("more than one folder given");
    }
  }
  if (dir.empty()) return Usage("no folder given");
  struct stat info;
  if (stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    return Usage("not a folder: " + dir);

  // The signals are taken by sigwait below; the server's threads inherit the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  try {
    ostrel::testserver::TestHttpServer server(dir, port);
    if (!portFile.empty()) {
      std::ofstream out(portFile, std::ios::trunc);
      out << server.Port() << "\n";
      if (!out.flush()) {
        std::cerr << "ostrel-testserver: can't write " << portFile << "\n";
        return EXIT_FAILURE;
      }
    }
    std::cout << "listening on " << server.Url("") << std::endl;
    int received = 0;
    sigwait(&signals, &received);
  } catch (const std::exception& error) {
    std::cerr << "ostrel-testserver: " << error.what() << "\n";
    return EXIT_FAILURE;
  }
  return EXIT_SUCCESS;
}
