#include "skin/Picture.h"

#include "skin/GifClock.h"

namespace ostrel::skin {

bool Picture::Animated() const {
  auto* gif = std::get_if<GifAnimation>(&content_);
  return gif && gif->frames.size() > 1;
}

int Picture::Width() const {
  if (auto* gif = std::get_if<GifAnimation>(&content_)) return gif->width;
  return std::get<RgbaImage>(content_).width;
}

int Picture::Height() const {
  if (auto* gif = std::get_if<GifAnimation>(&content_)) return gif->height;
  return std::get<RgbaImage>(content_).height;
}

int Picture::FrameCount() const {
  if (auto* gif = std::get_if<GifAnimation>(&content_)) return static_cast<int>(gif->frames.size());
  return 1;
}

int Picture::FrameIndexAt(int64_t elapsedMs) const {
  if (auto* gif = std::get_if<GifAnimation>(&content_)) return skin::FrameIndexAt(*gif, elapsedMs);
  return 0;
}

const RgbaImage& Picture::Frame(int index) const {
  if (auto* gif = std::get_if<GifAnimation>(&content_)) return gif->frames.at(index).image;
  return std::get<RgbaImage>(content_);
}

int64_t Picture::MsUntilNextFrame(int64_t elapsedMs) const {
  if (auto* gif = std::get_if<GifAnimation>(&content_)) return skin::MsUntilNextFrame(*gif, elapsedMs);
  return -1;
}

}  // namespace ostrel::skin
