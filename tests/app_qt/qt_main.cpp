// The Qt host's tests run with one QApplication on the offscreen platform, in a temporary
// prefix, with servers that refuse at once on 127.0.0.1 (the window asks for its manifest).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string scratch = (std::filesystem::temp_directory_path() / "ostrel-qt-test-XXXXXX").string();
  if (!::mkdtemp(scratch.data())) return 1;
  setenv("OSTREL_PREFIX", (scratch + "/prefix").c_str(), 1);
  setenv("OSTREL_DOWNLOAD_SERVER", "http://127.0.0.1:1/", 1);
  setenv("OSTREL_WEB_SERVER", "http://127.0.0.1:1/", 1);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);  // doesn't follow the prefix's z: -> /
  return result;
}
