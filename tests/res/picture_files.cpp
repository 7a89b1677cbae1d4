#include "picture_files.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace ostrel::res::test {

std::uint32_t PngFile::rgba(std::uint32_t x, std::uint32_t y) const {
  const unsigned char* p = &rows[y][x * 4];
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

namespace {

// libpng reports errors by longjmp; nothing with a destructor lives in this frame.
bool ReadPngInto(std::FILE* file, PngFile& out) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, file);
  png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  out.width = png_get_image_width(png, info);
  out.height = png_get_image_height(png, info);
  out.colourType = png_get_color_type(png, info);
  out.bitDepth = png_get_bit_depth(png, info);
  out.interlace = png_get_interlace_type(png, info);
  const png_bytepp rows = png_get_rows(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  out.rows.resize(out.height);
  for (png_uint_32 y = 0; y < out.height; ++y) out.rows[y].assign(rows[y], rows[y] + rowBytes);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

PngFile ReadPng(const std::string& path) {
  PngFile result;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    result.error = "cannot open " + path;
    return result;
  }
  if (!ReadPngInto(file, result)) result.error = "libpng cannot decode " + path;
  std::fclose(file);
  return result;
}

void GifCloser::operator()(GifFileType* gif) const {
  int error = 0;
  DGifCloseFile(gif, &error);
}

GifFile ReadGif(const std::string& path) {
  int error = 0;
  GifFile gif(DGifOpenFileName(path.c_str(), &error));
  if (gif && DGifSlurp(gif.get()) != GIF_OK) gif.reset();
  return gif;
}

int LoopCount(const GifFileType& gif) {
  for (int i = 0; i < gif.ImageCount; ++i) {
    const SavedImage& image = gif.SavedImages[i];
    for (int b = 0; b + 1 < image.ExtensionBlockCount; ++b) {
      const ExtensionBlock& name = image.ExtensionBlocks[b];
      const ExtensionBlock& data = image.ExtensionBlocks[b + 1];
      if (name.Function == APPLICATION_EXT_FUNC_CODE && name.ByteCount == 11 &&
          std::memcmp(name.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount >= 3 &&
          data.Bytes[0] == 1) {
        return data.Bytes[1] | data.Bytes[2] << 8;
      }
    }
  }
  return -1;
}

std::string Signature(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(6, '\0');
  in.read(head.data(), 6);
  return in ? head : std::string();
}

}  // namespace ostrel::res::test
