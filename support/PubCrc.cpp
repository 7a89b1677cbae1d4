#include "support/PubCrc.h"

#include <cstdint>
#include <cstdio>

#include "support/CRC_32.h"

std::string CrcText(uint32_t crc) {
  char text[9];
  std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(crc));
  return text;
}

std::string GetFileCRC(const std::string& fileName) {
  uint32_t crc = 0;
  int64_t byteCount = 0;
  uint16_t ioResult = 0;
  CalcFileCRC32(fileName, crc, byteCount, ioResult);
  if (ioResult != 0) return std::string();
  return CrcText(crc);
}
