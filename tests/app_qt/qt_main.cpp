// The Qt host's tests run with one QApplication on the offscreen platform, in a temporary
// prefix, with servers that refuse at once on 127.0.0.1 (the window asks for its manifest).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>

#include "tests/testkit/temp_prefix.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const testkit::TempPrefix prefix;
  setenv("OSTREL_DOWNLOAD_SERVER", "http://127.0.0.1:1/", 1);
  setenv("OSTREL_WEB_SERVER", "http://127.0.0.1:1/", 1);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
