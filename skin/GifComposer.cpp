#include "skin/GifComposer.h"

#include <algorithm>
#include <cstring>

#include "skin/SkinError.h"

namespace ostrel::skin {
namespace {

constexpr int kInterlacedOffset[] = {0, 4, 2, 1};
constexpr int kInterlacedJump[] = {8, 8, 4, 2};

void ClearArea(RgbaImage& canvas, const Box& area) {
  const Box inside = area.Intersect({0, 0, canvas.width, canvas.height});
  for (int y = inside.top; y < inside.Bottom(); ++y) std::memset(canvas.At(inside.left, y), 0, inside.width * 4u);
}

void Draw(RgbaImage& canvas, const Box& area, const uint8_t* indices, const ColorMapObject& colours,
          int transparent) {
  const Box inside = area.Intersect({0, 0, canvas.width, canvas.height});
  for (int y = inside.top; y < inside.Bottom(); ++y) {
    const uint8_t* from = indices + static_cast<size_t>(y - area.top) * area.width + (inside.left - area.left);
    uint8_t* p = canvas.At(inside.left, y);
    for (int x = 0; x < inside.width; ++x, p += 4) {
      const int index = from[x];
      if (index == transparent || index >= colours.ColorCount) continue;
      const GifColorType& c = colours.Colors[index];
      p[0] = c.Red, p[1] = c.Green, p[2] = c.Blue, p[3] = 255;
    }
  }
}

}  // namespace

GifComposer::GifComposer(const GifAnimation& gif)
    : gif_(gif), memory_{gif.bytes}, canvas_(gif.width, gif.height) {}

const RgbaImage& GifComposer::Frame(int index) {
  if (broken_) return canvas_;
  index = std::clamp(index, 0, static_cast<int>(gif_.frames.size()) - 1);
  try {
    if (index < composed_ || !reader_) Restart();
    while (composed_ < index) ComposeNext();
  } catch (const SkinError&) {
    broken_ = true;
    throw;
  }
  return canvas_;
}

void GifComposer::Restart() {
  reader_.reset();
  reader_ = OpenGif(memory_);
  composed_ = -1;
  if (!first_.pixels.empty()) {
    SkipNextFrame();
    canvas_.pixels = first_.pixels;
    composed_ = 0;
    return;
  }
  std::fill(canvas_.pixels.begin(), canvas_.pixels.end(), 0);
}

void GifComposer::ComposeNext() {
  const ColorMapObject* colours = ReadNextPixels();  // before the picture changes: it fails whole
  if (composed_ >= 0) {
    const GifFrame& previous = gif_.frames[composed_];
    if (previous.disposal == DISPOSE_BACKGROUND) ClearArea(canvas_, previous.area);
    if (previous.disposal == DISPOSE_PREVIOUS && !saved_.pixels.empty()) canvas_.pixels = saved_.pixels;
  }
  const GifFrame& frame = gif_.frames[composed_ + 1];
  if (frame.disposal == DISPOSE_PREVIOUS) saved_ = canvas_;
  Draw(canvas_, frame.area, indices_.data(), *colours, frame.transparent);
  ++composed_;
  // The loop starts again from the first frame as it was composed, without decoding it again.
  if (composed_ == 0 && gif_.frames.size() > 1 && frame.disposal != DISPOSE_PREVIOUS) first_ = canvas_;
}

void GifComposer::NextImage() {
  GifFileType* gif = reader_.get();
  for (GifRecordType record = UNDEFINED_RECORD_TYPE; record != IMAGE_DESC_RECORD_TYPE;) {
    if (DGifGetRecordType(gif, &record) != GIF_OK) FailGif(gif->Error);
    if (record == TERMINATE_RECORD_TYPE) throw SkinError("GIF: a frame is missing");
    if (record != EXTENSION_RECORD_TYPE) continue;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) FailGif(gif->Error);
    SkipExtension(gif, block);
  }
  if (DGifGetImageDesc(gif) != GIF_OK) FailGif(gif->Error);
  const GifImageDesc& d = gif->Image;
  const Box& area = gif_.frames[composed_ + 1].area;
  if (d.Left != area.left || d.Top != area.top || d.Width != area.width || d.Height != area.height)
    throw SkinError("GIF: a frame changed its place");
}

void GifComposer::SkipNextFrame() {
  NextImage();
  GifFileType* gif = reader_.get();
  int codeSize = 0;
  GifByteType* block = nullptr;
  if (DGifGetCode(gif, &codeSize, &block) != GIF_OK) FailGif(gif->Error);
  while (block)
    if (DGifGetCodeNext(gif, &block) != GIF_OK) FailGif(gif->Error);
}

const ColorMapObject* GifComposer::ReadNextPixels() {
  NextImage();
  GifFileType* gif = reader_.get();
  const GifImageDesc& d = gif->Image;
  indices_.resize(static_cast<size_t>(d.Width) * d.Height);
  if (d.Interlace) {
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kInterlacedOffset[pass]; y < d.Height; y += kInterlacedJump[pass])
        if (DGifGetLine(gif, &indices_[static_cast<size_t>(y) * d.Width], d.Width) != GIF_OK) FailGif(gif->Error);
  } else if (DGifGetLine(gif, indices_.data(), static_cast<int>(indices_.size())) != GIF_OK) {
    FailGif(gif->Error);
  }
  const ColorMapObject* colours = d.ColorMap ? d.ColorMap : gif->SColorMap;
  if (!colours) throw SkinError("GIF: frame without colour table");
  return colours;
}

}  // namespace ostrel::skin
