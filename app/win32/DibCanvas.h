// The form's Canvas over a 32-bit top-down DIB section: pictures alpha-composited and rectangles
// filled in its pixels, texts drawn by GDI through its memory device context. The content's
// (0, 0) lies at `origin` of the bitmap (the window's frame around it).
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/win32/GdiFonts.h"
#include "skin/Canvas.h"

namespace ostrel::app::win32 {

class DibCanvas : public skin::Canvas {
 public:
  DibCanvas(int width, int height, POINT origin);
  ~DibCanvas() override;
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixel at bitmap coordinates, as 0xRRGGBB.
  uint32_t Pixel(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
  // Fills the whole bitmap, frame included.
  void Clear(skin::Rgb colour);

  skin::TextSize MeasureText(std::string_view text, int fontHeight) override;
  void DrawImage(const skin::RgbaImage& image, int left, int top, const skin::Box& clip) override;
  void FillRect(const skin::Box& box, skin::Rgb colour, const skin::Box& clip) override;
  void PaintText(std::string_view text, const skin::Box& box, const skin::TextStyle& style,
                 const skin::Box& clip) override;

 private:
  // A content box in bitmap coordinates, cut to the bitmap.
  skin::Box ToBitmap(const skin::Box& content) const;

  int width_, height_;
  POINT origin_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;  // top-down rows of 0x00RRGGBB
  GdiFonts fonts_;
};

}  // namespace ostrel::app::win32
