// A child process for the extraction tests: "unzip_child ARCHIVE FOLDER" extracts (and is killed
// part-way by the test); "unzip_child wait" keeps running, a program in use, until it is ended.
#include <chrono>
#include <string>
#include <thread>

#include "support/PubZip.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "wait") {
    std::this_thread::sleep_for(std::chrono::minutes(2));
    return 0;
  }
  if (argc != 3) return 2;
  return UnZipFile(argv[1], argv[2]) ? 0 : 1;
}
