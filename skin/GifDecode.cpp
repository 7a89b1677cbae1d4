#include "skin/GifDecode.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>
#include <string>

#include "skin/SkinError.h"

namespace ostrel::skin {
namespace {

struct MemoryReader {
  std::span<const uint8_t> bytes;
  size_t offset = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* to, int wanted) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  size_t n = std::min(static_cast<size_t>(wanted), reader->bytes.size() - reader->offset);
  std::memcpy(to, reader->bytes.data() + reader->offset, n);
  reader->offset += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

[[noreturn]] void Fail(int code) { throw SkinError(std::string("GIF: ") + GifErrorString(code)); }

int LoopCountOf(const SavedImage& first) {
  for (int i = 0; i + 1 < first.ExtensionBlockCount; ++i) {
    const ExtensionBlock& app = first.ExtensionBlocks[i];
    const ExtensionBlock& data = first.ExtensionBlocks[i + 1];
    if (app.Function == APPLICATION_EXT_FUNC_CODE && app.ByteCount == 11 &&
        std::memcmp(app.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount >= 3 && data.Bytes[0] == 1)
      return data.Bytes[1] | (data.Bytes[2] << 8);
  }
  return -1;
}

void ClearArea(RgbaImage& canvas, const GifImageDesc& area) {
  for (int y = std::max(0, area.Top); y < std::min(canvas.height, area.Top + area.Height); ++y)
    for (int x = std::max(0, area.Left); x < std::min(canvas.width, area.Left + area.Width); ++x)
      std::memset(canvas.At(x, y), 0, 4);
}

void DrawFrame(RgbaImage& canvas, const SavedImage& frame, const ColorMapObject* colours, int transparent) {
  const GifImageDesc& d = frame.ImageDesc;
  for (int y = 0; y < d.Height; ++y) {
    int cy = d.Top + y;
    if (cy < 0 || cy >= canvas.height) continue;
    for (int x = 0; x < d.Width; ++x) {
      int cx = d.Left + x;
      int index = frame.RasterBits[static_cast<size_t>(y) * d.Width + x];
      if (cx < 0 || cx >= canvas.width || index == transparent || index >= colours->ColorCount) continue;
      const GifColorType& c = colours->Colors[index];
      uint8_t* p = canvas.At(cx, cy);
      p[0] = c.Red, p[1] = c.Green, p[2] = c.Blue, p[3] = 255;
    }
  }
}

}  // namespace

GifAnimation DecodeGif(std::span<const uint8_t> bytes) {
  MemoryReader reader{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, ReadFromMemory, &error));
  if (!gif) Fail(error);
  if (DGifSlurp(gif.get()) != GIF_OK) Fail(gif->Error);
  if (gif->ImageCount < 1) throw SkinError("GIF: no image");

  GifAnimation out;
  out.width = gif->SWidth;
  out.height = gif->SHeight;
  out.loopCount = LoopCountOf(gif->SavedImages[0]);
  RgbaImage canvas(out.width, out.height), saved;
  GraphicsControlBlock previous{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  const GifImageDesc* previousArea = nullptr;
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& frame = gif->SavedImages[i];
    if (previousArea && previous.DisposalMode == DISPOSE_BACKGROUND) ClearArea(canvas, *previousArea);
    if (previousArea && previous.DisposalMode == DISPOSE_PREVIOUS) canvas = saved;
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    DGifSavedExtensionToGCB(gif.get(), i, &gcb);
    if (gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;
    const ColorMapObject* colours = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
    if (!colours) throw SkinError("GIF: frame without colour table");
    DrawFrame(canvas, frame, colours, gcb.TransparentColor);
    out.frames.push_back({canvas, gcb.DelayTime * 10});
    previous = gcb;
    previousArea = &frame.ImageDesc;
  }
  return out;
}

}  // namespace ostrel::skin
