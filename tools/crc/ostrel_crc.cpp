// ostrel-crc FILE...: prints "TEXT  FILE" per file, TEXT being the checksum text
// the installer compares with the version manifest.
// Exit status: 0 all files read, 1 some file could not be read, 2 usage.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/host_path.h"
#include "support/CRC_32.h"
#include "support/PubCrc.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = platform::ProgramArguments(argc, argv);
  if (args.empty()) {
    platform::PrintText(stderr, "usage: ostrel-crc FILE...\n");
    return 2;
  }
  // Windows path texts ("C:\...") are mapped through the prefix, found once before any of them.
  for (const std::string& arg : args)
    if (platform::HasDriveLetter(arg) || platform::IsCurrentDriveRooted(arg)) platform::InitPrefix();
  int status = 0;
  for (const std::string& file : args) {
    uint32_t crc = 0;
    int64_t bytes = 0;
    uint16_t ioResult = 0;
    CalcFileCRC32(file, crc, bytes, ioResult);
    if (ioResult != 0) {
      platform::PrintText(stderr, "ostrel-crc: %s: cannot read (error %u)\n", file.c_str(), static_cast<unsigned>(ioResult));
      status = 1;
      continue;
    }
    platform::PrintText(stdout, "%s  %s\n", CrcText(crc).c_str(), file.c_str());
  }
  return status;
}
