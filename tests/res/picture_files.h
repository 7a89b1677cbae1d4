// Reads the picture files under res/ back with libpng and giflib, as the installer decodes them.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ostrel::res::test {

struct PngFile {
  std::string error;  // empty when the file was read
  std::uint32_t width = 0, height = 0;
  int colourType = -1, bitDepth = -1, interlace = -1;
  std::vector<std::vector<unsigned char>> rows;

  // The pixel as 0xRRGGBBAA; only for 8-bit RGBA pictures.
  std::uint32_t rgba(std::uint32_t x, std::uint32_t y) const;
};

PngFile ReadPng(const std::string& path);

struct GifCloser {
  void operator()(GifFileType* gif) const;
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// The whole file, frames and extension blocks included (DGifSlurp); empty on failure.
GifFile ReadGif(const std::string& path);

// The NETSCAPE2.0 loop count of the file, or -1 when it has none.
int LoopCount(const GifFileType& gif);

// The file's first six bytes ("GIF89a").
std::string Signature(const std::string& path);

}  // namespace ostrel::res::test
