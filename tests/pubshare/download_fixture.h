// The fixture of the single-request download tests: a test server over a folder holding a
// 300000-byte package, a manifest and an empty file, and an output folder.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/pubShare.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"
#include "tests/testkit/served_folder.h"

namespace fs = std::filesystem;
using testkit::ReadFile;
using testkit::WriteFile;

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_);
    for (size_t i = 0; i < body_.size(); ++i) body_[i] = static_cast<char>((i * 7919) >> 3);
    server_.Put("pkg.zip", body_);
    server_.Put("KELOPRO.INI", kIni);
    server_.Put("empty.bin", "");
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
  testkit::TempPrefix prefix_;
  std::string root_ = prefix_.scratch() + "/www", dir_ = prefix_.scratch() + "/out";
  std::string body_ = std::string(300000, '\0');
  testkit::ServedFolder server_{root_};
  std::vector<std::string> events_;
};


