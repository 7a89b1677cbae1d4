// giflib over bytes in memory: opening a reader, closing it, and its errors as SkinError.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <memory>
#include <span>

namespace ostrel::skin {

// Where giflib reads from; it must stay in place while the reader is open.
struct GifMemory {
  std::span<const uint8_t> bytes;
  size_t offset = 0;
};

struct GifCloser {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifReader = std::unique_ptr<GifFileType, GifCloser>;

// A reader at the start of the bytes, past the header and the global colour table.
// Throws SkinError with giflib's message when they are no GIF.
GifReader OpenGif(GifMemory& memory);

// Throws SkinError with the message of giflib's error code.
[[noreturn]] void FailGif(int code);

// Passes over the sub-blocks of the extension whose first block DGifGetExtension gave.
void SkipExtension(GifFileType* gif, GifByteType* block);

}  // namespace ostrel::skin
