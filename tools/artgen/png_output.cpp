#include "tools/artgen/png_output.h"

#include <png.h>

#include <cstring>

namespace ostrel::artgen {

std::string writePng(const QImage& picture, const std::string& path) {
  // Straight (not premultiplied) alpha, bytes in R, G, B, A order.
  const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(rgba.width());
  image.height = png_uint_32(rgba.height());
  image.format = PNG_FORMAT_RGBA;

  // The simplified writer stores 8-bit RGBA without interlacing.
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.constBits(),
                               png_int_32(rgba.bytesPerLine()), nullptr)) {
    return image.message;
  }
  return {};
}

}  // namespace ostrel::artgen
