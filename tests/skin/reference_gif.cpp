#include "reference_gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace ostrel::skin::test {
namespace {

struct Source {
  std::span<const uint8_t> bytes;
  size_t offset = 0;
};

int Read(GifFileType* gif, GifByteType* to, int wanted) {
  auto* source = static_cast<Source*>(gif->UserData);
  size_t n = std::min(static_cast<size_t>(wanted), source->bytes.size() - source->offset);
  std::memcpy(to, source->bytes.data() + source->offset, n);
  source->offset += n;
  return static_cast<int>(n);
}

void Clear(RgbaImage& canvas, const GifImageDesc& area) {
  for (int y = std::max(0, area.Top); y < std::min(canvas.height, area.Top + area.Height); ++y)
    for (int x = std::max(0, area.Left); x < std::min(canvas.width, area.Left + area.Width); ++x)
      std::memset(canvas.At(x, y), 0, 4);
}

void Draw(RgbaImage& canvas, const SavedImage& frame, const ColorMapObject& colours, int transparent) {
  const GifImageDesc& d = frame.ImageDesc;
  for (int y = 0; y < d.Height; ++y)
    for (int x = 0; x < d.Width; ++x) {
      const int cx = d.Left + x, cy = d.Top + y;
      const int index = frame.RasterBits[static_cast<size_t>(y) * d.Width + x];
      if (cx < 0 || cy < 0 || cx >= canvas.width || cy >= canvas.height) continue;
      if (index == transparent || index >= colours.ColorCount) continue;
      const GifColorType& c = colours.Colors[index];
      uint8_t* p = canvas.At(cx, cy);
      p[0] = c.Red, p[1] = c.Green, p[2] = c.Blue, p[3] = 255;
    }
}

}  // namespace

std::vector<RgbaImage> AllFramesAtOnce(std::span<const uint8_t> bytes) {
  Source source{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, decltype([](GifFileType* g) { DGifCloseFile(g, nullptr); })> gif(
      DGifOpen(&source, Read, &error));
  if (!gif || DGifSlurp(gif.get()) != GIF_OK) return {};
  std::vector<RgbaImage> frames;
  RgbaImage canvas(gif->SWidth, gif->SHeight), saved;
  GraphicsControlBlock previous{};
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& frame = gif->SavedImages[i];
    if (i > 0 && previous.DisposalMode == DISPOSE_BACKGROUND) Clear(canvas, gif->SavedImages[i - 1].ImageDesc);
    if (i > 0 && previous.DisposalMode == DISPOSE_PREVIOUS) canvas = saved;
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    DGifSavedExtensionToGCB(gif.get(), i, &gcb);
    if (gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;
    Draw(canvas, frame, frame.ImageDesc.ColorMap ? *frame.ImageDesc.ColorMap : *gif->SColorMap, gcb.TransparentColor);
    frames.push_back(canvas);
    previous = gcb;
  }
  return frames;
}

}  // namespace ostrel::skin::test
