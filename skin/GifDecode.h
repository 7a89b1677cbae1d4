// An animated GIF read through giflib: its bytes, and per frame where it lies, how long it
// is shown, how it is disposed of and its transparent colour. The frames' pixels stay
// compressed until GifComposer composes them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "skin/Geometry.h"

namespace ostrel::skin {

struct GifFrame {
  int delayMs = 0;
  Box area;               // where the frame's pixels go on the picture
  int disposal = 0;       // giflib's DISPOSAL_UNSPECIFIED ... DISPOSE_PREVIOUS
  int transparent = -1;   // colour index, -1 for none
};

struct GifAnimation {
  int width = 0;
  int height = 0;
  std::vector<GifFrame> frames;
  // NETSCAPE2.0 loop count: 0 repeats for ever, n plays n times; -1 when the
  // picture has none (it plays once).
  int loopCount = -1;
  std::vector<uint8_t> bytes;  // the whole file
};

// Reads the picture's structure, every block of it, without decompressing the frames.
// Throws SkinError with giflib's message when the bytes are no GIF it can read.
GifAnimation DecodeGif(std::span<const uint8_t> bytes);

}  // namespace ostrel::skin
