// The picture of an image control: one still PNG or an animated GIF, named after the
// resource it came from (in upper case).
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "skin/GifDecode.h"
#include "skin/RgbaImage.h"

namespace ostrel::skin {

class Picture {
 public:
  Picture(std::string resource, RgbaImage still) : resource_(std::move(resource)), content_(std::move(still)) {}
  Picture(std::string resource, GifAnimation gif) : resource_(std::move(resource)), content_(std::move(gif)) {}

  const std::string& Resource() const { return resource_; }
  bool Animated() const;
  int Width() const;
  int Height() const;
  int FrameCount() const;
  // The frame on show elapsedMs after the picture was put in its control.
  int FrameIndexAt(int64_t elapsedMs) const;
  const RgbaImage& Frame(int index) const;
  // Milliseconds until the frame on show changes, -1 for never.
  int64_t MsUntilNextFrame(int64_t elapsedMs) const;

 private:
  std::string resource_;
  std::variant<RgbaImage, GifAnimation> content_;
};

}  // namespace ostrel::skin
