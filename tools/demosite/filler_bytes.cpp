#include "tools/demosite/filler_bytes.h"

#include <cstdint>
#include <random>
#include <vector>

namespace ostrel::demosite {

std::string IncompressibleBytes(std::string_view seed, size_t size) {
  // The engine and the seed sequence are fully specified by the standard, so the bytes
  // are the same with every library; distributions are not, and are not used.
  std::vector<uint32_t> seedWords(seed.begin(), seed.end());
  std::seed_seq sequence(seedWords.begin(), seedWords.end());
  std::mt19937_64 generator(sequence);
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; i += 8) {
    uint64_t word = generator();
    for (size_t k = i; k < size && k < i + 8; ++k, word >>= 8) bytes[k] = static_cast<char>(word & 0xFF);
  }
  return bytes;
}

std::string StandInFile(std::string_view title, size_t size) {
  std::string bytes = "OstrelPro demonstration file: ";
  bytes += title;
  bytes += "\n";
  if (bytes.size() < size) bytes += IncompressibleBytes(title, size - bytes.size());
  return bytes;
}

}  // namespace ostrel::demosite
