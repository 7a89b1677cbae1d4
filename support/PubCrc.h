// The checksum text the version manifest publishes for a package.
#pragma once

#include <cstdint>
#include <string>

// CRC-32 of the file in upper-case hexadecimal with at least two digits and no
// further leading zeros ("00", "6B9DF6F", "CBF43926"); the empty text when the
// file cannot be opened or read. Never throws for I/O failures.
std::string GetFileCRC(const std::string& fileName);

// The text form of a CRC value as GetFileCRC writes it.
std::string CrcText(uint32_t crc);
