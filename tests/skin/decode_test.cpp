// Decoding: PNG into RGBA, GIF into whole frames composed as disposal and transparency
// say, and the clock that picks the frame on show.
#include <gtest/gtest.h>

#include "skin/GifClock.h"
#include "skin/GifDecode.h"
#include "skin/PngDecode.h"
#include "skin/SkinError.h"
#include "test_pictures.h"

namespace ostrel::skin::test {
namespace {

uint32_t PixelAt(const RgbaImage& image, int x, int y) {
  const uint8_t* p = image.At(x, y);
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

TEST(PngDecode, GivesSizeAndStraightRgba) {
  Bytes png = MakePng(7, 3, 0x2E7BFB, 128);
  RgbaImage image = DecodePng(png);
  EXPECT_EQ(image.width, 7);
  EXPECT_EQ(image.height, 3);
  EXPECT_EQ(PixelAt(image, 6, 2), 0x2E7BFB80u);
}

TEST(PngDecode, BytesThatAreNoPngRaiseTheDecodersError) {
  Bytes png = MakePng(4, 4, 0);
  Bytes cut(png.begin(), png.begin() + 40);
  for (const Bytes& bad : {Bytes{'x', 'y', 'z'}, cut, MakeGif(2, 2, {0}, {{{0, 0, 2, 2}, {0, 0, 0, 0}}})})
    EXPECT_THROW(DecodePng(bad), SkinError);
}

// Red 4 x 2 picture; the second frame paints its left half green except for one
// transparent pixel, so the red of the first frame shows through it.
std::vector<GifFrameSpec> TwoFrames(int firstDisposal) {
  GifFrameSpec first{{0, 0, 4, 2}, std::vector<uint8_t>(8, 0), 4, firstDisposal, -1};
  GifFrameSpec second{{0, 0, 2, 2}, {1, 2, 1, 1}, 7, 1, 2};
  return {first, second};
}

TEST(GifDecode, TransparencyOverThePreviousFrameWithDisposalNone) {
  GifAnimation gif = DecodeGif(MakeGif(4, 2, {0xFF0000, 0x00FF00, 0x0000FF}, TwoFrames(1), 0));
  ASSERT_EQ(gif.frames.size(), 2u);
  EXPECT_EQ(gif.width, 4);
  EXPECT_EQ(gif.frames[0].delayMs, 40);
  EXPECT_EQ(gif.frames[1].delayMs, 70);
  const RgbaImage& second = gif.frames[1].image;
  EXPECT_EQ(PixelAt(second, 0, 0), 0x00FF00FFu);
  EXPECT_EQ(PixelAt(second, 1, 0), 0xFF0000FFu) << "transparent index shows the frame beneath";
  EXPECT_EQ(PixelAt(second, 3, 1), 0xFF0000FFu) << "outside the frame's area the first frame stays";
  EXPECT_EQ(PixelAt(gif.frames[0].image, 0, 0), 0xFF0000FFu) << "earlier frames are not changed";
}

TEST(GifDecode, DisposalToBackgroundClearsTheArea) {
  GifAnimation gif = DecodeGif(MakeGif(4, 2, {0xFF0000, 0x00FF00, 0x0000FF}, TwoFrames(2), 0));
  EXPECT_EQ(PixelAt(gif.frames[1].image, 1, 0), 0u);
  EXPECT_EQ(PixelAt(gif.frames[1].image, 3, 1), 0u);
}

TEST(GifDecode, DisposalToPreviousRestoresWhatWasBefore) {
  std::vector<GifFrameSpec> frames = TwoFrames(1);
  frames[1].disposal = 3;
  frames.push_back({{2, 0, 1, 1}, {1}, 4, 1, -1});
  GifAnimation gif = DecodeGif(MakeGif(4, 2, {0xFF0000, 0x00FF00, 0x0000FF}, frames, 0));
  EXPECT_EQ(PixelAt(gif.frames[2].image, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(gif.frames[2].image, 2, 0), 0x00FF00FFu);
}

TEST(GifDecode, LoopCount) {
  EXPECT_EQ(DecodeGif(MakeGif(4, 2, {0, 1, 2}, TwoFrames(1), 0)).loopCount, 0);
  EXPECT_EQ(DecodeGif(MakeGif(4, 2, {0, 1, 2}, TwoFrames(1), 3)).loopCount, 3);
  EXPECT_EQ(DecodeGif(MakeGif(4, 2, {0, 1, 2}, TwoFrames(1), -1)).loopCount, -1);
}

TEST(GifDecode, BytesThatAreNoGifRaiseTheDecodersError) {
  Bytes gif = MakeGif(4, 2, {0, 1, 2}, TwoFrames(1));
  for (const Bytes& bad : {MakePng(2, 2, 0), Bytes{'G', 'I', 'F'}, Bytes(gif.begin(), gif.begin() + 30)})
    EXPECT_THROW(DecodeGif(bad), SkinError);
}

TEST(GifClock, FramesFollowTheirDelaysAndRepeatAsTheLoopCountSays) {
  GifAnimation gif;
  gif.frames = {{RgbaImage(1, 1), 40}, {RgbaImage(1, 1), 40}, {RgbaImage(1, 1), 100}};
  struct Case { int loops; int64_t at; int frame; int64_t until; } cases[] = {
      {0, 0, 0, 40},    {0, 39, 0, 1},   {0, 40, 1, 40},   {0, 179, 2, 1},
      {0, 180, 0, 40},  {0, 1800 + 90, 2, 90},             {2, 300, 2, 60},
      {2, 360, 2, -1},  {2, 10000, 2, -1}, {-1, 200, 2, -1},
  };
  for (const Case& c : cases) {
    gif.loopCount = c.loops;
    EXPECT_EQ(FrameIndexAt(gif, c.at), c.frame) << "loops " << c.loops << " at " << c.at;
    EXPECT_EQ(MsUntilNextFrame(gif, c.at), c.until) << "loops " << c.loops << " at " << c.at;
  }
}

}  // namespace
}  // namespace ostrel::skin::test
