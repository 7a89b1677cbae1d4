// The local test server (tools/testserver) on 127.0.0.1 over a folder, made when missing.
#pragma once

#include <filesystem>
#include <string>

#include "tools/testserver/test_http_server.h"

namespace testkit {

class ServedFolder : public ostrel::testserver::TestHttpServer {
 public:
  explicit ServedFolder(const std::filesystem::path& root);

  const std::filesystem::path& Root() const { return root_; }
  // Writes bytes to the served name (its folders made) and returns them.
  std::string Put(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path root_;
};

}  // namespace testkit
