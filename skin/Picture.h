// The picture of an image control: one still PNG or an animated GIF, named after the
// resource it came from (in upper case). A GIF's frames are composed when they are asked for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "skin/GifComposer.h"
#include "skin/GifDecode.h"
#include "skin/RgbaImage.h"

namespace ostrel::skin {

class Picture {
 public:
  Picture(std::string resource, RgbaImage still) : resource_(std::move(resource)), content_(std::move(still)) {}
  // Composes the first frame at once: its errors are the load's (SkinError).
  Picture(std::string resource, GifAnimation gif);
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  const std::string& Resource() const { return resource_; }
  bool Animated() const;
  int Width() const;
  int Height() const;
  int FrameCount() const;
  // The frame on show elapsedMs after the picture was put in its control.
  int FrameIndexAt(int64_t elapsedMs) const;
  // The whole picture while that frame is on show; valid until the next call. A frame whose
  // data turn out broken leaves the animation on the last frame that was composed.
  // The window's thread only.
  const RgbaImage& Frame(int index) const;
  // Milliseconds until the frame on show changes, -1 for never.
  int64_t MsUntilNextFrame(int64_t elapsedMs) const;

 private:
  std::string resource_;
  std::variant<RgbaImage, GifAnimation> content_;
  std::unique_ptr<GifComposer> composer_;  // GIFs
};

}  // namespace ostrel::skin
