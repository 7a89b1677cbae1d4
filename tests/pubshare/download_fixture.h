// The fixture of the single-request download tests: a test server over a folder holding a
// 300000-byte package, a manifest and an empty file, and an output folder.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/pubShare.h"
#include "tests/platform/temp_prefix.h"
#include "tools/testserver/test_http_server.h"

namespace fs = std::filesystem;
using testutil::ReadFile;
using testutil::WriteFile;

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_);
    fs::create_directories(dir_);
    for (size_t i = 0; i < body_.size(); ++i) body_[i] = static_cast<char>((i * 7919) >> 3);
    WriteFile(root_ + "/pkg.zip", body_);
    WriteFile(root_ + "/KELOPRO.INI", kIni);
    WriteFile(root_ + "/empty.bin", "");
  }
  DownloadProgressHandlers Recorder() {  // as "begin N", "work N", "end"
    return {[this](int64_t n) { events_.push_back("begin " + std::to_string(n)); },
            [this](int64_t n) { events_.push_back("work " + std::to_string(n)); },
            [this] { events_.push_back("end"); }};
  }
  std::vector<std::string> Files() const {  // temporary files must never stay behind
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  static constexpr char kIni[] = "[Setup]\r\nLargeVer=1.0\r\n";
  testutil::TempPrefix prefix_;
  std::string root_ = prefix_.scratch() + "/www", dir_ = prefix_.scratch() + "/out";
  std::string body_ = std::string(300000, '\0');
  testserver::TestHttpServer server_{prefix_.scratch() + "/www"};
  std::vector<std::string> events_;
};


