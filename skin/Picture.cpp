#include "skin/Picture.h"

#include "skin/GifClock.h"
#include "skin/SkinError.h"

namespace ostrel::skin {

Picture::Picture(std::string resource, GifAnimation gif)
    : resource_(std::move(resource)), content_(std::move(gif)),
      composer_(std::make_unique<GifComposer>(std::get<GifAnimation>(content_))) {
  composer_->Frame(0);
}

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
  if (!composer_) return std::get<RgbaImage>(content_);
  try {
    return composer_->Frame(index);
  } catch (const SkinError&) {
    return composer_->Frame(composer_->Composed());
  }
}

int64_t Picture::MsUntilNextFrame(int64_t elapsedMs) const {
  if (auto* gif = std::get_if<GifAnimation>(&content_)) return skin::MsUntilNextFrame(*gif, elapsedMs);
  return -1;
}

}  // namespace ostrel::skin
