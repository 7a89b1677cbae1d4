// The frames of an animated GIF as a viewer shows them, composed one after the other when
// they are due: each frame's pixels are decompressed then and laid over the picture as the
// previous frame's disposal and the frame's transparent colour say. Only the picture on show,
// the first frame, the picture saved for a frame disposed "to previous" and giflib's reader are
// kept; going back (as when the loop starts again) composes afresh from the first frame.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/GifDecode.h"
#include "skin/GifFile.h"
#include "skin/RgbaImage.h"

namespace ostrel::skin {

class GifComposer {
 public:
  // gif must outlive the composer and stay where it is.
  explicit GifComposer(const GifAnimation& gif);
  GifComposer(const GifComposer&) = delete;
  GifComposer& operator=(const GifComposer&) = delete;

  // The whole picture while frame `index` is on show; valid until the next call. Throws
  // SkinError when a frame's data don't decode; the picture then stays as it was composed last.
  const RgbaImage& Frame(int index);
  int Composed() const { return composed_; }

 private:
  void Restart();
  void ComposeNext();
  // Reads up to the next frame's image descriptor.
  void NextImage();
  void SkipNextFrame();
  // Reads the next frame's pixels into indices_; its colour table.
  const ColorMapObject* ReadNextPixels();

  const GifAnimation& gif_;
  GifMemory memory_;
  GifReader reader_;
  RgbaImage canvas_, saved_;
  RgbaImage first_;  // the first frame composed, where the loop starts again
  std::vector<uint8_t> indices_;
  int composed_ = -1;
  bool broken_ = false;
};

}  // namespace ostrel::skin
