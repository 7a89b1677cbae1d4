// ostrel-crc FILE...: prints "TEXT  FILE" per file, TEXT being the checksum text
// the installer compares with the version manifest.
// Exit status: 0 all files read, 1 some file could not be read, 2 usage.
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/host_path.h"
#include "support/CRC_32.h"
#include "support/PubCrc.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ostrel-crc FILE...\n");
    return 2;
  }
  // Windows path texts ("C:\...") are mapped through the prefix, found once before any of them.
  for (int i = 1; i < argc; ++i)
    if (platform::HasDriveLetter(argv[i]) || platform::IsCurrentDriveRooted(argv[i])) platform::InitPrefix();
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    uint32_t crc = 0;
    int64_t bytes = 0;
    uint16_t ioResult = 0;
    CalcFileCRC32(argv[i], crc, bytes, ioResult);
    if (ioResult != 0) {
      std::fprintf(stderr, "ostrel-crc: %s: cannot read (error %u)\n", argv[i], static_cast<unsigned>(ioResult));
      status = 1;
      continue;
    }
    std::printf("%s  %s\n", CrcText(crc).c_str(), argv[i]);
  }
  return status;
}
