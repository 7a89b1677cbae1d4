#include "skin/PngDecode.h"

#include <png.h>

#include <string>

#include "skin/SkinError.h"

namespace ostrel::skin {

RgbaImage DecodePng(std::span<const uint8_t> bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    throw SkinError(std::string("PNG: ") + image.message);
  image.format = PNG_FORMAT_RGBA;
  RgbaImage out(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
    std::string message = image.message;
    png_image_free(&image);
    throw SkinError("PNG: " + message);
  }
  return out;
}

}  // namespace ostrel::skin
