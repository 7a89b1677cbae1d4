// Decoding: PNG into RGBA, GIF frames composed when due as disposal and transparency say,
// and the clock that picks the frame on show.
#include <gtest/gtest.h>

#include <algorithm>

#include "reference_gif.h"
#include "skin/GifClock.h"
#include "skin/GifComposer.h"
#include "skin/GifDecode.h"
#include "skin/Picture.h"
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

const std::vector<uint32_t> kRgb = {0xFF0000, 0x00FF00, 0x0000FF};

// The frames as the window composes them, asked for in this order.
std::vector<RgbaImage> Composed(const GifAnimation& gif, const std::vector<int>& order) {
  GifComposer composer(gif);
  std::vector<RgbaImage> frames;
  for (int index : order) frames.push_back(composer.Frame(index));
  return frames;
}

TEST(GifDecode, TransparencyOverThePreviousFrameWithDisposalNone) {
  GifAnimation gif = DecodeGif(MakeGif(4, 2, kRgb, TwoFrames(1), 0));
  ASSERT_EQ(gif.frames.size(), 2u);
  EXPECT_EQ(gif.width, 4);
  EXPECT_EQ(gif.frames[0].delayMs, 40);
  EXPECT_EQ(gif.frames[1].delayMs, 70);
  std::vector<RgbaImage> frames = Composed(gif, {0, 1});
  EXPECT_EQ(PixelAt(frames[1], 0, 0), 0x00FF00FFu);
  EXPECT_EQ(PixelAt(frames[1], 1, 0), 0xFF0000FFu) << "transparent index shows the frame beneath";
  EXPECT_EQ(PixelAt(frames[1], 3, 1), 0xFF0000FFu) << "outside the frame's area the first frame stays";
  EXPECT_EQ(PixelAt(frames[0], 0, 0), 0xFF0000FFu);
}

TEST(GifDecode, DisposalToBackgroundClearsTheArea) {
  std::vector<RgbaImage> frames = Composed(DecodeGif(MakeGif(4, 2, kRgb, TwoFrames(2), 0)), {0, 1});
  EXPECT_EQ(PixelAt(frames[1], 1, 0), 0u);
  EXPECT_EQ(PixelAt(frames[1], 3, 1), 0u);
}

TEST(GifDecode, DisposalToPreviousRestoresWhatWasBefore) {
  std::vector<GifFrameSpec> frames = TwoFrames(1);
  frames[1].disposal = 3;
  frames.push_back({{2, 0, 1, 1}, {1}, 4, 1, -1});
  std::vector<RgbaImage> composed = Composed(DecodeGif(MakeGif(4, 2, kRgb, frames, 0)), {0, 1, 2});
  EXPECT_EQ(PixelAt(composed[2], 0, 0), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(composed[2], 2, 0), 0x00FF00FFu);
}

// Whatever the order in which frames are asked for (in turn, the loop's wrap, a jump back or
// ahead, the same frame twice), each is the frame that decoding them all at once gives.
TEST(GifDecode, FramesComposedWhenDueEqualAllFramesDecodedAtOnce) {
  std::vector<GifFrameSpec> mixed = TwoFrames(2);
  mixed[1].disposal = 3;
  mixed.push_back({{1, 0, 3, 2}, {2, 1, 0, 0, 2, 1}, 4, 2, 0});
  mixed.push_back({{3, 1, 2, 2}, {1, 1, 1, 1}, 4, 1, -1});  // partly outside the picture
  GifFrameSpec interlaced{{0, 0, 4, 9}, {}, 4, 1, -1, true};
  for (int i = 0; i < 36; ++i) interlaced.indices.push_back(uint8_t(i % 3));
  struct Case { const char* what; Bytes gif; } cases[] = {
      {"disposal none", MakeGif(4, 2, kRgb, TwoFrames(1))},
      {"disposal to background", MakeGif(4, 2, kRgb, TwoFrames(2))},
      {"disposal to previous, frames beyond the edge", MakeGif(4, 2, kRgb, mixed)},
      {"interlaced rows", MakeGif(4, 9, kRgb, {TwoFrames(1)[0], interlaced})},
  };
  for (const Case& c : cases) {
    const std::vector<RgbaImage> reference = AllFramesAtOnce(c.gif);
    const GifAnimation gif = DecodeGif(c.gif);
    ASSERT_EQ(gif.frames.size(), reference.size()) << c.what;
    std::vector<int> order;
    for (int round = 0; round < 2; ++round)
      for (int i = 0; i < static_cast<int>(reference.size()); ++i) order.push_back(i);
    for (int i : {1, 1, 0, static_cast<int>(reference.size()) - 1, 1}) order.push_back(i);
    const std::vector<RgbaImage> composed = Composed(gif, order);
    for (size_t k = 0; k < order.size(); ++k)
      EXPECT_EQ(composed[k].pixels, reference[order[k]].pixels) << c.what << ": request " << k;
  }
}

TEST(GifDecode, LoopCount) {
  EXPECT_EQ(DecodeGif(MakeGif(4, 2, {0, 1, 2}, TwoFrames(1), 0)).loopCount, 0);
  EXPECT_EQ(DecodeGif(MakeGif(4, 2, {0, 1, 2}, TwoFrames(1), 3)).loopCount, 3);
  EXPECT_EQ(DecodeGif(MakeGif(4, 2, {0, 1, 2}, TwoFrames(1), -1)).loopCount, -1);
}

TEST(GifDecode, BytesThatAreNoGifRaiseTheDecodersError) {
  Bytes gif = MakeGif(4, 2, {0, 1, 2}, TwoFrames(1));
  for (const Bytes& bad : {MakePng(2, 2, 0), Bytes{'G', 'I', 'F'}, Bytes(gif.begin(), gif.begin() + 30),
                           Bytes(gif.begin(), gif.end() - 3)})
    EXPECT_THROW(DecodeGif(bad), SkinError);
}

// The bytes of a GIF whose last frame's compressed data are garbage; its structure is whole.
Bytes WithBrokenLastFrame() {
  Bytes gif = MakeGif(4, 2, kRgb, TwoFrames(1));
  const Bytes descriptor = {0x2C, 0, 0, 0, 0, 2, 0, 2, 0};  // the second frame at (0, 0), 2 x 2
  auto at = std::search(gif.begin(), gif.end(), descriptor.begin(), descriptor.end());
  EXPECT_NE(at, gif.end());
  auto data = at + descriptor.size() + 2;  // past the packed byte and the code size
  for (int i = 1; i <= *data; ++i) data[i] = 0xFF;
  return gif;
}

TEST(GifDecode, AFrameThatDoesNotDecodeWhenDueLeavesThePictureAsItWas) {
  const Bytes broken = WithBrokenLastFrame();
  GifAnimation gif = DecodeGif(broken);
  GifComposer composer(gif);
  const RgbaImage first = composer.Frame(0);
  EXPECT_THROW(composer.Frame(1), SkinError);
  EXPECT_EQ(composer.Frame(1).pixels, first.pixels) << "after the failure the picture stays";
  Picture picture("BROKEN", DecodeGif(broken));
  EXPECT_EQ(picture.Frame(1).pixels, first.pixels) << "a picture's animation holds";
}

TEST(GifClock, FramesFollowTheirDelaysAndRepeatAsTheLoopCountSays) {
  GifAnimation gif;
  gif.frames = {{40, {}}, {40, {}}, {100, {}}};
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
