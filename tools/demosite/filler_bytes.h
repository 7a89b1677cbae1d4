// Contents of the demonstration's stand-in files: the same bytes on every run.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ostrel::demosite {

// size bytes that no compressor can shrink, drawn from a generator seeded with seed.
std::string IncompressibleBytes(std::string_view seed, size_t size);

// A title line naming what the file stands for, then incompressible bytes up to size.
std::string StandInFile(std::string_view title, size_t size);

}  // namespace ostrel::demosite
