// An animated GIF to full frames, through giflib: each frame is the whole picture as it
// looks while that frame is on show, composed as disposal and transparency say.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "skin/RgbaImage.h"

namespace ostrel::skin {

struct GifFrame {
  RgbaImage image;
  int delayMs = 0;
};

struct GifAnimation {
  int width = 0;
  int height = 0;
  std::vector<GifFrame> frames;
  // NETSCAPE2.0 loop count: 0 repeats for ever, n plays n times; -1 when the
  // picture has none (it plays once).
  int loopCount = -1;
};

// Throws SkinError with giflib's message when the bytes are no GIF it can read.
GifAnimation DecodeGif(std::span<const uint8_t> bytes);

}  // namespace ostrel::skin
