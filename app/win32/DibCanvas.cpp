#include "app/win32/DibCanvas.h"

#include <stdexcept>

namespace ostrel::app::win32 {
namespace {

uint32_t Blend(uint32_t under, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  auto mix = [a](uint32_t d, uint32_t s) { return (s * a + d * (255u - a) + 127u) / 255u; };
  return mix((under >> 16) & 0xFF, r) << 16 | mix((under >> 8) & 0xFF, g) << 8 | mix(under & 0xFF, b);
}

}  // namespace

DibCanvas::DibCanvas(int width, int height, POINT origin) : width_(width), height_(height), origin_(origin) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dc_ || !bitmap_) throw std::runtime_error("The window's picture could not be made");
  bits_ = static_cast<uint32_t*>(bits);
  previous_ = SelectObject(dc_, bitmap_);
  SetBkMode(dc_, TRANSPARENT);
}

DibCanvas::~DibCanvas() {
  if (previous_) SelectObject(dc_, previous_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
}

skin::Box DibCanvas::ToBitmap(const skin::Box& content) const {
  return content.Moved(origin_.x, origin_.y).Intersect({0, 0, width_, height_});
}

void DibCanvas::Clear(skin::Rgb colour) {
  GdiFlush();
  for (int i = 0; i < width_ * height_; ++i) bits_[i] = colour.value;
}

void DibCanvas::FillRect(const skin::Box& box, skin::Rgb colour, const skin::Box& clip) {
  const skin::Box area = ToBitmap(box.Intersect(clip));
  if (area.Empty()) return;
  GdiFlush();  // GDI's text drawing is over before the pixels are touched
  for (int y = area.top; y < area.Bottom(); ++y)
    for (int x = area.left; x < area.Right(); ++x) bits_[y * width_ + x] = colour.value;
}

void DibCanvas::DrawImage(const skin::RgbaImage& image, int left, int top, const skin::Box& clip) {
  const skin::Box area = ToBitmap(skin::Box{left, top, image.width, image.height}.Intersect(clip));
  if (area.Empty() || image.pixels.empty()) return;
  GdiFlush();
  for (int y = area.top; y < area.Bottom(); ++y) {
    const uint8_t* source = &image.pixels[((y - origin_.y - top) * image.width + (area.left - origin_.x - left)) * 4];
    uint32_t* target = &bits_[y * width_ + area.left];
    for (int x = 0; x < area.width; ++x, source += 4, ++target) {
      const uint8_t alpha = source[3];
      if (alpha == 255) *target = uint32_t{source[0]} << 16 | uint32_t{source[1]} << 8 | source[2];
      else if (alpha != 0) *target = Blend(*target, source[0], source[1], source[2], alpha);
    }
  }
}

}  // namespace ostrel::app::win32
