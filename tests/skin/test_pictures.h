// Pictures made by the tests: PNG and GIF files written with libpng and giflib, and a
// resource source that serves one for every name of the catalogue.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "skin/Geometry.h"

namespace ostrel::skin {
inline void PrintTo(const Box& b, std::ostream* os) {
  *os << "(" << b.left << "," << b.top << " " << b.width << "x" << b.height << ")";
}
}  // namespace ostrel::skin

namespace ostrel::skin::test {

using Bytes = std::vector<uint8_t>;

// A PNG of one colour (0xRRGGBB) and alpha.
Bytes MakePng(int width, int height, uint32_t rgb, uint8_t alpha = 255);

struct GifFrameSpec {
  Box area;                  // where the frame's pixels go
  std::vector<uint8_t> indices;  // area.width * area.height colour indices
  int delayCs = 4;           // hundredths of a second
  int disposal = 1;
  int transparent = -1;      // colour index, -1 for none
  bool interlaced = false;   // rows stored in the four interlace passes
};

// A GIF with a global palette (index i -> palette[i]) and, when loopCount >= 0, a
// NETSCAPE2.0 block.
Bytes MakeGif(int width, int height, const std::vector<uint32_t>& palette, const std::vector<GifFrameSpec>& frames,
              int loopCount = 0);

// Every picture of the catalogue at its size: PNGs of distinct colours, BG_JSAZ1 a GIF of
// three frames of 40 ms. Keyed by upper-case name.
const std::map<std::string, Bytes>& CataloguePictures();

// Serves CataloguePictures() to the loader while it lives.
class CatalogueSource {
 public:
  CatalogueSource();
  ~CatalogueSource();
};

}  // namespace ostrel::skin::test
