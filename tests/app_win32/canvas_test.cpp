// The DIB canvas: pictures composited with their alpha, rectangles and texts kept inside their
// clip, the content placed inside the frame.
#include <gtest/gtest.h>

#include "app/win32/DibCanvas.h"

namespace ostrel::app::win32 {
namespace {

constexpr skin::Box kAll{-10, -10, 100, 100};

// A canvas of 6 x 4 pixels whose content starts at (1, 1), all of it grey.
struct SmallCanvas : ::testing::Test {
  DibCanvas canvas{6, 4, POINT{1, 1}};
  void SetUp() override { canvas.Clear({0x808080}); }
};

TEST_F(SmallCanvas, PicturesAreCompositedWithTheirAlpha) {
  struct Case {
    uint8_t r, g, b, a;
    uint32_t expected;
  };
  const Case cases[] = {
      {0xFF, 0x00, 0x00, 0xFF, 0xFF0000},  // opaque: the picture's colour
      {0xFF, 0x00, 0x00, 0x00, 0x808080},  // transparent: what lay beneath
      {0xFF, 0xFF, 0xFF, 0x80, 0xC0C0C0},  // half: (255 * 128 + 128 * 127) / 255, rounded
      {0x00, 0x00, 0xFF, 0x40, 0x6060A0},  // a quarter
  };
  skin::RgbaImage picture(4, 1);
  for (int i = 0; i < 4; ++i) {
    const Case& c = cases[i];
    uint8_t* p = picture.At(i, 0);
    p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
  }
  canvas.DrawImage(picture, 0, 0, kAll);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(canvas.Pixel(1 + i, 1), cases[i].expected) << "case " << i;
  EXPECT_EQ(canvas.Pixel(0, 0), 0x808080u) << "the frame is left alone";
}

TEST_F(SmallCanvas, DrawingStaysInsideItsClip) {
  skin::RgbaImage picture(4, 3);
  for (size_t i = 3; i < picture.pixels.size(); i += 4) picture.pixels[i] = 0xFF;  // opaque black
  canvas.DrawImage(picture, 0, 0, {1, 1, 2, 1});
  canvas.FillRect({0, 0, 4, 3}, {0x00FF00}, {0, 2, 1, 1});
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      const uint32_t expected = (x == 2 || x == 3) && y == 2 ? 0x000000 : x == 1 && y == 3 ? 0x00FF00 : 0x808080;
      EXPECT_EQ(canvas.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(DibCanvas, TextIsDrawnInItsColourWithinItsClipOnly) {
  DibCanvas canvas(200, 40, POINT{0, 0});
  canvas.Clear({0xFFFFFF});
  const skin::TextSize size = canvas.MeasureText("极速安装", 16);
  EXPECT_GT(size.width, 4 * 8);
  EXPECT_GE(size.height, 16);
  canvas.PaintText("极速安装", {0, 0, 200, 40}, {16, {0xFF0000}, skin::TextPlacement::Centred}, {0, 0, 100, 40});
  int red = 0, outside = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) {
      const uint32_t p = canvas.Pixel(x, y);
      if (p == 0xFFFFFF) continue;
      if (x >= 100) ++outside;
      else if ((p & 0xFFFF) < 0x4040) ++red;  // red, or a shade of it
    }
  }
  EXPECT_GT(red, 20);
  EXPECT_EQ(outside, 0);
}

}  // namespace
}  // namespace ostrel::app::win32
