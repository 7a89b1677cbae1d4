#include "tools/artgen/png_output.h"

#include <png.h>

#include <cstring>

namespace ostrel::artgen {

namespace {

// Straight (not premultiplied) alpha, bytes in R, G, B, A order.
QImage RgbaOf(const QImage& picture) { return picture.convertToFormat(QImage::Format_RGBA8888); }

// The simplified writer's description: 8-bit RGBA without interlacing.
png_image Describe(const QImage& rgba) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(rgba.width());
  image.height = png_uint_32(rgba.height());
  image.format = PNG_FORMAT_RGBA;
  return image;
}

}  // namespace

std::string WritePng(const QImage& picture, const std::string& path) {
  const QImage rgba = RgbaOf(picture);
  png_image image = Describe(rgba);
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.constBits(), png_int_32(rgba.bytesPerLine()), nullptr))
    return image.message;
  return {};
}

bool EncodePng(const QImage& picture, std::vector<unsigned char>& out) {
  const QImage rgba = RgbaOf(picture);
  png_image image = Describe(rgba);
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.constBits(), png_int_32(rgba.bytesPerLine()), nullptr))
    return false;
  out.resize(size);
  return png_image_write_to_memory(&image, out.data(), &size, 0, rgba.constBits(), png_int_32(rgba.bytesPerLine()),
                                   nullptr) != 0;
}

}  // namespace ostrel::artgen
