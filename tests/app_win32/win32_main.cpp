// The Win32 host's tests run on one thread with COM, as the program has it for the folder picker,
// with servers that refuse at once on 127.0.0.1 (the window asks for its manifest).
#include <gtest/gtest.h>
#include <objbase.h>

#include "tests/testkit/host_only.h"

int main(int argc, char** argv) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  testkit::SetEnv("OSTREL_DOWNLOAD_SERVER", "http://127.0.0.1:1/");
  testkit::SetEnv("OSTREL_WEB_SERVER", "http://127.0.0.1:1/");
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}
